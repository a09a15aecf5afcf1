#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "power/margin_methods.h"
#include "power/power_methods.h"
#include "power/sample_size.h"

namespace quillon {
namespace {

SampleSizeBoxes Boxes(
    std::initializer_list<std::pair<std::string SampleSizeBoxes::*, const char*>> texts) {
  SampleSizeBoxes boxes;
  for (const auto& [box, text] : texts) boxes.*box = text;
  return boxes;
}

using B = SampleSizeBoxes;

// Published examples with their printed n (group 1's, or the pairs); n2 where there are two groups.
struct Published {
  const char* source;
  PowerDesign design;
  SampleSizeBoxes boxes;
  int n1;
  int n2;
  int otherN1;  // two proportions: the other plan's n (0: none)
};

TEST(SampleSize, PublishedExamples) {
  const std::vector<Published> examples = {
      // Cohen (1988), Statistical Power Analysis, Table 2.4.1: d = 0.5, two-tailed α = .05,
      // power .80: 64 a group.
      {"Cohen d=0.5", PowerDesign::TwoSample,
       Boxes({{&B::mean1, "0.5"}, {&B::mean2, "0"}, {&B::sd, "1"}}), 64, 64, 0},
      // R, example(power.t.test): delta = 1, sd = 1, power .90: n = 22.02.
      {"power.t.test", PowerDesign::TwoSample,
       Boxes({{&B::mean1, "1"}, {&B::mean2, "0"}, {&B::sd, "1"}, {&B::power, "0.90"}}), 23, 23, 0},
      // R, power.t.test(delta = 1, sd = 1, power = .9, type = "paired"): n = 12.59 pairs.
      {"paired", PowerDesign::Paired,
       Boxes({{&B::meanDiff, "1"}, {&B::sdDiff, "1"}, {&B::power, "0.9"}}), 13, -1, 0},
      // Cohen (1988), Table 3.4.1: r = .30, two-tailed α = .05, power .80: n = 85.
      {"Cohen r=0.3", PowerDesign::Correlation, Boxes({{&B::r, "0.3"}}), 85, -1, 0},
      // R, example(power.prop.test): p1 = .50, p2 = .75, power .90: n = 76.7 a group; the
      // planned table asks for the plain χ² test, the corrected n beside it.
      {"power.prop.test", PowerDesign::TwoProportions,
       Boxes({{&B::p1, "0.5"}, {&B::p2, "0.75"}, {&B::power, "0.9"}}), 77, 77, 85},
      // Fleiss (1981), Statistical Methods for Rates and Proportions, Table A.3, with the
      // correction of Fleiss, Tytun and Ury (1980): P1 = .20, P2 = .40, α = .05, power .80:
      // n' = 91 a group (uncorrected 81.2, power.prop.test).
      {"Fleiss-Tytun-Ury", PowerDesign::TwoProportions, Boxes({{&B::p1, "0.2"}, {&B::p2, "0.4"}}),
       82, 82, 91},
      // The worked example with Connor's (1987, p. 209) formula: p10 = .05, p01 = .45,
      // two-sided α = .05, power .80: 23 pairs, where the exact test's power is 0.777; it first
      // reaches .80 at 25 (0.820, summed with SciPy's binomial distribution).
      {"Connor", PowerDesign::McNemar, Boxes({{&B::p10, "0.05"}, {&B::p01, "0.45"}}), 25, -1, 0},
  };
  for (const Published& example : examples) {
    SCOPED_TRACE(example.source);
    const SampleSizeResult r =
        ComputeSampleSize(example.design, example.boxes, SolveFor::SampleSize);
    ASSERT_TRUE(r.plan.n1) << r.plan.n1.reason;
    EXPECT_EQ(*r.plan.n1, example.n1);
    EXPECT_EQ(r.plan.n2 ? *r.plan.n2 : -1, example.n2);
    EXPECT_GE(*r.plan.power, 0.8);
    EXPECT_EQ(r.other ? *r.other->n1 : 0, example.otherN1);
    // The curve passes through the plan's n.
    ASSERT_TRUE(r.curve.marked);
    EXPECT_EQ(r.curve.points[*r.curve.marked].n, example.n1);
  }
}

TEST(SampleSize, ProtocolSentenceAndDropout) {
  // δ = 5, σ = 10: 64 a group (power.t.test n = 63.77), 72 a group after 10 % dropout.
  const SampleSizeBoxes boxes =
      Boxes({{&B::mean1, "125.0"}, {&B::mean2, "120.0"}, {&B::sd, "10.0"}, {&B::dropout, "10"}});
  const SampleSizeResult r = ComputeSampleSize(PowerDesign::TwoSample, boxes, SolveFor::SampleSize);
  EXPECT_EQ(
      r.sentence,
      "按双侧α=0.05、检验效能80%，预期两组均数分别为125.0和120.0（标准差10.0），每组需64例；考虑"
      "10%的脱落，每组纳入72例，共144例（两独立样本t检验，非中心t分布法；Quillon 3.0）。");
  EXPECT_EQ(*r.plan.enrolledTotal, 144);
  // power.t.test(n = 64, delta = 5, sd = 10, strict = TRUE)$power.
  EXPECT_NEAR(*r.plan.power, 0.8014596, 1e-7);
  const SampleSizeResult apa =
      ComputeSampleSize(PowerDesign::TwoSample, boxes, SolveFor::SampleSize, PStyle::Apa);
  EXPECT_EQ(
      apa.sentence,
      "With a two-sided α of .05 and 80% power to detect a difference between means of 125.0 "
      "and 120.0 (SD 10.0), 64 participants per group are required; allowing for 10% dropout, 72 "
      "participants per group (144 in total) will be enrolled (two-sample t test, "
      "noncentral t distribution; Quillon 3.0).");
}

TEST(SampleSize, PowerAtTypedN) {
  // pwr::pwr.t2n.test(n1 = 30, n2 = 60, d = 0.6)$power = 0.756139.
  const SampleSizeResult t = ComputeSampleSize(
      PowerDesign::TwoSample,
      Boxes({{&B::mean1, "0.6"}, {&B::mean2, "0"}, {&B::sd, "1"}, {&B::ratio, "2"}, {&B::n, "30"}}),
      SolveFor::Power);
  EXPECT_EQ(*t.plan.n2, 60);
  EXPECT_NEAR(*t.plan.power, 0.756139, 1e-6);
  // The exact power of the exact McNemar test, summed with SciPy's binomial distribution.
  EXPECT_NEAR(ExactMcNemarPower(0.25, 0.1, 120, 0.05), 0.7693571727031816, 1e-12);
  EXPECT_NEAR(ExactMcNemarPower(0.102, 0.1, 100000, 0.05), 0.288172810006967, 1e-10);
}

TEST(SampleSize, BadInputsGiveTheReason) {
  struct Bad {
    PowerDesign design;
    SampleSizeBoxes boxes;
    const char* reason;
  };
  const auto two = [](std::string B::*box, const char* text) {
    SampleSizeBoxes boxes = Boxes({{&B::mean1, "1"}, {&B::mean2, "0"}, {&B::sd, "1"}});
    boxes.*box = text;
    return boxes;
  };
  const std::vector<Bad> cases = {
      {PowerDesign::TwoSample, two(&B::sd, "0"), "标准差须大于0"},
      {PowerDesign::TwoSample, two(&B::mean1, ""), "请输入均数1"},
      {PowerDesign::TwoSample, two(&B::mean2, "1"), "两组均数相等（均数差为0），无法计算"},
      {PowerDesign::TwoSample, two(&B::ratio, "0"), "分配比例k须大于0"},
      {PowerDesign::TwoSample, two(&B::alpha, "0.6"), "α须大于0且不超过0.5"},
      {PowerDesign::TwoSample, two(&B::power, "0.05"), "检验效能须大于α且小于1（或小于100%）"},
      {PowerDesign::TwoSample, two(&B::dropout, "99.9999999999"), "脱落率须不小于0%且不超过99%"},
      {PowerDesign::TwoSample, two(&B::power, "100%"), "检验效能须大于α且小于1（或小于100%）"},
      {PowerDesign::TwoSample, two(&B::alpha, "0.000000009"), "α须不小于0.00000001"},
      {PowerDesign::TwoSample, two(&B::mean1, "0.0001"), "所需样本量超过10,000,000"},
      {PowerDesign::Correlation, Boxes({{&B::r, "1"}}), "相关系数ρ的绝对值须小于1"},
      {PowerDesign::Correlation, Boxes({{&B::r, "0"}}), "相关系数ρ为0，无法计算"},
      {PowerDesign::TwoProportions, Boxes({{&B::p1, "1.2"}, {&B::p2, "0.4"}}), "率p1须在0与1之间"},
      {PowerDesign::TwoProportions, Boxes({{&B::p1, "0.4"}, {&B::p2, "0.4"}}),
       "两组率相等，无法计算"},
      {PowerDesign::McNemar, Boxes({{&B::p10, "0.6"}, {&B::p01, "0.5"}}), "p10与p01之和不能超过1"},
  };
  for (const Bad& bad : cases) {
    SCOPED_TRACE(bad.reason);
    const SampleSizeResult r = ComputeSampleSize(bad.design, bad.boxes, SolveFor::SampleSize);
    for (const Figure* figure : {&r.plan.n1, &r.plan.total, &r.plan.enrolledTotal, &r.plan.power}) {
      EXPECT_FALSE(*figure);
      EXPECT_EQ(figure->reason, bad.reason);
    }
    EXPECT_TRUE(r.curve.points.empty());
    EXPECT_NE(r.sentence.find(bad.reason), std::string::npos);
  }
}

// The counts at the extremes, exact from the typed decimals and within 10,000,000 in all.
TEST(SampleSize, CountsAtTheExtremes) {
  struct Extreme {
    const char* what;
    PowerDesign design;
    SampleSizeBoxes boxes;
    std::vector<double> counts;  // n1, total, enrolled in all; or none, and the reason
    const char* reason = "";
  };
  const auto two = [](std::initializer_list<std::pair<std::string B::*, const char*>> texts) {
    SampleSizeBoxes boxes = Boxes({{&B::mean1, "0.5"}, {&B::mean2, "0"}, {&B::sd, "1"}});
    for (const auto& [box, text] : texts) boxes.*box = text;
    return boxes;
  };
  const std::vector<Extreme> cases = {
      // 64 / (1 − 10⁻¹⁴) lies above 64, by less than binary arithmetic keeps.
      {"dropout", PowerDesign::TwoSample, two({{&B::dropout, "0.000000000001"}}), {64, 128, 130}},
      {"dropout in percent", PowerDesign::TwoSample, two({{&B::dropout, "10%"}}), {64, 128, 144}},
      // ⌈k·64⌉ for k 10⁻¹⁵ above 1 is 65.
      {"ratio", PowerDesign::TwoSample, two({{&B::ratio, "1.000000000000001"}}), {64, 129, 129}},
      // A power over 1 or with "%" is in percent: 0.9 gives 86 a group (power.t.test 85.03).
      {"power 90", PowerDesign::TwoSample, two({{&B::power, "90"}}), {86, 172, 172}},
      {"power 90%", PowerDesign::TwoSample, two({{&B::power, "90 %"}}), {86, 172, 172}},
      {"n2",
       PowerDesign::TwoSample,
       two({{&B::n, "2000000"}, {&B::ratio, "1000000"}}),
       {},
       "所需样本量超过10,000,000"},
      {"total", PowerDesign::TwoSample, two({{&B::n, "6000000"}}), {}, "所需样本量超过10,000,000"},
      {"enrolment",
       PowerDesign::Paired,
       Boxes({{&B::meanDiff, "1"}, {&B::sdDiff, "1"}, {&B::n, "9000000"}, {&B::dropout, "50"}}),
       {},
       "考虑脱落后需纳入的例数超过10,000,000"},
      // Five discordant pairs or fewer cannot reject at .05: 6 pairs, where Connor gives 5.
      {"McNemar", PowerDesign::McNemar, Boxes({{&B::p10, "0.99"}, {&B::p01, "0.01"}}), {6, 6, 6}},
      // The exact power first reaches .5 at 37 pairs but falls below it again up to 41.
      {"saw teeth",
       PowerDesign::McNemar,
       Boxes({{&B::p10, "0.664"}, {&B::p01, "0.336"}, {&B::power, "0.5"}}),
       {42, 42, 42}},
  };
  for (const Extreme& c : cases) {
    SCOPED_TRACE(c.what);
    const SolveFor solve = c.boxes.n.empty() ? SolveFor::SampleSize : SolveFor::Power;
    const SampleSizeResult r = ComputeSampleSize(c.design, c.boxes, solve);
    if (c.counts.empty()) {
      EXPECT_EQ(r.plan.n1.reason, c.reason);
      EXPECT_EQ(r.plan.enrolledTotal.reason, c.reason);
      continue;
    }
    ASSERT_TRUE(r.plan.n1) << r.plan.n1.reason;
    EXPECT_EQ(std::vector<double>({*r.plan.n1, *r.plan.total, *r.plan.enrolledTotal}), c.counts);
  }
  // The plan's n keeps the power from there on; the n before it does not.
  const double p10 = 0.664, p01 = 0.336;
  EXPECT_LT(ExactMcNemarPower(p10, p01, 41, 0.05), 0.5);
  for (std::int64_t n = 42; n < 400; ++n) EXPECT_GE(ExactMcNemarPower(p10, p01, n, 0.05), 0.5);
}

// The sentences write typed numbers the style's way, name the method that gave each figure and
// say which n the exact McNemar test's saw teeth leave.
TEST(SampleSize, SentencesInTheStyle) {
  struct Written {
    PowerDesign design;
    SolveFor solve;
    SampleSizeBoxes boxes;
    PStyle style;
    std::vector<std::string> parts;
  };
  const SampleSizeBoxes unequal = Boxes(
      {{&B::mean1, "0.5"}, {&B::mean2, "0"}, {&B::sd, "1"}, {&B::alpha, ".05"}, {&B::ratio, ".5"}});
  const SampleSizeBoxes mcnemar = Boxes({{&B::p10, "0.25"}, {&B::p01, "0.05"}, {&B::n, "57"}});
  const auto margined = [](Hypothesis h, const char* margin,
                           std::initializer_list<std::pair<std::string B::*, const char*>> texts) {
    SampleSizeBoxes boxes = Boxes(texts);
    boxes.hypothesis = h;
    boxes.margin = margin;
    return boxes;
  };
  const std::vector<Written> cases = {
      {PowerDesign::TwoSample,
       SolveFor::SampleSize,
       unequal,
       PStyle::ChineseMedical,
       {"按双侧α=0.05、", "两组例数比为2:1，", "第2组例数：48（⌈k×n1⌉，k=0.5）"}},
      {PowerDesign::TwoSample,
       SolveFor::SampleSize,
       unequal,
       PStyle::Nejm,
       {"α of 0.05 ", "with a 2:1 allocation"}},
      {PowerDesign::TwoSample, SolveFor::SampleSize, unequal, PStyle::Ama, {"α of .05 "}},
      // The exact test's 77.2 % at 57 pairs, Connor's 80.4 % beside it (Connor 1987, eq. 3).
      {PowerDesign::McNemar,
       SolveFor::Power,
       mcnemar,
       PStyle::ChineseMedical,
       {"57对时检验效能为77.2%（配对资料McNemar检验，确切概率法，Connor法近似为80.4%；",
        "Connor法近似的检验效能：0.8040"}},
      {PowerDesign::McNemar,
       SolveFor::Power,
       mcnemar,
       PStyle::Apa,
       {"give 77.2% power",
        "(exact McNemar test, power by binomial enumeration, Connor's "
        "approximation: 80.4%;"}},
      {PowerDesign::McNemar,
       SolveFor::SampleSize,
       Boxes({{&B::p10, "0.99"}, {&B::p01, "0.01"}}),
       PStyle::ChineseMedical,
       {"需6对（配对资料McNemar检验，确切概率法，取检验效能自此不再低于80%的最小对子数；Connor法"
        "近似为5对；",
        "Connor法近似：对子数5，"}},
      {PowerDesign::TwoProportions,
       SolveFor::SampleSize,
       Boxes({{&B::p1, "0.2"}, {&B::p2, "0.4"}}),
       PStyle::ChineseMedical,
       {"连续性校正的结果如下，仅供比较："}},
      // Against a margin: the design, the margin with its unit and direction, the one-sided α.
      {PowerDesign::TwoSample,
       SolveFor::SampleSize,
       margined(Hypothesis::NonInferiority, "5",
                {{&B::mean1, "120"},
                 {&B::mean2, "120"},
                 {&B::sd, "10"},
                 {&B::alpha, "0.025"},
                 {&B::outcome, "收缩压"},
                 {&B::unit, "mmHg"}}),
       PStyle::ChineseMedical,
       {"本研究为非劣效设计（高值为优），非劣效界值Δ=5 mmHg。", "预期差值为0 mmHg；按单侧α=0.025、",
        "每组需64例"}},
      {PowerDesign::TwoProportions,
       SolveFor::SampleSize,
       margined(Hypothesis::Equivalence, "0.1", {{&B::p1, "0.85"}, {&B::p2, "0.85"}}),
       PStyle::Apa,
       {"This is an equivalence design with a margin Δ of ±0.1. With an α of .05 for each of the "
        "two one-sided tests",
        "(two one-sided tests for the equivalence of two proportions, each the Farrington–Manning",
        "Blackwelder法的结果如下，仅供比较："}},
  };
  for (const Written& c : cases) {
    const SampleSizeResult r = ComputeSampleSize(c.design, c.boxes, c.solve, c.style);
    std::string shown = r.sentence;
    for (const std::string& line : r.lines) shown += "\n" + line;
    for (const std::string& part : c.parts) EXPECT_NE(shown.find(part), std::string::npos) << shown;
  }
}

// Plans against a margin: n from independent references, the mirror image of lower values
// better, and the reasons no n can be given.
TEST(SampleSize, AgainstAMargin) {
  struct Case {
    const char* source;
    PowerDesign design;
    SampleSizeBoxes boxes;
    int n1;              // 0: none, for the reason
    const char* reason;  // or the start of the method's name
  };
  const auto plan = [](Hypothesis h, const char* margin,
                       std::initializer_list<std::pair<std::string B::*, const char*>> texts,
                       Better better = Better::Higher) {
    SampleSizeBoxes boxes = Boxes(texts);
    boxes.hypothesis = h;
    boxes.better = better;
    boxes.margin = margin;
    return boxes;
  };
  using H = Hypothesis;
  const auto mean = [&](H h, const char* margin, const char* mean1, Better better) {
    return plan(h, margin, {{&B::mean1, mean1}, {&B::mean2, "0"}, {&B::sd, "10"}}, better);
  };
  const std::vector<Case> cases = {
      // Chow, Shao & Wang (2003), Example 3.2.2: Δ = 0.05, σ = 0.1, no difference, one-sided
      // α = .05, power .80: 50 a group by the normal approximation; the exact t first reaches
      // .80 at 51 (R: 1 − pt(qt(.95, ν), ν, λ) = 0.7989 at 50, 0.8059 at 51).
      {"CSW NI", PowerDesign::TwoSample,
       plan(H::NonInferiority, "0.05",
            {{&B::mean1, "0"}, {&B::mean2, "0"}, {&B::sd, "0.1"}, {&B::alpha, "0.05"}}),
       51, "两独立样本均数非劣效检验"},
      // Chow, Shao & Wang, Example 3.2.4: Δ = 0.05, ε = 0.01, σ = 0.1, α = .05, power .80: 107
      // by (z(α) + z(β/2)), which is conservative where ε ≠ 0; the exact TOST power (SciPy's χ
      // density integrated) is 0.7978 at 81 and 0.8029 at 82.
      {"CSW equivalence", PowerDesign::TwoSample,
       plan(H::Equivalence, "0.05", {{&B::mean1, "0.01"}, {&B::mean2, "0"}, {&B::sd, "0.1"}}), 82,
       "两独立样本均数等效检验"},
      // Diletti et al. (1991): 2×2 cross-over, limits 0.80–1.25, ratio 0.95, α = .05, power .80:
      // 20 subjects at CV 20 %, 40 at CV 30 %; as two groups of n/2 with SD σw/√2, σw² = ln(1+CV²).
      {"Diletti CV 20%", PowerDesign::TwoSample,
       plan(H::Equivalence, "0.2231435513",
            {{&B::mean1, "-0.0512932944"}, {&B::mean2, "0"}, {&B::sd, "0.1400365"}}),
       10, "两独立样本均数等效检验"},
      {"Diletti CV 30%", PowerDesign::TwoSample,
       plan(H::Equivalence, "0.2231435513",
            {{&B::mean1, "-0.0512932944"}, {&B::mean2, "0"}, {&B::sd, "0.2075816"}}),
       20, "两独立样本均数等效检验"},
      // Lower values better is the mirror image (R's pt: 32 pairs, power 0.9078).
      {"paired higher", PowerDesign::Paired,
       plan(H::NonInferiority, "5",
            {{&B::meanDiff, "1"}, {&B::sdDiff, "10"}, {&B::alpha, "0.025"}, {&B::power, "0.9"}}),
       32, "配对资料均数非劣效检验"},
      {"paired lower", PowerDesign::Paired,
       plan(H::NonInferiority, "5",
            {{&B::meanDiff, "-1"}, {&B::sdDiff, "10"}, {&B::alpha, "0.025"}, {&B::power, "0.9"}},
            Better::Lower),
       32, "配对资料均数非劣效检验"},
      {"margin", PowerDesign::TwoSample, mean(H::Equivalence, "0", "0", Better::Higher), 0,
       "界值Δ须大于0"},
      {"empty margin", PowerDesign::TwoSample, mean(H::Superiority, "", "6", Better::Higher), 0,
       "请输入界值Δ"},
      {"NI lost", PowerDesign::TwoSample, mean(H::NonInferiority, "5", "-5", Better::Higher), 0,
       "预期差值不大于−Δ，任何样本量都达不到所需检验效能"},
      {"NI lost, lower", PowerDesign::TwoSample, mean(H::NonInferiority, "5", "5", Better::Lower),
       0, "预期差值不小于Δ，任何样本量都达不到所需检验效能"},
      {"superiority lost", PowerDesign::TwoSample, mean(H::Superiority, "5", "5.0", Better::Higher),
       0, "预期差值不大于Δ，任何样本量都达不到所需检验效能"},
      {"equivalence lost", PowerDesign::TwoSample, mean(H::Equivalence, "5", "-5", Better::Higher),
       0, "预期差值的绝对值不小于界值Δ，任何样本量都达不到所需检验效能"},
      {"rate margin", PowerDesign::TwoProportions,
       plan(H::NonInferiority, "1", {{&B::p1, "0.5"}, {&B::p2, "0.5"}}), 0, "率差的界值Δ须小于1"},
      {"null rate", PowerDesign::TwoProportions,
       plan(H::NonInferiority, "0.1", {{&B::p1, "0.1"}, {&B::p2, "0.1"}}), 0,
       "零假设下第1组的率（p2−Δ）须在0与1之间"},
      {"correlation", PowerDesign::Correlation, plan(H::Equivalence, "0.1", {{&B::r, "0.3"}}), 0,
       "此设计只作差异性检验"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    const SampleSizeResult r = ComputeSampleSize(c.design, c.boxes, SolveFor::SampleSize);
    if (c.n1 == 0) {
      EXPECT_EQ(r.plan.n1.reason, c.reason);
      continue;
    }
    ASSERT_TRUE(r.plan.n1) << r.plan.n1.reason;
    EXPECT_EQ(*r.plan.n1, c.n1);
    EXPECT_TRUE(r.method.starts_with(c.reason)) << r.method;
    ASSERT_TRUE(r.curve.marked);
    EXPECT_EQ(r.curve.points[*r.curve.marked].n, c.n1);
  }
  // The wrong side still has a power when solving for it: below α.
  SampleSizeBoxes lost = mean(H::NonInferiority, "5", "-6", Better::Higher);
  lost.n = "100";
  const SampleSizeResult power = ComputeSampleSize(PowerDesign::TwoSample, lost, SolveFor::Power);
  ASSERT_TRUE(power.plan.power);
  EXPECT_LT(*power.plan.power, 0.025);
}

// Owen's Q at ν in the hundreds of thousands meets the normal approximation of the two one-sided
// tests.
TEST(SampleSize, MarginMethods) {
  // ν = 199,998, SE = √(2/100000): Φ((Δ − d)/SE − z) + Φ((Δ + d)/SE − z) − 1 with t → z.
  const double se = std::sqrt(2 / 1e5);
  const double z = NormalUpper(0.05);
  const double normal = std::erfc(-((0.012 - 0.002) / se - z) / std::sqrt(2)) / 2 +
                        std::erfc(-((0.012 + 0.002) / se - z) / std::sqrt(2)) / 2 - 1;
  EXPECT_NEAR(EquivalenceTPower(199998, 0.002, 0.012, se, 0.05), normal, 2e-5);
}

// The named sentence: the outcome and its unit, the estimates with the groups' names and their
// source, α, power, allocation and the counts; a name left empty is left out, and a plan naming
// nothing reads the short way.
TEST(SampleSize, NamedSentences) {
  struct Named {
    PowerDesign design;
    SolveFor solve;
    SampleSizeBoxes boxes;
    PStyle style;
    std::string sentence;
  };
  const auto with = [](SampleSizeBoxes boxes,
                       std::initializer_list<std::pair<std::string B::*, const char*>> texts) {
    for (const auto& [box, text] : texts) boxes.*box = text;
    return boxes;
  };
  const SampleSizeBoxes chinese = Boxes({{&B::outcome, "治疗12周后的收缩压"},
                                         {&B::unit, "mmHg"},
                                         {&B::group1, "试验组"},
                                         {&B::group2, "对照组"},
                                         {&B::source, "预试验"}});
  const SampleSizeBoxes english = Boxes({{&B::outcome, "systolic blood pressure at 12 weeks"},
                                         {&B::unit, "mmHg"},
                                         {&B::group1, "the treatment group"},
                                         {&B::group2, "the control group"},
                                         {&B::source, "the pilot study"}});
  const auto twoMeans = [&](const SampleSizeBoxes& names) {
    return with(names, {{&B::mean1, "120"},
                        {&B::mean2, "110"},
                        {&B::sd, "15"},
                        {&B::power, "0.90"},
                        {&B::dropout, "10"}});
  };
  const SampleSizeBoxes paired =
      Boxes({{&B::meanDiff, "5"}, {&B::sdDiff, "10"}, {&B::dropout, "10"}});
  const std::vector<Named> cases = {
      {PowerDesign::TwoSample, SolveFor::SampleSize, twoMeans(chinese), PStyle::ChineseMedical,
       "主要结局指标为治疗12周后的收缩压（mmHg）。根据预试验，试验组与对照组的预期均数分别为120和"
       "110 mmHg，标准差15 mmHg；按双侧α=0.05、检验效能90%、1:1分配，每组需49例，考虑10%的脱落，"
       "每组纳入55例，共110例（两独立样本t检验，非中心t分布法；Quillon 3.0）。"},
      {PowerDesign::TwoSample, SolveFor::SampleSize, twoMeans(english), PStyle::Nejm,
       "The primary outcome is systolic blood pressure at 12 weeks (mmHg). Based on the pilot "
       "study, the expected means were 120 mmHg in the treatment group and 110 mmHg in the control "
       "group (SD 15 mmHg); with a two-sided α of 0.05, 90% power and 1:1 allocation, 49 "
       "participants per group are required, and allowing for 10% dropout, 55 participants per "
       "group (110 in total) will be enrolled (two-sample t test, noncentral t distribution; "
       "Quillon 3.0)."},
      // The power at a typed n, the groups by name in the counts.
      {PowerDesign::TwoSample, SolveFor::Power,
       with(twoMeans(english), {{&B::ratio, "2"}, {&B::n, "40"}, {&B::outcome, ""}}), PStyle::Apa,
       "Based on the pilot study, the expected means were 120 mmHg in the treatment group and 110 "
       "mmHg in the control group (SD 15 mmHg); with a two-sided α of .05 and 1:2 allocation, 40 "
       "participants in the treatment group and 80 in the control group give 92.7% power "
       "(two-sample t test, noncentral t distribution; Quillon 3.0)."},
      // One group named, the other by its number; a unit in Chinese right after the number.
      {PowerDesign::TwoSample, SolveFor::SampleSize,
       Boxes({{&B::mean1, "120"},
              {&B::mean2, "110"},
              {&B::sd, "15"},
              {&B::unit, "岁"},
              {&B::group1, " 试验组\u3000"}}),
       PStyle::ChineseMedical,
       "试验组与第2组的预期均数分别为120和110岁，标准差15岁；按双侧α=0.05、检验效能80%、1:1分配，"
       "每组需37例，共74例（两独立样本t检验，非中心t分布法；Quillon 3.0）。"},
      {PowerDesign::Paired, SolveFor::SampleSize, with(paired, {{&B::unit, "mmHg"}}),
       PStyle::ChineseMedical,
       "差值的预期均数为5 mmHg（标准差10 mmHg）；按双侧α=0.05、检验效能80%，需34对，考虑10%的脱落，"
       "纳入38对（配对t检验，非中心t分布法；Quillon 3.0）。"},
      // No unit after r or a rate; the groups' names only where there are two groups.
      {PowerDesign::Correlation, SolveFor::SampleSize, with(english, {{&B::r, "0.3"}}), PStyle::Ama,
       "The primary outcome is systolic blood pressure at 12 weeks (mmHg). Based on the pilot "
       "study, the expected correlation was 0.3; with a two-sided α of .05 and 80% power, 85 "
       "participants are required (test of a correlation coefficient, Fisher z transformation; "
       "Quillon 3.0)."},
      {PowerDesign::TwoProportions, SolveFor::SampleSize,
       with(chinese, {{&B::p1, "0.6"},
                      {&B::p2, "0.4"},
                      {&B::ratio, "1.5"},
                      {&B::dropout, "20"},
                      {&B::outcome, "收缩压达标率"},
                      {&B::source, "文献[12]"}}),
       PStyle::ChineseMedical,
       "主要结局指标为收缩压达标率（mmHg）。根据文献[12]，试验组与对照组的预期率分别为0.6和0."
       "4；按双侧"
       "α=0.05、检验效能80%、2:3分配，试验组需81例、对照组需122例，考虑20%的脱落，试验组纳入102"
       "例、对照组纳入153例，共255例（两样本率比较，Fleiss合并方差正态近似法；Quillon 3.0）。"},
      {PowerDesign::McNemar, SolveFor::Power,
       Boxes({{&B::p10, "0.25"}, {&B::p01, "0.05"}, {&B::n, "57"}, {&B::outcome, "阳性检出"}}),
       PStyle::ChineseMedical,
       "主要结局指标为阳性检出。两种不一致结果的预期比例分别为0.25和0.05；按双侧α=0.05，57对时检验"
       "效能为77.2%（配对资料McNemar检验，确切概率法，Connor法近似为80.4%；Quillon 3.0）。"},
      // Nothing named (blanks, or groups in a design of one group): the short form as it was.
      {PowerDesign::Paired, SolveFor::SampleSize,
       with(paired, {{&B::outcome, " "}, {&B::group1, "试验组"}}), PStyle::ChineseMedical,
       "按双侧α=0.05、检验效能80%，预期差值的均数为5（标准差10），需34对；考虑10%的脱落，纳入38对"
       "（配对t检验，非中心t分布法；Quillon 3.0）。"},
  };
  for (const Named& c : cases) {
    const SampleSizeResult r = ComputeSampleSize(c.design, c.boxes, c.solve, c.style);
    EXPECT_EQ(r.sentence, c.sentence);
  }
}

}  // namespace
}  // namespace quillon
