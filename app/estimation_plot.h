#pragma once
// The two groups side by side: each group's values as dots in a column of its own, put side by
// side where they would overlap, so that the column's width follows how many values lie at each
// height; beside them each group's mean as a short line with its 95 % confidence interval.

#include <array>
#include <optional>
#include <vector>

#include "app/plot_canvas.h"

namespace quillon::ui {

struct EstimationGroup {
  std::vector<double> values;
  std::optional<double> mean, lower, upper;  // the mean and its 95 % confidence interval
};

struct EstimationData {
  std::array<EstimationGroup, 2> groups;
};

class EstimationPlot : public PlotCanvas {
  Q_OBJECT
 public:
  explicit EstimationPlot(QWidget* parent);

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
  struct Stacking {
    double step;   // between neighbours in a row, in pixels
    double reach;  // of the dots either side of a column's centre: the mean line spans them
  };
  Stacking StackingFor(const Layout& layout) const;
  std::size_t RowCount(const Layout& layout) const;
  std::size_t RowOf(const Layout& layout, double value) const;

  EstimationData data_;
};

}  // namespace quillon::ui
