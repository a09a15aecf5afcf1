#pragma once
// Paired measurements before and after: each subject's two values as dots in two columns, joined
// by a thin line, so that the direction of each change shows; at the right the mean (or median)
// change with its 95 % confidence interval, on an axis of its own with 0 marked.

#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "plots/plot_canvas.h"

namespace quillon::plots {

struct PairedLinesData {
  std::vector<std::pair<double, double>> pairs;  // (first, second) of each complete pair
  std::array<QString, 2> names;  // under the columns; "处理前" and "处理后" when empty
  QString valueTitle;            // the value axis's title; "数值" when empty
  QString changeName;            // the change's name ("均数变化"); "变化" when empty
  // The change second − first and its 95 % confidence interval.
  std::optional<double> change, changeLower, changeUpper;
};

class PairedLinesPlot : public PlotCanvas {
 public:
  PairedLinesPlot();

  void SetData(PairedLinesData paired);
  const PairedLinesData& Data() const { return data_; }

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  std::optional<Difference> DataDifference() const override;
  std::vector<Tick> XTicks(AxisRange range, double width) const override;
  bool VerticalGrid() const override { return false; }
  void DrawUnder(QPainter& painter, const Layout& layout) const override;
  void DrawDots(QPainter& painter, const Layout& layout) const override;

 private:
  PairedLinesData data_;
};

}  // namespace quillon::plots
