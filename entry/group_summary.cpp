#include "entry/group_summary.h"

#include <cstdint>

#include "stats/number_text.h"

namespace quillon {

namespace {

// The sample standard deviation rounded to four decimals, halves to even, decided exactly: with
// C = n·Σx² − (Σx)² and m = n(n − 1), the deviation in ten-thousandths is √(C/m), whose whole
// part k is the integer square root of ⌊C/m⌋ and which reaches k + ½ exactly when 4C ≥ (2k + 1)²·m.
std::optional<Fixed4> ExactDeviation(const GroupSums& sums) {
  const Int256 centred = CentredSumOfSquares(sums);
  const Int256 m = Int256(sums.count) * (sums.count - 1);
  const Int256 whole = boost::multiprecision::sqrt(Int256(centred / m));
  const Int256 odd = 2 * whole + 1;
  const Int256 twiceSquared = 4 * centred;
  const Int256 half = odd * odd * m;
  const bool up = twiceSquared > half || (twiceSquared == half && whole % 2 == 1);
  const Int256 raw = up ? Int256(whole + 1) : whole;
  if (raw > INT64_MAX) {
    return std::nullopt;
  }
  return Fixed4::FromRaw(raw.convert_to<std::int64_t>());
}

}  // namespace

GroupSummaryTexts SummarizeGroup(const GroupSums& sums) {
  GroupSummaryTexts texts;
  const std::int64_t n = sums.count;
  Fixed4 deviation;
  if (n > 0) {
    const double mean = ToDouble(sums.sum) / (static_cast<double>(n) * Fixed4::kScale);
    texts.plainMean = PlainNumberText(mean);
  }
  if (n > 1) {
    deviation = ExactDeviation(sums).value_or(Fixed4{});
  }
  texts.mean = FormatFixed4(texts.plainMean);
  texts.plainDeviation = deviation.ToPlainText();
  texts.deviation = FormatFixed4(texts.plainDeviation);
  texts.count = std::to_string(n);
  return texts;
}

}  // namespace quillon
