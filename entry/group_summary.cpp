#include "entry/group_summary.h"

#include <cmath>

#include "stats/number_text.h"

namespace quillon {

GroupSummaryTexts SummarizeGroup(const GroupSums& sums) {
  GroupSummaryTexts texts;
  const std::int64_t n = sums.count;
  Fixed4 deviation;
  if (n > 0) {
    const double mean = ToDouble(sums.sum) / (static_cast<double>(n) * Fixed4::kScale);
    texts.plainMean = PlainNumberText(mean);
  }
  if (n > 1) {
    // n(n − 1)·variance, exact, in 10^-8.
    const double scaledVariance = ToDouble(CentredSumOfSquares(sums));
    const double variance = scaledVariance / (static_cast<double>(n) * static_cast<double>(n - 1)) /
                            (static_cast<double>(Fixed4::kScale) * Fixed4::kScale);
    deviation = Fixed4::FromDouble(std::sqrt(variance)).value_or(Fixed4{});
  }
  texts.mean = FormatFixed4(texts.plainMean);
  texts.plainDeviation = deviation.ToPlainText();
  texts.deviation = FormatFixed4(texts.plainDeviation);
  texts.count = std::to_string(n);
  return texts;
}

}  // namespace quillon
