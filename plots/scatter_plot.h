#pragma once
// The scatter plot of correlation and regression: the complete pairs as dots, the least-squares
// line of Y on X across the range of X, and the line's 95 % confidence band, shaded; or the dots
// alone, where the analysis is on ranks and draws no line.

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "plots/plot_canvas.h"
#include "report/checks/regression_band.h"
#include "stats/exact_sums.h"

namespace quillon::plots {

struct ScatterData {
  std::vector<QPointF> points;
  std::optional<double> intercept, slope;  // the least-squares line of Y on X
  std::vector<BandPoint> band;             // its confidence band, in the order of X
  bool line = true;                        // false: the dots alone, without the line and band
  QString xTitle, yTitle;  // the axes' titles; "X（第一组）", "Y（第二组）" when empty
};

// The picture of the complete pairs (X, Y) whose exact sums are given: the report's line and its
// band across the range of X.
ScatterData ScatterOf(std::vector<QPointF> points, const PairSums& pairs);
// The same from the report's figures of those pairs, when they are at hand.
ScatterData ScatterOf(std::vector<QPointF> points, const PairSums& pairs,
                      const CorrelationFigures& figures);

class ScatterPlot : public PlotCanvas {
 public:
  ScatterPlot();

  void SetData(ScatterData scatter);
  const ScatterData& Data() const { return data_; }

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  void DrawUnder(QPainter& painter, const Layout& layout) const override;
  void DrawDots(QPainter& painter, const Layout& layout) const override;
  void DrawOver(QPainter& painter, const Layout& layout) const override;

 private:
  ScatterData data_;
  AxisRange xs_;  // the range of X among the points
};

}  // namespace quillon::plots
