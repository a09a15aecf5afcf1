#include "report/writing/names.h"

#include "stats/decimal_scan.h"

namespace quillon {

std::string TrimmedName(std::string_view text) {
  constexpr std::string_view kIdeographicSpace = "\u3000";
  for (std::string_view last; last != text;) {
    last = text;
    text = TrimBlanks(text);
    if (text.starts_with(kIdeographicSpace)) text.remove_prefix(kIdeographicSpace.size());
    if (text.ends_with(kIdeographicSpace)) text.remove_suffix(kIdeographicSpace.size());
  }
  return std::string(text);
}

std::string NameOr(const std::string& name, const char* fallback) {
  std::string trimmed = TrimmedName(name);
  return trimmed.empty() ? fallback : trimmed;
}

std::string UnitSuffix(const std::string& unit) {
  const std::string shown = TrimmedName(unit);
  if (shown.empty()) return shown;
  // "110 mmHg", but "37.5℃", "65岁" and "12%": no space before "%" or a unit beyond ASCII.
  const auto lead = static_cast<unsigned char>(shown.front());
  return (lead >= 0x80 || lead == '%' ? "" : " ") + shown;
}

std::string OutcomeWithUnit(const std::string& outcome, const std::string& unit, bool english) {
  const std::string name = TrimmedName(outcome);
  const std::string measure = TrimmedName(unit);
  if (measure.empty()) return name;
  return name + (english ? (name.empty() ? "(" : " (") + measure + ")" : "（" + measure + "）");
}

}  // namespace quillon
