#pragma once
// The 95 % confidence band of the least-squares line of Y on X: at each X, the interval of the
// mean of Y there, Ŷ ± t(0.975, n − 2) · s · √(1/n + (X − X̄)² / Sxx), with s the residual
// standard deviation. The line and its slope's standard error are the report's own.

#include <string>
#include <vector>

#include "report/correlation.h"
#include "stats/exact_sums.h"

namespace quillon {

struct BandPoint {
  double x = 0;
  double fitted = 0;  // Ŷ = a + bX
  double lower = 0, upper = 0;
};

struct RegressionBand {
  std::vector<BandPoint> points;  // one per X asked for; none when there is no band
  std::string reason;             // why there is no band
};

// From the report's figures of these pairs, when they are at hand.
RegressionBand ConfidenceBand(const PairSums& pairs, const CorrelationFigures& figures,
                              const std::vector<double>& xs);
RegressionBand ConfidenceBand(const PairSums& pairs, const std::vector<double>& xs);

}  // namespace quillon
