#include "report/checks/regression_band.h"

#include <cmath>

namespace quillon {

RegressionBand ConfidenceBand(const PairSums& pairs, const std::vector<double>& xs) {
  return ConfidenceBand(pairs, CorrelationReportFigures(pairs), xs);
}

RegressionBand ConfidenceBand(const PairSums& pairs, const CorrelationFigures& figures,
                              const std::vector<double>& xs) {
  if (!figures.slope || !figures.intercept) return {{}, figures.slope.reason};
  if (!figures.slopeError) return {{}, figures.slopeError.reason};
  const Figure critical = TCritical95(*figures.df);
  if (!critical) return {{}, critical.reason};
  // s·√(1/n + (X − X̄)²/Sxx) = SE(b)·√(Sxx/n + (X − X̄)²), since SE(b) = s/√Sxx. The centred sum
  // n·Σx² − (Σx)² is n·Sxx in 10^-8, and Σx is in 10^-4.
  const double n = static_cast<double>(pairs.count);
  const double spreadOverN =
      ToDouble(pairs.CentredXX()) / (n * n) / (Fixed4::kScale * Fixed4::kScale);
  const double meanX = ToDouble(pairs.sumX) / n / Fixed4::kScale;
  const double a = *figures.intercept;
  const double b = *figures.slope;
  const double margin = *critical * *figures.slopeError;
  RegressionBand band;
  band.points.reserve(xs.size());
  for (const double x : xs) {
    const double fitted = a + b * x;
    const double half = margin * std::sqrt(spreadOverN + (x - meanX) * (x - meanX));
    band.points.push_back({x, fitted, fitted - half, fitted + half});
  }
  return band;
}

}  // namespace quillon
