#include "app/report/report_feed.h"

#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/analysis_modes.h"
#include "app/report/grid_values.h"
#include "app/widgets/utf8.h"
#include "counts/summary_t_test.h"
#include "entry/group_summary.h"
#include "report/checks/checks.h"
#include "report/ranks/ranks.h"
#include "report/writing/count_content.h"
#include "report/writing/margin_content.h"
#include "report/writing/paper_table.h"
#include "report/writing/rank_content.h"
#include "report/writing/sample_content.h"
#include "stats/correlation.h"

namespace quillon::ui {

using plots::AgreementData;
using plots::AgreementLine;
using plots::EstimationData;
using plots::EstimationGroup;
using plots::ScatterOf;

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

namespace {

// The decimals of the paper's means and SDs where only the summary values were typed: as many as
// the most the typed means and SDs have.
int SummaryDecimals(const std::array<std::string, kSummaryBoxCount>& boxes) {
  int most = 0;
  for (const std::size_t k : {0, 1, 3, 4}) {
    most = std::max(most, Fixed4::TypedDecimals(boxes[k]));
  }
  return most;
}

// The value axis's title: the outcome with its unit, or the picture's own default.
QString ValueTitle(const ReportNames& names) {
  return FromUtf8(OutcomeWithUnit(names.outcome, names.unit, false));
}

// Each column of the complete pairs described as a group is, from the exact sums; its quartiles
// for the rank path.
PairedColumns ColumnsOf(const PairSums& sums, const std::vector<std::pair<Fixed4, Fixed4>>& pairs,
                        TestPath path) {
  const GroupDescription x = DescribeGroup({sums.count, sums.sumX, sums.sumXX});
  const GroupDescription y = DescribeGroup({sums.count, sums.sumY, sums.sumYY});
  PairedColumns columns{x.mean, x.deviation, y.mean, y.deviation, {}, {}};
  if (path != TestPath::RankTest) return columns;
  std::vector<Fixed4> first, second;
  first.reserve(pairs.size());
  second.reserve(pairs.size());
  for (const auto& [xValue, yValue] : pairs) {
    first.push_back(xValue);
    second.push_back(yValue);
  }
  columns.first = QuartilesOf(first);
  columns.second = QuartilesOf(second);
  return columns;
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

AnalysisMode ReportFeed::Current() const { return sources_.modes->Current(); }

const ReportNames& ReportFeed::Names() const { return names_[static_cast<std::size_t>(Current())]; }

void ReportFeed::SetNames(const ReportNames& names) {
  ReportNames& kept = names_[static_cast<std::size_t>(Current())];
  if (names == kept) return;
  kept = names;
  emit Changed();
}

const MarginSetting& ReportFeed::Margin() const {
  return margins_[static_cast<std::size_t>(Current())];
}

bool ReportFeed::MarginApplies(AnalysisMode analysis) {
  return analysis == AnalysisMode::TwoSampleMeans || analysis == AnalysisMode::PairedMeans ||
         analysis == AnalysisMode::FourfoldChiSquare;
}

void ReportFeed::SetMargin(const MarginSetting& setting) {
  MarginSetting& kept = margins_[static_cast<std::size_t>(Current())];
  MarginSetting next = setting;
  if (!MarginApplies(Current())) next.hypothesis = Hypothesis::Difference;
  if (next == kept) return;
  kept = next;
  emit Changed();
}

void ReportFeed::AddMargin(ReportView& view, const MarginFigures& figures, const char* difference,
                           const char* first, const char* second) const {
  if (!HasMargin(figures.hypothesis)) return;
  const ReportNames& names = Names();
  AddMarginSection(view.report, figures, style_, names);
  plots::MarginPlotData plot;
  plot.hypothesis = figures.hypothesis;
  plot.better = figures.better;
  plot.margin = figures.margin.value;
  plot.difference = figures.difference.value;
  plot.lower = figures.lower.value;
  plot.upper = figures.upper.value;
  plot.level = QString::number(100 * figures.confidence, 'g', 6) + QStringLiteral("%CI");
  // "均数差（试验组 − 对照组）（mmHg）"
  plot.differenceTitle =
      FromUtf8(std::string(difference) + "（" + NameOr(names.first, first) + " − " +
               NameOr(names.second, second) + "）" + OutcomeWithUnit({}, names.unit, false));
  plot.empty = FromUtf8(figures.margin ? figures.difference.reason : figures.margin.reason);
  view.margin = std::move(plot);
}

ReportView ReportFeed::TwoSample() const {
  ReportView view;
  view.samples = true;
  const std::array<std::string, kSummaryBoxCount> boxes = sources_.twoSample->SummaryTexts();
  const std::optional<SummaryValues> values = ReadSummaryValues(boxes);
  if (!values) {
    view.report = Report{"两样本均数t检验", {}, {"两组的均数、标准差和例数尚未填全。"}, {}, {}, {}};
    return view;
  }
  const SampleLists& lists = sources_.grid->Lists();
  const std::vector<Fixed4> first = NumbersOf(lists, Group::First);
  const std::vector<Fixed4> second = NumbersOf(lists, Group::Second);
  const TwoSampleChecks checks = CheckTwoSample(first, second);
  const bool fromGrid = SummariesFromGrid(boxes, lists);
  const TwoSampleFigures figures =
      fromGrid
          ? TwoSampleReportFigures(*values, lists.Sums(Group::First), lists.Sums(Group::Second))
          : TwoSampleReportFigures(*values);
  const RankSumFigures ranks = RankSumReportFigures(first, second);
  const ReportNames& names = Names();
  view.report = TwoSampleReport(figures, ranks, style_, &checks, path_, names);
  if (fromGrid) {
    const std::array<GroupDescription, 2> described = {DescribeGroup(lists.Sums(Group::First)),
                                                       DescribeGroup(lists.Sums(Group::Second))};
    const int typed = std::max(lists.MostDecimals(Group::First), lists.MostDecimals(Group::Second));
    view.report.paper =
        TwoSamplePaper(figures, ranks, style_, path_, names, MeanDecimals(typed), &described);
  } else {
    view.report.paper =
        TwoSamplePaper(figures, ranks, style_, path_, names, SummaryDecimals(boxes));
  }
  AddMargin(view, TwoSampleMargin(figures, Margin()), "均数差", kFirstGroup, kSecondGroup);
  NoteRoundedValues(view.report, lists.Rounded(Group::First) + lists.Rounded(Group::Second));
  const std::array<QString, 2> groupNames = {FromUtf8(NameOr(names.first, kFirstGroup)),
                                             FromUtf8(NameOr(names.second, kSecondGroup))};
  const std::vector<Fixed4>* columns[] = {&first, &second};
  if (path_ == TestPath::RankTest) {
    // The rank test's picture: the medians and quartiles the report gives, and its shift.
    plots::BoxPlotData box;
    const Quartiles* quartiles[] = {&ranks.first, &ranks.second};
    for (std::size_t k = 0; k < 2; ++k) {
      plots::BoxGroup& group = box.groups[k];
      group.values.reserve(columns[k]->size());
      for (const Fixed4 value : *columns[k]) group.values.push_back(value.ToDouble());
      group.median = quartiles[k]->median.value;
      group.p25 = quartiles[k]->p25.value;
      group.p75 = quartiles[k]->p75.value;
    }
    box.names = groupNames;
    box.valueTitle = ValueTitle(names);
    box.shift = ranks.shift.value;
    box.shiftLower = ranks.shiftLower.value;
    box.shiftUpper = ranks.shiftUpper.value;
    view.boxes = std::move(box);
    return view;
  }
  EstimationData estimation;
  estimation.names = groupNames;
  estimation.valueTitle = ValueTitle(names);
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
  const SignedRankFigures ranks = SignedRankReportFigures(pairs);
  const ReportNames& names = Names();
  view.report = PairedReport(figures, ranks, style_, &checks, path_, names);
  view.report.paper =
      PairedPaper(figures, ranks, ColumnsOf(sources_.grid->Lists().Pairs(), pairs, path_), style_,
                  path_, names, MeanDecimals(sources_.grid->Lists().MostPairDecimals()));
  AddMargin(view, PairedMargin(figures, Margin()), "差值的均数",
            names.meaning == PairedMeaning::TwoMethods ? kX : kBefore,
            names.meaning == PairedMeaning::TwoMethods ? kY : kAfter);
  NoteRoundedValues(view.report, sources_.grid->Lists().RoundedPairs());
  const bool twoMethods = names.meaning == PairedMeaning::TwoMethods;
  const QString first = FromUtf8(NameOr(names.first, twoMethods ? kX : kBefore));
  const QString second = FromUtf8(NameOr(names.second, twoMethods ? kY : kAfter));
  if (!twoMethods) {
    // Each subject's two values joined, with the change after − before: the mean's, or on the
    // rank path the Hodges–Lehmann estimate's, each the negative of the report's before − after.
    plots::PairedLinesData lines;
    lines.pairs.reserve(pairs.size());
    for (const auto& [x, y] : pairs) lines.pairs.emplace_back(x.ToDouble(), y.ToDouble());
    lines.names = {first, second};
    lines.valueTitle = ValueTitle(names);
    const bool rank = path_ == TestPath::RankTest;
    lines.changeName = rank ? QStringLiteral("中位数变化") : QStringLiteral("均数变化");
    const Figure& change = rank ? ranks.pseudomedian : figures.meanDifference;
    const Figure& lower = rank ? ranks.lower : figures.lower;
    const Figure& upper = rank ? ranks.upper : figures.upper;
    if (change) lines.change = -*change;
    if (lower && upper) {
      lines.changeLower = -*upper;
      lines.changeUpper = -*lower;
    }
    view.pairedLines = std::move(lines);
    return view;
  }
  AgreementData agreement;
  agreement.xTitle = first + QStringLiteral("与") + second + QStringLiteral("的均数");
  agreement.yTitle = QStringLiteral("差值（%1 − %2）").arg(first, second);
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
  const SpearmanFigures ranks = SpearmanReportFigures(pairs);
  view.report = CorrelationReport(figures, ranks, style_, &checks, path_, Names());
  view.report.paper = CorrelationPaper(figures, ranks, style_, path_, Names());
  NoteRoundedValues(view.report, lists.RoundedPairs());
  std::vector<QPointF> points;
  points.reserve(pairs.size());
  for (const auto& [x, y] : pairs) points.emplace_back(x.ToDouble(), y.ToDouble());
  view.scatter = ScatterOf(std::move(points), lists.Pairs(), figures);
  // Spearman's rs fits no line: the rank path shows the points alone.
  view.scatter->line = path_ == TestPath::TTest;
  view.scatter->xTitle =
      FromUtf8(OutcomeWithUnit(NameOr(Names().first, kX), Names().firstUnit, false));
  view.scatter->yTitle =
      FromUtf8(OutcomeWithUnit(NameOr(Names().second, kY), Names().secondUnit, false));
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
    const FourfoldFigures figures = FourfoldReportFigures(sources_.fourfold->Cells(), positive_);
    view.report = FourfoldReport(figures, style_, Names());
    view.report.paper = FourfoldPaper(figures, style_, Names());
    AddMargin(view, FourfoldMargin(figures, Margin()), "率差", kTreated, kControl);
    view.fourfold = true;
  } else if (modes.IsCurrent(AnalysisMode::PairedChiSquare)) {
    const McNemarFigures figures = McNemarReportFigures(sources_.fourfold->Cells());
    view.report = McNemarReport(figures, style_, Names());
    view.report.paper = McNemarPaper(figures, style_, Names());
  } else {
    view.report = Report{"结果报告", {}, {"没有选定分析。"}, {}, {}, {}};
  }
  return view;
}

}  // namespace quillon::ui
