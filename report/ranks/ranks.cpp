#include "report/ranks/ranks.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "report/ranks/kept_sort.h"
#include "report/ranks/radix_sort.h"
#include "report/ranks/rank_distributions.h"
#include "report/ranks/rank_estimates.h"

namespace quillon {

namespace {

constexpr const char* kSummaryOnly = "仅有汇总数据，无法进行秩检验";
constexpr const char* kTooFewForLevel = "例数过少，达不到95%的置信水平";
constexpr const char* kAllDifferencesEqual = "差值全部相同，无法估计区间";
constexpr const char* kPerfectRank = "秩相关为±1，Fisher z变换无定义";
constexpr double kScale = Fixed4::kScale;

// The raw values sorted; with a slot, mended from the last sort of that column where they
// differ from it in one value.
std::vector<std::int64_t> SortedRaw(std::span<const Fixed4> values,
                                    std::optional<KeptColumn> slot = std::nullopt) {
  std::vector<std::int64_t> raw(values.size());
  std::transform(values.begin(), values.end(), raw.begin(),
                 [](Fixed4 value) { return value.raw(); });
  const auto itself = [](std::int64_t v) { return v; };
  if (slot) {
    SortKept(*slot, raw, itself);
  } else {
    std::vector<std::int64_t> scratch;
    RadixSort(raw, scratch, itself);
  }
  return raw;
}

// R's quantile type 6 of sorted values held in ten-thousandths: x[j] + h (x[j+1] − x[j]) with
// j + h = (n + 1)p, the ends held at the smallest and the largest value.
template <typename V>
double Type6(const std::vector<V>& sorted, double p) {
  const auto n = static_cast<std::int64_t>(sorted.size());
  const double place = p * static_cast<double>(n + 1);  // exact for quarters
  const auto j = static_cast<std::int64_t>(std::floor(place));
  // h is a whole number of quarters: a + h(b − a) is held exactly in quarters of the grid's unit
  // and rounded once, so that a quartile on a half (3.875) is not a hair below it.
  const auto quarters = static_cast<std::int64_t>((place - static_cast<double>(j)) * 4);
  const WideInt a = sorted[std::clamp<std::int64_t>(j, 1, n) - 1];
  const WideInt b = sorted[std::clamp<std::int64_t>(j + 1, 1, n) - 1];
  const WideInt exact = 4 * a + quarters * (b - a);
  return static_cast<double>(exact) / (4 * kScale);
}

template <typename V>
Quartiles QuartilesOfSorted(const std::vector<V>& sorted) {
  if (sorted.empty()) {
    const Figure none = Figure::Missing("没有数值");
    return {none, none, none};
  }
  return {Figure::Of(Type6(sorted, 0.25)), Figure::Of(Type6(sorted, 0.5)),
          Figure::Of(Type6(sorted, 0.75))};
}

// Σ(t³ − t) over the runs of equal values of a sorted sequence.
template <typename V>
double TieSum(const std::vector<V>& sorted) {
  double sum = 0;
  for (std::size_t start = 0, end = 0; start < sorted.size(); start = end) {
    while (end < sorted.size() && sorted[end] == sorted[start]) ++end;
    const auto t = static_cast<double>(end - start);
    sum += t * t * t - t;
  }
  return sum;
}

// t³ − t of a run of t equal values: 0 for a value alone, as most are.
double TieTerm(std::int64_t t) {
  if (t < 2) return 0;
  const auto v = static_cast<double>(t);
  return v * v * v - v;
}

double Sign(double value) { return value > 0 ? 1 : value < 0 ? -1 : 0; }

// 2·min(Φ(z), 1 − Φ(z)).
Figure NormalTwoSided(double z) {
  const boost::math::normal normal;
  return Figure::Of(2 * boost::math::cdf(normal, -std::fabs(z)));
}

// The shift at which R's uniroot finds the continuity-corrected, tie-corrected z of a rank
// statistic cross zq. Past the m-th of `count` ordered differences (or Walsh averages) the
// statistic less its mean is count/2 − m, and σ there knows only the ties within the data; the
// corrected z falls step by step, so the root is the m-th difference for the first m at which
// it is no longer above zq. R's answer lies within uniroot's tolerance (10⁻⁴) of that point.
std::int64_t CrossingRank(std::int64_t count, double sigma, double zq) {
  const auto above = [&](std::int64_t m) {
    const double dz = static_cast<double>(count) / 2 - static_cast<double>(m);
    return (dz - Sign(dz) * 0.5) / sigma - zq > 0;
  };
  const double guess = static_cast<double>(count) / 2 - zq * sigma;
  std::int64_t m = std::clamp<std::int64_t>(std::llround(guess), 1, count);
  while (m > 1 && !above(m - 1)) --m;
  while (m < count && above(m)) ++m;
  return m;
}

// Fisher z interval of a correlation-like r with standard error se of atanh r.
EffectSize FisherInterval(double r, double se) {
  EffectSize effect{Figure::Of(r), {}, {}};
  if (std::fabs(r) >= 1) {
    effect.lower = effect.upper = Figure::Missing(kPerfectRank);
    return effect;
  }
  const double z = std::atanh(r);
  effect.lower = Figure::Of(std::tanh(z - NormalCritical95() * se));
  effect.upper = Figure::Of(std::tanh(z + NormalCritical95() * se));
  return effect;
}

// The exact interval of R: the qu-th and (count − qu + 1)-th ordered differences, qu the 2.5 %
// quantile of the statistic (at least 1); none where that leaves the level below 92.5 %, where
// R warns that 95 % is not achievable.
template <typename Kth>
void ExactInterval(const CountedDistribution& distribution, std::int64_t count, Kth kth,
                   Figure& lower, Figure& upper) {
  std::int64_t qu = distribution.Quantile(0.025);
  if (qu == 0) qu = 1;
  if (2 * distribution.AtMost(qu - 1) - 0.05 > 0.025) {
    lower = upper = Figure::Missing(kTooFewForLevel);
    return;
  }
  lower = Figure::Of(kth(qu));
  upper = Figure::Of(kth(count - qu + 1));
}

}  // namespace

RankPNames RankPName(RankP method) {
  switch (method) {
    case RankP::Exact:
      return {"精确概率", "exact P"};
    case RankP::ExactGivenTies:
      return {"含结的精确概率，按平均秩的条件分布", "exact P given the ties, by the mid-ranks"};
    case RankP::Normal:
      return {"正态近似，连续性校正", "normal approximation with continuity correction"};
    case RankP::Edgeworth:
      return {"Edgeworth级数近似（AS 89）", "Edgeworth series approximation (AS 89)"};
    case RankP::StudentT:
      return {"t分布近似，ν = n − 2", "t approximation, df = n − 2"};
  }
  return {"", ""};
}

Quartiles QuartilesOf(std::span<const Fixed4> values) {
  return QuartilesOfSorted(SortedRaw(values));
}

RankSumFigures RankSumReportFigures(std::span<const Fixed4> first, std::span<const Fixed4> second) {
  RankSumFigures f;
  f.n1 = static_cast<std::int64_t>(first.size());
  f.n2 = static_cast<std::int64_t>(second.size());
  const std::vector<std::int64_t> x = SortedRaw(first, KeptColumn::First);
  const std::vector<std::int64_t> y = SortedRaw(second, KeptColumn::Second);
  f.first = QuartilesOfSorted(x);
  f.second = QuartilesOfSorted(y);
  std::string reason;
  if (x.empty() && y.empty()) {
    reason = kSummaryOnly;
    f.first =
        f.second = {Figure::Missing(reason), Figure::Missing(reason), Figure::Missing(reason)};
  } else if (f.n1 < 2 || f.n2 < 2) {
    reason = "每组至少需要2个数值";
  } else if (x.front() == x.back() && y.front() == y.back() && x.front() == y.front()) {
    reason = "两组全部数值相同，无法进行秩检验";
  }
  if (!reason.empty()) {
    const Figure none = Figure::Missing(reason);
    f.w = f.z = f.p = f.shift = f.shiftLower = f.shiftUpper = f.superiority = none;
    f.rankBiserial = {none, none, none};
    return f;
  }
  // The rank sum of the first group (twice, to stay whole with mean ranks), the ties of both
  // together, and the ties within each group.
  std::int64_t twiceRankSum = 0;
  double ties = 0;
  double within = 0;
  const bool small = f.n1 < kExactBelow && f.n2 < kExactBelow;
  std::vector<std::int64_t> twiceRanks;  // ascending, for the exact distribution given the ties
  for (std::size_t i = 0, j = 0; i < x.size() || j < y.size();) {
    const std::int64_t value = j == y.size() || (i < x.size() && x[i] < y[j]) ? x[i] : y[j];
    const auto below = static_cast<std::int64_t>(i + j);
    std::int64_t inFirst = 0;
    std::int64_t inSecond = 0;
    while (i < x.size() && x[i] == value) ++i, ++inFirst;
    while (j < y.size() && y[j] == value) ++j, ++inSecond;
    const std::int64_t t = inFirst + inSecond;
    twiceRankSum += inFirst * (2 * below + t + 1);
    if (small) twiceRanks.insert(twiceRanks.end(), t, 2 * below + t + 1);
    ties += TieTerm(t);
    within += TieTerm(inFirst) + TieTerm(inSecond);
  }
  const auto n1 = static_cast<double>(f.n1);
  const auto n2 = static_cast<double>(f.n2);
  const double u = static_cast<double>(twiceRankSum) / 2 - n1 * (n1 + 1) / 2;
  const std::int64_t count = f.n1 * f.n2;
  const double pairs = n1 * n2;
  f.w = Figure::Of(u);
  f.superiority = Figure::Of(u / pairs);
  f.rankBiserial = FisherInterval(2 * u / pairs - 1, std::sqrt((n1 + n2 + 1) / (3 * pairs)));
  f.shift = Figure::Of(static_cast<double>(TwiceMedianDifference(x, y)) / (2 * kScale));
  const auto kth = [&](std::int64_t k) {
    return static_cast<double>(KthDifference(x, y, k)) / kScale;
  };
  const double total = n1 + n2;
  const bool allEqual = x.front() == x.back() && y.front() == y.back();
  if (small) {
    f.z = Figure::Missing("精确概率，无需正态近似");
    const CountedDistribution distribution = RankSumDistribution(f.n1, f.n2);
    if (ties == 0) {
      f.method = RankP::Exact;
      f.p = Figure::Of(distribution.TwoSided(u));
    } else {
      f.method = RankP::ExactGivenTies;
      f.p = Figure::Of(TiedRankSumDistribution(twiceRanks, f.n1)
                           .TwoSidedAbout(twiceRankSum - f.n1 * (f.n1 + 1), count));
    }
    if (allEqual) {
      f.shiftLower = f.shiftUpper = Figure::Missing(kAllDifferencesEqual);
    } else {
      ExactInterval(distribution, count, kth, f.shiftLower, f.shiftUpper);
    }
    return f;
  }
  f.method = RankP::Normal;
  const double centred = u - pairs / 2;
  const double sigma = std::sqrt(pairs / 12 * ((total + 1) - ties / (total * (total - 1))));
  f.z = Figure::Of((centred - Sign(centred) * 0.5) / sigma);
  f.p = NormalTwoSided(*f.z);
  if (allEqual) {
    f.shiftLower = f.shiftUpper = Figure::Missing(kAllDifferencesEqual);
    return f;
  }
  // Away from the differences only the ties within each group remain.
  const double sigma0 = std::sqrt(pairs / 12 * ((total + 1) - within / (total * (total - 1))));
  f.shiftLower = Figure::Of(kth(CrossingRank(count, sigma0, NormalCritical95())));
  f.shiftUpper = Figure::Of(kth(CrossingRank(count, sigma0, -NormalCritical95())));
  return f;
}

namespace {

// The figures of the signed-rank test from the differences sorted ascending, in whichever width
// holds them.
template <typename V>
void SignedRankOfSorted(std::vector<V>& all, SignedRankFigures& f) {
  f.differences = QuartilesOfSorted(all);
  // The nonzero differences, ascending: the zeros lie together.
  const auto zeros = std::equal_range(all.begin(), all.end(), V{0});
  const auto negative = zeros.first - all.begin();
  all.erase(zeros.first, zeros.second);
  const std::vector<V>& d = all;
  f.nonzero = static_cast<std::int64_t>(d.size());
  std::string reason;
  if (f.n < 2) {
    reason = "至少需要2对数据";
  } else if (d.empty()) {
    reason = "差值全部为0，无法进行符号秩检验";
  }
  if (!reason.empty()) {
    const Figure none = Figure::Missing(reason);
    f.v = f.z = f.p = f.pseudomedian = f.lower = f.upper = none;
    f.rankBiserial = {none, none, none};
    return;
  }
  // Ranks of |d|: walk outwards from zero on both sides at once, the negative ones downwards
  // from below zero and the positive ones upwards, taking each smallest magnitude left with
  // every difference of that magnitude on either side.
  std::int64_t twiceV = 0;
  double ties = 0;
  const bool small = f.nonzero < kExactBelow;
  std::vector<std::int64_t> twiceRanks;  // for the exact distribution given the ties
  const auto last = static_cast<std::ptrdiff_t>(d.size());
  for (std::ptrdiff_t below = negative, above = negative, start = 0; below > 0 || above < last;) {
    const V magnitude =
        below == 0 || (above < last && d[above] < -d[below - 1]) ? d[above] : -d[below - 1];
    std::int64_t t = 0;
    while (below > 0 && -d[below - 1] == magnitude) --below, ++t;
    std::int64_t positive = 0;
    while (above < last && d[above] == magnitude) ++above, ++positive;
    t += positive;
    twiceV += positive * (2 * static_cast<std::int64_t>(start) + t + 1);
    if (small) twiceRanks.insert(twiceRanks.end(), t, 2 * static_cast<std::int64_t>(start) + t + 1);
    if (t > 1) {
      ties += static_cast<double>(t * t) * static_cast<double>(t) - static_cast<double>(t);
    }
    start += t;
  }
  const auto n = static_cast<double>(f.nonzero);
  const std::int64_t count = f.nonzero * (f.nonzero + 1) / 2;
  const double ranks = n * (n + 1) / 2;
  const double v = static_cast<double>(twiceV) / 2;
  f.v = Figure::Of(v);
  f.rankBiserial = FisherInterval((2 * v - ranks) / ranks,
                                  std::sqrt((2 * n * n * n + 3 * n * n + n) / 6) / ranks);
  f.pseudomedian =
      Figure::Of(static_cast<double>(TwiceMedianWalshSum(std::span<const V>(d))) / (4 * kScale));
  const auto kth = [&](std::int64_t k) {
    return static_cast<double>(KthWalshSum(std::span<const V>(d), k)) / (2 * kScale);
  };
  if (small) {
    f.z = Figure::Missing("精确概率，无需正态近似");
    const CountedDistribution distribution = SignedRankDistribution(f.nonzero);
    if (ties == 0) {
      f.method = RankP::Exact;
      f.p = Figure::Of(distribution.TwoSided(v));
    } else {
      f.method = RankP::ExactGivenTies;
      f.p = Figure::Of(TiedSignedRankDistribution(twiceRanks)
                           .TwoSidedAbout(twiceV, f.nonzero * (f.nonzero + 1) / 2));
    }
    if (d.front() == d.back()) {
      f.lower = f.upper = Figure::Missing(kAllDifferencesEqual);
    } else {
      ExactInterval(distribution, count, kth, f.lower, f.upper);
    }
    return;
  }
  f.method = RankP::Normal;
  const auto sigmaOf = [](double size, double tieSum) {
    return std::sqrt(size * (size + 1) * (2 * size + 1) / 24 - tieSum / 48);
  };
  const double centred = v - ranks / 2;
  f.z = Figure::Of((centred - Sign(centred) * 0.5) / sigmaOf(n, ties));
  f.p = NormalTwoSided(*f.z);
  if (d.front() == d.back()) {
    f.lower = f.upper = Figure::Missing(kAllDifferencesEqual);
    return;
  }
  // R first looks at the statistic at the smallest and the largest difference (where those
  // differences become zeros and drop out); if either cannot reach z(0.975) there, it lowers
  // the level, and the report gives no 95 % interval.
  const double within = TieSum(d);
  const auto atEnd = [&](WideInt end) {
    const auto t = static_cast<double>(std::count(d.begin(), d.end(), end));
    const double rest = n - t;
    const double zd = rest * (rest + 1) / 4;
    return (zd - 0.5) / sigmaOf(rest, within - (t * t * t - t));
  };
  if (atEnd(d.front()) < NormalCritical95() || atEnd(d.back()) < NormalCritical95()) {
    f.lower = f.upper = Figure::Missing(kTooFewForLevel);
    return;
  }
  const double sigma0 = sigmaOf(n, within);
  f.lower = Figure::Of(kth(CrossingRank(count, sigma0, NormalCritical95())));
  f.upper = Figure::Of(kth(CrossingRank(count, sigma0, -NormalCritical95())));
}

// Twice each value's rank (mean ranks for ties, so that they stay whole), and whether any tie.
std::vector<std::int64_t> TwiceRanks(std::span<const std::pair<Fixed4, Fixed4>> pairs, bool second,
                                     bool& tied) {
  // Each value beside its row, sorted together: no indirection in the comparisons.
  std::vector<std::pair<std::int64_t, std::size_t>> order(pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    order[i] = {(second ? pairs[i].second : pairs[i].first).raw(), i};
  }
  SortKept(second ? KeptColumn::SpearmanSecond : KeptColumn::SpearmanFirst, order,
           [](const auto& item) { return item.first; });
  std::vector<std::int64_t> ranks(pairs.size());
  for (std::size_t start = 0, end = 0; start < order.size(); start = end) {
    while (end < order.size() && order[end].first == order[start].first) ++end;
    tied = tied || end - start > 1;
    for (std::size_t k = start; k < end; ++k) {
      ranks[order[k].second] = static_cast<std::int64_t>(start + end + 1);
    }
  }
  return ranks;
}

}  // namespace

SignedRankFigures SignedRankReportFigures(std::span<const std::pair<Fixed4, Fixed4>> pairs) {
  SignedRankFigures f;
  f.n = static_cast<std::int64_t>(pairs.size());
  // The differences in 64 bits where every value lies within ±2⁶², and so each difference.
  constexpr std::int64_t kLimit = std::int64_t{1} << 62;
  const auto within = [](Fixed4 v) { return v.raw() < kLimit && v.raw() > -kLimit; };
  if (std::all_of(pairs.begin(), pairs.end(),
                  [&](const auto& pair) { return within(pair.first) && within(pair.second); })) {
    std::vector<std::int64_t> all(pairs.size());
    std::transform(pairs.begin(), pairs.end(), all.begin(),
                   [](const auto& pair) { return pair.first.raw() - pair.second.raw(); });
    SortKept(KeptColumn::Differences, all, [](std::int64_t v) { return v; });
    SignedRankOfSorted(all, f);
  } else {
    std::vector<WideInt> all(pairs.size());
    std::transform(pairs.begin(), pairs.end(), all.begin(), [](const auto& pair) {
      return WideInt{pair.first.raw()} - WideInt{pair.second.raw()};
    });
    std::sort(all.begin(), all.end());
    SignedRankOfSorted(all, f);
  }
  return f;
}

SpearmanFigures SpearmanReportFigures(std::span<const std::pair<Fixed4, Fixed4>> pairs) {
  SpearmanFigures f;
  f.n = static_cast<std::int64_t>(pairs.size());
  bool tied = false;
  const std::vector<std::int64_t> a = TwiceRanks(pairs, false, tied);
  const std::vector<std::int64_t> b = TwiceRanks(pairs, true, tied);
  WideInt sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0, sdd = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    sa += a[i];
    sb += b[i];
    saa += WideInt{a[i]} * a[i];
    sbb += WideInt{b[i]} * b[i];
    sab += WideInt{a[i]} * b[i];
    sdd += WideInt{a[i] - b[i]} * (a[i] - b[i]);
  }
  const WideInt size = f.n;
  const WideInt sxx = size * saa - sa * sa;
  const WideInt syy = size * sbb - sb * sb;
  const WideInt sxy = size * sab - sa * sb;
  std::string reason;
  if (f.n < 2) {
    reason = "至少需要2对数据";
  } else if (sxx == 0 || syy == 0) {
    reason = "X或Y的数值全部相同，无法计算秩相关";
  }
  if (!reason.empty()) {
    f.rs = f.p = f.lower = f.upper = Figure::Missing(reason);
    return f;
  }
  const long double product = static_cast<long double>(sxx) * static_cast<long double>(syy);
  const auto rs = static_cast<double>(static_cast<long double>(sxy) / std::sqrt(product));
  f.rs = Figure::Of(rs);
  const auto n = static_cast<double>(f.n);
  if (f.n <= kSpearmanSeries && !tied) {
    f.method = f.n <= kSpearmanEnumerated ? RankP::Exact : RankP::Edgeworth;
    // S = Σ(rank differences)², whole without ties.
    const auto s = static_cast<double>(sdd / 4);
    const double p =
        6 * s > n * n * n - n ? SpearmanTail(f.n, s, false) : SpearmanTail(f.n, s + 2, true);
    f.p = Figure::Of(std::min(1.0, 2 * p));
  } else {
    f.method = RankP::StudentT;
    if (f.n < 3) {
      f.p = Figure::Missing("自由度须大于0");
    } else if (std::fabs(rs) >= 1) {
      f.p = Figure::Of(0);
    } else {
      f.p = TwoSidedTP(rs * std::sqrt((n - 2) / (1 - rs * rs)), n - 2);
    }
  }
  if (f.n < 4) {
    f.lower = f.upper = Figure::Missing("n < 4，无法计算区间");
  } else {
    const EffectSize interval = FisherInterval(rs, std::sqrt((1 + rs * rs / 2) / (n - 3)));
    f.lower = interval.lower;
    f.upper = interval.upper;
  }
  return f;
}

}  // namespace quillon
