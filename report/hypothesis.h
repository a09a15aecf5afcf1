#pragma once
// What a trial sets out to show: a difference (the usual two-sided test), or, against a margin Δ
// on the scale of the difference (the means' unit, or the rate difference), non-inferiority,
// superiority by the margin or equivalence. The sample-size window and the report offer the same
// choice, with the same names and the same level of significance by default.
//
// The difference is always group 1 (the new treatment) minus group 2 (the control), or the first
// column minus the second for pairs. With higher values better:
//   non-inferiority  H0: d ≤ −Δ  against  H1: d > −Δ   (the lower bound above −Δ)
//   superiority      H0: d ≤ Δ   against  H1: d > Δ    (the lower bound above Δ)
// with lower values better, the mirror images (the upper bound below Δ, below −Δ); and
//   equivalence      H0: |d| ≥ Δ against  H1: −Δ < d < Δ (two one-sided tests, the interval
//                    within ±Δ).

#include <array>
#include <string>

namespace quillon {

enum class Hypothesis { Difference, NonInferiority, Superiority, Equivalence };
inline constexpr std::array<Hypothesis, 4> kHypotheses = {
    Hypothesis::Difference, Hypothesis::NonInferiority, Hypothesis::Superiority,
    Hypothesis::Equivalence};

// "差异性检验", "非劣效", "优效", "等效".
std::string HypothesisName(Hypothesis hypothesis);
// "difference", "non-inferiority", "superiority", "equivalence".
std::string HypothesisEnglish(Hypothesis hypothesis);
// Whether the hypothesis needs a margin (all but a difference).
inline bool HasMargin(Hypothesis hypothesis) { return hypothesis != Hypothesis::Difference; }
// Whether the direction matters (non-inferiority and superiority).
inline bool HasDirection(Hypothesis hypothesis) {
  return hypothesis == Hypothesis::NonInferiority || hypothesis == Hypothesis::Superiority;
}

enum class Better { Higher, Lower };
inline constexpr std::array<Better, 2> kBetters = {Better::Higher, Better::Lower};
// "高值为优", "低值为优".
std::string BetterName(Better better);

// The level of significance by default: 0.05 two-sided for a difference, 0.025 one-sided for
// non-inferiority and superiority, 0.05 on each side for equivalence's two one-sided tests.
std::string DefaultAlphaText(Hypothesis hypothesis);
// The α box's label: "双侧α", "单侧α", "每侧α".
std::string AlphaLabel(Hypothesis hypothesis);

// Why a margin typed as given cannot be used, or empty: "界值Δ须大于0" for a margin ≤ 0 (or not
// a number), "率差的界值Δ须小于1" for a margin of a rate difference of 1 or more.
std::string MarginReason(double margin, bool rateDifference);

}  // namespace quillon
