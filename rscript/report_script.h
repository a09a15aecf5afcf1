#pragma once
// The report as an R script: base R and stats only (R ≥ 4.0), the data as the report read them
// first, then for each section of the report the calls that give its figures, each figure
// printed as "label<TAB>value" with the report's label and the report's digits, in the report's
// order. A "—（reason）" row is a comment and is printed as it reads. Run as it is, the script
// prints the report's table again, so a reader can obtain every figure a second time.

#include <string>
#include <utility>
#include <vector>

#include "report/correlation.h"
#include "report/fourfold.h"
#include "report/margin_tests.h"
#include "report/ranks/ranks.h"
#include "report/t_tests.h"
#include "report/writing/text.h"
#include "stats/fixed4.h"

namespace quillon {

// What the comment at the top names besides the analysis: the program's version and the date.
struct ScriptHeader {
  std::string version;
  std::string date;
};

// The two-sample report from the figures it was built of and each group's values in the grid
// (none where only the six summary values were typed).
// A margin shown (not a plain difference) adds its test's section.
std::string TwoSampleScript(const Report& report, PStyle style, const ScriptHeader& header,
                            const TwoSampleFigures& figures, const RankSumFigures& ranks,
                            const std::vector<Fixed4>& first, const std::vector<Fixed4>& second,
                            const MarginFigures* margin = nullptr);
// The paired and the correlation reports from the complete pairs.
std::string PairedScript(const Report& report, PStyle style, const ScriptHeader& header,
                         const SignedRankFigures& ranks,
                         const std::vector<std::pair<Fixed4, Fixed4>>& pairs,
                         const MarginFigures* margin = nullptr);
std::string CorrelationScript(const Report& report, PStyle style, const ScriptHeader& header,
                              const CorrelationFigures& figures, const SpearmanFigures& ranks,
                              const std::vector<std::pair<Fixed4, Fixed4>>& pairs);
// The four-fold table's and McNemar's reports from their four cells.
std::string FourfoldScript(const Report& report, PStyle style, const ScriptHeader& header,
                           const FourfoldFigures& figures, const MarginFigures* margin = nullptr);
std::string McNemarScript(const Report& report, PStyle style, const ScriptHeader& header,
                          const McNemarFigures& figures);

}  // namespace quillon
