#pragma once
// Whether values look normally distributed, tested where each analysis assumes it: the values of
// each group for the two-sample test, the differences for the paired test and the residuals of
// the least-squares line for correlation and regression. Guidance only: nothing here changes the
// tests the window shows.

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "report/figure.h"
#include "stats/correlation.h"
#include "stats/exact_sums.h"
#include "stats/fixed4.h"

namespace quillon {

// The Shapiro–Wilk test: W and its P by Royston's approximation (Applied Statistics 44:547,
// 1995), defined for 3 to 5,000 values that are not all equal.
struct NormalityFigures {
  std::int64_t n = 0;
  Figure w;
  Figure p;
};

inline constexpr std::int64_t kNormalityMinimum = 3;
inline constexpr std::int64_t kNormalityMaximum = 5000;

// The values of one group, in any order.
NormalityFigures ShapiroWilk(std::span<const Fixed4> values);
// The differences first − second of the complete pairs, taken exactly.
NormalityFigures DifferenceNormality(std::span<const std::pair<Fixed4, Fixed4>> pairs);

// One complete pair seen from the least-squares line: a + b·x and y − (a + b·x).
struct ResidualPoint {
  double fitted = 0;
  double residual = 0;
};

// The points of the complete pairs about the line of Y on X as the regression gives it (its
// slope and its intercept); nothing when there is no line.
std::vector<ResidualPoint> RegressionResiduals(std::span<const std::pair<Fixed4, Fixed4>> pairs,
                                               const CorrelationResult& line);
// The test on those residuals. The exact sums of the same pairs give n and decide whether the
// points lie exactly on the line, where every residual is 0 and the computed ones are rounding.
NormalityFigures ResidualNormality(std::span<const ResidualPoint> points, const PairSums& sums);

}  // namespace quillon
