#pragma once
// The residuals of the least-squares line against its fitted values, Y − Ŷ against Ŷ, with the
// zero line: a curve or a funnel here shows what the straight line and its test miss.

#include <QString>
#include <vector>

#include "plots/plot_canvas.h"
#include "report/checks/normality.h"

namespace quillon::plots {

class ResidualPlot : public PlotCanvas {
 public:
  ResidualPlot();

  // The residuals as the report computes them (RegressionResiduals), or none with the reason.
  void SetData(const std::vector<ResidualPoint>& residuals, const QString& whyNone);
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

}  // namespace quillon::plots
