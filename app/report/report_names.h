#pragma once
// The row of boxes above the report where the user names what the report speaks of: the two
// groups (the times of paired data, the variables of a correlation, the rows and columns of a
// count table), the outcome and its unit, and the two results of a count table; with paired
// data, what the pairs mean. Only the boxes of the current analysis are shown; an empty box shows
// its default in grey and the report uses that default.

#include <QWidget>
#include <array>

#include "app/analysis_mode.h"
#include "report/writing/names.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace quillon::ui {

class ReportNamesRow : public QWidget {
  Q_OBJECT
 public:
  explicit ReportNamesRow(QWidget* parent);

  // Shows the boxes of an analysis with the names given, telling nothing.
  void Show(AnalysisMode analysis, const ReportNames& names);
  const ReportNames& Names() const { return names_; }
  AnalysisMode Analysis() const { return analysis_; }
  // The widgets in the order Tab reaches them.
  std::vector<QWidget*> TabOrder() const;

 signals:
  // A box was edited, or the pairs' meaning chosen.
  void Edited(const quillon::ReportNames& names);

 private:
  enum Box {
    Group1,
    Group2,
    Before,
    After,
    X,
    XUnit,
    Y,
    YUnit,
    Outcome,
    Unit,
    Positive,
    Negative,
    BoxCount
  };
  void Read();

  AnalysisMode analysis_ = AnalysisMode::TwoSampleMeans;
  ReportNames names_;
  std::array<QLineEdit*, BoxCount> boxes_{};
  std::array<QLabel*, BoxCount> labels_{};
  QComboBox* meaning_ = nullptr;  // cmbPairedMeaning
  QLabel* meaningLabel_ = nullptr;
};

}  // namespace quillon::ui
