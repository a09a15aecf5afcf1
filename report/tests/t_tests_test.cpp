// The report's figures for the two t tests and for correlation and regression, against
// reference values computed once with SciPy 1.10 (the call is given beside each block).
// t(0.975, df) for the intervals is stats.t.ppf(0.975, df) refined by Newton steps
// x += (stats.t.sf(x, df) − 0.025) / stats.t.pdf(x, df): stats.t.ppf alone is off by up to
// 1e-9 relative (df = 6 gives 2.4469118487916806 for 2.4469118511449697).

#include "report/t_tests.h"

#include <gtest/gtest.h>

#include "report/correlation.h"
#include "report/margin_tests.h"
#include "report/tests/figure_matchers.h"
#include "report/writing/sample_content.h"
#include "stats/number_text.h"
#include "stats/paired_t_test.h"

namespace quillon {
namespace {

using testing::IsMissingBecause;
using testing::Matches;
using testing::Summary;

PairSums Pairs(const std::vector<std::pair<double, double>>& rows, double offset = 0) {
  PairSums sums;
  for (const auto& [x, y] : rows) {
    sums.Add(*Fixed4::FromDouble(x + offset), *Fixed4::FromDouble(y + offset));
  }
  return sums;
}

TEST(TwoSampleReportFigures, PooledWelchAndVarianceRatio) {
  // stats.ttest_ind_from_stats(5.2, 1.3, 12, 4.1, 1.1, 10, equal_var=True / False);
  // interval: diff ± stats.t.ppf(0.975, 20) · se; Welch df by Welch–Satterthwaite;
  // F = 1.3² / 1.1², P = min(1, 2 · stats.f.sf(F, 11, 9)).
  const TwoSampleFigures f =
      TwoSampleReportFigures(Summary({"5.2", "1.3", "12", "4.1", "1.1", "10"}));
  EXPECT_TRUE(Matches(f.t, 2.1160368475757956));
  EXPECT_TRUE(Matches(f.df, 20));
  EXPECT_TRUE(Matches(f.p, 0.04708049613562498));
  EXPECT_TRUE(Matches(f.lower, 0.015633347963114552));
  EXPECT_TRUE(Matches(f.upper, 2.1843666520368865));
  EXPECT_TRUE(Matches(f.welchT, 2.1497116885131624));
  EXPECT_TRUE(Matches(f.welchDf, 19.98812497745225));
  EXPECT_TRUE(Matches(f.welchP, 0.044002732341829866));
  EXPECT_TRUE(Matches(f.f, 1.396694214876033));
  EXPECT_TRUE(Matches(f.fDf1, 11));
  EXPECT_TRUE(Matches(f.fDf2, 9));
  EXPECT_TRUE(Matches(f.fP, 0.6260987478450514));

  // The groups keep their order in the variance ratio, as R's var.test has it:
  // stats.ttest_ind_from_stats(10, 4, 8, 12, 1, 15, ...); F = 1/16, 2 · stats.f.cdf(1/16, 14, 7).
  const TwoSampleFigures g = TwoSampleReportFigures(Summary({"12", "1", "15", "10", "4", "8"}));
  EXPECT_TRUE(Matches(g.t, 1.8650096164806276));
  EXPECT_TRUE(Matches(g.p, 0.07621598043050033));
  EXPECT_TRUE(Matches(g.lower, -0.23013739591544047));
  EXPECT_TRUE(Matches(g.welchDf, 7.470294280955027));
  EXPECT_TRUE(Matches(g.welchP, 0.20418870010127352));
  EXPECT_TRUE(Matches(g.f, 1.0 / 16));
  EXPECT_TRUE(Matches(g.fDf1, 14));
  EXPECT_TRUE(Matches(g.fDf2, 7));
  EXPECT_TRUE(Matches(g.fP, 2.1916175985314586e-05));

  // Two-sided as 2·min of the tails, not capped: R's var.test gives 0.654 here.
  // 2 · min(pf(1.0201, 49, 1), pf(1.0201, 49, 1, lower.tail = FALSE))
  EXPECT_TRUE(Matches(TwoSampleReportFigures(Summary({"0", "1.01", "50", "0", "1", "2"})).fP,
                      0.65397981769916536));
}

TEST(TwoSampleReportFigures, LargeMeansCloseTogetherKeepTheirDifference) {
  // As doubles, 10000000.1234 − 10000000.1233 would be 0.00010000169...; the report takes the
  // difference of the exact means. stats.ttest_ind_from_stats(0.0001, 0.0001, 10, 0, 0.0001, 10).
  const TwoSampleFigures f = TwoSampleReportFigures(
      Summary({"10000000.1234", "0.0001", "10", "10000000.1233", "0.0001", "10"}));
  EXPECT_TRUE(Matches(f.difference, 0.0001));
  EXPECT_TRUE(Matches(f.t, 2.23606797749979));
  EXPECT_TRUE(Matches(f.p, 0.038249614516113854));
  EXPECT_TRUE(Matches(f.welchP, 0.038249614516113854));
}

TEST(TwoSampleReportFigures, ValuesTooLargeForTheShownMeansTakeThePooledTestFromTheSums) {
  // 5·10¹² + 0.0001, 0.0002, 0.0003 against + 0.0004, 0.0005, 0.0006: the shown means, through a
  // double, are equal; the exact sums give the difference −0.0003, SE 0.0001·√(2/3), t with 4 df.
  // stats.ttest_ind([1, 2, 3], [4, 5, 6]) scaled: t = −3.6742346141747673, P = 0.021311641128756.
  GroupSums first, second;
  for (const char* x : {"5000000000000.0001", "5000000000000.0002", "5000000000000.0003"}) {
    first.Add(*Fixed4::Parse(x));
  }
  for (const char* y : {"5000000000000.0004", "5000000000000.0005", "5000000000000.0006"}) {
    second.Add(*Fixed4::Parse(y));
  }
  const TwoSampleFigures f = TwoSampleReportFigures(
      Summary({"5000000000000", "0.0001", "3", "5000000000000", "0.0001", "3"}), first, second);
  EXPECT_TRUE(f.pooledFromValues);
  EXPECT_TRUE(Matches(f.t, -3.6742346141747673));
  EXPECT_TRUE(Matches(f.p, 0.021311641128756));
  // Within a double's reach the pooled test stays the panel's.
  GroupSums small;
  small.Add(*Fixed4::Parse("1"));
  small.Add(*Fixed4::Parse("3"));
  EXPECT_FALSE(
      TwoSampleReportFigures(Summary({"2", "1.4142", "2", "2", "1.4142", "2"}), small, small)
          .pooledFromValues);
}

TEST(TwoSampleReportFigures, ZeroVarianceAndTooFewValues) {
  // One deviation 0: no variance ratio, the t tests still stand.
  // stats.ttest_ind_from_stats(3, 0, 5, 2, 1.5, 6, equal_var=True / False)
  const TwoSampleFigures one = TwoSampleReportFigures(Summary({"3", "0", "5", "2", "1.5", "6"}));
  EXPECT_TRUE(Matches(one.t, 1.4770978917519926));
  EXPECT_TRUE(Matches(one.p, 0.17376427569456365));
  EXPECT_TRUE(Matches(one.upper, 2.531487638991245));
  EXPECT_TRUE(Matches(one.welchT, 1.6329931618554523));
  EXPECT_TRUE(Matches(one.welchDf, 5));
  EXPECT_TRUE(Matches(one.welchP, 0.16339868711766795));
  EXPECT_TRUE(IsMissingBecause(one.f, "一组方差为0"));
  EXPECT_TRUE(IsMissingBecause(one.fP, "一组方差为0"));
  // The variances plainly differ: Welch's test is the one read, and the methods say why.
  EXPECT_TRUE(one.welchChosen);
  EXPECT_NE(TwoSampleReport(one).methods.find("Welch校正t检验（t′检验；一组标准差为0"),
            std::string::npos);

  const TwoSampleFigures both = TwoSampleReportFigures(Summary({"3", "0", "5", "2", "0", "6"}));
  EXPECT_TRUE(Matches(both.difference, 1));
  EXPECT_TRUE(Matches(both.standardError, 0));
  EXPECT_TRUE(IsMissingBecause(both.t, "合并标准误为0"));
  EXPECT_TRUE(IsMissingBecause(both.p, "合并标准误为0"));
  EXPECT_TRUE(IsMissingBecause(both.welchP, "标准差均为0"));
  EXPECT_TRUE(IsMissingBecause(both.f, "两组方差均为0"));
  EXPECT_TRUE(IsMissingBecause(both.lower, "合并标准误为0"));

  // One value per group: no degrees of freedom at all.
  const TwoSampleFigures single = TwoSampleReportFigures(Summary({"3", "0", "1", "2", "0", "1"}));
  EXPECT_TRUE(IsMissingBecause(single.p, "自由度为0"));
  EXPECT_TRUE(IsMissingBecause(single.lower, "自由度为0"));
  EXPECT_TRUE(IsMissingBecause(single.welchT, "每组至少需要2例"));

  EXPECT_TRUE(IsMissingBecause(TwoSampleReportFigures(Summary({"3", "1", "2.5", "2", "1", "6"})).t,
                               "整数"));
  EXPECT_TRUE(IsMissingBecause(TwoSampleReportFigures(Summary({"3", "-1", "4", "2", "1", "6"})).p,
                               "不能为负"));
  // A box that is empty or not a number leaves the test without values.
  EXPECT_FALSE(ReadSummaryValues({"3", "1", "4", "2", "1", ""}));
  EXPECT_FALSE(ReadSummaryValues({"3", "1", "4", "2", "x", "6"}));
}

TEST(TwoSampleReportFigures, BeyondThePooledTestFromTheValuesThemselves) {
  // Standard deviations below 0.01 lose much in the summaries' four decimals. On the values
  // (less 250000 and 0): d from np.var(ddof=1) pooled, stats.ttest_ind(x, y, equal_var=False),
  // Welch–Satterthwaite ν′, F P = min(1, 2·min(stats.f.cdf, stats.f.sf)). The panel shows the
  // summaries to four decimals ("0.0003" for an SD of 0.000346).
  struct Reference {
    std::vector<double> first, second;
    std::array<std::string, 6> shown;
    double d, welchP, welchDf, fP;
  };
  const Reference references[] = {
      {{249999.9987, 249999.9981, 249999.9981},
       {250000.0023, 250000.0007, 250000.0008},
       {"249999.9983", "0.0003", "3", "250000.0013", "0.0009", "3"},
       -4.366208719246489,
       0.018517322967444252,
       2.5844687336847603,
       0.2599277978339351},
      {{0, -0.007, -0.006},
       {-0.005, -0.005, -0.004},
       {"-0.0043", "0.0038", "3", "-0.0047", "0.0006", "3"},
       0.12309149097933263,
       0.8934528400461925,
       2.092972972972973,
       0.045454545454545456},
  };
  for (const Reference& r : references) {
    GroupSums first, second;
    for (double x : r.first) first.Add(*Fixed4::FromDouble(x));
    for (double y : r.second) second.Add(*Fixed4::FromDouble(y));
    const SummaryValues shown = Summary(r.shown);
    const TwoSampleFigures f = TwoSampleReportFigures(shown, first, second);
    EXPECT_TRUE(f.fromValues);
    EXPECT_TRUE(Matches(f.effects.d.estimate, r.d));
    EXPECT_TRUE(Matches(f.welchP, r.welchP));
    EXPECT_TRUE(Matches(f.welchDf, r.welchDf));
    EXPECT_TRUE(Matches(f.fP, r.fP));
    // The pooled test stays the panel's, on the summaries shown.
    EXPECT_EQ(NumberText(f.t), NumberText(TwoSampleReportFigures(shown).t));
  }
}

TEST(PairedReportFigures, SignedDifferencesFromExactSums) {
  // d = x − y; stats.ttest_rel(x, y); interval d̄ ± stats.t.ppf(0.975, n − 1) · sd / √n.
  const PairedFigures f = PairedReportFigures(Pairs({{1, 2}, {3, 5}, {4, 4}, {6, 9}}));
  EXPECT_EQ(f.n, 4);
  EXPECT_TRUE(Matches(f.meanDifference, -1.5));
  EXPECT_TRUE(Matches(f.deviation, 1.2909944487358056));
  EXPECT_TRUE(Matches(f.t, -2.32379000772445));
  EXPECT_TRUE(Matches(f.p, 0.10272807885839903));
  EXPECT_TRUE(Matches(f.lower, -3.5542602567605215));
  EXPECT_TRUE(Matches(f.upper, 0.5542602567605215));

  // Quarter values sharing an offset of 10^8 lose nothing in the exact sums.
  const std::vector<std::pair<double, double>> rows = {{12.25, 10.5}, {8.5, 8.25},  {10.75, 9.5},
                                                       {9.0, 9.25},   {11.5, 10.0}, {13.25, 11.75},
                                                       {7.75, 8.0}};
  for (const double offset : {0.0, 1e8}) {
    const PairedFigures g = PairedReportFigures(Pairs(rows, offset));
    EXPECT_TRUE(Matches(g.deviation, 0.8745747265848427));
    EXPECT_TRUE(Matches(g.t, 2.484974300926388));
    EXPECT_TRUE(Matches(g.p, 0.04748428764762373));
    EXPECT_TRUE(Matches(g.lower, 0.012581853960166312));
    EXPECT_TRUE(Matches(g.upper, 1.6302752888969765));
  }
}

TEST(PairedReportFigures, TwoPairsEqualDifferencesAndOnePair) {
  // stats.ttest_rel([1, 3], [2, 5])
  const PairedFigures two = PairedReportFigures(Pairs({{1, 2}, {3, 5}}));
  EXPECT_TRUE(Matches(two.t, -3));
  EXPECT_TRUE(Matches(two.p, 0.20483276469913345));
  EXPECT_TRUE(Matches(two.lower, -7.8531023680873515));

  const PairedFigures equal = PairedReportFigures(Pairs({{0.3, 0.1}, {1.1, 0.9}, {-4.4, -4.6}}));
  EXPECT_TRUE(Matches(equal.meanDifference, 0.2));
  EXPECT_TRUE(Matches(equal.deviation, 0));
  EXPECT_TRUE(IsMissingBecause(equal.t, "差值全部相同"));
  EXPECT_TRUE(IsMissingBecause(equal.p, "差值全部相同"));
  EXPECT_TRUE(IsMissingBecause(equal.upper, "差值全部相同"));

  const PairedFigures one = PairedReportFigures(Pairs({{4, 1}}));
  EXPECT_TRUE(Matches(one.meanDifference, 3));
  EXPECT_TRUE(IsMissingBecause(one.p, "至少需要2对"));
}

TEST(CorrelationReportFigures, CorrelationLineAndIntervals) {
  // stats.linregress(x, y); stats.pearsonr(x, y).confidence_interval(0.95) (Fisher z);
  // coefficient intervals: estimate ± stats.t.ppf(0.975, n − 2) · standard error.
  const CorrelationFigures f =
      CorrelationReportFigures(Pairs({{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}}));
  EXPECT_TRUE(Matches(f.r, 0.7745966692414835));
  EXPECT_TRUE(Matches(f.rLower, -0.3400820351875105));
  EXPECT_TRUE(Matches(f.rUpper, 0.9842357551507267));
  EXPECT_TRUE(Matches(f.t, 2.1213203435596433));
  EXPECT_TRUE(Matches(f.df, 3));
  EXPECT_TRUE(Matches(f.p, 0.12402706265755442));
  EXPECT_TRUE(Matches(f.rSquared, 0.6));
  EXPECT_TRUE(Matches(f.slope, 0.6));
  EXPECT_TRUE(Matches(f.slopeError, 0.28284271247461895));
  EXPECT_TRUE(Matches(f.slopeLower, -0.3001317452912734));
  EXPECT_TRUE(Matches(f.intercept, 2.2));
  EXPECT_TRUE(Matches(f.interceptError, 0.9380831519646857));
  EXPECT_TRUE(Matches(f.interceptUpper, 5.18539926101891));

  const std::vector<std::pair<double, double>> rows = {
      {1.5, 3.2}, {2.25, 3.9}, {3.1, 5.1}, {4.8, 5.0}, {5.05, 7.4}, {6.7, 8.3}, {7.2, 8.1}};
  const CorrelationFigures g = CorrelationReportFigures(Pairs(rows));
  EXPECT_TRUE(Matches(g.r, 0.9440358460767656));
  EXPECT_TRUE(Matches(g.rLower, 0.6606256865910646));
  EXPECT_TRUE(Matches(g.rUpper, 0.9919225073885491));
  EXPECT_TRUE(Matches(g.t, 6.399799702894446));
  EXPECT_TRUE(Matches(g.p, 0.0013806459924547594));
  EXPECT_TRUE(Matches(g.slope, 0.8954297630712796));
  EXPECT_TRUE(Matches(g.slopeError, 0.13991527932761746));
  EXPECT_TRUE(Matches(g.slopeUpper, 1.2550934386388342));
  EXPECT_TRUE(Matches(g.intercept, 1.9428356071455508));
  EXPECT_TRUE(Matches(g.interceptError, 0.6734957427717398));
  EXPECT_TRUE(Matches(g.interceptLower, 0.21155968439812867));

  // Both columns shifted by 10^6: everything but the intercept stays, exactly summed.
  const CorrelationFigures shifted = CorrelationReportFigures(Pairs(rows, 1e6));
  EXPECT_TRUE(Matches(shifted.r, 0.9440358460767656));
  EXPECT_TRUE(Matches(shifted.p, 0.0013806459924547594));
  EXPECT_TRUE(Matches(shifted.slopeError, 0.13991527932761746));
  // a' = a + 10^6 (1 − b)
  EXPECT_NEAR(*shifted.intercept, 1.9428356071455508 + 1e6 * (1 - 0.8954297630712796), 1e-6);
}

TEST(CorrelationReportFigures, PerfectCorrelationAndTwoPoints) {
  // stats.linregress([1, 2, 3], [3, 5, 7]): r = 1, slope 2, intercept 1, standard errors 0.
  const CorrelationFigures up = CorrelationReportFigures(Pairs({{1, 3}, {2, 5}, {3, 7}}));
  EXPECT_TRUE(Matches(up.r, 1));
  EXPECT_TRUE(Matches(up.slope, 2));
  EXPECT_TRUE(Matches(up.intercept, 1));
  EXPECT_TRUE(Matches(up.slopeError, 0));
  EXPECT_TRUE(IsMissingBecause(up.t, "完全相关"));
  // scipy.stats.pearsonr([1, 2, 3], [3, 5, 7]).pvalue: 0.
  EXPECT_TRUE(Matches(up.p, 0));
  EXPECT_EQ(CorrelationReport(up).results,
            "X与Y之间有直线相关关系（r=1.00，P<0.001），Y对X的回归斜率2.00。");
  EXPECT_TRUE(IsMissingBecause(up.rLower, "n < 4"));
  EXPECT_TRUE(IsMissingBecause(up.slopeLower, "标准误为0"));

  // stats.linregress([1, 2, 3, 4], [8, 6, 4, 2]): r = −1, slope −2, intercept 10.
  const CorrelationFigures down = CorrelationReportFigures(Pairs({{1, 8}, {2, 6}, {3, 4}, {4, 2}}));
  EXPECT_TRUE(Matches(down.r, -1));
  EXPECT_TRUE(Matches(down.slope, -2));
  EXPECT_TRUE(Matches(down.intercept, 10));
  EXPECT_TRUE(IsMissingBecause(down.rUpper, "Fisher z无穷大"));

  // stats.linregress([1, 2], [5, 3]): the line exists, nothing can be tested.
  const CorrelationFigures two = CorrelationReportFigures(Pairs({{1, 5}, {2, 3}}));
  EXPECT_TRUE(Matches(two.slope, -2));
  EXPECT_TRUE(Matches(two.intercept, 7));
  EXPECT_TRUE(IsMissingBecause(two.p, "自由度n − 2为0"));
  EXPECT_TRUE(IsMissingBecause(two.slopeError, "自由度n − 2为0"));

  const CorrelationFigures flatY = CorrelationReportFigures(Pairs({{1, 4}, {2, 4}, {3, 4}}));
  EXPECT_TRUE(Matches(flatY.slope, 0));
  EXPECT_TRUE(Matches(flatY.intercept, 4));
  EXPECT_TRUE(IsMissingBecause(flatY.r, "Y全部相同"));
  EXPECT_TRUE(
      IsMissingBecause(CorrelationReportFigures(Pairs({{2, 1}, {2, 5}})).slope, "X全部相同"));
}

TEST(ReportFigures, NearPerfectDataShowThePanelsOwnTAndDeviation) {
  // Differences and lines this close to perfect have t of many digits, where a second
  // computation of the same statistic parts from the panel's in the last shown decimal.
  std::vector<std::pair<double, double>> paired, line;
  for (int i = 0; i < 40; ++i) {
    paired.emplace_back(1000 + i * 0.37, 1000 + i * 0.37 - 5 - (i % 3) * 0.0013);
    line.emplace_back(10 + i, 3 + 2.5 * (10 + i) + (i % 2 == 0 ? 0.0001 : -0.0001));
  }
  const PairSums pairs = Pairs(paired);
  const std::optional<PairedTTestResult> panel = PairedTTest(pairs);
  ASSERT_TRUE(panel);
  const PairedFigures report = PairedReportFigures(pairs);
  EXPECT_EQ(NumberText(report.deviation), panel->deviationText);
  EXPECT_EQ(NumberText(report.meanDifference), panel->meanText);
  EXPECT_EQ("T = " + NumberText(report.t),
            panel->verdict.line.substr(0, panel->verdict.line.find("  ")));

  const PairSums linePairs = Pairs(line);
  const CorrelationResult shown = CorrelationRegression(linePairs);
  const CorrelationFigures figures = CorrelationReportFigures(linePairs);
  EXPECT_EQ(NumberText(figures.t), shown.t);
  EXPECT_EQ(NumberText(figures.r), shown.r);
  // The equation: "Y=3.0000+2.5000X" in the panel, "Ŷ = 3.0000 + 2.5000X。" in the report.
  const std::string sentence = CorrelationReport(figures).sentences.at(0);
  EXPECT_NE(sentence.find(FormatFixed4(shown.intercept->ToPlainText()) + " + " +
                          FormatFixed4(*shown.slope) + "X"),
            std::string::npos)
      << sentence << " / " << shown.equation;
}

// ---- Tests against a margin ----
// References: stats.ttest_ind_from_stats with the first mean less the null (Welch's here: F's P
// is below 0.05), statsmodels' DescrStatsW(d).ttost_mean, d ± t(1 − α, ν)·SE; rates: the
// Farrington–Manning z, the restricted rates by brentq on the likelihood, the interval by brentq.

// "summary": the six boxes; "paired": x, y, x, y …; "fourfold": a, b, c, d.
MarginFigures MarginOf(const std::string& design, const std::vector<double>& v,
                       const MarginSetting& setting) {
  if (design == "paired") {
    std::vector<std::pair<double, double>> rows;
    for (std::size_t i = 0; i + 1 < v.size(); i += 2) rows.emplace_back(v[i], v[i + 1]);
    return PairedMargin(PairedReportFigures(Pairs(rows)), setting);
  }
  if (design == "fourfold") {
    return FourfoldMargin(FourfoldReportFigures(testing::Table(v[0], v[1], v[2], v[3])), setting);
  }
  std::array<std::string, 6> boxes;
  for (std::size_t i = 0; i < 6; ++i) boxes[i] = FormatFixed4(v[i]);
  return TwoSampleMargin(TwoSampleReportFigures(Summary(boxes)), setting);
}

TEST(MarginFigures, EachDesignAgainstReference) {
  using H = Hypothesis;
  const struct {
    const char* design;
    std::vector<double> data;
    MarginSetting setting;
    std::array<double, 7> figures;  // difference, lower, upper, statistic1, P1, statistic2, P2
    bool established;
  } references[] = {
      {"summary",
       {12, 1, 15, 10, 4, 8},
       {H::Equivalence, Better::Higher, "3", ""},
       {2, -0.698051126793191, 4.698051126793191, 3.4780417182012617, 0.004643985305567349,
        -0.6956083436402524, 0.25386547881637067},
       false},
      {"paired",
       {10.1, 9.8, 12.3, 12.9, 9.7, 9.1, 11.0, 10.2, 10.4, 10.5, 13.2, 12.4},
       {H::Equivalence, Better::Lower, " 1 ", "0.05"},
       {0.3, -0.15950172713206134, 0.759501727132061, 5.700877125495691, 0.001159007250169471,
        -3.069703067574604, 0.013896597721666562},
       true},
      {"fourfold",
       {30, 70, 45, 55},
       {H::Superiority, Better::Lower, "0.05", ""},
       {-0.15, -0.2791774501395183, -0.015869413564549097, -1.4636102027944136, 0.07165024162098757,
        0, 0},
       false},
  };
  for (const auto& r : references) {
    SCOPED_TRACE(r.design);
    const MarginFigures f = MarginOf(r.design, r.data, r.setting);
    const Figure* figures[] = {&f.difference, &f.lower,      &f.upper, &f.statistic1,
                               &f.p1,         &f.statistic2, &f.p2};
    for (std::size_t i = 0; i < 7; ++i) {
      // The root finders leave the score bounds within 1e-12 of each other.
      if (i < 5 || r.setting.hypothesis == H::Equivalence) {
        EXPECT_NEAR(figures[i]->value.value_or(NAN), r.figures[i],
                    i == 1 || i == 2 ? 1e-12 : 1e-10 * std::fabs(r.figures[i]));
      }
    }
    EXPECT_EQ(f.established, r.established);
  }
}

TEST(MarginFigures, ConclusionIsPBelowAlphaWithTheMarginAtTheBound) {
  // The margin at the interval's bound and a rounding either side of it, every hypothesis and
  // direction: the bound's side of the margin, the conclusion and P < α never part.
  for (const char* design : {"paired", "fourfold"}) {
    const std::vector<double> data =
        std::string(design) == "paired"
            ? std::vector<double>{3.1, 1.0, 2.2, 1.9, 4.0, 1.2, 2.5, 0.7}
            : std::vector<double>{45, 5, 41, 9};
    for (const Hypothesis hypothesis :
         {Hypothesis::NonInferiority, Hypothesis::Superiority, Hypothesis::Equivalence}) {
      for (const Better better : kBetters) {
        const MarginFigures probe = MarginOf(design, data, {hypothesis, better, "0.5", ""});
        const double bound = hypothesis == Hypothesis::Equivalence
                                 ? std::max(std::fabs(*probe.lower), std::fabs(*probe.upper))
                                 : std::fabs(probe.upperTail1 ? *probe.lower : *probe.upper);
        for (const double margin :
             {std::nextafter(bound, 0.0), bound, std::nextafter(bound, 1.0)}) {
          char text[32];
          std::snprintf(text, sizeof text, "%.17g", margin);
          const MarginFigures f = MarginOf(design, data, {hypothesis, better, text, ""});
          SCOPED_TRACE(std::string(design) + " " + HypothesisEnglish(hypothesis) + " " + text);
          ASSERT_TRUE(f.established && f.p);
          EXPECT_EQ(*f.established, *f.p < *f.alpha);
          const bool first = f.upperTail1 ? *f.lower > f.null1 : *f.upper < f.null1;
          const bool second = hypothesis != Hypothesis::Equivalence || *f.upper < f.null2;
          EXPECT_EQ(*f.established, first && second);
        }
      }
    }
  }
}

TEST(MarginFigures, ReasonsForTheMarginAlphaAndData) {
  using H = Hypothesis;
  const std::vector<double> summary = {5.2, 1.3, 12, 4.1, 1.1, 10}, table = {8, 2, 7, 3};
  const struct {
    const char* design;
    std::vector<double> data;
    MarginSetting setting;
    const char* reason;
    bool interval;  // the interval stands without a margin
  } cases[] = {
      {"summary", summary, {H::NonInferiority, Better::Higher, "0", ""}, "界值Δ须大于0", true},
      {"summary", summary, {H::Superiority, Better::Higher, "  ", ""}, "请输入界值Δ", true},
      {"paired", {1, 2, 3, 5}, {H::Equivalence, Better::Higher, "五", ""}, "界值Δ不是数字", true},
      {"fourfold", table, {H::NonInferiority, Better::Higher, "1", ""}, "率差的界值Δ须小于1", true},
      {"fourfold",
       table,
       {H::Equivalence, Better::Higher, "0.1", "0.5"},
       "α须大于0且小于0.5",
       false},
      {"paired", {1, 2}, {H::NonInferiority, Better::Lower, "1", ""}, "至少需要2对数据", false},
      {"fourfold",
       {0, 0, 7, 3},
       {H::NonInferiority, Better::Lower, "0.1", ""},
       "试验组合计为0",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    const MarginFigures f = MarginOf(c.design, c.data, c.setting);
    EXPECT_TRUE(IsMissingBecause(f.p, c.reason));
    EXPECT_FALSE(f.established);
    EXPECT_EQ(static_cast<bool>(f.lower), c.interval);
  }
  EXPECT_FALSE(MarginOf("summary", summary, {}).Shown());
}

}  // namespace
}  // namespace quillon
