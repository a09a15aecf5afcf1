#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "stats/exact_sums.h"
#include "stats/significance.h"
#include "stats/t_table.h"

namespace quillon {

inline constexpr std::string_view kPerfectPositive = "完全正相关";
inline constexpr std::string_view kPerfectNegative = "完全负相关";

// Pearson's correlation of Y with X and the least-squares line of Y on X, over the rows whose two
// values are both numbers. Every text is empty where the panel shows nothing (fewer than three
// pairs included).
struct CorrelationResult {
  std::string n;  // empty for fewer than three rows
  std::string r;  // four decimals; empty when all X or all Y are equal
  std::string t;  // t with n − 2 degrees of freedom; empty also for r = ±1
  std::optional<TCriticalValues> critical;
  std::string verdict;   // "P < 0.05" ..., or the words for r = ±1
  std::string equation;  // "Y=2.2000+0.6000X"; empty when all X are equal

  // The same at full precision, where defined: also for two pairs, whose texts stay empty.
  std::optional<double> rValue;
  std::optional<double> tValue;  // signed as r
  std::optional<double> slope;
  std::optional<Fixed4> intercept;       // rounded exactly to four decimals, as shown
  std::optional<double> interceptValue;  // the double nearest to the exact intercept
};

CorrelationResult CorrelationRegression(const PairSums& pairs);

}  // namespace quillon
