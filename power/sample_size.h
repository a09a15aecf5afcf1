#pragma once
// The sample-size window's one computation: the design, the boxes' texts and what to solve for in;
// every figure shown (or "—" and the reason), the lines of the result text, the method's name, the
// protocol sentence and the points of the power curve out.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/figure.h"
#include "report/hypothesis.h"
#include "report/p_style.h"

namespace quillon {

enum class PowerDesign { TwoSample, Paired, Correlation, TwoProportions, McNemar };
inline constexpr std::array<PowerDesign, 5> kPowerDesigns = {
    PowerDesign::TwoSample, PowerDesign::Paired, PowerDesign::Correlation,
    PowerDesign::TwoProportions, PowerDesign::McNemar};
// The design's name in the window's list, the main window's analyses' names.
std::string PowerDesignName(PowerDesign design);

enum class SolveFor { SampleSize, Power };
// "求样本量", "求检验效能".
std::string SolveForName(SolveFor solve);

// The boxes' texts, digits already in ASCII; a default box holds its default value.
struct SampleSizeBoxes {
  std::string alpha = "0.05";  // two-sided
  std::string power = "0.80";
  std::string dropout = "0";  // percent
  std::string mean1, mean2, sd;
  std::string ratio = "1";  // k = n2 / n1, two samples and two proportions
  std::string meanDiff, sdDiff;
  std::string r;
  std::string p1, p2;
  std::string p10, p01;
  std::string n;  // group 1's n or the pairs, when solving for power
  // Names for the protocol sentence only, never read as numbers: the primary outcome and its
  // unit, the two groups (two samples and two proportions) and where the estimates come from.
  std::string outcome, unit, group1, group2, source;
  // What the trial sets out to show; against a margin Δ (on the scale of the difference: the
  // means' unit or the rate difference) for all but a difference, and in which direction better
  // lies for non-inferiority and superiority. Two samples, pairs and two proportions only.
  Hypothesis hypothesis = Hypothesis::Difference;
  Better better = Better::Higher;
  std::string margin;

  friend bool operator==(const SampleSizeBoxes&, const SampleSizeBoxes&) = default;
};

// The numbers of one plan: n of group 1 (or of the pairs, or of the subjects), of group 2
// (two samples and two proportions, ⌈k·n1⌉), their total, the same after dropout
// (⌈n / (1 − dropout)⌉ each group), and the power reached at the whole n. The counts are exact
// from the typed decimals; a plan with any count above 10,000,000 has none.
struct SamplePlan {
  Figure n1, n2, total;
  Figure enrolled1, enrolled2, enrolledTotal;
  Figure power;
};

// Power against group 1's n (or the pairs), with the plan's n among the points.
struct PowerCurvePoint {
  std::int64_t n = 0;
  double power = 0;
};
struct PowerCurve {
  std::vector<PowerCurvePoint> points;  // n ascending
  std::optional<std::size_t> marked;    // the plan's point
};

struct SampleSizeResult {
  std::string method;  // the method behind `plan`
  SamplePlan plan;
  // Two proportions: the plain normal approximation and the continuity-corrected n are both
  // shown; `plan` is the one to use (the corrected one when the four-fold rule of the main window
  // would take the corrected or the exact test at the planned table), `other` the other one.
  // Against a margin, `plan` is Farrington and Manning's and `other` Blackwelder's.
  std::string otherMethod;
  std::optional<SamplePlan> other;
  bool continuityCorrected = false;  // two proportions: `plan` is the corrected one
  // McNemar: Connor's approximate power at the n, beside the exact test's in plan.power, and
  // Connor's n (solving for n), beside the exact test's in plan.n1.
  Figure approximatePower;
  Figure approximateN;
  std::vector<std::string> lines;  // the result text, one line each
  std::string sentence;            // the protocol sentence in the style
  PowerCurve curve;
};

SampleSizeResult ComputeSampleSize(PowerDesign design, const SampleSizeBoxes& boxes, SolveFor solve,
                                   PStyle style = kDefaultPStyle);

}  // namespace quillon
