// Effect sizes and absolute effects of binary outcomes: against R 4.2 (the call is given beside
// each table) and against the worked examples of Newcombe's two papers on differences of
// proportions (Stat Med 1998;17:873 and 17:2635), printed there to four decimals.

#include <gtest/gtest.h>

#include <cmath>

#include "report/effect_sizes.h"
#include "report/proportions.h"
#include "report/tests/figure_matchers.h"

namespace quillon {
namespace {

using testing::IsMissingBecause;
using testing::Matches;

// R's noncentral t is accurate to about 1e-12; the root found in it to the tolerance asked.
::testing::AssertionResult Near(const Figure& figure, double expected, double tolerance = 1e-8) {
  if (!figure) return ::testing::AssertionFailure() << "no value: " << figure.reason;
  if (std::fabs(*figure - expected) <= tolerance * std::max(1.0, std::fabs(expected))) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "value " << *figure << ", expected " << expected;
}

// The random data sets of the differential tests compare these with R at large; here, cases
// small enough to read. lim(t, df): uniroot(function(l) pt(t, df, l) - p, ..., tol = 1e-15) for
// p = 0.975 and 0.025; d's bounds lim(d·s, n1 + n2 − 2) / s with s = √(n1 n2 / (n1 + n2)), dz's
// lim(dz·√n, n − 1) / √n; J(ν) = exp(lgamma(ν/2) − log(√(ν/2)) − lgamma((ν − 1)/2)).
TEST(EffectSizes, AgainstR) {
  struct Reference {
    double difference, pooled, n1, n2, d, lower, upper, j;
  };
  const Reference references[] = {
      {3.1, 2.818, 10, 10, 1.1000709723207949, 0.14067276217349314, 2.0333686720181907,
       0.95764642702372005},
      {-1.5, 4, 5, 12, -0.375, -1.4206220434471328, 0.68281379218205451, 0.94900758714270195},
      {12, 5, 3, 2, 2.4, -0.23140919515783187, 4.8783658205385754, 0.72360125455826774},
  };
  for (const Reference& r : references) {
    SCOPED_TRACE(::testing::Message()
                 << r.difference << " " << r.pooled << " " << r.n1 << " " << r.n2);
    const TwoSampleEffectSizes e = TwoSampleEffects(r.difference, r.pooled, r.n1, r.n2);
    EXPECT_TRUE(Matches(e.d.estimate, r.d));
    EXPECT_TRUE(Near(e.d.lower, r.lower));
    EXPECT_TRUE(Near(e.d.upper, r.upper));
    EXPECT_TRUE(Near(e.correction, r.j, 1e-12));
    EXPECT_TRUE(Near(e.g.lower, r.j * r.lower));
    EXPECT_TRUE(Near(e.g.upper, r.j * r.upper));
  }
  const EffectSize dz = PairedEffect(-0.4, 1.7, 40);
  EXPECT_TRUE(Matches(dz.estimate, -0.4 / 1.7));
  EXPECT_TRUE(Near(dz.lower, -0.54806828705110333));
  EXPECT_TRUE(Near(dz.upper, 0.080407281146808868));
}

TEST(EffectSizes, LimitsAndReasons) {
  // At t = 0 the interval is ±z(0.975) whatever the degrees of freedom; at the largest t and
  // degrees of freedom the bounds still bracket t.
  const NoncentralInterval zero = NoncentralTInterval(0, 65550);
  EXPECT_TRUE(Near(zero.upper, NormalCritical95(), 1e-9));
  EXPECT_TRUE(Near(zero.lower, -NormalCritical95(), 1e-9));
  const NoncentralInterval large = NoncentralTInterval(-kLargestNoncentralT, 65550);
  ASSERT_TRUE(large.lower && large.upper);
  EXPECT_LT(*large.lower, -kLargestNoncentralT);
  EXPECT_GT(*large.upper, -kLargestNoncentralT);
  EXPECT_TRUE(IsMissingBecause(NoncentralTInterval(1e6, 10).lower, "|t|大于"));

  EXPECT_TRUE(IsMissingBecause(TwoSampleEffects(1, 2, 1, 1).d.estimate, "自由度为0"));
  EXPECT_TRUE(IsMissingBecause(TwoSampleEffects(1, 0, 5, 5).g.upper, "合并标准差为0"));
  // One degree of freedom: d and its interval exist, the correction does not.
  const TwoSampleEffectSizes oneDf = TwoSampleEffects(1, 2, 1, 2);
  EXPECT_TRUE(oneDf.d.lower);
  EXPECT_TRUE(IsMissingBecause(oneDf.g.estimate, "校正系数J"));
  EXPECT_TRUE(IsMissingBecause(PairedEffect(1, 0, 5).estimate, "标准差为0"));
  EXPECT_TRUE(IsMissingBecause(PairedEffect(1, 1, 1).lower, "2对"));
}

// Unpaired, method 10 of the first paper (Table II): a/(a + b) − c/(c + d).
TEST(Proportions, NewcombeUnpairedExamples) {
  struct Example {
    double a, b, c, d, lower, upper;
  };
  const Example examples[] = {
      {56, 14, 48, 32, 0.0524, 0.3339}, {9, 1, 3, 7, 0.1705, 0.8090},
      {5, 51, 0, 29, -0.0381, 0.1926},  {0, 10, 0, 20, -0.1611, 0.2775},
      {0, 10, 0, 10, -0.2775, 0.2775},  {10, 0, 0, 20, 0.6791, 1.0000},
      {10, 0, 0, 10, 0.6075, 1.0000},
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(::testing::Message() << e.a << " " << e.b << " " << e.c << " " << e.d);
    const RiskDifferenceFigures rd = RiskDifference(e.a, e.b, e.c, e.d);
    EXPECT_TRUE(Matches(rd.difference, e.a / (e.a + e.b) - e.c / (e.c + e.d)));
    EXPECT_TRUE(Near(rd.lower, e.lower, 5e-5));
    EXPECT_TRUE(Near(rd.upper, e.upper, 5e-5));
  }
  EXPECT_TRUE(IsMissingBecause(RiskDifference(0, 0, 3, 4).difference, "试验组合计为0"));
  EXPECT_TRUE(Matches(RiskDifference(0, 0, 3, 4).risk2, 3.0 / 7));
}

// Paired, method 10 of the second paper (Table II): a, b, c, d as e, f, g, h there.
TEST(Proportions, NewcombePairedExamples) {
  struct Example {
    double a, b, c, d, lower, upper;
  };
  const Example examples[] = {
      {36, 12, 2, 0, 0.0569, 0.3404},
      {18, 12, 2, 18, 0.0562, 0.3290},
      {53, 0, 0, 1, -0.0729, 0.0729},
      {0, 30, 0, 0, 0.8395, 1.0000},
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(::testing::Message() << e.a << " " << e.b << " " << e.c << " " << e.d);
    const PairedProportionFigures f = PairedProportions(e.a, e.b, e.c, e.d);
    EXPECT_TRUE(Matches(f.difference, (e.b - e.c) / (e.a + e.b + e.c + e.d)));
    EXPECT_TRUE(Near(f.lower, e.lower, 5e-5));
    EXPECT_TRUE(Near(f.upper, e.upper, 5e-5));
  }
}

// ci <- binom.test(b, b + c)$conf.int, OR bounds ci / (1 − ci);
// mid-P min(1, 2·(pbinom(k, b + c, .5) − .5·dbinom(k, b + c, .5))), k = min(b, c).
TEST(Proportions, MatchedOddsRatioAndMidPAgainstR) {
  struct Reference {
    double b, c, lower, upper, midP;
  };
  const Reference references[] = {
      {12, 2, 1.3357437224672493, 55.19709066788505, 0.0073852539062499974},
      {5, 5, 0.23014246893810797, 4.3451345795239966, 1},
      {0, 6, 0, 0.84931119429732327, 0.015625},
      {1, 40, 0.00061769820882578031, 0.14751806008768878, 1.9554136088118083e-11},
  };
  for (const Reference& r : references) {
    SCOPED_TRACE(::testing::Message() << r.b << " " << r.c);
    const PairedProportionFigures f = PairedProportions(7, r.b, r.c, 3);
    EXPECT_TRUE(Matches(f.oddsRatio, r.b / r.c));
    EXPECT_TRUE(Near(f.oddsLower, r.lower, 1e-10));
    EXPECT_TRUE(Near(f.oddsUpper, r.upper, 1e-10));
    EXPECT_TRUE(Near(f.midP, r.midP, 1e-12));
  }
  const PairedProportionFigures infinite = PairedProportions(7, 6, 0, 3);
  EXPECT_TRUE(IsMissingBecause(infinite.oddsRatio, "无穷大"));
  EXPECT_TRUE(IsMissingBecause(infinite.oddsUpper, "无穷大"));
  // b and c swapped: the bounds are the reciprocals of those of (0, 6).
  EXPECT_TRUE(Near(infinite.oddsLower, 1 / 0.84931119429732327, 1e-10));
  EXPECT_TRUE(infinite.oddsUnbounded);
  // ci <- binom.test(30, 30)$conf.int: the lower bound stands, the interval is open above.
  const PairedProportionFigures allB = PairedProportions(0, 30, 0, 0);
  EXPECT_TRUE(Near(allB.oddsLower, 7.6427952265725994, 1e-10));
  EXPECT_TRUE(allB.oddsUnbounded);
  EXPECT_TRUE(IsMissingBecause(PairedProportions(7, 0, 0, 3).midP, "b + c = 0"));
  EXPECT_TRUE(IsMissingBecause(PairedProportions(7, 2.5, 3, 3).oddsLower, "整数"));
  EXPECT_TRUE(PairedProportions(7, 2.5, 3, 3).lower);  // the score interval takes any counts
}

// Altman's forms: one side of 0, or through infinity when the RD interval holds 0.
TEST(Proportions, NumberNeededToTreat) {
  struct Case {
    double a, b, c, d;
    const char* estimate;
    const char* interval;
    PositiveMeans positive = PositiveMeans::Benefit;
  };
  // RD intervals (Newcombe): 56/70 − 48/80: 0.0524 to 0.3339; 10/40 − 12/40: −0.2384 to 0.1431.
  // With (+) an adverse event, more events in the first group is a harm.
  const Case cases[] = {
      {56, 14, 48, 32, "NNTB 5.0", "NNTB 3.0 至 19.1"},
      {48, 32, 56, 14, "NNTH 5.0", "NNTH 3.0 至 19.1"},
      {10, 30, 12, 28, "NNTH 20.0", "NNTB 7.0 至 ∞ 至 NNTH 4.2"},
      {0, 10, 0, 20, "NNT ∞", "NNTB 3.6 至 ∞ 至 NNTH 6.2"},
      {56, 14, 48, 32, "NNTH 5.0", "NNTH 3.0 至 19.1", PositiveMeans::Harm},
      {10, 30, 12, 28, "NNTB 20.0", "NNTB 4.2 至 ∞ 至 NNTH 7.0", PositiveMeans::Harm},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.a << " " << c.b << " " << c.c << " " << c.d);
    const RiskDifferenceFigures rd = RiskDifference(c.a, c.b, c.c, c.d);
    const NumberNeededFigures nnt = NumberNeeded(rd, c.positive);
    const NumberNeededText text = NumberNeededTexts(nnt);
    EXPECT_EQ(text.estimate, c.estimate);
    EXPECT_EQ(text.interval, c.interval);
    if (nnt.crossesZero && c.positive == PositiveMeans::Benefit) {
      EXPECT_TRUE(Matches(nnt.benefitBound, 1 / *rd.upper));
      EXPECT_TRUE(Matches(nnt.harmBound, -1 / *rd.lower));
    }
  }
  const NumberNeededFigures missing = NumberNeeded(RiskDifference(0, 0, 1, 1));
  EXPECT_TRUE(IsMissingBecause(missing.value, "试验组合计为0"));
  EXPECT_EQ(NumberNeededTexts(missing).interval, "—（试验组合计为0，率无定义）");
}

}  // namespace
}  // namespace quillon
