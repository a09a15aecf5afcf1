#pragma once
// Agreement of the two measurements of the paired analysis (Bland and Altman): the bias (the mean
// difference), the 95 % limits of agreement bias ± 1.96 SD, each with its 95 % interval, and the
// points of the plot of the differences against the means of each pair.

#include <span>
#include <utility>
#include <vector>

#include "report/figure.h"
#include "report/t_tests.h"
#include "stats/fixed4.h"

namespace quillon {

inline constexpr double kAgreementMultiplier = 1.96;

// d = first − second over the complete pairs.
struct AgreementFigures {
  std::int64_t n = 0;
  Figure bias, biasLower, biasUpper;  // the mean difference, ± t(0.975, n − 1) · SD / √n
  Figure deviation;                   // SD of the differences
  // bias ∓ 1.96 SD, each ± t(0.975, n − 1) · √(3 SD² / n) (Bland and Altman 1999)
  Figure lowerLimit, lowerLimitLower, lowerLimitUpper;
  Figure upperLimit, upperLimitLower, upperLimitUpper;
};

// From the paired test's own figures: its mean difference, its standard deviation and its 95 %
// interval of the mean difference are the bias, its spread and the bias's interval.
AgreementFigures BlandAltman(const PairedFigures& paired);

// One complete pair on the plot: the mean of its two values against their difference.
struct AgreementPoint {
  double mean = 0;
  double difference = 0;
};

std::vector<AgreementPoint> AgreementPoints(std::span<const std::pair<Fixed4, Fixed4>> pairs);

}  // namespace quillon
