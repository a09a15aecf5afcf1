#pragma once
// What the report checks beside each sample analysis, from the values themselves: normality
// where the test assumes it, equal variances, and the agreement of paired measurements. Guidance
// only: the main window's tests stay as they are.

#include <span>
#include <utility>
#include <vector>

#include "report/checks/agreement.h"
#include "report/checks/normality.h"
#include "report/checks/variance_tests.h"
#include "report/correlation.h"
#include "report/t_tests.h"

namespace quillon {

struct TwoSampleChecks {
  NormalityFigures first, second;  // each group's values
  BrownForsytheFigures spread;
};
// From each group's values in the grid; none typed (only the summary boxes) gives reasons.
TwoSampleChecks CheckTwoSample(std::span<const Fixed4> first, std::span<const Fixed4> second);

struct PairedChecks {
  NormalityFigures differences;
  AgreementFigures agreement;
  std::vector<AgreementPoint> points;
};
PairedChecks CheckPaired(std::span<const std::pair<Fixed4, Fixed4>> pairs,
                         const PairedFigures& figures);

struct CorrelationChecks {
  NormalityFigures residuals;
  std::vector<ResidualPoint> points;
};
CorrelationChecks CheckCorrelation(std::span<const std::pair<Fixed4, Fixed4>> pairs,
                                   const PairSums& sums, const CorrelationFigures& figures);

}  // namespace quillon
