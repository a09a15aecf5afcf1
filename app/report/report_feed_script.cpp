// The report's R script, from the data the report read: the figures are taken again as the
// report takes them, so that the script's choices (exact or normal P, summaries or values)
// are the report's.

#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/analysis_modes.h"
#include "app/report/grid_values.h"
#include "app/report/report_feed.h"
#include "counts/summary_t_test.h"
#include "entry/group_summary.h"
#include "report/margin_tests.h"
#include "report/ranks/ranks.h"

namespace quillon::ui {

std::string ReportFeed::RScript(const Report& shown, const ScriptHeader& header) const {
  const AnalysisModes& modes = *sources_.modes;
  const SampleLists& lists = sources_.grid->Lists();
  if (modes.IsCurrent(AnalysisMode::TwoSampleMeans)) {
    const std::array<std::string, kSummaryBoxCount> boxes = sources_.twoSample->SummaryTexts();
    const std::optional<SummaryValues> values = ReadSummaryValues(boxes);
    const std::vector<Fixed4> first = NumbersOf(lists, Group::First);
    const std::vector<Fixed4> second = NumbersOf(lists, Group::Second);
    if (!values) return TwoSampleScript(shown, style_, header, {}, {}, {}, {});
    const TwoSampleFigures figures =
        SummariesFromGrid(boxes, lists)
            ? TwoSampleReportFigures(*values, lists.Sums(Group::First), lists.Sums(Group::Second))
            : TwoSampleReportFigures(*values);
    const MarginFigures margin = TwoSampleMargin(figures, Margin());
    return TwoSampleScript(shown, style_, header, figures, RankSumReportFigures(first, second),
                           first, second, &margin);
  }
  if (modes.IsCurrent(AnalysisMode::PairedMeans)) {
    const std::vector<std::pair<Fixed4, Fixed4>> pairs = CompletePairs(lists);
    const MarginFigures margin = PairedMargin(PairedReportFigures(lists.Pairs()), Margin());
    return PairedScript(shown, style_, header, SignedRankReportFigures(pairs), pairs, &margin);
  }
  if (modes.IsCurrent(AnalysisMode::CorrelationRegression)) {
    const std::vector<std::pair<Fixed4, Fixed4>> pairs = CompletePairs(lists);
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
