#pragma once
// What the results report shows at this moment: the current analysis's report built from the
// main window's inputs (the grid's lists, the summary boxes, the four-fold cells), and, for
// correlation and regression, the points and the fitted line of the scatter plot. Changed is
// emitted on every change of those inputs and on every switch of the analysis.

#include <QObject>
#include <optional>

#include "app/scatter_plot.h"
#include "report/text.h"

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

class ReportFeed : public QObject {
  Q_OBJECT
 public:
  ReportFeed(QObject* parent, ReportSources sources);

  Report CurrentReport() const;

  // How P values, intervals and the sentences are written; the choice lasts while the program
  // runs, and nothing stores it.
  PStyle Style() const { return style_; }
  void SetStyle(PStyle style);
  // Nothing unless correlation and regression is the current analysis.
  std::optional<ScatterData> CurrentScatter() const;

 signals:
  void Changed();

 private:
  Report TwoSample() const;

  ReportSources sources_;
  PStyle style_ = kDefaultPStyle;
};

}  // namespace quillon::ui
