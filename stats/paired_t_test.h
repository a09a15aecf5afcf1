#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "stats/exact_sums.h"
#include "stats/significance.h"

namespace quillon {

// The differences d = first − second over the rows whose two values are both numbers, from
// their exact sums: what the paired t test and every figure built on it share.
struct PairedDifferences {
  std::int64_t n = 0;
  double mean = 0.0;                // Σd / n, signed
  std::optional<double> deviation;  // Sd, the root taken exactly; none for a single pair
  std::optional<double> t;          // d̄ / (Sd / √n), signed; none also when Sd is exactly 0
};

// Nothing when there is no complete pair.
std::optional<PairedDifferences> DescribeDifferences(const PairSums& pairs);

// The paired t test as shown.
struct PairedTTestResult {
  PairedDifferences differences;
  std::string meanText;       // |d̄|, four decimals: only the size of the mean difference is shown
  std::string deviationText;  // four decimals
  TTestVerdict verdict;       // |t| against the row for n − 1: "T = 2.3238  P > 0.05"
};

// Nothing for fewer than two pairs, or when every difference is the same (deviation exactly 0).
std::optional<PairedTTestResult> PairedTTest(const PairSums& pairs);

}  // namespace quillon
