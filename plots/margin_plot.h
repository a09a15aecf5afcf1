#pragma once
// A trial judged against a margin: the difference with its confidence interval as a bar on the
// difference's axis, the margin's −Δ and +Δ and 0 marked by lines, and the zone where the
// interval must lie for the hypothesis to hold shaded and named (non-inferiority above −Δ, or
// below +Δ when lower values are better; superiority beyond +Δ or −Δ; equivalence between them).

#include <QString>
#include <optional>

#include "plots/plot_canvas.h"
#include "report/hypothesis.h"

namespace quillon::plots {

struct MarginPlotData {
  Hypothesis hypothesis = Hypothesis::NonInferiority;
  Better better = Better::Higher;
  std::optional<double> margin;  // Δ > 0; nothing to draw without it
  std::optional<double> difference, lower, upper;
  QString level;            // the interval's name beside its bar, "90%CI"
  QString differenceTitle;  // the axis's title, "均数差（试验组 − 对照组）"
  QString empty;            // why there is no picture
};

class MarginPlot : public PlotCanvas {
 public:
  MarginPlot();

  void SetData(MarginPlotData data);
  const MarginPlotData& Data() const { return data_; }

  // The zone of the differences where the hypothesis holds, as a range (an end beyond reach
  // given as ±infinity).
  static AxisRange Zone(const MarginPlotData& data);

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  std::vector<Tick> YTicks(AxisRange range, int count) const override;
  void DrawUnder(QPainter& painter, const Layout& layout) const override;
  void DrawDots(QPainter& painter, const Layout& layout) const override;
  void DrawOver(QPainter& painter, const Layout& layout) const override;

 private:
  MarginPlotData data_;
};

}  // namespace quillon::plots
