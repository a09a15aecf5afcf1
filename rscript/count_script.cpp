// The scripts of the count analyses: the four-fold table and McNemar's paired counts.

#include "rscript/report_script.h"
#include "rscript/section_codes.h"

namespace quillon {

std::string FourfoldScript(const Report& report, PStyle style, const ScriptHeader& header,
                           const FourfoldFigures&) {
  ScriptWriter writer(header.version, header.date, report, style);
  writer.Sections(report, {});
  return writer.Text();
}

std::string McNemarScript(const Report& report, PStyle style, const ScriptHeader& header,
                          const McNemarFigures&) {
  ScriptWriter writer(header.version, header.date, report, style);
  writer.Sections(report, {});
  return writer.Text();
}

}  // namespace quillon
