#pragma once
// The pieces every R script of the report is made of: typed texts made safe as R string
// literals and comments, the helpers that write a number, a P value and an interval exactly as
// the report writes them, and the writer that walks the report's rows in order and prints each
// one as "label<TAB>value".

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "report/p_style.h"
#include "report/writing/text.h"
#include "stats/fixed4.h"

namespace quillon {

// A text as an R string literal in double quotes: the backslash, the quote and every control
// character escaped, the rest kept as UTF-8 (bytes that are not UTF-8 become U+FFFD), so that
// no typed text can end the literal.
std::string RString(std::string_view text);
// A text for one comment line: line breaks and other control characters become spaces, so that
// nothing typed can end the comment and start code.
std::string RCommentText(std::string_view text);
// The values as an R vector, each exactly as the grid holds it: "c(1.5, -2, 0.25)".
std::string RVector(const std::vector<Fixed4>& values);
// A double as the shortest text that reads back as it, for the values the report computed from.
std::string RDouble(double value);

// How one row of the report is reproduced: R code to run first (each distinct text once in the
// script, so rows can share it) and the R expression of the value's text.
struct RowCode {
  std::vector<std::string> setup;
  std::string value;
};

// One section's rows in order; a section the script cannot reproduce gives none.
using SectionCode = std::function<std::vector<RowCode>(const ReportSection&)>;

class ScriptWriter {
 public:
  // The header comment (program, version, date, analysis) and the helpers in the style.
  ScriptWriter(const std::string& version, const std::string& date, const Report& report,
               PStyle style);

  void Comment(std::string_view text);
  void Line(const std::string& code);
  void Blank();
  // The code once, however often it is asked for.
  void Once(const std::string& code);
  // A report row: a value computed by the expression, or for a "—（reason）" row a comment and
  // the same text printed.
  void Row(const ReportRow& row, const RowCode& code);
  // Each section of the report in its order, by the code its heading selects (first match of
  // a heading's beginning); a section no code matches is named in a comment.
  void Sections(const Report& report,
                const std::vector<std::pair<std::string, SectionCode>>& codes);
  // The data are empty: said in a comment and printed; nothing is computed.
  void NothingToCompute(const std::string& reason);

  std::string Text() const { return text_; }

 private:
  std::string text_;
  std::set<std::string> done_;
};

}  // namespace quillon
