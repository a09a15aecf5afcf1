#include "report/ranks/rank_distributions.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <limits>
#include <numeric>

namespace quillon {

CountedDistribution::CountedDistribution(std::vector<WideInt> counts)
    : cumulative_(std::move(counts)) {
  std::partial_sum(cumulative_.begin(), cumulative_.end(), cumulative_.begin());
}

double CountedDistribution::AtMost(std::int64_t s) const {
  if (s < 0) return 0;
  if (s >= Largest()) return 1;
  return static_cast<double>(cumulative_[s]) / static_cast<double>(cumulative_.back());
}

double CountedDistribution::AtLeast(std::int64_t s) const {
  if (s <= 0) return 1;
  if (s > Largest()) return 0;
  return static_cast<double>(cumulative_.back() - cumulative_[s - 1]) /
         static_cast<double>(cumulative_.back());
}

std::int64_t CountedDistribution::Quantile(double p) const {
  // R allows for the rounding of its running sum by ten machine epsilons.
  const double target = p - 10 * std::numeric_limits<double>::epsilon();
  std::int64_t s = 0;
  while (s < Largest() && AtMost(s) < target) ++s;
  return s;
}

double CountedDistribution::TwoSided(double s) const {
  // The statistics are whole numbers here; above the centre the upper tail, else the lower.
  const auto whole = static_cast<std::int64_t>(std::llround(s));
  const double tail = 2 * s > static_cast<double>(Largest()) ? AtLeast(whole) : AtMost(whole);
  return std::min(1.0, 2 * tail);
}

double CountedDistribution::TwoSidedAbout(std::int64_t s, std::int64_t mean) const {
  const std::int64_t away = s < mean ? mean - s : s - mean;
  if (away == 0) return 1;
  return std::min(1.0, AtMost(mean - away) + AtLeast(mean + away));
}

namespace {

// Counts kept as doubles while they are summed (the ways of a sum of 98 ranks pass 2⁶⁴), then
// held whole.
CountedDistribution FromDoubles(const std::vector<double>& ways) {
  std::vector<WideInt> counts(ways.size());
  std::transform(ways.begin(), ways.end(), counts.begin(),
                 [](double w) { return static_cast<WideInt>(std::nearbyint(w)); });
  return CountedDistribution(std::move(counts));
}

}  // namespace

CountedDistribution TiedRankSumDistribution(std::span<const std::int64_t> twiceRanks,
                                            std::int64_t m) {
  const auto total = static_cast<std::int64_t>(twiceRanks.size());
  // ways[k][s]: the ways of drawing k of the values seen so far with twice their mean ranks
  // summing to s + k(k + 1). Any k of them sum to at least k(k + 1), and, for k ≤ total/2, to
  // at most k(k + 1) + 2k(total − k): so every row fits the largest such width.
  std::int64_t widest = 0;
  for (std::int64_t k = 0; k <= m; ++k) widest = std::max(widest, 2 * k * (total - k));
  const auto width = static_cast<std::size_t>(widest + 1);
  std::vector<double> ways(static_cast<std::size_t>(m + 1) * width, 0.0);
  std::vector<std::int64_t> low(m + 1, widest + 1), high(m + 1, -1);
  ways[0] = 1;
  low[0] = high[0] = 0;
  for (std::int64_t j = 0; j < total; ++j) {
    const std::int64_t rank = twiceRanks[j];
    // Only the draws that can still be completed from the values left matter.
    const std::int64_t least = std::max<std::int64_t>(1, m - (total - j - 1));
    for (std::int64_t k = std::min(j + 1, m); k >= least; --k) {
      if (high[k - 1] < low[k - 1]) continue;
      const std::int64_t shift = rank - 2 * k;
      const double* __restrict from = &ways[static_cast<std::size_t>(k - 1) * width];
      double* __restrict to = &ways[static_cast<std::size_t>(k) * width + shift];
      for (std::int64_t s = low[k - 1]; s <= high[k - 1]; ++s) to[s] += from[s];
      low[k] = std::min(low[k], low[k - 1] + shift);
      high[k] = std::max(high[k], high[k - 1] + shift);
    }
  }
  // 2U = Σ twice ranks − m(m + 1): row m as it stands, cut to 2U ≤ 2mn.
  const auto row = ways.begin() + static_cast<std::ptrdiff_t>(m * static_cast<std::int64_t>(width));
  std::vector<double> last(row, row + std::min<std::int64_t>(widest, 2 * m * (total - m)) + 1);
  return FromDoubles(last);
}

CountedDistribution TiedSignedRankDistribution(std::span<const std::int64_t> twiceRanks) {
  std::int64_t most = 0;
  for (const std::int64_t rank : twiceRanks) most += rank;
  std::vector<double> ways(static_cast<std::size_t>(most + 1), 0.0);
  ways[0] = 1;
  std::int64_t reached = 0;
  for (const std::int64_t rank : twiceRanks) {
    for (std::int64_t s = reached; s >= 0; --s) ways[s + rank] += ways[s];
    reached += rank;
  }
  return FromDoubles(ways);
}

CountedDistribution RankSumDistribution(std::int64_t m, std::int64_t n) {
  // Room for the product before each division.
  std::vector<WideInt> ways(m * n + m + 1, 0);
  ways[0] = 1;
  for (std::int64_t i = 1; i <= m; ++i) {
    // Times (1 − q^(n+i)), then divided by (1 − q^i): both exact, and the quotient is the
    // Gaussian binomial [n + i, i] again, with whole coefficients.
    for (std::int64_t u = i * n + i; u >= n + i; --u) ways[u] -= ways[u - n - i];
    for (std::int64_t u = i; u <= i * n + i; ++u) ways[u] += ways[u - i];
  }
  ways.resize(m * n + 1);
  return CountedDistribution(std::move(ways));
}

CountedDistribution SignedRankDistribution(std::int64_t n) {
  std::vector<WideInt> ways(n * (n + 1) / 2 + 1, 0);
  ways[0] = 1;
  for (std::int64_t i = 1; i <= n; ++i) {
    for (std::int64_t v = i * (i + 1) / 2; v >= i; --v) ways[v] += ways[v - i];
  }
  return CountedDistribution(std::move(ways));
}

namespace {

// For n = 2 … 9: how many of the n! orderings give each S = Σ(i − π(i))², counted once.
using SpearmanCounts = std::array<std::vector<std::int64_t>, kSpearmanEnumerated + 1>;

SpearmanCounts CountSpearman() {
  SpearmanCounts counts;
  for (std::int64_t n = 2; n <= kSpearmanEnumerated; ++n) {
    counts[n].assign((n * n * n - n) / 3 + 1, 0);
    std::vector<std::int64_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    do {
      std::int64_t s = 0;
      for (std::int64_t i = 0; i < n; ++i) s += (i - order[i]) * (i - order[i]);
      ++counts[n][s];
    } while (std::next_permutation(order.begin(), order.end()));
  }
  return counts;
}

// AS 89's Edgeworth coefficients.
constexpr double kEdgeworth[] = {0.2274, 0.2531, 0.1745, 0.0758, 0.1033, 0.3932,
                                 0.0879, 0.0151, 0.0072, 0.0831, 0.0131, 4.6e-4};

}  // namespace

double SpearmanTail(std::int64_t n, double is, bool lower) {
  const double none = lower ? 0 : 1;
  if (n <= 1 || is <= 0) return none;
  const auto size = static_cast<double>(n);
  const double largest = size * (size * size - 1) / 3;
  if (is > largest) return 1 - none;
  if (n <= kSpearmanEnumerated) {
    static const SpearmanCounts counts = CountSpearman();
    std::int64_t atLeast = 0;
    std::int64_t all = 0;
    for (std::size_t s = 0; s < counts[n].size(); ++s) {
      all += counts[n][s];
      if (is <= static_cast<double>(s)) atLeast += counts[n][s];
    }
    return static_cast<double>(lower ? all - atLeast : atLeast) / static_cast<double>(all);
  }
  const double* c = kEdgeworth;
  const double b = 1 / size;
  const double x = (6 * (is - 1) * b / (size * size - 1) - 1) * std::sqrt(size - 1);
  double y = x * x;
  const double u =
      x * b *
      (c[0] + b * (c[1] + c[2] * b) +
       y * (-c[3] + b * (c[4] + c[5] * b) -
            y * b * (c[6] + c[7] * b - y * (c[8] - c[9] * b + y * b * (c[10] - c[11] * y)))));
  y = u / std::exp(y / 2);
  const boost::math::normal normal;
  const double tail =
      lower ? boost::math::cdf(normal, x) : boost::math::cdf(boost::math::complement(normal, x));
  return std::clamp((lower ? -y : y) + tail, 0.0, 1.0);
}

}  // namespace quillon
