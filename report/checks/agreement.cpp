#include "report/checks/agreement.h"

#include <cmath>

namespace quillon {

namespace {

// Sums and differences of two 64-bit values need 65 bits.
__extension__ using Int128 = __int128;

}  // namespace

AgreementFigures BlandAltman(const PairedFigures& paired) {
  AgreementFigures figures;
  figures.n = paired.n;
  figures.bias = paired.meanDifference;
  figures.biasLower = paired.lower;
  figures.biasUpper = paired.upper;
  figures.deviation = paired.deviation;
  if (!paired.meanDifference || !paired.deviation) {
    const Figure missing = MissingFrom(paired.meanDifference, paired.deviation);
    for (Figure* figure :
         {&figures.lowerLimit, &figures.lowerLimitLower, &figures.lowerLimitUpper,
          &figures.upperLimit, &figures.upperLimitLower, &figures.upperLimitUpper}) {
      *figure = missing;
    }
    return figures;
  }
  const double bias = *paired.meanDifference;
  const double deviation = *paired.deviation;
  figures.lowerLimit = Figure::Of(bias - kAgreementMultiplier * deviation);
  figures.upperLimit = Figure::Of(bias + kAgreementMultiplier * deviation);
  // Equal differences leave the limits' intervals without width, as the bias's: none, with the
  // bias interval's reason.
  const Figure critical = paired.df ? TCritical95(*paired.df) : paired.df;
  if (!critical || deviation == 0) {
    figures.lowerLimitLower = figures.lowerLimitUpper = figures.upperLimitLower =
        figures.upperLimitUpper = critical ? paired.lower : critical;
    return figures;
  }
  // The standard error of either limit: √(3 SD² / n).
  const double reach = *critical * deviation * std::sqrt(3 / static_cast<double>(paired.n));
  figures.lowerLimitLower = Figure::Of(*figures.lowerLimit - reach);
  figures.lowerLimitUpper = Figure::Of(*figures.lowerLimit + reach);
  figures.upperLimitLower = Figure::Of(*figures.upperLimit - reach);
  figures.upperLimitUpper = Figure::Of(*figures.upperLimit + reach);
  return figures;
}

std::vector<AgreementPoint> AgreementPoints(std::span<const std::pair<Fixed4, Fixed4>> pairs) {
  const double scale = Fixed4::kScale;
  std::vector<AgreementPoint> points(pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const Int128 x = pairs[i].first.raw();
    const Int128 y = pairs[i].second.raw();
    // Exact sum and difference first: two large values close together keep their difference.
    points[i] = {static_cast<double>(x + y) / (2 * scale), static_cast<double>(x - y) / scale};
  }
  return points;
}

}  // namespace quillon
