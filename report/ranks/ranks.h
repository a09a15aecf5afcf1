#pragma once
// The rank tests of the results report, for data too skewed for the t tests: the Wilcoxon
// rank-sum test (Mann–Whitney) of two groups, the Wilcoxon signed-rank test of paired data and
// Spearman's rank correlation, each with its P value as R gives it (wilcox.test with
// correct = TRUE and conf.int = TRUE, cor.test with method = "spearman"), a Hodges–Lehmann
// estimate or a 95 % interval, an effect size, and the median with its quartiles.

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "report/effect_sizes.h"
#include "report/figure.h"
#include "stats/fixed4.h"

namespace quillon {

// The median and the quartiles by quantile type 6 (Hyndman & Fan 1996): the p-th quantile of n
// ordered values lies at (n + 1)p, between neighbours in proportion; the definition SPSS and
// Minitab use, and R's quantile(x, type = 6).
struct Quartiles {
  Figure p25, median, p75;
};
Quartiles QuartilesOf(std::span<const Fixed4> values);

// How a rank test's P was found.
enum class RankP {
  Exact,           // the exact null distribution
  ExactGivenTies,  // the exact distribution of the mean ranks given the ties (conditional)
  Normal,          // the normal approximation with the tie and continuity corrections
  Edgeworth,       // Spearman: AS 89's Edgeworth series, 10 to 1,290 pairs without ties
  StudentT,        // Spearman: t = rs √((n − 2) / (1 − rs²)) with n − 2 degrees of freedom
};

// How the table and the sentences name the way P was found: "精确概率", "正态近似（连续性校正）",
// … in Chinese, "exact P", "normal approximation with continuity correction", … in English.
struct RankPNames {
  const char* chinese;
  const char* english;
};
RankPNames RankPName(RankP method);

// Exact when both groups (or the n nonzero differences) have fewer than this many values: as R
// without ties, and given the ties (the permutation distribution of the mean ranks) with them,
// where R would turn to the normal approximation at any n. The Hodges–Lehmann interval of a small
// sample is the exact one of R (the distribution without ties) in either case.
inline constexpr std::int64_t kExactBelow = 50;
// Spearman's P is exact or AS 89's up to this many pairs without ties, as in R.
inline constexpr std::int64_t kSpearmanSeries = 1290;

struct RankSumFigures {
  std::int64_t n1 = 0, n2 = 0;
  Quartiles first, second;
  Figure w;  // U of the first group: its rank sum less n1(n1 + 1)/2 (R's W)
  Figure z;  // (W − n1n2/2 ∓ 0.5) / σ with the tie correction; none where P is exact
  Figure p;  // two-sided
  RankP method = RankP::Normal;
  // Hodges–Lehmann: the median of all x_i − y_j, with its 95 % interval as R gives it.
  Figure shift, shiftLower, shiftUpper;
  Figure superiority;       // U / (n1 n2), the probability of superiority
  EffectSize rankBiserial;  // r = 2U / (n1 n2) − 1, Fisher z interval
};
// From each group's values in the grid; with none typed (only the summary boxes) every figure
// carries the reason.
RankSumFigures RankSumReportFigures(std::span<const Fixed4> first, std::span<const Fixed4> second);

// d = first − second over the complete pairs.
struct SignedRankFigures {
  std::int64_t n = 0;        // complete pairs
  std::int64_t nonzero = 0;  // pairs whose difference is not 0: the test's n
  Quartiles differences;     // of all n differences
  Figure v;                  // the sum of the ranks of |d| of the positive differences
  Figure z;                  // (V − n(n + 1)/4 ∓ 0.5) / σ with the tie correction
  Figure p;
  RankP method = RankP::Normal;
  // Hodges–Lehmann: the median of the Walsh averages (d_i + d_j)/2, i ≤ j, of the nonzero
  // differences, with its 95 % interval as R gives it.
  Figure pseudomedian, lower, upper;
  EffectSize rankBiserial;  // (T+ − T−) / (n(n + 1)/2), Fisher z interval
};
SignedRankFigures SignedRankReportFigures(std::span<const std::pair<Fixed4, Fixed4>> pairs);

struct SpearmanFigures {
  std::int64_t n = 0;
  Figure rs;  // Pearson's r of the ranks (mean ranks for ties)
  Figure p;
  RankP method = RankP::Exact;
  Figure lower, upper;  // 95 %, Fisher z with Bonett and Wright's SE √((1 + rs²/2) / (n − 3))
};
SpearmanFigures SpearmanReportFigures(std::span<const std::pair<Fixed4, Fixed4>> pairs);

}  // namespace quillon
