#pragma once
// The row above the report where the user says what the trial sets out to show: a difference
// (the default), non-inferiority, superiority by a margin or equivalence, with the margin Δ,
// which values are better and the level of significance. The choice is the analysis's, for the
// run; correlation and McNemar's test offer the difference alone, and say why.

#include <QWidget>

#include "app/analysis_mode.h"
#include "report/margin_tests.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace quillon::ui {

class ReportHypothesisRow : public QWidget {
  Q_OBJECT
 public:
  explicit ReportHypothesisRow(QWidget* parent);

  // Shows an analysis's choice, telling nothing.
  void Show(AnalysisMode analysis, const MarginSetting& setting);
  const MarginSetting& Setting() const { return setting_; }
  AnalysisMode Analysis() const { return analysis_; }
  // The widgets in the order Tab reaches them.
  std::vector<QWidget*> TabOrder() const;

 signals:
  void Edited(const quillon::MarginSetting& setting);

 private:
  void Read();
  void ShowParts();

  AnalysisMode analysis_ = AnalysisMode::TwoSampleMeans;
  MarginSetting setting_;
  QComboBox* hypothesis_ = nullptr;  // cmbReportHypothesis
  QLineEdit* margin_ = nullptr;      // ReportMargin
  QLabel* marginLabel_ = nullptr;
  QComboBox* better_ = nullptr;  // cmbReportBetter
  QLineEdit* alpha_ = nullptr;   // ReportAlpha
  QLabel* alphaLabel_ = nullptr;
};

}  // namespace quillon::ui
