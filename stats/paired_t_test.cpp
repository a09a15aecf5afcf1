#include "stats/paired_t_test.h"

#include <cmath>

#include "stats/number_text.h"

namespace quillon {

std::optional<PairedDifferences> DescribeDifferences(const PairSums& pairs) {
  const std::int64_t n = pairs.count;
  if (n < 1) return std::nullopt;
  const Int256 sumD = pairs.sumX - pairs.sumY;
  PairedDifferences differences;
  differences.n = n;
  differences.mean = ToDouble(sumD) / static_cast<double>(n) / Fixed4::kScale;
  if (n < 2) return differences;
  // n·Σd² − (Σd)² = n(n − 1) times the variance of the differences, exact.
  const Int256 centred = pairs.CentredXX() + pairs.CentredYY() - 2 * pairs.CentredXY();
  differences.deviation =
      SquareRootOfRatio(Widen(centred), Int512(n) * (n - 1) * Fixed4::kScale * Fixed4::kScale);
  if (centred != 0) {
    // d̄ / (Sd / √n) = Σd / √(n·Σd² − (Σd)²) · √(n − 1)
    const Int512 wideSumD = Widen(sumD);
    const double size = SquareRootOfRatio(wideSumD * wideSumD * (n - 1), Widen(centred));
    differences.t = sumD < 0 ? -size : size;
  }
  return differences;
}

std::optional<PairedTTestResult> PairedTTest(const PairSums& pairs) {
  std::optional<PairedDifferences> differences = DescribeDifferences(pairs);
  if (!differences || !differences->t) return std::nullopt;
  std::optional<TTestVerdict> verdict = JudgeTStatistic(
      std::fabs(*differences->t), Fixed4::FromInteger(differences->n - 1).value_or(Fixed4{}));
  if (!verdict) return std::nullopt;
  PairedTTestResult result;
  result.meanText = FormatFixed4(std::fabs(differences->mean));
  result.deviationText = FormatFixed4(*differences->deviation);
  result.differences = *differences;
  result.verdict = std::move(*verdict);
  return result;
}

}  // namespace quillon
