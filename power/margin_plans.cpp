#include "power/margin_plans.h"

#include <cmath>
#include <string>

#include "power/margin_methods.h"
#include "power/power_methods.h"

namespace quillon {

namespace {

// What the hypothesis is called in the methods' names.
std::string ChineseAim(Hypothesis hypothesis) { return HypothesisName(hypothesis) + "检验"; }

// −Δ for non-inferiority, +Δ for superiority, on the scale where higher is better.
double NullShift(const SampleSizeInputs& in) {
  return in.hypothesis == Hypothesis::NonInferiority ? -in.margin.value : in.margin.value;
}

double Sign(const SampleSizeInputs& in) { return in.better == Better::Higher ? 1.0 : -1.0; }

// The normal approximation where the search for n starts: ((z(1−α) + z(1−β))·σ / distance)² times
// the design's factor, with z(1 − β/2) for equivalence at no difference.
double Guess(const SampleSizeInputs& in, double factor) {
  if (!(in.power.value > 0)) return 0;
  const double d = in.difference.value;
  double distance = Sign(in) * d - NullShift(in);
  double beta = 1 - in.power.value;
  if (in.hypothesis == Hypothesis::Equivalence) {
    distance = in.margin.value - std::abs(d);
    if (d == 0) beta /= 2;
  }
  const double z = NormalUpper(in.alpha.value) + NormalUpper(beta);
  const double standardized = distance / in.spread.value;
  return z * z * factor / (standardized * standardized);
}

PlanMethod MeansMethod(PowerDesign design, const SampleSizeInputs& in,
                       const std::function<std::int64_t(std::int64_t)>& secondGroup) {
  const bool two = design == PowerDesign::TwoSample;
  const double sd = in.spread.value;
  const double alpha = in.alpha.value;
  const double d = in.difference.value;
  const double margin = in.margin.value;
  // ν and the standard error of the difference at group 1's n (or the pairs).
  const auto frame = [=](std::int64_t n) {
    const auto n1 = static_cast<double>(n);
    if (!two) return std::pair{n1 - 1, sd / std::sqrt(n1)};
    const auto n2 = static_cast<double>(secondGroup(n));
    return std::pair{n1 + n2 - 2, sd * std::sqrt(1 / n1 + 1 / n2)};
  };
  PlanMethod method;
  const std::string what = two ? "两独立样本均数" : "配对资料均数";
  const std::string english = two ? "two independent means" : "paired means";
  if (in.hypothesis == Hypothesis::Equivalence) {
    method.name =
        what + "等效检验，双单侧t检验（TOST）的确切检验效能，Owen Q函数法（Phillips 1990）";
    method.englishName = "two one-sided t tests (TOST) for the equivalence of " + english +
                         ", exact power by Owen's Q function (Phillips 1990)";
    method.power = [=](std::int64_t n) {
      const auto [df, se] = frame(n);
      return df < 1 ? std::nan("") : EquivalenceTPower(df, d, margin, se, alpha);
    };
  } else {
    const double shift = Sign(in) * d - NullShift(in);
    method.name = what + ChineseAim(in.hypothesis) + "，平移零假设的单侧t检验，非中心t分布法";
    method.englishName = "one-sided t test of " + english + " against the null shifted by the " +
                         "margin (" + HypothesisEnglish(in.hypothesis) +
                         "), noncentral t distribution";
    method.power = [=](std::int64_t n) {
      const auto [df, se] = frame(n);
      return df < 1 ? std::nan("") : OneSidedTPower(df, shift / se, alpha);
    };
  }
  method.guess = Guess(in, two ? 1 + 1 / in.ratio.value : 1.0);
  return method;
}

PlanMethod ProportionsMethod(const SampleSizeInputs& in,
                             const std::function<std::int64_t(std::int64_t)>& secondGroup,
                             NullSpread spread) {
  const double p1 = in.first.value;
  const double p2 = in.second.value;
  const double alpha = in.alpha.value;
  const double margin = in.margin.value;
  const bool restricted = spread == NullSpread::Restricted;
  PlanMethod method;
  method.name = "两样本率" + ChineseAim(in.hypothesis) +
                (restricted ? "，Farrington-Manning法（零假设约束下极大似然估计的方差）"
                            : "，Blackwelder法（非合并方差）");
  const std::string test =
      restricted ? "Farrington–Manning score test (variance at the restricted maximum-likelihood "
                   "estimates under the null)"
                 : "Blackwelder's unpooled z test";
  if (in.hypothesis == Hypothesis::Equivalence) {
    method.name += "，双单侧检验";
    method.englishName =
        "two one-sided tests for the equivalence of two proportions, each the " + test;
    method.power = [=](std::int64_t n1) {
      return EquivalenceProportionPower(p1, p2, static_cast<double>(n1),
                                        static_cast<double>(secondGroup(n1)), margin, alpha,
                                        spread);
    };
    // The larger spread of the two null rates, as if for the nearer margin alone.
    if (in.power.value > 0) {
      const double d = in.difference.value;
      const double beta = d == 0 ? (1 - in.power.value) / 2 : 1 - in.power.value;
      const double near = d >= 0 ? margin : -margin;
      method.guess =
          ShiftedProportionSampleSize(p1, p2, in.ratio.value, near, alpha, 1 - beta, spread);
    }
    return method;
  }
  const double nullDifference = Sign(in) * NullShift(in);
  const double direction = Sign(in);
  method.englishName =
      "one-sided " + test + " for the " + HypothesisEnglish(in.hypothesis) + " of two proportions";
  method.power = [=](std::int64_t n1) {
    return ShiftedProportionPower(p1, p2, static_cast<double>(n1),
                                  static_cast<double>(secondGroup(n1)), nullDifference, direction,
                                  alpha, spread);
  };
  // The closed form where the search starts: the rounding up of group 2 may leave a smaller n1
  // that reaches the power too.
  if (in.power.value > 0) {
    method.guess = ShiftedProportionSampleSize(p1, p2, in.ratio.value, nullDifference, alpha,
                                               in.power.value, spread);
  }
  return method;
}

}  // namespace

MarginPlanning MarginMethods(PowerDesign design, const SampleSizeInputs& in,
                             const std::function<std::int64_t(std::int64_t)>& secondGroup) {
  if (design != PowerDesign::TwoProportions) return {MeansMethod(design, in, secondGroup), {}};
  return {ProportionsMethod(in, secondGroup, NullSpread::Restricted),
          ProportionsMethod(in, secondGroup, NullSpread::Unpooled)};
}

}  // namespace quillon
