#pragma once
// The power of a planned study against its sample size: the power at each n from the least n a
// design allows to about twice the plan's, as a line through its points, with the plan's n marked
// and its power read off on both axes.

#include <QString>
#include <optional>

#include "plots/plot_canvas.h"
#include "power/sample_size.h"

namespace quillon::plots {

class PowerCurvePlot : public PlotCanvas {
 public:
  PowerCurvePlot();

  // The curve as the sample-size computation returns it, or none with the reason.
  void SetData(PowerCurve curve, const QString& whyNone);
  const PowerCurve& Data() const { return curve_; }

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  void DrawDots(QPainter& painter, const Layout& layout) const override;
  void DrawOver(QPainter& painter, const Layout& layout) const override;

 private:
  PowerCurve curve_;
  QString empty_;  // why there is no curve
};

}  // namespace quillon::plots
