#pragma once
// The two groups side by side: each group's values as dots in a column of its own, put side by
// side where they would overlap, so that the column's width follows how many values lie at each
// height; beside them each group's mean as a short line with its 95 % confidence interval.

#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "plots/plot_canvas.h"

namespace quillon::plots {

struct EstimationGroup {
  std::vector<double> values;
  std::optional<double> mean, lower, upper;  // the mean and its 95 % confidence interval
};

struct EstimationData {
  std::array<EstimationGroup, 2> groups;
  std::array<QString, 2> names;  // under the columns; "第1组" and "第2组" when empty
  QString valueTitle;            // the value axis's title; "数值" when empty
};

class EstimationPlot : public PlotCanvas {
 public:
  EstimationPlot();

  void SetData(EstimationData estimation);
  const EstimationData& Data() const { return data_; }

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  std::vector<Tick> XTicks(AxisRange range, double width) const override;
  bool VerticalGrid() const override { return false; }
  void DrawDots(QPainter& painter, const Layout& layout) const override;
  void DrawOver(QPainter& painter, const Layout& layout) const override;

 private:
  // The dots in a plot area, given to `dots` when asked for; returns how far they reach either side
  // of a column's centre, which the mean line spans.
  double Stack(const Layout& layout, DotThinner* dots) const;

  EstimationData data_;
  // The last reach computed, for the plot area it was computed for.
  mutable std::optional<std::pair<QRectF, double>> reach_;
  mutable std::vector<std::uint32_t> rowOf_;  // each value's row, kept between drawings
};

}  // namespace quillon::plots
