#include "app/report_feed.h"

#include <QLineEdit>

#include "app/analysis_modes.h"
#include "app/form_layout.h"
#include "app/sample_grid.h"
#include "counts/chi_square.h"
#include "report/count_content.h"
#include "report/sample_content.h"

namespace quillon::ui {

namespace {

QLineEdit* Box(QWidget* form, const char* array, int index) {
  return form->findChild<QLineEdit*>(IndexedName(QString::fromLatin1(array), index));
}

}  // namespace

ReportFeed::ReportFeed(QObject* parent, QWidget* form, const AnalysisModes* modes,
                       const SampleGrid* grid)
    : QObject(parent), form_(form), modes_(modes), grid_(grid) {
  connect(grid, &SampleGrid::EntryChanged, this, &ReportFeed::Changed);
  connect(modes, &AnalysisModes::AnalysisSelected, this, &ReportFeed::Changed);
  for (int index = 0; index < 6; ++index) {
    if (QLineEdit* box = Box(form, "Text4", index)) {
      connect(box, &QLineEdit::textChanged, this, &ReportFeed::Changed);
    }
  }
  for (int index = 0; index < 4; ++index) {
    if (QLineEdit* box = Box(form, "Text11", index)) {
      connect(box, &QLineEdit::textChanged, this, &ReportFeed::Changed);
    }
  }
}

Report ReportFeed::TwoSample() const {
  std::array<std::string, 6> texts;
  for (int index = 0; index < 6; ++index) {
    if (const QLineEdit* box = Box(form_, "Text4", index)) {
      texts[static_cast<std::size_t>(index)] = box->text().toStdString();
    }
  }
  const std::optional<SummaryValues> values = ReadSummaryValues(texts);
  if (!values) return Report{"两样本均数t检验", {}, {"两组的均数、标准差和例数尚未填全。"}};
  return TwoSampleReport(TwoSampleReportFigures(*values));
}

FourfoldCells ReportFeed::Cells() const {
  std::array<std::string, 4> texts;
  for (int index = 0; index < 4; ++index) {
    if (const QLineEdit* box = Box(form_, "Text11", index)) {
      texts[static_cast<std::size_t>(index)] = box->text().toStdString();
    }
  }
  return ReadFourfoldCells(texts);
}

Report ReportFeed::CurrentReport() const {
  const PairSums& pairs = grid_->Lists().Pairs();
  if (modes_->IsCurrent(AnalysisMode::TwoSampleMeans)) return TwoSample();
  if (modes_->IsCurrent(AnalysisMode::PairedMeans)) return PairedReport(PairedReportFigures(pairs));
  if (modes_->IsCurrent(AnalysisMode::CorrelationRegression)) {
    return CorrelationReport(CorrelationReportFigures(pairs));
  }
  if (modes_->IsCurrent(AnalysisMode::FourfoldChiSquare)) {
    return FourfoldReport(FourfoldReportFigures(Cells()));
  }
  if (modes_->IsCurrent(AnalysisMode::PairedChiSquare)) {
    return McNemarReport(McNemarReportFigures(Cells()));
  }
  return Report{"结果报告", {}, {"没有选定分析。"}};
}

std::optional<ScatterData> ReportFeed::CurrentScatter() const {
  if (!modes_->IsCurrent(AnalysisMode::CorrelationRegression)) return std::nullopt;
  const SampleLists& lists = grid_->Lists();
  ScatterData data;
  for (std::size_t row = 0; row < lists.LongerSize(); ++row) {
    const std::optional<Fixed4> x = lists.Value(Group::First, row);
    const std::optional<Fixed4> y = lists.Value(Group::Second, row);
    if (x && y) data.points.emplace_back(x->ToDouble(), y->ToDouble());
  }
  const CorrelationFigures figures = CorrelationReportFigures(lists.Pairs());
  data.intercept = figures.intercept.value;
  data.slope = figures.slope.value;
  return data;
}

}  // namespace quillon::ui
