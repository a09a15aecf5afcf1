#include "report/checks/variance_tests.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillon {

namespace {

// Sums of deviations of 64-bit values and their multiples by a count need more than 64 bits.
__extension__ using Int128 = __int128;

// Each value's absolute deviation from the group's median, doubled so that the median of an even
// count (the mean of the two middle values) stays a whole number (in 10^-4 / 2). Their sum is
// exact; each deviation, already free of any common offset, becomes a double.
struct Deviations {
  std::vector<double> values;
  Int128 sum = 0;
};

Deviations DeviationsFromMedian(std::span<const Fixed4> group) {
  std::vector<std::int64_t> raw(group.size());
  std::transform(group.begin(), group.end(), raw.begin(), [](Fixed4 x) { return x.raw(); });
  const auto [least, greatest] = std::minmax_element(raw.begin(), raw.end());
  // Within a range below 2^61 every doubled deviation fits 64 bits.
  const bool narrow = static_cast<Int128>(*greatest) - *least < (static_cast<Int128>(1) << 61);
  const std::size_t middle = raw.size() / 2;
  std::nth_element(raw.begin(), raw.begin() + middle, raw.end());
  const std::int64_t upper = raw[middle];
  // For an even count the lower middle value is the largest of the lower half.
  const std::int64_t lower =
      raw.size() % 2 == 1 ? upper : *std::max_element(raw.begin(), raw.begin() + middle);
  Deviations deviations;
  deviations.values.reserve(raw.size());
  if (narrow) {
    for (std::int64_t x : raw) {
      const std::int64_t deviation = (x - lower) + (x - upper);
      const std::int64_t size = deviation < 0 ? -deviation : deviation;
      deviations.sum += size;
      deviations.values.push_back(static_cast<double>(size));
    }
    return deviations;
  }
  const Int128 twiceMedian = static_cast<Int128>(lower) + upper;
  for (std::int64_t x : raw) {
    const Int128 deviation = 2 * static_cast<Int128>(x) - twiceMedian;
    const Int128 size = deviation < 0 ? -deviation : deviation;
    deviations.sum += size;
    deviations.values.push_back(static_cast<double>(size));
  }
  return deviations;
}

// Σ (z − z̄)² of one group.
double WithinSquares(const Deviations& group) {
  const double mean = static_cast<double>(group.sum) / static_cast<double>(group.values.size());
  double squares = 0;
  for (double z : group.values) squares += (z - mean) * (z - mean);
  return squares;
}

}  // namespace

BrownForsytheFigures BrownForsythe(std::span<const Fixed4> first, std::span<const Fixed4> second) {
  if (first.size() < 2 || second.size() < 2) {
    const Figure missing = Figure::Missing("每组至少需要2例");
    return {missing, missing, missing, missing};
  }
  const Deviations one = DeviationsFromMedian(first);
  const Deviations two = DeviationsFromMedian(second);
  const double n1 = static_cast<double>(first.size());
  const double n2 = static_cast<double>(second.size());
  const double total = n1 + n2;
  BrownForsytheFigures figures;
  figures.df1 = Figure::Of(1);
  figures.df2 = Figure::Of(total - 2);
  // The difference of the two mean deviations, from the exact n₂·Σz₁ − n₁·Σz₂.
  const Int128 crossed =
      static_cast<Int128>(second.size()) * one.sum - static_cast<Int128>(first.size()) * two.sum;
  const double difference = static_cast<double>(crossed) / (n1 * n2);
  const double between = n1 * n2 / total * difference * difference;
  const double within = WithinSquares(one) + WithinSquares(two);
  if (within == 0) {
    figures.f = figures.p = Figure::Missing(
        between == 0 ? "各数值与本组中位数的距离全部相同，F无定义" : "组内离差均为0，F无穷大");
    return figures;
  }
  figures.f = Figure::Of(between / (within / (total - 2)));
  figures.p = figures.f ? FUpperP(*figures.f, 1, total - 2) : figures.f;
  return figures;
}

}  // namespace quillon
