#include "power/sample_size.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>

#include "counts/chi_square.h"
#include "power/power_methods.h"
#include "power/protocol_sentence.h"
#include "power/sample_size_inputs.h"
#include "stats/fixed4.h"

namespace quillon {

namespace {

constexpr const char* kTooLarge = "所需样本量超过10,000,000";
constexpr const char* kOneGroup = "本设计只有一组";
constexpr const char* kNoPower = "检验效能无法计算";
// Points of the power curve besides the plan's own.
constexpr int kCurvePoints = 20;

using PowerAt = std::function<double(std::int64_t)>;

// One way of planning a design: the power at group 1's n (or the pairs) that the n is solved by
// and the curve drawn with, the power shown at the n, and the closed-form n where there is one.
struct Method {
  std::string name;
  std::string englishName;
  PowerAt power;
  PowerAt shownPower;
  std::optional<double> formula;  // unrounded; the t tests search instead
  double guess = 0;
};

// ⌈x⌉ of a quotient or product that should be whole, without the binary rounding error of 72.0
// computed as 72.00000000000001 pushing it to 73.
std::int64_t CeilWhole(double x) { return static_cast<std::int64_t>(std::ceil(x * (1 - 1e-12))); }

// Group 2's n, ⌈k·n1⌉, for a design of two groups.
std::int64_t SecondGroup(const SampleSizeInputs& in, std::int64_t n1) {
  return std::max<std::int64_t>(1, CeilWhole(in.ratio.value * static_cast<double>(n1)));
}

// ⌈n / (1 − dropout)⌉ with the dropout typed in percent.
std::int64_t Enrolled(const SampleSizeInputs& in, std::int64_t n) {
  return CeilWhole(static_cast<double>(n) * 100 / (100 - in.dropout.value));
}

bool TwoGroups(PowerDesign design) {
  return design == PowerDesign::TwoSample || design == PowerDesign::TwoProportions;
}

std::optional<std::int64_t> SolveN(const Method& method, double target, std::int64_t least) {
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

SamplePlan PlanAt(PowerDesign design, const SampleSizeInputs& in, const Method& method,
                  std::int64_t n1) {
  SamplePlan plan = MissingPlan(kOneGroup);
  plan.n1 = Count(n1);
  plan.enrolled1 = Count(Enrolled(in, n1));
  if (TwoGroups(design)) {
    const std::int64_t n2 = SecondGroup(in, n1);
    plan.n2 = Count(n2);
    plan.total = Count(n1 + n2);
    plan.enrolled2 = Count(Enrolled(in, n2));
    plan.enrolledTotal = Count(Enrolled(in, n1) + Enrolled(in, n2));
  } else {
    plan.total = plan.n1;
    plan.enrolledTotal = plan.enrolled1;
  }
  const double power = method.shownPower(n1);
  plan.power = std::isnan(power) ? Figure::Missing(kNoPower) : Figure::Of(power);
  return plan;
}

SamplePlan Plan(PowerDesign design, SolveFor solve, const SampleSizeInputs& in,
                const Method& method) {
  if (solve == SolveFor::Power) return PlanAt(design, in, method, in.n);
  const std::int64_t least = LeastSampleSize(design);
  const std::optional<std::int64_t> n = SolveN(method, in.power.value, least);
  if (n) return PlanAt(design, in, method, *n);
  // Not reached by 10,000,000, unless the power could not be computed at all.
  const bool computable =
      !std::isnan(method.power(least)) && !std::isnan(method.power(kLargestSampleSize));
  return MissingPlan(computable ? kTooLarge : kNoPower);
}

// ---- The designs' methods ----

Method TTestMethod(PowerDesign design, const SampleSizeInputs& in) {
  const double delta = in.effect.value;
  const double sd = in.spread.value;
  const double alpha = in.alpha.value;
  Method method;
  if (design == PowerDesign::TwoSample) {
    method.name = "两独立样本t检验，非中心t分布法";
    method.englishName = "two-sample t test, noncentral t distribution";
    method.power = [=](std::int64_t n1) {
      return TwoSampleTPower(delta, sd, static_cast<double>(n1),
                             static_cast<double>(SecondGroup(in, n1)), alpha);
    };
  } else {
    method.name = "配对t检验，非中心t分布法";
    method.englishName = "paired t test, noncentral t distribution";
    method.power = [=](std::int64_t n) {
      return PairedTPower(delta, sd, static_cast<double>(n), alpha);
    };
  }
  method.shownPower = method.power;
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
                {}};
  method.shownPower = method.power;
  if (in.power.value > 0) method.formula = FisherZSampleSize(rho, alpha, in.power.value);
  return method;
}

Method ProportionMethod(const SampleSizeInputs& in, bool corrected) {
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
  method.power = [=](std::int64_t n1) {
    return TwoProportionPower(p1, p2, static_cast<double>(n1),
                              static_cast<double>(SecondGroup(in, n1)), alpha, corrected);
  };
  method.shownPower = method.power;
  if (in.power.value > 0) {
    const double plain = TwoProportionSampleSize(p1, p2, in.ratio.value, alpha, in.power.value);
    method.formula =
        corrected ? ContinuityCorrectedSampleSize(plain, p1, p2, in.ratio.value) : plain;
  }
  return method;
}

Method McNemarMethod(const SampleSizeInputs& in) {
  const double p10 = in.first.value;
  const double p01 = in.second.value;
  const double alpha = in.alpha.value;
  Method method{
      "配对资料McNemar检验，Connor法",
      "McNemar test, Connor's method",
      [=](std::int64_t n) { return ConnorPower(p10, p01, static_cast<double>(n), alpha); },
      [=](std::int64_t n) { return ExactMcNemarPower(p10, p01, n, alpha); },
      {},
      {}};
  if (in.power.value > 0) method.formula = ConnorSampleSize(p10, p01, alpha, in.power.value);
  return method;
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
  } else if (in.ratio.value == 1) {
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
  const std::string power = design == PowerDesign::McNemar  ? "精确McNemar检验的检验效能"
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
    result.lines = {"—（" + *reason + "）"};
    result.sentence = result.lines.front();
    return result;
  }
  const SampleSizeInputs& in = std::get<SampleSizeInputs>(read);
  Method method;
  switch (design) {
    case PowerDesign::TwoSample:
    case PowerDesign::Paired:
      method = TTestMethod(design, in);
      break;
    case PowerDesign::Correlation:
      method = CorrelationMethod(in);
      break;
    case PowerDesign::TwoProportions: {
      // Both, the one the four-fold rule calls for first.
      Method plain = ProportionMethod(in, false);
      Method corrected = ProportionMethod(in, true);
      SamplePlan plainPlan = Plan(design, solve, in, plain);
      SamplePlan correctedPlan = Plan(design, solve, in, corrected);
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
  result.method = method.name;
  if (design != PowerDesign::TwoProportions) result.plan = Plan(design, solve, in, method);
  result.approximatePower = Figure::Missing("仅用于配对资料McNemar检验");
  if (design == PowerDesign::McNemar) {
    result.approximatePower =
        result.plan.n1 ? Figure::Of(method.power(static_cast<std::int64_t>(*result.plan.n1)))
                       : result.plan.n1;
  }

  std::vector<std::string>& lines = result.lines;
  lines.push_back("方法：" + method.name);
  AddPlanLines(lines, design, solve, in, result.plan);
  if (design == PowerDesign::McNemar) {
    lines.push_back("Connor近似的检验效能：" + FigureText(result.approximatePower, 4));
  }
  if (result.other) {
    lines.push_back(
        result.continuityCorrected
            ? "按主窗口的四格表规则，此表可能用校正χ²或确切概率法：用以上校正的样本量。对照："
            : "按主窗口的四格表规则，此表用未校正的χ²检验：用以上样本量。对照：");
    lines.push_back("方法：" + result.otherMethod);
    AddPlanLines(lines, design, solve, in, *result.other);
  }
  if (result.plan.n1 && result.plan.power) {
    result.sentence =
        ProtocolSentence({design, solve, &in, &result.plan, method.name, method.englishName,
                          design == PowerDesign::McNemar && solve == SolveFor::SampleSize
                              ? std::optional(*result.plan.power)
                              : std::nullopt},
                         style);
  } else {
    result.sentence = "—（" + (result.plan.n1 ? result.plan.power : result.plan.n1).reason + "）";
  }
  result.curve = Curve(method, result.plan, LeastSampleSize(design));
  return result;
}

}  // namespace quillon
