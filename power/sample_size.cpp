#include "power/sample_size.h"

#include <algorithm>
#include <boost/multiprecision/cpp_int.hpp>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>

#include "counts/chi_square.h"
#include "power/margin_plans.h"
#include "power/plan_method.h"
#include "power/power_methods.h"
#include "power/protocol_sentence.h"
#include "power/sample_size_inputs.h"
#include "stats/fixed4.h"

namespace quillon {

namespace {

constexpr const char* kTooLarge = "所需样本量超过10,000,000";
constexpr const char* kTooManyEnrolled = "考虑脱落后需纳入的例数超过10,000,000";
constexpr const char* kMcNemarMethod = "配对资料McNemar检验，确切概率法";
constexpr const char* kOneGroup = "本设计只有一组";
constexpr const char* kNoPower = "检验效能无法计算";
// Points of the power curve besides the plan's own.
constexpr int kCurvePoints = 20;

using PowerAt = std::function<double(std::int64_t)>;
using boost::multiprecision::cpp_int;

using Method = PlanMethod;

// ⌈a / b⌉ of two positive integers, or kLargestSampleSize + 1 for anything larger.
std::int64_t CeilQuotient(const cpp_int& a, const cpp_int& b) {
  const cpp_int quotient = (a + b - 1) / b;
  return quotient > kLargestSampleSize ? kLargestSampleSize + 1
                                       : static_cast<std::int64_t>(quotient);
}

// The exact arithmetic of the counts: group 2's ⌈k·n1⌉ and ⌈n / (1 − dropout)⌉ with the dropout
// typed in percent, from the typed decimals.
struct Counts {
  ExactDecimal ratio;
  cpp_int kept;     // 100 − dropout, times the dropout's denominator
  cpp_int hundred;  // 100, times the same scale

  explicit Counts(const SampleSizeInputs& in) : ratio(ExactValue(in.ratio)) {
    const ExactDecimal dropout = ExactValue(in.dropout);
    hundred = 100 * dropout.denominator;
    kept = hundred - dropout.numerator;
  }
  std::int64_t SecondGroup(std::int64_t n1) const {
    return std::max<std::int64_t>(1, CeilQuotient(ratio.numerator * n1, ratio.denominator));
  }
  std::int64_t Enrolled(std::int64_t n) const { return CeilQuotient(hundred * n, kept); }
};

bool TwoGroups(PowerDesign design) {
  return design == PowerDesign::TwoSample || design == PowerDesign::TwoProportions;
}

std::optional<std::int64_t> SolveN(const Method& method, double target, std::int64_t least) {
  if (method.sawtooth) {
    return LeastLastingSampleSize(method.power, target, method.guess, least, method.sawtooth);
  }
  if (!method.formula) return SmallestSampleSize(method.power, target, method.guess, least);
  const double formula = *method.formula;
  if (!(formula <= static_cast<double>(kLargestSampleSize))) return std::nullopt;
  const std::int64_t n = std::max(least, static_cast<std::int64_t>(std::ceil(formula)));
  // The rounding of group 2 may leave the formula's n a hair short; then the next that reaches.
  if (method.power(n) >= target) return n;
  return SmallestSampleSize(method.power, target, static_cast<double>(n), n);
}

SamplePlan MissingPlan(const std::string& reason) {
  const Figure missing = Figure::Missing(reason);
  return {missing, missing, missing, missing, missing, missing, missing};
}

Figure Count(std::int64_t n) { return Figure::Of(static_cast<double>(n)); }

SamplePlan PlanAt(PowerDesign design, const Counts& counts, const Method& method, std::int64_t n1) {
  SamplePlan plan = MissingPlan(kOneGroup);
  const std::int64_t n2 = TwoGroups(design) ? counts.SecondGroup(n1) : 0;
  const std::int64_t enrolled1 = counts.Enrolled(n1);
  const std::int64_t enrolled2 = TwoGroups(design) ? counts.Enrolled(n2) : 0;
  if (n1 + n2 > kLargestSampleSize) return MissingPlan(kTooLarge);
  if (enrolled1 + enrolled2 > kLargestSampleSize) return MissingPlan(kTooManyEnrolled);
  plan.n1 = Count(n1);
  plan.enrolled1 = Count(enrolled1);
  plan.total = Count(n1 + n2);
  plan.enrolledTotal = Count(enrolled1 + enrolled2);
  if (TwoGroups(design)) {
    plan.n2 = Count(n2);
    plan.enrolled2 = Count(enrolled2);
  }
  const double power = method.power(n1);
  plan.power = std::isnan(power) ? Figure::Missing(kNoPower) : Figure::Of(power);
  return plan;
}

SamplePlan Plan(PowerDesign design, SolveFor solve, const SampleSizeInputs& in,
                const Counts& counts, const Method& method) {
  if (solve == SolveFor::Power) return PlanAt(design, counts, method, in.n);
  const std::int64_t least = LeastSampleSize(design);
  const std::optional<std::int64_t> n = SolveN(method, in.power.value, least);
  if (n) return PlanAt(design, counts, method, *n);
  // Not reached by 10,000,000, unless the power could not be computed at all.
  const bool computable =
      !std::isnan(method.power(least)) && !std::isnan(method.power(kLargestSampleSize));
  return MissingPlan(computable ? kTooLarge : kNoPower);
}

// ---- The designs' methods ----

Method TTestMethod(PowerDesign design, const SampleSizeInputs& in, const Counts& counts) {
  const double delta = in.effect.value;
  const double sd = in.spread.value;
  const double alpha = in.alpha.value;
  Method method;
  if (design == PowerDesign::TwoSample) {
    method.name = "两独立样本t检验，非中心t分布法";
    method.englishName = "two-sample t test, noncentral t distribution";
    method.power = [=, &counts](std::int64_t n1) {
      return TwoSampleTPower(delta, sd, static_cast<double>(n1),
                             static_cast<double>(counts.SecondGroup(n1)), alpha);
    };
  } else {
    method.name = "配对t检验，非中心t分布法";
    method.englishName = "paired t test, noncentral t distribution";
    method.power = [=](std::int64_t n) {
      return PairedTPower(delta, sd, static_cast<double>(n), alpha);
    };
  }
  if (in.power.value > 0) {
    const double factor = design == PowerDesign::TwoSample ? 1 + 1 / in.ratio.value : 1.0;
    method.guess = NormalApproximateN(delta / sd, factor, alpha, in.power.value);
  }
  return method;
}

Method CorrelationMethod(const SampleSizeInputs& in) {
  const double rho = in.r.value;
  const double alpha = in.alpha.value;
  Method method{"直线相关系数检验，Fisher z变换法",
                "test of a correlation coefficient, Fisher z transformation",
                [=](std::int64_t n) { return FisherZPower(rho, static_cast<double>(n), alpha); },
                {},
                {},
                {}};
  if (in.power.value > 0) method.formula = FisherZSampleSize(rho, alpha, in.power.value);
  return method;
}

Method ProportionMethod(const SampleSizeInputs& in, const Counts& counts, bool corrected) {
  const double p1 = in.first.value;
  const double p2 = in.second.value;
  const double alpha = in.alpha.value;
  Method method;
  method.name = corrected ? "两样本率比较，Fleiss-Tytun-Ury连续性校正法"
                          : "两样本率比较，Fleiss合并方差正态近似法";
  method.englishName = corrected ? "comparison of two proportions with the continuity "
                                   "correction of Fleiss, Tytun and Ury"
                                 : "comparison of two proportions, normal approximation with "
                                   "pooled variance (Fleiss)";
  method.power = [=, &counts](std::int64_t n1) {
    return TwoProportionPower(p1, p2, static_cast<double>(n1),
                              static_cast<double>(counts.SecondGroup(n1)), alpha, corrected);
  };
  if (in.power.value > 0) {
    const double plain = TwoProportionSampleSize(p1, p2, in.ratio.value, alpha, in.power.value);
    method.formula =
        corrected ? ContinuityCorrectedSampleSize(plain, p1, p2, in.ratio.value) : plain;
  }
  return method;
}

// Where the exact McNemar search starts: Connor's n for a target raised by what the exact test's
// power falls short of Connor's there. The shortfall changes slowly with n, so that the search
// starts within a few pairs of its end even at millions of pairs.
double McNemarGuess(double p10, double p01, double alpha, double target) {
  const double connor = ConnorSampleSize(p10, p01, alpha, target);
  if (!(connor <= static_cast<double>(kLargestSampleSize))) return connor;
  const auto n = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(connor)));
  const double shortfall =
      ConnorPower(p10, p01, static_cast<double>(n), alpha) - ExactMcNemarPower(p10, p01, n, alpha);
  const double raised = target + shortfall;
  return raised > 0 && raised < 1 ? ConnorSampleSize(p10, p01, alpha, raised) : connor;
}

Method McNemarMethod(const SampleSizeInputs& in) {
  const double p10 = in.first.value;
  const double p01 = in.second.value;
  const double alpha = in.alpha.value;
  // The exact test's power, searched from Connor's n; its saw teeth are checked over the window.
  Method method{kMcNemarMethod,
                "exact McNemar test, power by binomial enumeration",
                [=](std::int64_t n) { return ExactMcNemarPower(p10, p01, n, alpha); },
                {},
                {},
                [=](std::int64_t n) { return McNemarSawtoothWindow(p10, p01, n); }};
  if (in.power.value > 0) method.guess = McNemarGuess(p10, p01, alpha, in.power.value);
  return method;
}

// Connor's normal approximation beside the exact McNemar plan: its power at the plan's n and,
// solving for n, its own n.
void AddConnor(SampleSizeResult& result, SolveFor solve, const SampleSizeInputs& in) {
  const double p10 = in.first.value;
  const double p01 = in.second.value;
  const double alpha = in.alpha.value;
  result.approximatePower =
      result.plan.n1 ? Figure::Of(ConnorPower(p10, p01, *result.plan.n1, alpha)) : result.plan.n1;
  result.approximateN = Figure::Missing("仅在求样本量时给出");
  if (solve == SolveFor::SampleSize) {
    const double n = ConnorSampleSize(p10, p01, alpha, in.power.value);
    result.approximateN =
        n <= static_cast<double>(kLargestSampleSize)
            ? Count(std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(n))))
            : Figure::Missing(kTooLarge);
  }
}

// Whether the main window's four-fold rule would take the continuity-corrected or the exact test
// for the table expected from the plan: n below 40 or an expected count below 5.
bool FourfoldRuleMayCorrect(const SampleSizeInputs& in, const SamplePlan& plan) {
  if (!plan.n1 || !plan.n2) return true;
  const double n1 = *plan.n1;
  const double n2 = *plan.n2;
  const double p1 = in.first.value;
  const double p2 = in.second.value;
  FourfoldCells cells;
  const std::array<double, 4> expected = {n1 * p1, n1 * (1 - p1), n2 * p2, n2 * (1 - p2)};
  for (std::size_t k = 0; k < cells.size(); ++k) cells[k] = Fixed4::FromDouble(expected[k]);
  const FourfoldChiSquareResult rule = FourfoldChiSquare(cells);
  return rule.wholeN < 40 || !rule.allExpectedAtLeast5;
}

// ---- The texts ----

std::string FigureText(const Figure& figure, int decimals) {
  if (!figure) return "—（" + figure.reason + "）";
  return decimals == 0 ? std::to_string(static_cast<std::int64_t>(*figure))
                       : FixedText(*figure, decimals);
}

void AddPlanLines(std::vector<std::string>& lines, PowerDesign design, SolveFor solve,
                  const SampleSizeInputs& in, const SamplePlan& plan) {
  const bool pairs = design == PowerDesign::Paired || design == PowerDesign::McNemar;
  const std::string unit = pairs ? "对子数" : "例数";
  const bool dropout = in.dropout.value > 0;
  const std::string lost = "考虑" + in.dropout.text + "%脱落后";
  if (!TwoGroups(design)) {
    lines.push_back(unit + "：" + FigureText(plan.n1, 0));
    if (dropout) lines.push_back(lost + "纳入" + unit + "：" + FigureText(plan.enrolled1, 0));
  } else if (EqualGroups(in.ratio)) {
    lines.push_back("每组例数：" + FigureText(plan.n1, 0));
    lines.push_back("合计：" + FigureText(plan.total, 0));
    if (dropout) {
      lines.push_back(lost + "每组纳入：" + FigureText(plan.enrolled1, 0) + "，合计" +
                      FigureText(plan.enrolledTotal, 0));
    }
  } else {
    lines.push_back("第1组例数：" + FigureText(plan.n1, 0));
    lines.push_back("第2组例数：" + FigureText(plan.n2, 0) + "（⌈k×n1⌉，k=" + in.ratio.text + "）");
    lines.push_back("合计：" + FigureText(plan.total, 0));
    if (dropout) {
      lines.push_back(lost + "第1组纳入：" + FigureText(plan.enrolled1, 0) + "，第2组纳入：" +
                      FigureText(plan.enrolled2, 0) + "，合计" + FigureText(plan.enrolledTotal, 0));
    }
  }
  const std::string power = design == PowerDesign::McNemar  ? "确切概率法的检验效能"
                            : solve == SolveFor::SampleSize ? "实际检验效能"
                                                            : "检验效能";
  lines.push_back(power + "：" + FigureText(plan.power, 4));
}

PowerCurve Curve(const Method& method, const SamplePlan& plan, std::int64_t least) {
  PowerCurve curve;
  if (!plan.n1) return curve;
  const auto n = static_cast<std::int64_t>(*plan.n1);
  const std::int64_t last = std::max(least + kCurvePoints, std::min(2 * n, kLargestSampleSize));
  std::vector<std::int64_t> sizes = {n};
  for (int k = 0; k <= kCurvePoints; ++k) {
    sizes.push_back(least + (last - least) * k / kCurvePoints);
  }
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  for (const std::int64_t size : sizes) {
    const double power = method.power(size);
    if (std::isnan(power)) continue;
    if (size == n) curve.marked = curve.points.size();
    curve.points.push_back({size, power});
  }
  return curve;
}

}  // namespace

std::string PowerDesignName(PowerDesign design) {
  switch (design) {
    case PowerDesign::TwoSample:
      return "两样本均数t检验";
    case PowerDesign::Paired:
      return "配对资料t检验";
    case PowerDesign::Correlation:
      return "直线相关";
    case PowerDesign::TwoProportions:
      return "四格表资料χ²检验";
    case PowerDesign::McNemar:
      return "配对资料χ²检验（McNemar检验）";
  }
  return {};
}

std::string SolveForName(SolveFor solve) {
  return solve == SolveFor::SampleSize ? "求样本量" : "求检验效能";
}

SampleSizeResult ComputeSampleSize(PowerDesign design, const SampleSizeBoxes& boxes, SolveFor solve,
                                   PStyle style) {
  SampleSizeResult result;
  const std::variant<SampleSizeInputs, std::string> read =
      ReadSampleSizeInputs(design, boxes, solve);
  if (const auto* reason = std::get_if<std::string>(&read)) {
    result.plan = MissingPlan(*reason);
    result.approximatePower = Figure::Missing(*reason);
    result.approximateN = result.approximatePower;
    result.lines = {"—（" + *reason + "）"};
    result.sentence = result.lines.front();
    return result;
  }
  const SampleSizeInputs& in = std::get<SampleSizeInputs>(read);
  const Counts counts(in);
  Method method;
  const bool margin = HasMargin(in.hypothesis);
  if (margin) {
    MarginPlanning planning =
        MarginMethods(design, in, [&counts](std::int64_t n1) { return counts.SecondGroup(n1); });
    method = std::move(planning.method);
    if (planning.other) {
      result.plan = Plan(design, solve, in, counts, method);
      result.other = Plan(design, solve, in, counts, *planning.other);
      result.otherMethod = planning.other->name;
    }
  } else {
    switch (design) {
      case PowerDesign::TwoSample:
      case PowerDesign::Paired:
        method = TTestMethod(design, in, counts);
        break;
      case PowerDesign::Correlation:
        method = CorrelationMethod(in);
        break;
      case PowerDesign::TwoProportions: {
        // Both, the one the four-fold rule calls for first.
        Method plain = ProportionMethod(in, counts, false);
        Method corrected = ProportionMethod(in, counts, true);
        SamplePlan plainPlan = Plan(design, solve, in, counts, plain);
        SamplePlan correctedPlan = Plan(design, solve, in, counts, corrected);
        result.continuityCorrected = FourfoldRuleMayCorrect(in, plainPlan);
        if (result.continuityCorrected) {
          std::swap(plain, corrected);
          std::swap(plainPlan, correctedPlan);
        }
        method = std::move(plain);
        result.plan = std::move(plainPlan);
        result.otherMethod = corrected.name;
        result.other = std::move(correctedPlan);
        break;
      }
      case PowerDesign::McNemar:
        method = McNemarMethod(in);
        break;
    }
  }
  result.method = method.name;
  if (design != PowerDesign::TwoProportions) result.plan = Plan(design, solve, in, counts, method);
  result.approximatePower = Figure::Missing("仅用于配对资料McNemar检验");
  result.approximateN = result.approximatePower;
  if (design == PowerDesign::McNemar) AddConnor(result, solve, in);

  std::vector<std::string>& lines = result.lines;
  lines.push_back("方法：" + method.name);
  AddPlanLines(lines, design, solve, in, result.plan);
  ProtocolFacts facts{design, solve, &in, &result.plan, method.name, method.englishName, {}, {}};
  if (design == PowerDesign::McNemar) {
    if (solve == SolveFor::SampleSize) {
      const std::string target = PercentText(in.power);
      if (result.plan.n1) {
        lines.insert(lines.begin() + 2,
                     "确切概率法的检验效能随对子数呈锯齿状起伏：取检验效能自此"
                     "不再低于" +
                         target + "%的最小对子数");
      }
      lines.push_back("Connor法近似：对子数" + FigureText(result.approximateN, 0) + "，检验效能" +
                      FigureText(result.approximatePower, 4));
      facts.note = "取检验效能自此不再低于" + target + "%的最小对子数；Connor法近似为" +
                   FigureText(result.approximateN, 0) + "对";
      facts.noteEnglish =
          "the least number of pairs from which the power stays at or above " + target +
          "%; Connor's approximation: " + FigureText(result.approximateN, 0) + " pairs";
    } else {
      lines.push_back("Connor法近似的检验效能：" + FigureText(result.approximatePower, 4));
      if (result.approximatePower) {
        const std::string connor = FixedText(*result.approximatePower * 100, 1) + "%";
        facts.note = "Connor法近似为" + connor;
        facts.noteEnglish = "Connor's approximation: " + connor;
      }
    }
  }
  if (result.other && margin) {
    lines.push_back("样本量按Farrington-Manning法；Blackwelder法的结果如下，仅供比较：");
    lines.push_back("方法：" + result.otherMethod);
    AddPlanLines(lines, design, solve, in, *result.other);
  } else if (result.other) {
    lines.push_back(result.continuityCorrected
                        ? "按主窗口的四格表规则，此表可能用校正χ²检验或确切概率法，故用以上校正"
                          "的样本量。不校正的结果如下，仅供比较："
                        : "按主窗口的四格表规则，此表用未校正的χ²检验，故用以上样本量。连续性校"
                          "正的结果如下，仅供比较：");
    lines.push_back("方法：" + result.otherMethod);
    AddPlanLines(lines, design, solve, in, *result.other);
  }
  if (result.plan.n1 && result.plan.power) {
    result.sentence = ProtocolSentence(facts, style);
  } else {
    result.sentence = "—（" + (result.plan.n1 ? result.plan.power : result.plan.n1).reason + "）";
  }
  result.curve = Curve(method, result.plan, LeastSampleSize(design));
  return result;
}

}  // namespace quillon
