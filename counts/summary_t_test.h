#pragma once

#include <array>
#include <optional>
#include <string>

#include "stats/fixed4.h"
#include "stats/significance.h"

namespace quillon {

// The summary boxes in their order on screen: mean, standard deviation and count of group 1,
// then of group 2.
enum SummaryBox : std::size_t { kX1, kS1, kN1, kX2, kS2, kN2, kSummaryBoxCount };

// Each group's mean, standard deviation and count, as the summary boxes hold them. The means stay
// exact: their difference is taken before anything is rounded to a double.
struct SummaryValues {
  Fixed4 mean1, deviation1, count1;
  Fixed4 mean2, deviation2, count2;
};

// The values of the six summary boxes (full-width full stops already replaced); nothing when a
// box is empty or not a number.
std::optional<SummaryValues> ReadSummaryValues(
    const std::array<std::string, kSummaryBoxCount>& boxes);

// The pooled-variance t test's quantities, each where it is defined.
struct PooledTTest {
  Fixed4 df;                             // N1 + N2 − 2, fractional when the counts are
  std::optional<Fixed4> difference;      // mean1 − mean2, exact
  std::optional<double> pooledVariance;  // Sc² = (S1²(N1 − 1) + S2²(N2 − 1)) / df
  std::optional<double> standardError;   // √(Sc²(1/N1 + 1/N2))
  std::optional<double> t;               // difference / standardError, signed
};

// Nothing when N1 + N2 − 2 is beyond the fixed-point range.
std::optional<PooledTTest> PoolSummaryValues(const SummaryValues& values);

// The two-sample t test on means with pooled variance, as shown.
struct SummaryTTestResult {
  double t = 0.0;  // |t|, full precision
  Fixed4 df;
  TTestVerdict verdict;
};

// Runs the test on the texts of the six summary boxes. Nothing when a box is empty or not a
// number, on a fixed-point overflow, a division by zero, a negative pooled variance, a result
// that is not finite, or a df below 1, which has no table row.
std::optional<SummaryTTestResult> SummaryTTest(
    const std::array<std::string, kSummaryBoxCount>& boxes);

}  // namespace quillon
