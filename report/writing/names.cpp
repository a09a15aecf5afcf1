#include "report/writing/names.h"

namespace quillon {

std::string NameOr(const std::string& name, const char* fallback) {
  // Blank: spaces, tabs and the ideographic space U+3000 (whose bytes no other character of
  // well-formed UTF-8 is made of alone).
  return name.find_first_not_of(" \t\xE3\x80") == std::string::npos ? fallback : name;
}

std::string UnitSuffix(const std::string& unit) {
  const std::string shown = NameOr(unit, "");
  return shown.empty() ? shown : " " + shown;
}

std::string OutcomeWithUnit(const std::string& outcome, const std::string& unit, bool english) {
  const std::string name = NameOr(outcome, "");
  const std::string measure = NameOr(unit, "");
  if (measure.empty()) return name;
  return name + (english ? (name.empty() ? "(" : " (") + measure + ")" : "（" + measure + "）");
}

}  // namespace quillon
