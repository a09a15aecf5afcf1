#pragma once
// The tests against a margin Δ beside the report's own test: non-inferiority, superiority by the
// margin and equivalence (report/hypothesis.h gives each one's hypotheses and directions).
//
// Each one-sided test at α goes with the two-sided (1 − 2α) interval of the difference, so that
// the interval's bound lies beyond the margin exactly when the one-sided P is below α:
//  - means (two samples, pairs): t = (d ± Δ) / SE with the report's own SE and ν (pooled, or
//    Welch's where the report reads Welch's), d ± t(1 − α, ν)·SE;
//  - rates: the Farrington–Manning score test, z = (p̂₁ − p̂₂ − δ₀) / √(p̃₁(1 − p̃₁)/n₁ +
//    p̃₂(1 − p̃₂)/n₂) with p̃ the maximum-likelihood rates restricted to p₁ − p₂ = δ₀ (without
//    an N/(N − 1) factor), and the interval of the δ₀ that this same statistic does not reject
//    (a score interval of the Miettinen–Nurminen kind).
// Equivalence takes both one-sided tests (TOST); its P is the larger of the two.

#include <optional>
#include <string>

#include "report/figure.h"
#include "report/fourfold.h"
#include "report/hypothesis.h"
#include "report/t_tests.h"

namespace quillon {

// The choice as the report window holds it: the margin and α as typed (α empty: the
// hypothesis's default, DefaultAlphaText).
struct MarginSetting {
  Hypothesis hypothesis = Hypothesis::Difference;
  Better better = Better::Higher;
  std::string margin;
  std::string alpha;

  friend bool operator==(const MarginSetting&, const MarginSetting&) = default;
};

// What the difference is: of two means, the mean of paired differences, or of two rates.
enum class MarginDesign { TwoSample, Paired, Fourfold };

struct MarginFigures {
  Hypothesis hypothesis = Hypothesis::Difference;
  Better better = Better::Higher;
  MarginDesign design = MarginDesign::TwoSample;
  Figure margin, alpha;
  std::string marginText, alphaText;  // as typed, without the blanks around them
  double confidence = 0;              // 1 − 2α; 0 without α
  Figure difference, lower, upper;    // the difference and its (1 − 2α) two-sided interval
  // The one-sided tests: equivalence both (the lower margin first), the others the first only.
  Figure statistic1, p1, statistic2, p2, df;  // df: of t; none for the score test's z
  // Each test's null (−Δ or +Δ) and its tail: the upper one for H0 d ≤ null, else the lower one.
  double null1 = 0, null2 = 0;
  int nullSign1 = -1, nullSign2 = 1;  // −Δ or +Δ, also without a margin
  bool upperTail1 = true, upperTail2 = false;
  Figure p;  // p1, or the larger of p1 and p2 for equivalence
  // Shown or not, as the interval's bound against the margin tells; none where a figure is
  // missing. Always the same as p < α.
  std::optional<bool> established;
  bool welch = false;  // Welch's SE and ν, as the report's two-sample sentences use
  bool score = false;  // z of the score test (rates) rather than t
  std::string method;  // "两独立样本t检验（合并方差）", "Welch校正t检验", "配对t检验",
                       // "Farrington–Manning score检验"

  // Whether there is a section to show: any hypothesis but a difference.
  bool Shown() const { return HasMargin(hypothesis); }
};

MarginFigures TwoSampleMargin(const TwoSampleFigures& figures, const MarginSetting& setting);
MarginFigures PairedMargin(const PairedFigures& figures, const MarginSetting& setting);
// The rate difference of the first column, a / (a + b) − c / (c + d).
MarginFigures FourfoldMargin(const FourfoldFigures& figures, const MarginSetting& setting);

// "95%", "90%", "97.5%": the interval's level 1 − 2α as a percentage, shortest.
std::string ConfidenceText(double confidence);

// The Farrington–Manning score statistic for H0 p₁ − p₂ = δ₀ (−1 < δ₀ < 1) from x₁ of n₁ and x₂
// of n₂; none where both groups are empty or the restricted variance is 0.
Figure RateDifferenceScore(double x1, double n1, double x2, double n2, double null);

}  // namespace quillon
