#include "stats/paired_t_test.h"

#include <cmath>

#include "stats/number_text.h"

namespace quillon {

std::optional<PairedTTestResult> PairedTTest(const PairSums& pairs) {
  const std::int64_t n = pairs.count;
  // n·Σd² − (Σd)² = n(n − 1) times the variance of the differences, exact.
  const Int256 centred = pairs.CentredXX() + pairs.CentredYY() - 2 * pairs.CentredXY();
  if (n < 2 || centred == 0) {
    return std::nullopt;
  }
  const double scale = Fixed4::kScale;
  const double sumOfDifferences = std::fabs(ToDouble(pairs.sumX - pairs.sumY));
  const double nd = static_cast<double>(n);

  PairedTTestResult result;
  result.n = n;
  result.meanDifference = sumOfDifferences / nd / scale;
  result.deviation =
      SquareRootOfRatio(Widen(centred), Int512(n) * (n - 1) * Fixed4::kScale * Fixed4::kScale);
  // mean / (Sd / √n) = |Σd| / √(n·Σd² − (Σd)²) · √(n − 1)
  const Int512 sumD = Widen(pairs.sumX - pairs.sumY);
  result.t = SquareRootOfRatio(sumD * sumD * (n - 1), Widen(centred));
  result.meanText = FormatFixed4(result.meanDifference);
  result.deviationText = FormatFixed4(result.deviation);
  std::optional<TTestVerdict> verdict =
      JudgeTStatistic(result.t, Fixed4::FromInteger(n - 1).value_or(Fixed4{}));
  if (!verdict) {
    return std::nullopt;
  }
  result.verdict = std::move(*verdict);
  return result;
}

}  // namespace quillon
