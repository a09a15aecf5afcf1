// The rank tests against the worked examples of Hollander & Wolfe (Nonparametric Statistical
// Methods, 1973) that R's ?wilcox.test and ?cor.test print, with R 4.2's figures for the
// two-sided P, the Hodges–Lehmann intervals and the type 6 quartiles; what has no figure; and
// the selection of order statistics against sorting every difference. The bulk of the checking
// is the differential test against R (tests/differential/reference_ranks.py).

#include "report/ranks/ranks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "report/ranks/kept_sort.h"
#include "report/ranks/radix_sort.h"
#include "report/ranks/rank_estimates.h"
#include "report/tests/figure_matchers.h"
#include "report/writing/rank_content.h"
#include "report/writing/sample_content.h"
#include "report/writing/sentences.h"

namespace quillon {
namespace {

using testing::IsMissingBecause;
using testing::Matches;

std::vector<Fixed4> Values(std::initializer_list<double> values) {
  std::vector<Fixed4> out;
  for (const double value : values) out.push_back(*Fixed4::FromDouble(value));
  return out;
}

std::vector<std::pair<Fixed4, Fixed4>> Pairs(const std::vector<Fixed4>& x,
                                             const std::vector<Fixed4>& y) {
  std::vector<std::pair<Fixed4, Fixed4>> pairs;
  for (std::size_t i = 0; i < x.size(); ++i) pairs.emplace_back(x[i], y[i]);
  return pairs;
}

// Hollander & Wolfe p. 29: Hamilton depression scale before (x) and after (y) treatment.
const std::vector<Fixed4> kBefore = Values({1.83, 0.50, 1.62, 2.48, 1.68, 1.88, 1.55, 3.06, 1.30});
const std::vector<Fixed4> kAfter =
    Values({0.878, 0.647, 0.598, 2.05, 1.06, 1.29, 1.06, 3.14, 1.29});

TEST(RankTests, PublishedExamples) {
  // wilcox.test(x, y, paired = TRUE, conf.int = TRUE): V = 40, P = 0.0390625 (the printed
  // one-sided 0.01953 twice), (pseudo)median 0.46, 95% CI 0.010 to 0.786;
  // quantile(x - y, type = 6): -0.035, 0.49, 0.786.
  const SignedRankFigures paired = SignedRankReportFigures(Pairs(kBefore, kAfter));
  EXPECT_EQ(paired.method, RankP::Exact);
  EXPECT_TRUE(Matches(paired.v, 40));
  EXPECT_TRUE(Matches(paired.p, 0.0390625));
  EXPECT_TRUE(Matches(paired.pseudomedian, 0.46));
  EXPECT_TRUE(Matches(paired.lower, 0.01));
  EXPECT_TRUE(Matches(paired.upper, 0.786));
  EXPECT_TRUE(Matches(paired.differences.p25, -0.035));
  EXPECT_TRUE(Matches(paired.differences.median, 0.49));
  EXPECT_TRUE(Matches(paired.differences.p75, 0.786));

  // p. 69: permeability of the membranes at 12 to 26 weeks (x) and at term (y).
  // wilcox.test(x, y, conf.int = TRUE): W = 35, P = 0.2544122544122544 (the printed one-sided
  // 0.1272 twice), difference in location 0.305, 95% CI -0.15 to 0.76; type 6 quartiles.
  const RankSumFigures two =
      RankSumReportFigures(Values({0.80, 0.83, 1.89, 1.04, 1.45, 1.38, 1.91, 1.64, 0.73, 1.46}),
                           Values({1.15, 0.88, 0.90, 0.74, 1.21}));
  EXPECT_EQ(two.method, RankP::Exact);
  EXPECT_TRUE(Matches(two.w, 35));
  EXPECT_TRUE(Matches(two.p, 0.2544122544122544));
  EXPECT_TRUE(Matches(two.shift, 0.305));
  EXPECT_TRUE(Matches(two.shiftLower, -0.15));
  EXPECT_TRUE(Matches(two.shiftUpper, 0.76));
  EXPECT_TRUE(Matches(two.first.p25, 0.8225));
  EXPECT_TRUE(Matches(two.first.median, 1.415));
  EXPECT_TRUE(Matches(two.first.p75, 1.7025));

  // p. 187 (?cor.test): cor.test(x, y, method = "spearman"): rho 0.6, S = 48, two-sided
  // P = 0.096797839506172836 (the printed one-sided 0.0484 twice), exact for 9 pairs.
  const SpearmanFigures spearman =
      SpearmanReportFigures(Pairs(Values({44.4, 45.9, 41.9, 53.3, 44.7, 44.1, 50.7, 45.2, 60.1}),
                                  Values({2.6, 3.1, 2.5, 5.0, 3.6, 4.0, 5.2, 2.8, 3.8})));
  EXPECT_EQ(spearman.method, RankP::Exact);
  EXPECT_TRUE(Matches(spearman.rs, 0.6));
  EXPECT_TRUE(Matches(spearman.p, 0.096797839506172836));
}

// Small samples with ties or zeros: P exact given the ties, against coin's wilcox_test and
// wilcoxsign_test(zero.method = "Wilcoxon") with distribution = "exact"; where R's default would
// take the normal approximation (1 1 1 vs 2 2 2: 0.047, five differences of 2: 0.037).
TEST(RankTests, SmallSamplesExactGivenTheTies) {
  struct Case {
    const char* name;
    Figure p;
    RankP method;
    double coin;
  };
  const Case cases[] = {
      {"all tied within groups", RankSumReportFigures(Values({1, 1, 1}), Values({2, 2, 2})).p,
       RankP::ExactGivenTies, 0.1},
      {"ties across groups",
       RankSumReportFigures(Values({1, 1, 2, 3, 3, 3}), Values({2, 4, 4, 5, 6, 6, 7})).p,
       RankP::ExactGivenTies, 0.010489510489510488},
      {"equal differences",
       SignedRankReportFigures(Pairs(Values({3, 3, 3, 3, 3}), Values({1, 1, 1, 1, 1}))).p,
       RankP::ExactGivenTies, 0.0625},
      {"tied differences and a zero",
       SignedRankReportFigures(
           Pairs(Values({-1, 2, 2, 3, -3, 4, 4, 4, 0, 5}), Values({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})))
           .p,
       RankP::ExactGivenTies, 0.04296875},
      {"no ties", RankSumReportFigures(Values({3, 7, 8, 9, 10}), Values({1, 2, 4, 5, 6})).p,
       RankP::Exact, 0.055555555555555552},
  };
  for (const Case& c : cases) EXPECT_TRUE(Matches(c.p, c.coin)) << c.name;
  EXPECT_EQ(RankSumReportFigures(Values({1, 1, 1}), Values({2, 2, 2})).method,
            RankP::ExactGivenTies);
  // Where no 95 % interval can be reached, none is given, ties or not.
  EXPECT_TRUE(IsMissingBecause(
      RankSumReportFigures(Values({1, 2, 3}), Values({3, 4, 5})).shiftLower, "达不到95%"));
  EXPECT_TRUE(IsMissingBecause(RankSumReportFigures(Values({1, 2}), Values({1, 2})).shiftUpper,
                               "达不到95%"));
  // Quartiles exact from the grid's values: 3.875 is not a hair below itself.
  const Quartiles q = QuartilesOf(Values({3.5, 3.75, 4.25, 5, 6, 7, 8, 9}));
  EXPECT_EQ(*q.p25, 3.875);
}

TEST(RankTests, NoFigureWithoutTheData) {
  struct Case {
    const char* name;
    Figure figure;
    const char* reason;
  };
  const std::vector<Fixed4> none;
  const std::vector<Fixed4> same = Values({2, 2, 2});
  const Case cases[] = {
      {"summary values only", RankSumReportFigures(none, none).p, "仅有汇总数据"},
      {"one value in a group", RankSumReportFigures(Values({1}), Values({2, 3})).w, "至少需要2"},
      {"all values tied", RankSumReportFigures(same, same).p, "全部数值相同"},
      {"all differences equal", RankSumReportFigures(Values({5, 5, 5}), same).shiftLower,
       "差值全部相同"},
      {"all paired differences zero", SignedRankReportFigures(Pairs(same, same)).p, "全部为0"},
      {"too few for 95%", SignedRankReportFigures(Pairs(Values({1, 2}), Values({0, 0}))).lower,
       "达不到95%"},
      {"Spearman of a constant", SpearmanReportFigures(Pairs(same, Values({1, 2, 3}))).rs,
       "全部相同"},
      {"Spearman interval below 4 pairs",
       SpearmanReportFigures(Pairs(Values({1, 2, 3}), Values({1, 3, 2}))).lower, "n < 4"},
      {"perfect rank order", SpearmanReportFigures(Pairs(same, same)).upper, "全部相同"},
      {"rank-biserial of ±1",
       RankSumReportFigures(Values({5, 6, 7}), Values({1, 2, 3})).rankBiserial.lower, "±1"},
  };
  for (const Case& c : cases) EXPECT_TRUE(IsMissingBecause(c.figure, c.reason)) << c.name;
}

// The Hodges–Lehmann selection at 2,000 × 2,000 values with ties, against all 4,000,000
// differences (and 2,001,000 Walsh sums) sorted; and the interval's bounds against R's definition:
// where the continuity- and tie-corrected z of the shifted samples crosses ±z(0.975), evaluated on
// the sorted list.
TEST(RankTests, HodgesLehmannAgainstEveryDifference) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> value(0, 600);
  std::vector<Fixed4> x(2000), y(2000);
  for (Fixed4& v : x) v = Fixed4::FromRaw(value(random) * 37);
  for (Fixed4& v : y) v = Fixed4::FromRaw(value(random) * 41 - 3000);
  std::vector<WideInt> xs, ys;
  for (const Fixed4 v : x) xs.push_back(v.raw());
  for (const Fixed4 v : y) ys.push_back(v.raw());
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  std::vector<std::int64_t> all;
  for (const WideInt a : xs) {
    for (const WideInt b : ys) all.push_back(static_cast<std::int64_t>(a - b));
  }
  std::sort(all.begin(), all.end());
  for (const std::int64_t k : {1L, 2L, 1000L, 1999999L, 2000000L, 2000001L, 3999999L, 4000000L}) {
    EXPECT_EQ(KthDifference(xs, ys, k), all[k - 1]) << k;
  }
  EXPECT_EQ(TwiceMedianDifference(xs, ys), WideInt{all[1999999]} + all[2000000]);
  // The Walsh sums of the first group, i ≤ j.
  std::vector<std::int64_t> sums;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    for (std::size_t j = i; j < xs.size(); ++j)
      sums.push_back(static_cast<std::int64_t>(xs[i] + xs[j]));
  }
  std::sort(sums.begin(), sums.end());
  for (const std::int64_t k : {1L, 1000500L, 1000501L, 2001000L}) {
    EXPECT_EQ(KthWalshSum(xs, k), sums[k - 1]) << k;
  }

  const RankSumFigures f = RankSumReportFigures(x, y);
  EXPECT_TRUE(Matches(f.shift, (all[1999999] + all[2000000]) / 2e4));
  // σ of the shifted samples away from the differences: only the ties within each group.
  const auto ties = [](const std::vector<WideInt>& v) {
    double sum = 0;
    for (auto at = v.begin(); at != v.end();) {
      const auto end = std::upper_bound(at, v.end(), *at);
      const double t = static_cast<double>(end - at);
      sum += t * t * t - t;
      at = end;
    }
    return sum;
  };
  const double sigma = std::sqrt(4e6 / 12 * (4001 - (ties(xs) + ties(ys)) / (4000.0 * 3999)));
  // The corrected z just above a shift d (in ten-thousandths): U counts the differences above.
  const auto z = [&](double d) {
    const double u = static_cast<double>(all.end() - std::upper_bound(all.begin(), all.end(), d));
    const double centred = u - 2e6;
    return (centred - (centred > 0 ? 0.5 : -0.5)) / sigma;
  };
  ASSERT_TRUE(f.shiftLower && f.shiftUpper);
  for (const auto& [bound, zq] : {std::pair(*f.shiftLower * 1e4, NormalCritical95()),
                                  std::pair(*f.shiftUpper * 1e4, -NormalCritical95())}) {
    EXPECT_TRUE(std::binary_search(all.begin(), all.end(), std::llround(bound)));
    EXPECT_GT(z(bound - 0.5), zq);
    EXPECT_LE(z(bound + 0.5), zq);
  }
}

// Keystrokes one after another, each changing one value of the first group by a little, a lot,
// onto another value or to an end: the columns mended from the last sort, and the selections
// started from the last one's values (hits, gallops and fresh starts), against sorting afresh
// and every difference listed.
TEST(RankTests, KeystrokesAgainstSortingAfresh) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<std::int64_t> value(-50000, 90000);
  std::vector<std::int64_t> x(700), y(600);
  for (std::int64_t& v : x) v = value(random);
  for (std::int64_t& v : y) v = value(random) / 7 * 7;
  std::vector<std::int64_t> ys = y, scratch;
  std::sort(ys.begin(), ys.end());
  for (const std::int64_t typed : {3L, 3L, -40000L, 89999L, 1L << 40, -(1L << 40), 3L, 7L, 7L}) {
    x[static_cast<std::size_t>(typed & 0xff)] = typed == 7 ? x[5] : x[9] + typed;
    std::vector<std::int64_t> kept = x, fresh = x;
    SortKept(KeptColumn::First, kept, [](std::int64_t v) { return v; });
    RadixSort(fresh, scratch, [](std::int64_t v) { return v; });
    std::vector<std::int64_t> expected = x;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(kept, expected) << typed;
    EXPECT_EQ(fresh, expected) << typed;
    std::vector<std::int64_t> all;
    for (const std::int64_t a : kept) {
      for (const std::int64_t b : ys) all.push_back(a - b);
    }
    std::sort(all.begin(), all.end());
    for (const std::int64_t k : {194000L, 210001L, 226000L}) {
      EXPECT_EQ(KthDifference(std::span<const std::int64_t>(kept), ys, k), all[k - 1]) << typed;
    }
    EXPECT_EQ(TwiceMedianDifference(std::span<const std::int64_t>(kept), ys),
              WideInt{all[209999]} + all[210000]);
  }
}

// The rank rows follow the t test's and precede the checks; the sentences follow the path.
TEST(RankTests, ReportRowsAndSentences) {
  const std::vector<Fixed4> x =
      Values({0.80, 0.83, 1.89, 1.04, 1.45, 1.38, 1.91, 1.64, 0.73, 1.46});
  const std::vector<Fixed4> y = Values({1.15, 0.88, 0.90, 0.74, 1.21});
  const TwoSampleFigures t =
      TwoSampleReportFigures(testing::Summary({"1.313", "0.4", "10", "0.976", "0.2", "5"}));
  const RankSumFigures ranks = RankSumReportFigures(x, y);
  const TwoSampleChecks checks = CheckTwoSample(x, y);
  const Report report = TwoSampleReport(t, ranks, kDefaultPStyle, &checks, TestPath::RankTest);
  ASSERT_GE(report.sections.size(), 2u);
  EXPECT_EQ(report.sections[report.sections.size() - 2].heading,
            "Wilcoxon秩和检验（Mann–Whitney U检验）");
  EXPECT_EQ(report.sections[report.sections.size() - 2].rows[4].formula, "精确概率");
  // 0.305 rounds half up, as the table's 0.3050 reads; U where P is exact; brackets and comma of
  // one width.
  EXPECT_EQ(report.results,
            "两组分布差异无统计学意义（U=35，P=0.254），M(P25, P75)第1组1.42（0.82，1.70），"
            "第2组0.90（0.81，1.18），位置差的Hodges–Lehmann估计0.31（95%CI：-0.15～0.76），"
            "秩双列相关r=0.40（95%CI：-0.21～0.79）。");
  EXPECT_NE(report.methods.find("Wilcoxon秩和检验（精确概率）"), std::string::npos);
  const Report english = TwoSampleReport(t, ranks, PStyle::Apa, &checks, TestPath::RankTest);
  EXPECT_NE(english.methods.find("Wilcoxon rank-sum test (exact P)"), std::string::npos);
  // Sentences that would contradict their test carry the t path's note; a missing interval is
  // left out, its reason kept for the table; tiny values keep their digits.
  struct Sentence {
    const char* name;
    std::string text;
    const char* has;
    const char* hasNot;
  };
  const auto rankSum = [&](std::initializer_list<double> a, std::initializer_list<double> b,
                           PStyle style) {
    return TwoSampleResults(t, RankSumReportFigures(Values(a), Values(b)), style,
                            TestPath::RankTest);
  };
  const Sentence sentences[] = {
      {"rank-biserial against P", rankSum({3, 7, 8, 9, 10}, {1, 2, 4, 5, 6}, kDefaultPStyle),
       "（95%CI：0.24～0.94；Fisher z变换，与检验结论不一致时以检验为准）", "W="},
      {"signed-rank's r against P",
       PairedResults(
           PairedReportFigures({}),
           SignedRankReportFigures(Pairs(Values({-1, 2, 3, 4, 5, 6}), Values({0, 0, 0, 0, 0, 0}))),
           kDefaultPStyle, TestPath::RankTest),
       "与检验结论不一致时以检验为准", "V="},
      {"no reason in an English sentence", rankSum({5, 6, 7}, {1, 2, 3}, PStyle::Apa),
       "rank-biserial r = 1.00.", "秩"},
      {"tiny values",
       rankSum({0.0001, 0.0002, 0.0003, 0.0004, 0.0005}, {0.0006, 0.0007, 0.0008, 0.0009, 0.0010},
               kDefaultPStyle),
       "Hodges–Lehmann估计-0.0005（95%CI：-0.0008～-0.0002）", "0.00（"},
  };
  for (const Sentence& c : sentences) {
    EXPECT_NE(c.text.find(c.has), std::string::npos) << c.name << ": " << c.text;
    EXPECT_EQ(c.text.find(c.hasNot), std::string::npos) << c.name << ": " << c.text;
  }
  const auto spearman = [](std::initializer_list<double> ys) {
    std::vector<Fixed4> xs;
    for (int i = 1; i <= 10; ++i) xs.push_back(*Fixed4::FromInteger(i));
    return CorrelationResults(CorrelationFigures{}, SpearmanReportFigures(Pairs(xs, Values(ys))),
                              kDefaultPStyle, TestPath::RankTest);
  };
  const std::string rho = spearman({4, 1, 2, 5, 6, 8, 9, 7, 3, 10});
  EXPECT_NE(rho.find("X与Y呈正相关（rs=0.65，95%CI：-0.04～0.92；Fisher z变换，"),
            std::string::npos)
      << rho;
  EXPECT_NE(spearman({2, 1, 3, 4, 5, 6, 7, 8, 9, 10}).find("～0.998"), std::string::npos);

  // The t path keeps the t test's sentences.
  const Report tPath = TwoSampleReport(t, ranks, kDefaultPStyle, &checks, TestPath::TTest);
  EXPECT_EQ(tPath.results, TwoSampleReport(t, kDefaultPStyle, &checks).results);
}

}  // namespace
}  // namespace quillon
