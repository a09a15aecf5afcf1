#pragma once
// What the user calls the things a report speaks of: the two groups (the two times of paired
// data, the two variables of a correlation, the two methods of McNemar's table), the outcome
// and its unit, and the two results of a count table; and what paired data are. An empty name
// reads as the analysis's default, so that a report nobody named reads as it always has.

#include <string>
#include <string_view>

namespace quillon {

// What the two columns of paired data are: one subject before and after a treatment, or one
// subject measured by two methods (whose agreement Bland and Altman describe).
enum class PairedMeaning { BeforeAfter, TwoMethods };

struct ReportNames {
  std::string first, second;          // the two groups, times, variables or methods
  std::string outcome, unit;          // the outcome measured and its unit
  std::string firstUnit, secondUnit;  // a correlation's units of X and of Y
  std::string positive, negative;     // a count table's two results
  PairedMeaning meaning = PairedMeaning::BeforeAfter;

  friend bool operator==(const ReportNames&, const ReportNames&) = default;
};

// A name without the blanks around it, the ideographic space of a Chinese input method too.
std::string TrimmedName(std::string_view text);
// The name trimmed, or the default where nothing is left.
std::string NameOr(const std::string& name, const char* fallback);

// The defaults of each analysis.
inline constexpr const char* kFirstGroup = "第1组";
inline constexpr const char* kSecondGroup = "第2组";
inline constexpr const char* kBefore = "处理前";
inline constexpr const char* kAfter = "处理后";
inline constexpr const char* kX = "X";
inline constexpr const char* kY = "Y";
inline constexpr const char* kTreated = "试验组";
inline constexpr const char* kControl = "对照组";
inline constexpr const char* kPositive = "（+）";
inline constexpr const char* kNegative = "（-）";
inline constexpr const char* kLater = "治疗后";
inline constexpr const char* kEarlier = "治疗前";

// " mmHg" after a number ("岁", "%" without the space), or nothing where the unit was not given.
std::string UnitSuffix(const std::string& unit);
// "收缩压（mmHg）", "收缩压", "（mmHg）" or nothing; in English "systolic pressure (mmHg)".
std::string OutcomeWithUnit(const std::string& outcome, const std::string& unit, bool english);

}  // namespace quillon
