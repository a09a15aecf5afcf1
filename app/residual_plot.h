#pragma once
// The residuals of the least-squares line against its fitted values, Y − Ŷ against Ŷ, with the
// zero line: a curve or a funnel here shows what the straight line and its test miss.

#include "app/plot_canvas.h"
#include "app/scatter_plot.h"

namespace quillon::ui {

class ResidualPlot : public PlotCanvas {
  Q_OBJECT
 public:
  explicit ResidualPlot(QWidget* parent);

  // The points and the line of the scatter plot; its band is not used.
  void SetData(const ScatterData& scatter);
  // (Ŷ, Y − Ŷ) of each point; none without a line.
  const std::vector<QPointF>& Residuals() const { return residuals_; }

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  void DrawDots(QPainter& painter, const Layout& layout) const override;
  void DrawOver(QPainter& painter, const Layout& layout) const override;

 private:
  std::vector<QPointF> residuals_;
  QString empty_;  // why there are no residuals
};

}  // namespace quillon::ui
