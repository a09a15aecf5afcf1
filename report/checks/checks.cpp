#include "report/checks/checks.h"

namespace quillon {

TwoSampleChecks CheckTwoSample(std::span<const Fixed4> first, std::span<const Fixed4> second) {
  TwoSampleChecks checks;
  if (first.empty() && second.empty()) {
    const Figure missing = Figure::Missing("只有汇总值，没有各组的原始数据");
    checks.first = {0, missing, missing};
    checks.second = checks.first;
    checks.spread = {missing, missing, missing, missing};
    return checks;
  }
  checks.first = ShapiroWilk(first);
  checks.second = ShapiroWilk(second);
  checks.spread = BrownForsythe(first, second);
  return checks;
}

PairedChecks CheckPaired(std::span<const std::pair<Fixed4, Fixed4>> pairs,
                         const PairedFigures& figures) {
  return {DifferenceNormality(pairs), BlandAltman(figures), AgreementPoints(pairs)};
}

CorrelationChecks CheckCorrelation(std::span<const std::pair<Fixed4, Fixed4>> pairs,
                                   const PairSums& sums, const CorrelationFigures& figures) {
  CorrelationChecks checks;
  checks.points = RegressionResiduals(pairs, figures.shown);
  checks.residuals = ResidualNormality(checks.points, sums);
  return checks;
}

}  // namespace quillon
