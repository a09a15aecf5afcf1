// The report's R script, from the data the report read: the figures are taken again as the
// report takes them, so that the script's choices (exact or normal P, summaries or values)
// are the report's.

#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/analysis_modes.h"
#include "app/report/report_feed.h"
#include "counts/summary_t_test.h"
#include "entry/group_summary.h"
#include "report/margin_tests.h"
#include "report/ranks/ranks.h"

namespace quillon::ui {

namespace {

std::vector<Fixed4> ValuesOf(const SampleLists& lists, Group group) {
  std::vector<Fixed4> values;
  for (std::size_t row = 0; row < lists.Size(group); ++row) {
    if (const std::optional<Fixed4> value = lists.Value(group, row)) values.push_back(*value);
  }
  return values;
}

std::vector<std::pair<Fixed4, Fixed4>> PairsOf(const SampleLists& lists) {
  std::vector<std::pair<Fixed4, Fixed4>> pairs;
  for (std::size_t row = 0; row < lists.LongerSize(); ++row) {
    const std::optional<Fixed4> x = lists.Value(Group::First, row);
    const std::optional<Fixed4> y = lists.Value(Group::Second, row);
    if (x && y) pairs.emplace_back(*x, *y);
  }
  return pairs;
}

// Whether the summary boxes show what the grid's values give (the report then takes the figures
// beyond the pooled test from the values).
bool BoxesFromGrid(const std::array<std::string, kSummaryBoxCount>& boxes,
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

std::string ReportFeed::RScript(const Report& shown, const ScriptHeader& header) const {
  const AnalysisModes& modes = *sources_.modes;
  const SampleLists& lists = sources_.grid->Lists();
  if (modes.IsCurrent(AnalysisMode::TwoSampleMeans)) {
    const std::array<std::string, kSummaryBoxCount> boxes = sources_.twoSample->SummaryTexts();
    const std::optional<SummaryValues> values = ReadSummaryValues(boxes);
    const std::vector<Fixed4> first = ValuesOf(lists, Group::First);
    const std::vector<Fixed4> second = ValuesOf(lists, Group::Second);
    if (!values) return TwoSampleScript(shown, style_, header, {}, {}, {}, {});
    const TwoSampleFigures figures =
        BoxesFromGrid(boxes, lists)
            ? TwoSampleReportFigures(*values, lists.Sums(Group::First), lists.Sums(Group::Second))
            : TwoSampleReportFigures(*values);
    const MarginFigures margin = TwoSampleMargin(figures, Margin());
    return TwoSampleScript(shown, style_, header, figures, RankSumReportFigures(first, second),
                           first, second, &margin);
  }
  if (modes.IsCurrent(AnalysisMode::PairedMeans)) {
    const std::vector<std::pair<Fixed4, Fixed4>> pairs = PairsOf(lists);
    const MarginFigures margin = PairedMargin(PairedReportFigures(lists.Pairs()), Margin());
    return PairedScript(shown, style_, header, SignedRankReportFigures(pairs), pairs, &margin);
  }
  if (modes.IsCurrent(AnalysisMode::CorrelationRegression)) {
    const std::vector<std::pair<Fixed4, Fixed4>> pairs = PairsOf(lists);
    return CorrelationScript(shown, style_, header, CorrelationReportFigures(lists.Pairs()),
                             SpearmanReportFigures(pairs), pairs);
  }
  if (modes.IsCurrent(AnalysisMode::FourfoldChiSquare)) {
    const FourfoldFigures figures = FourfoldReportFigures(sources_.fourfold->Cells(), positive_);
    const MarginFigures margin = FourfoldMargin(figures, Margin());
    return FourfoldScript(shown, style_, header, figures, &margin);
  }
  if (modes.IsCurrent(AnalysisMode::PairedChiSquare)) {
    return McNemarScript(shown, style_, header, McNemarReportFigures(sources_.fourfold->Cells()));
  }
  return {};
}

}  // namespace quillon::ui
