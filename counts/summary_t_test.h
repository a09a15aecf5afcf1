#pragma once

#include <array>
#include <optional>
#include <string>

#include "stats/fixed4.h"
#include "stats/significance.h"

namespace quillon {

// The two-sample t test on means with pooled variance, from each group's summary values.
struct SummaryTTestResult {
  double t = 0.0;  // full precision, never negative
  Fixed4 df;       // N1 + N2 - 2, fractional when the counts are
  TTestVerdict verdict;
};

// The summary boxes in their order on screen: mean, standard deviation and count of group 1,
// then of group 2.
enum SummaryBox : std::size_t { kX1, kS1, kN1, kX2, kS2, kN2, kSummaryBoxCount };

// Runs the test on the texts of the six summary boxes (full-width full stops already replaced).
// Nothing when a box is empty or not a number, on a fixed-point overflow, a division by zero, a
// negative pooled variance, a result that is not finite, or a df below 1, which has no table row.
std::optional<SummaryTTestResult> SummaryTTest(
    const std::array<std::string, kSummaryBoxCount>& boxes);

}  // namespace quillon
