#pragma once
// What the results report shows at this moment: the current analysis's report built from the
// main window's inputs (the grid's lists, the summary boxes, the four-fold cells), and, for
// correlation and regression, the points and the fitted line of the scatter plot. Changed is
// emitted on every change of those inputs and on every switch of the analysis.

#include <QObject>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "app/analysis_mode.h"
#include "plots/agreement_plot.h"
#include "plots/box_plot.h"
#include "plots/estimation_plot.h"
#include "plots/margin_plot.h"
#include "plots/paired_lines.h"
#include "plots/scatter_plot.h"
#include "report/checks/normality.h"
#include "report/margin_tests.h"
#include "report/proportions.h"
#include "report/test_path.h"
#include "report/writing/names.h"
#include "report/writing/text.h"
#include "rscript/report_script.h"

namespace quillon::ui {

class AnalysisModes;
class FourfoldTable;
class SampleGrid;
class TwoSamplePanel;

// The main window's parts the report reads.
struct ReportSources {
  const AnalysisModes* modes = nullptr;
  const SampleGrid* grid = nullptr;
  const TwoSamplePanel* twoSample = nullptr;  // the six summary boxes
  const FourfoldTable* fourfold = nullptr;    // the four cells
};

// What the report shows at this moment: its text and the pictures of its analysis, built in one
// pass from the same figures.
struct ReportView {
  Report report;
  std::optional<plots::ScatterData> scatter;  // correlation and regression, with its residuals:
  std::vector<ResidualPoint> residuals;
  QString noResiduals;                                // why there are none
  std::optional<plots::AgreementData> agreement;      // paired data of two methods
  std::optional<plots::PairedLinesData> pairedLines;  // paired data before and after
  std::optional<plots::EstimationData> estimation;    // two samples, the t test chosen
  std::optional<plots::BoxPlotData> boxes;            // two samples, the rank test chosen
  std::optional<plots::MarginPlotData> margin;        // a margin judged
  bool fourfold = false;                              // the four-fold table's report
  bool samples = false;                               // a sample analysis's, with its rank test
};

class ReportFeed : public QObject {
  Q_OBJECT
 public:
  ReportFeed(QObject* parent, ReportSources sources);

  ReportView CurrentView() const;
  // The R script of the report shown (`shown`, the current analysis's), from the data it read.
  std::string RScript(const Report& shown, const ScriptHeader& header) const;

  // How P values, intervals and the sentences are written; the choice lasts while the program
  // runs, and nothing stores it.
  PStyle Style() const { return style_; }
  void SetStyle(PStyle style);
  // Which tests the sentences report, the t tests or the rank tests; the table shows both.
  TestPath Path() const { return path_; }
  void SetPath(TestPath path);
  // Whether "(+)" is the good outcome or the harm, which names the NNT's ends in the four-fold
  // table's report; for the run only, like the style.
  PositiveMeans Positive() const { return positive_; }
  void SetPositiveMeans(PositiveMeans positive);
  // What the user calls the groups, the outcome and the variables of the current analysis, and
  // what its pairs mean; each analysis keeps its own for the run. They change the report alone,
  // never the main window.
  const ReportNames& Names() const;
  void SetNames(const ReportNames& names);
  // What the current analysis's trial sets out to show, against which margin; each analysis
  // keeps its own for the run. It changes the report alone, never the main window.
  // Correlation and McNemar's table judge a difference alone.
  const MarginSetting& Margin() const;
  void SetMargin(const MarginSetting& setting);
  static bool MarginApplies(AnalysisMode analysis);
  // Which analysis is current: the report's choices of the names follow it.
  AnalysisMode Current() const;

 signals:
  void Changed();

 private:
  ReportView TwoSample() const;
  ReportView Paired() const;
  ReportView Correlation() const;
  // Adds the margin's section and picture where the analysis's setting asks for them.
  // `difference` names the difference on the picture's axis ("均数差"), `first` and `second`
  // the defaults of the two groups' names.
  void AddMargin(ReportView& view, const MarginFigures& figures, const char* difference,
                 const char* first, const char* second) const;

  ReportSources sources_;
  PStyle style_ = kDefaultPStyle;
  PositiveMeans positive_ = PositiveMeans::Benefit;
  TestPath path_ = TestPath::TTest;
  std::array<ReportNames, AnalysisModeCount> names_{};
  std::array<MarginSetting, AnalysisModeCount> margins_{};
};

}  // namespace quillon::ui
