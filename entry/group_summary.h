#pragma once
// The summary values of one group as the two-sample panel shows them: the mean and the
// standard deviation with four decimals, and the count of the values that are numbers.

#include <string>

#include "stats/exact_sums.h"

namespace quillon {

struct GroupSummaryTexts {
  std::string plainMean;       // the mean's plain number text; empty when there is no value
  std::string mean;            // FormatFixed4 of plainMean
  std::string plainDeviation;  // the standard deviation to four decimals, plain: "0", "1.291"
  std::string deviation;       // FormatFixed4 of plainDeviation
  std::string count;

  friend bool operator==(const GroupSummaryTexts&, const GroupSummaryTexts&) = default;
};

// No values: no mean, deviation 0. One value: deviation 0. The deviation is the sample standard
// deviation (n − 1), computed from the exact sums, so values sharing a large offset lose nothing.
GroupSummaryTexts SummarizeGroup(const GroupSums& sums);

}  // namespace quillon
