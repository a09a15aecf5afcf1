#pragma once
// The five analyses, in the order of their buttons, and the captions that name them.

#include <QString>
#include <array>

namespace quillon::ui {

enum class AnalysisMode {
  TwoSampleMeans = 0,
  PairedMeans = 1,
  CorrelationRegression = 2,
  FourfoldChiSquare = 3,
  PairedChiSquare = 4,
};

inline constexpr int AnalysisModeCount = 5;

inline const std::array<QString, AnalysisModeCount>& AnalysisCaptions() {
  static const std::array<QString, AnalysisModeCount> captions = {
      QStringLiteral("两样本均数T检验"),  QStringLiteral("配对资料T检验"),
      QStringLiteral("直线相关与回归"),   QStringLiteral("计数资料卡方检验"),
      QStringLiteral("配对资料卡方检验"),
  };
  return captions;
}

inline QString AnalysisCaption(AnalysisMode mode) {
  return AnalysisCaptions()[static_cast<std::size_t>(mode)];
}

}  // namespace quillon::ui
