#include "app/report/report_feed.h"

#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/analysis_modes.h"
#include "app/widgets/utf8.h"
#include "counts/summary_t_test.h"
#include "entry/group_summary.h"
#include "report/checks/checks.h"
#include "report/ranks/ranks.h"
#include "report/writing/count_content.h"
#include "report/writing/rank_content.h"
#include "report/writing/sample_content.h"
#include "stats/correlation.h"

namespace quillon::ui {

using plots::AgreementData;
using plots::AgreementLine;
using plots::EstimationData;
using plots::EstimationGroup;
using plots::ScatterOf;

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

// Whether the summary boxes show what the grid's values give, so that the figures beyond the main
// window's may be taken from the values themselves: a box typed over says otherwise.
bool SummariesFromGrid(const std::array<std::string, kSummaryBoxCount>& boxes,
                       const SampleLists& lists) {
  for (const Group group : {Group::First, Group::Second}) {
    const GroupSummaryTexts shown = SummarizeGroup(lists.Sums(group));
    const std::size_t k = group == Group::First ? 0 : 3;
    if (boxes[k] != shown.mean || boxes[k + 1] != shown.deviation || boxes[k + 2] != shown.count) {
      return false;
    }
  }
  return true;
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

void ReportFeed::SetPath(TestPath path) {
  if (path == path_) return;
  path_ = path;
  emit Changed();
}

void ReportFeed::SetPositiveMeans(PositiveMeans positive) {
  if (positive == positive_) return;
  positive_ = positive;
  emit Changed();
}

ReportView ReportFeed::TwoSample() const {
  ReportView view;
  view.samples = true;
  const std::array<std::string, kSummaryBoxCount> boxes = sources_.twoSample->SummaryTexts();
  const std::optional<SummaryValues> values = ReadSummaryValues(boxes);
  if (!values) {
    view.report = Report{"两样本均数t检验", {}, {"两组的均数、标准差和例数尚未填全。"}, {}, {}};
    return view;
  }
  const SampleLists& lists = sources_.grid->Lists();
  const std::vector<Fixed4> first = NumbersOf(lists, Group::First);
  const std::vector<Fixed4> second = NumbersOf(lists, Group::Second);
  const TwoSampleChecks checks = CheckTwoSample(first, second);
  const TwoSampleFigures figures =
      SummariesFromGrid(boxes, lists)
          ? TwoSampleReportFigures(*values, lists.Sums(Group::First), lists.Sums(Group::Second))
          : TwoSampleReportFigures(*values);
  view.report =
      TwoSampleReport(figures, RankSumReportFigures(first, second), style_, &checks, path_);
  NoteRoundedValues(view.report, lists.Rounded(Group::First) + lists.Rounded(Group::Second));
  EstimationData estimation;
  const std::vector<Fixed4>* columns[] = {&first, &second};
  const Fixed4 means[] = {values->mean1, values->mean2};
  const Figure* bounds[][2] = {{&figures.mean1Lower, &figures.mean1Upper},
                               {&figures.mean2Lower, &figures.mean2Upper}};
  for (std::size_t k = 0; k < 2; ++k) {
    EstimationGroup& group = estimation.groups[k];
    group.values.reserve(columns[k]->size());
    for (const Fixed4 value : *columns[k]) group.values.push_back(value.ToDouble());
    group.mean = means[k].ToDouble();
    group.lower = bounds[k][0]->value;
    group.upper = bounds[k][1]->value;
  }
  view.estimation = std::move(estimation);
  return view;
}

namespace {

std::optional<AgreementLine> LineOf(const Figure& value, const Figure& lower, const Figure& upper) {
  if (!value) return std::nullopt;
  return AgreementLine{*value, lower.value, upper.value};
}

}  // namespace

ReportView ReportFeed::Paired() const {
  ReportView view;
  view.samples = true;
  const PairedFigures figures = PairedReportFigures(sources_.grid->Lists().Pairs());
  const std::vector<std::pair<Fixed4, Fixed4>> pairs = CompletePairs(sources_.grid->Lists());
  const PairedChecks checks = CheckPaired(pairs, figures);
  view.report = PairedReport(figures, SignedRankReportFigures(pairs), style_, &checks, path_);
  NoteRoundedValues(view.report, sources_.grid->Lists().RoundedPairs());
  AgreementData agreement;
  agreement.points.reserve(checks.points.size());
  for (const AgreementPoint& point : checks.points) {
    agreement.points.emplace_back(point.mean, point.difference);
  }
  const AgreementFigures& a = checks.agreement;
  agreement.bias = LineOf(a.bias, a.biasLower, a.biasUpper);
  agreement.lowerLimit = LineOf(a.lowerLimit, a.lowerLimitLower, a.lowerLimitUpper);
  agreement.upperLimit = LineOf(a.upperLimit, a.upperLimitLower, a.upperLimitUpper);
  view.agreement = std::move(agreement);
  return view;
}

ReportView ReportFeed::Correlation() const {
  ReportView view;
  view.samples = true;
  const SampleLists& lists = sources_.grid->Lists();
  const std::vector<std::pair<Fixed4, Fixed4>> pairs = CompletePairs(lists);
  const CorrelationFigures figures = CorrelationReportFigures(lists.Pairs());
  CorrelationChecks checks = CheckCorrelation(pairs, lists.Pairs(), figures);
  view.report = CorrelationReport(figures, SpearmanReportFigures(pairs), style_, &checks, path_);
  NoteRoundedValues(view.report, lists.RoundedPairs());
  std::vector<QPointF> points;
  points.reserve(pairs.size());
  for (const auto& [x, y] : pairs) points.emplace_back(x.ToDouble(), y.ToDouble());
  view.scatter = ScatterOf(std::move(points), lists.Pairs(), figures);
  view.residuals = std::move(checks.points);
  view.noResiduals = FromUtf8(figures.slope ? std::string() : figures.slope.reason);
  return view;
}

ReportView ReportFeed::CurrentView() const {
  const AnalysisModes& modes = *sources_.modes;
  if (modes.IsCurrent(AnalysisMode::TwoSampleMeans)) return TwoSample();
  if (modes.IsCurrent(AnalysisMode::PairedMeans)) return Paired();
  if (modes.IsCurrent(AnalysisMode::CorrelationRegression)) return Correlation();
  ReportView view;
  if (modes.IsCurrent(AnalysisMode::FourfoldChiSquare)) {
    view.report =
        FourfoldReport(FourfoldReportFigures(sources_.fourfold->Cells(), positive_), style_);
    view.fourfold = true;
  } else if (modes.IsCurrent(AnalysisMode::PairedChiSquare)) {
    view.report = McNemarReport(McNemarReportFigures(sources_.fourfold->Cells()), style_);
  } else {
    view.report = Report{"结果报告", {}, {"没有选定分析。"}, {}, {}};
  }
  return view;
}

}  // namespace quillon::ui
