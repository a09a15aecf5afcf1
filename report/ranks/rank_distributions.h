#pragma once
// The null distributions of the rank statistics where the report gives exact P values: the
// Wilcoxon rank-sum statistic U and the signed-rank statistic V of small samples without ties,
// and Spearman's S = Σ(rank differences)² by exact enumeration up to 9 pairs and by the
// Edgeworth series of AS 89 (Best & Roberts, Applied Statistics 24:377, 1975) beyond.

#include <cstdint>
#include <span>
#include <vector>

#include "report/ranks/rank_estimates.h"

namespace quillon {

// The number of ways each value of a statistic comes about, and how many ways there are.
class CountedDistribution {
 public:
  explicit CountedDistribution(std::vector<WideInt> counts);
  // P(S ≤ s) and P(S ≥ s).
  double AtMost(std::int64_t s) const;
  double AtLeast(std::int64_t s) const;
  // The smallest s with P(S ≤ s) ≥ p (as R's qwilcox and qsignrank find it).
  std::int64_t Quantile(double p) const;
  // Two-sided P: twice the tail beyond s on the side of s, at most 1.
  double TwoSided(double s) const;
  // Two-sided P about the statistic's mean: P(|S − mean| ≥ |s − mean|), which is TwoSided for a
  // symmetric distribution and the right reading of one that is not (mean ranks of ties).
  double TwoSidedAbout(std::int64_t s, std::int64_t mean) const;
  std::int64_t Largest() const { return static_cast<std::int64_t>(cumulative_.size()) - 1; }

 private:
  std::vector<WideInt> cumulative_;  // ways of S ≤ s
};

// U = the rank sum of the first group less m(m + 1)/2, for groups of m and n values: the
// counting recursion of the Gaussian binomial coefficient [m + n, m] = ∏ (1 − q^(n+i)) /
// (1 − q^i) over i = 1 … m, whose coefficient of q^u counts the ways of U = u.
CountedDistribution RankSumDistribution(std::int64_t m, std::int64_t n);

// V = the sum of the ranks of the positive ones among n values: ∏ (1 + q^i), i = 1 … n.
CountedDistribution SignedRankDistribution(std::int64_t n);

// The exact distributions given the ties (the permutation distributions of the mean ranks, as
// StatXact computes them), each statistic counted in halves so that mean ranks stay whole.
// 2U, for the first m of the values whose twice mean ranks are given, U its rank sum less
// m(m + 1)/2: every way of drawing m of them.
CountedDistribution TiedRankSumDistribution(std::span<const std::int64_t> twiceRanks,
                                            std::int64_t m);
// 2V, V the sum of the ranks that carry a plus sign, each of the given twice mean ranks either.
CountedDistribution TiedSignedRankDistribution(std::span<const std::int64_t> twiceRanks);

// Pr[S ≥ is], or Pr[S < is] when lower, for n ≥ 2 pairs, as AS 89 with R's changes gives it
// (exact for n ≤ 9, Edgeworth series beyond).
double SpearmanTail(std::int64_t n, double is, bool lower);
inline constexpr std::int64_t kSpearmanEnumerated = 9;

}  // namespace quillon
