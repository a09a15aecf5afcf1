#include "app/report_feed.h"

#include "app/analysis_modes.h"
#include "app/fourfold_table.h"
#include "app/sample_grid.h"
#include "app/sample_panels.h"
#include "counts/summary_t_test.h"
#include "report/count_content.h"
#include "report/sample_content.h"
#include "stats/correlation.h"

namespace quillon::ui {

namespace {

std::vector<Fixed4> NumbersOf(const SampleLists& lists, Group group) {
  std::vector<Fixed4> values;
  values.reserve(lists.Size(group));
  for (std::size_t row = 0; row < lists.Size(group); ++row) {
    if (const std::optional<Fixed4> value = lists.Value(group, row)) values.push_back(*value);
  }
  return values;
}

std::vector<std::pair<Fixed4, Fixed4>> CompletePairs(const SampleLists& lists) {
  std::vector<std::pair<Fixed4, Fixed4>> pairs;
  pairs.reserve(static_cast<std::size_t>(lists.Pairs().count));
  for (std::size_t row = 0; row < lists.LongerSize(); ++row) {
    const std::optional<Fixed4> x = lists.Value(Group::First, row);
    const std::optional<Fixed4> y = lists.Value(Group::Second, row);
    if (x && y) pairs.emplace_back(*x, *y);
  }
  return pairs;
}

}  // namespace

ReportFeed::ReportFeed(QObject* parent, ReportSources sources)
    : QObject(parent), sources_(sources) {
  connect(sources_.grid, &SampleGrid::EntryChanged, this, &ReportFeed::Changed);
  connect(sources_.modes, &AnalysisModes::AnalysisSelected, this, &ReportFeed::Changed);
  connect(sources_.twoSample, &TwoSamplePanel::SummaryChanged, this, &ReportFeed::Changed);
  connect(sources_.fourfold, &FourfoldTable::TotalsChanged, this, &ReportFeed::Changed);
}

void ReportFeed::SetStyle(PStyle style) {
  if (style == style_) return;
  style_ = style;
  emit Changed();
}

Report ReportFeed::TwoSample() const {
  const std::optional<SummaryValues> values = ReadSummaryValues(sources_.twoSample->SummaryTexts());
  if (!values) return Report{"两样本均数t检验", {}, {"两组的均数、标准差和例数尚未填全。"}, {}, {}};
  const SampleLists& lists = sources_.grid->Lists();
  const TwoSampleChecks checks =
      CheckTwoSample(NumbersOf(lists, Group::First), NumbersOf(lists, Group::Second));
  return TwoSampleReport(TwoSampleReportFigures(*values), style_, &checks);
}

Report ReportFeed::CurrentReport() const {
  const AnalysisModes& modes = *sources_.modes;
  const PairSums& pairs = sources_.grid->Lists().Pairs();
  if (modes.IsCurrent(AnalysisMode::TwoSampleMeans)) return TwoSample();
  if (modes.IsCurrent(AnalysisMode::PairedMeans)) {
    const PairedFigures figures = PairedReportFigures(pairs);
    const PairedChecks checks = CheckPaired(CompletePairs(sources_.grid->Lists()), figures);
    return PairedReport(figures, style_, &checks);
  }
  if (modes.IsCurrent(AnalysisMode::CorrelationRegression)) {
    const CorrelationFigures figures = CorrelationReportFigures(pairs);
    const CorrelationChecks checks =
        CheckCorrelation(CompletePairs(sources_.grid->Lists()), pairs, figures);
    return CorrelationReport(figures, style_, &checks);
  }
  if (modes.IsCurrent(AnalysisMode::FourfoldChiSquare)) {
    return FourfoldReport(FourfoldReportFigures(sources_.fourfold->Cells()), style_);
  }
  if (modes.IsCurrent(AnalysisMode::PairedChiSquare)) {
    return McNemarReport(McNemarReportFigures(sources_.fourfold->Cells()), style_);
  }
  return Report{"结果报告", {}, {"没有选定分析。"}, {}, {}};
}

std::optional<ScatterData> ReportFeed::CurrentScatter() const {
  if (!sources_.modes->IsCurrent(AnalysisMode::CorrelationRegression)) return std::nullopt;
  const SampleLists& lists = sources_.grid->Lists();
  ScatterData data;
  for (std::size_t row = 0; row < lists.LongerSize(); ++row) {
    const std::optional<Fixed4> x = lists.Value(Group::First, row);
    const std::optional<Fixed4> y = lists.Value(Group::Second, row);
    if (x && y) data.points.emplace_back(x->ToDouble(), y->ToDouble());
  }
  const CorrelationResult line = CorrelationRegression(lists.Pairs());
  data.intercept = line.interceptValue;
  data.slope = line.slope;
  return data;
}

}  // namespace quillon::ui
