#include "report/hypothesis.h"

#include <cmath>

namespace quillon {

std::string HypothesisName(Hypothesis hypothesis) {
  switch (hypothesis) {
    case Hypothesis::Difference:
      return "差异性检验";
    case Hypothesis::NonInferiority:
      return "非劣效";
    case Hypothesis::Superiority:
      return "优效";
    case Hypothesis::Equivalence:
      return "等效";
  }
  return {};
}

std::string HypothesisEnglish(Hypothesis hypothesis) {
  switch (hypothesis) {
    case Hypothesis::Difference:
      return "difference";
    case Hypothesis::NonInferiority:
      return "non-inferiority";
    case Hypothesis::Superiority:
      return "superiority";
    case Hypothesis::Equivalence:
      return "equivalence";
  }
  return {};
}

std::string BetterName(Better better) { return better == Better::Higher ? "高值为优" : "低值为优"; }

std::string DefaultAlphaText(Hypothesis hypothesis) {
  return HasDirection(hypothesis) ? "0.025" : "0.05";
}

std::string AlphaLabel(Hypothesis hypothesis) {
  switch (hypothesis) {
    case Hypothesis::Difference:
      return "双侧α";
    case Hypothesis::NonInferiority:
    case Hypothesis::Superiority:
      return "单侧α";
    case Hypothesis::Equivalence:
      return "每侧α";
  }
  return {};
}

std::string MarginReason(double margin, bool rateDifference) {
  if (!std::isfinite(margin) || margin <= 0) return "界值Δ须大于0";
  if (rateDifference && margin >= 1) return "率差的界值Δ须小于1";
  return {};
}

}  // namespace quillon
