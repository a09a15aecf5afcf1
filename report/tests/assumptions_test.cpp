// The checks of the tests' assumptions and the agreement figures of the paired analysis, on a few
// anchors; tests/differential compares them with R and SciPy on many random data sets.
// Shapiro–Wilk references from R 4.2's shapiro.test (residuals from lm), Brown–Forsythe
// references from SciPy 1.10's stats.levene(a, b, center="median").

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "report/checks/agreement.h"
#include "report/checks/normality.h"
#include "report/checks/variance_tests.h"
#include "report/tests/figure_matchers.h"
#include "stats/correlation.h"

namespace quillon {
namespace {

using testing::IsMissingBecause;

// Agreement to 1e-9 relative: R and SciPy round differently in their last digits.
::testing::AssertionResult Near(const Figure& figure, double expected) {
  if (!figure) return ::testing::AssertionFailure() << "no value: " << figure.reason;
  if (std::fabs(*figure - expected) <= 1e-9 * std::fabs(expected)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "value " << *figure << ", expected " << expected;
}

std::vector<Fixed4> Values(const std::vector<double>& values, double offset = 0) {
  std::vector<Fixed4> fixed;
  for (double value : values) fixed.push_back(Fixed4::FromDouble(value + offset).value());
  return fixed;
}

using Pairs = std::vector<std::pair<Fixed4, Fixed4>>;

Pairs PairsOf(const std::vector<double>& first, const std::vector<double>& second) {
  Pairs pairs;
  for (std::size_t i = 0; i < first.size(); ++i) {
    pairs.emplace_back(Fixed4::FromDouble(first[i]).value(), Fixed4::FromDouble(second[i]).value());
  }
  return pairs;
}

PairSums SumsOf(const Pairs& pairs) {
  PairSums sums;
  for (const auto& [x, y] : pairs) sums.Add(x, y);
  return sums;
}

TEST(ShapiroWilk, AgreesWithReferenceOnEachBranchOfTheApproximation) {
  struct Case {
    std::vector<double> values;
    double offset, w, p;
  };
  std::vector<double> squares;
  for (int i = 1; i <= 50; ++i) squares.push_back(i * i);
  const Case cases[] = {
      // n = 3, the exact distribution; two of three equal give W = 3/4 and P = 0 exactly.
      {{1, 2, 4}, 0, 0.96428571428571419, 0.6368868450289632},
      {{5, 5, 7}, 1e9, 0.75, 0},
      // n from 4 to 11, with ties.
      {{2.1, 2.1, 3.5, 4.0, 9.9}, 0, 0.76232656713518265, 0.03855581672976361},
      {{148, 154, 158, 160, 161, 162, 166, 170, 182, 195, 236},
       0,
       0.78881469483538735,
       0.0067038140565029254},
      // n of 12 and over; in R without the offset, which a double cannot hold beside 10^-4.
      {{0.1234, 0.1236, 0.1231, 0.1240, 0.1229, 0.1233, 0.1235, 0.1235, 0.1238, 0.1230, 0.1232,
        0.1237, 0.1234, 0.1239, 0.1236, 0.1228},
       1e9,
       0.97708299672208887,
       0.93620595258972261},
      {squares, 0, 0.89812479966181002, 0.00041688515189459426},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.values.size());
    const NormalityFigures figures = ShapiroWilk(Values(c.values, c.offset));
    EXPECT_EQ(figures.n, static_cast<std::int64_t>(c.values.size()));
    EXPECT_TRUE(Near(figures.w, c.w));
    EXPECT_TRUE(Near(figures.p, c.p));
  }
}

TEST(ShapiroWilk, DifferencesAndResidualsAreTestedWhereTheTestsAssumeNormality) {
  // Differences 2.1, 2.1, 3.5, 4, 9.9 of values near ±10^9: as the third case above.
  const NormalityFigures differences = DifferenceNormality(
      PairsOf({1e9 + 2.1, 1e9 + 3.1, 4.5, -1e9 + 4, 9.9}, {1e9, 1e9 + 1, 1, -1e9, 0}));
  EXPECT_TRUE(Near(differences.w, 0.76232656713518265));
  EXPECT_TRUE(Near(differences.p, 0.03855581672976361));

  // X offset by 10^6; R: fit <- lm(y ~ x) on x = 1:12, shapiro.test(resid(fit)).
  std::vector<double> x, y = {5.1, 7.3, 8.8, 11.6, 12.9, 15.2, 17.5, 18.7, 21.9, 22.8, 25.6, 26.3};
  for (int i = 1; i <= 12; ++i) x.push_back(1e6 + i);
  const double reference[] = {-0.13589743589742501, 0.081235431235426495, -0.40163170163170409,
                              0.41550116550116295,  -0.26736596736596857, 0.049766899766897896,
                              0.36689976689976578,  -0.41596736596736728, 0.80116550116549967,
                              -0.28170163170163054, 0.53543123543123783,  -0.74743589743589534};
  const Pairs pairs = PairsOf(x, y);
  const PairSums sums = SumsOf(pairs);
  const std::vector<ResidualPoint> points = RegressionResiduals(pairs, CorrelationRegression(sums));
  ASSERT_EQ(points.size(), pairs.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    // The intercept is held to four decimals, which moves every residual by the same amount.
    EXPECT_NEAR(points[i].residual, reference[i], 5e-5);
    EXPECT_NEAR(points[i].residual - points[0].residual, reference[i] - reference[0], 1e-9);
    EXPECT_NEAR(points[i].fitted + points[i].residual, y[i], 1e-9);
  }
  const NormalityFigures residuals = ResidualNormality(points, sums);
  EXPECT_TRUE(Near(residuals.w, 0.97094064365410293));
  EXPECT_TRUE(Near(residuals.p, 0.92040445809750959));
}

TEST(ShapiroWilk, SaysWhyThereIsNoFigure) {
  EXPECT_TRUE(IsMissingBecause(ShapiroWilk(Values({1, 2})).p, "n < 3"));
  EXPECT_TRUE(IsMissingBecause(ShapiroWilk(std::vector<Fixed4>(5001)).w, "n > 5000"));
  EXPECT_TRUE(IsMissingBecause(ShapiroWilk(Values({7.5, 7.5, 7.5, 7.5})).w, "全部相同"));
  EXPECT_TRUE(ShapiroWilk(Values({7.5, 7.5, 7.5, 7.5001})).p);

  // Points exactly on a line: the computed residuals are rounding, not data.
  const Pairs line = PairsOf({0.1, 0.2, 0.3, 0.7}, {0.13, 0.16, 0.19, 0.31});
  const PairSums lineSums = SumsOf(line);
  EXPECT_TRUE(IsMissingBecause(
      ResidualNormality(RegressionResiduals(line, CorrelationRegression(lineSums)), lineSums).w,
      "残差全部为0"));
  const Pairs upright = PairsOf({2, 2, 2}, {1, 5, 3});
  const PairSums uprightSums = SumsOf(upright);
  const std::vector<ResidualPoint> none =
      RegressionResiduals(upright, CorrelationRegression(uprightSums));
  EXPECT_TRUE(none.empty());
  EXPECT_TRUE(IsMissingBecause(ResidualNormality(none, uprightSums).p, "X全部相同"));
  // A line whose intercept has no value: no residuals, although the sums give a line.
  const Pairs scattered = PairsOf({1, 2, 3}, {1, 3, 2});
  CorrelationResult noIntercept = CorrelationRegression(SumsOf(scattered));
  noIntercept.intercept.reset();
  EXPECT_TRUE(IsMissingBecause(
      ResidualNormality(RegressionResiduals(scattered, noIntercept), SumsOf(scattered)).w,
      "没有残差"));
}

TEST(BrownForsythe, AgreesWithLeveneOnMediansAndSaysWhyThereIsNoFigure) {
  struct Case {
    std::vector<double> first, second;
    double offset, f, p;
  };
  const Case cases[] = {
      // Odd and even counts, ties at the median.
      {{1, 2, 4, 8, 9}, {3.5, 3.5, 3.6, 10, 2, 7}, 0, 0.38179747288227617, 0.5519554988501458},
      {{1, 5, 9, 10}, {2, 3, 4, 5, 6}, 0, 4.8245182451824515, 0.06406315340344744},
      // In SciPy as whole ten-thousandths: a double cannot hold 10^9 beside 10^-4.
      {{1e-4, 5e-4, 2e-4, 9e-4},
       {3e-4, 3e-4, 10e-4, 4e-4, 12e-4},
       1e9,
       0.051177904142973234,
       0.8274899582489263},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.f);
    const BrownForsytheFigures figures =
        BrownForsythe(Values(c.first, c.offset), Values(c.second, c.offset));
    EXPECT_TRUE(Near(figures.f, c.f));
    EXPECT_TRUE(Near(figures.p, c.p));
    EXPECT_TRUE(Near(figures.df2, static_cast<double>(c.first.size() + c.second.size() - 2)));
  }
  EXPECT_TRUE(IsMissingBecause(BrownForsythe(Values({1}), Values({2, 3})).f, "至少需要2例"));
  // Two values a group: every deviation within a group is the same.
  EXPECT_TRUE(IsMissingBecause(BrownForsythe(Values({1, 3}), Values({5, 9})).p, "F无穷大"));
  EXPECT_TRUE(IsMissingBecause(BrownForsythe(Values({1, 3}), Values({5, 7})).f, "F无定义"));
}

TEST(BlandAltman, ReproducesThePublishedPeakFlowExample) {
  // Bland JM, Altman DG. Statistical methods for assessing agreement between two methods of
  // clinical measurement. Lancet 1986;1(8476):307-310, Table 1: peak expiratory flow rate
  // (l/min) of 17 subjects, the first reading with the Wright meter and with the mini meter.
  const Pairs pairs = PairsOf(
      {494, 395, 516, 434, 476, 557, 413, 442, 650, 433, 417, 656, 267, 478, 178, 423, 427},
      {512, 430, 520, 428, 500, 600, 364, 380, 658, 445, 432, 626, 260, 477, 259, 350, 451});
  const AgreementFigures f = BlandAltman(PairedReportFigures(SumsOf(pairs)));

  // Printed to one decimal: mean difference −2.1, SD 38.8, its 95 % interval −22.0 to 17.8.
  EXPECT_NEAR(*f.bias, -2.1, 0.05);
  EXPECT_NEAR(*f.deviation, 38.8, 0.05);
  EXPECT_NEAR(*f.biasLower, -22.0, 0.05);
  EXPECT_NEAR(*f.biasUpper, 17.8, 0.05);
  // The paper takes bias ± 2 SD: −79.7 to 75.5; these limits are bias ± 1.96 SD, 0.04 SD inside.
  EXPECT_NEAR(*f.lowerLimit, -79.7 + 0.04 * 38.8, 0.1);
  EXPECT_NEAR(*f.upperLimit, 75.5 - 0.04 * 38.8, 0.1);
  // Each limit's interval, printed as −114.3 to −45.1 and 40.9 to 110.1, reaches
  // t(0.975, 16) · √(3 SD² / n) = 34.6 either side of it.
  const double lowerReach = (-45.1 - -114.3) / 2, upperReach = (110.1 - 40.9) / 2;
  EXPECT_NEAR(*f.lowerLimitLower, *f.lowerLimit - lowerReach, 0.1);
  EXPECT_NEAR(*f.lowerLimitUpper, *f.lowerLimit + lowerReach, 0.1);
  EXPECT_NEAR(*f.upperLimitLower, *f.upperLimit - upperReach, 0.1);
  EXPECT_NEAR(*f.upperLimitUpper, *f.upperLimit + upperReach, 0.1);

  const std::vector<AgreementPoint> points = AgreementPoints(pairs);
  ASSERT_EQ(points.size(), 17u);
  EXPECT_EQ(points[0].mean, 503);
  EXPECT_EQ(points[14].difference, -81);
  // Large values keep the digits of their difference; one pair gives no limits.
  const AgreementPoint large = AgreementPoints(PairsOf({900000000.0003}, {900000000.0001}))[0];
  EXPECT_EQ(large.difference, 0.0002);
  EXPECT_EQ(large.mean, 900000000.0002);
  const AgreementFigures one = BlandAltman(PairedReportFigures(SumsOf(PairsOf({3}, {1}))));
  EXPECT_TRUE(IsMissingBecause(one.upperLimit, "至少需要2对"));
  EXPECT_TRUE(IsMissingBecause(one.lowerLimitLower, "至少需要2对"));
  // Equal differences: the limits are the bias, their intervals have no width and no value.
  const AgreementFigures equal =
      BlandAltman(PairedReportFigures(SumsOf(PairsOf({2, 3, 4}, {1, 2, 3}))));
  EXPECT_EQ(*equal.upperLimit, 1);
  EXPECT_TRUE(IsMissingBecause(equal.upperLimitUpper, "差值全部相同"));
  EXPECT_TRUE(IsMissingBecause(equal.lowerLimitLower, "差值全部相同"));
}

}  // namespace
}  // namespace quillon
