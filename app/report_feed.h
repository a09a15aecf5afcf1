#pragma once
// What the results report shows at this moment: the current analysis's report built from the
// main window's inputs (the grid's lists, the summary boxes, the four-fold cells), and, for
// correlation and regression, the points and the fitted line of the scatter plot. Changed is
// emitted on every change of those inputs and on every switch of the analysis.

#include <QObject>
#include <QPointF>
#include <array>
#include <optional>
#include <vector>

#include "counts/chi_square.h"
#include "report/text.h"

class QWidget;

namespace quillon::ui {

class AnalysisModes;
class SampleGrid;

struct ScatterData {
  std::vector<QPointF> points;
  std::optional<double> intercept, slope;  // the least-squares line of Y on X
};

class ReportFeed : public QObject {
  Q_OBJECT
 public:
  // form: the main window, whose summary boxes Text4 and four-fold cells Text11 are read.
  ReportFeed(QObject* parent, QWidget* form, const AnalysisModes* modes, const SampleGrid* grid);

  Report CurrentReport() const;
  // Nothing unless correlation and regression is the current analysis.
  std::optional<ScatterData> CurrentScatter() const;

 signals:
  void Changed();

 private:
  Report TwoSample() const;
  FourfoldCells Cells() const;  // a, b, c, d

  QWidget* form_;
  const AnalysisModes* modes_;
  const SampleGrid* grid_;
};

}  // namespace quillon::ui
