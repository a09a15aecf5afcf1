#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "stats/exact_sums.h"
#include "stats/significance.h"

namespace quillon {

// The paired t test on the rows whose two values are both numbers, d = first − second.
struct PairedTTestResult {
  std::int64_t n = 0;
  double meanDifference = 0.0;  // |Σd| / n: only the size of the mean difference is shown
  double deviation = 0.0;       // the standard deviation of the differences
  double t = 0.0;               // full precision
  std::string meanText;         // four decimals
  std::string deviationText;    // four decimals
  TTestVerdict verdict;         // critical values for n − 1 and "T = 2.3238  P > 0.05"
};

// Nothing for fewer than two pairs, or when every difference is the same (deviation exactly 0).
std::optional<PairedTTestResult> PairedTTest(const PairSums& pairs);

}  // namespace quillon
