#pragma once
// The two groups of an analysis on ranks side by side: each group's box from the lower to the
// upper quartile with its median, whiskers to the furthest values within one and a half times
// the box's height of it, and the values beyond them as dots; at the right the Hodges–Lehmann
// shift between the groups with its 95 % confidence interval, on an axis of its own with 0 marked.

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "plots/plot_canvas.h"

namespace quillon::plots {

struct BoxGroup {
  std::vector<double> values;
  // The report's median and quartiles, drawn as given.
  std::optional<double> median, p25, p75;
};

struct BoxPlotData {
  std::array<BoxGroup, 2> groups;
  std::array<QString, 2> names;  // under the boxes; "第1组" and "第2组" when empty
  QString valueTitle;            // the value axis's title; "数值" when empty
  // The Hodges–Lehmann shift (group 1 − group 2) and its 95 % confidence interval.
  std::optional<double> shift, shiftLower, shiftUpper;
};

class BoxPlot : public PlotCanvas {
 public:
  // What is drawn of a group with a box: where its whiskers end, and the values beyond them.
  struct Whiskers {
    double low = 0, high = 0;
    std::vector<double> beyond;
  };

  BoxPlot();

  void SetData(BoxPlotData boxes);
  const BoxPlotData& Data() const { return data_; }
  // Each group's whiskers; none for a group without values or quartiles.
  const std::array<std::optional<Whiskers>, 2>& WhiskersOf() const { return whiskers_; }

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  std::optional<Difference> DataDifference() const override;
  std::vector<Tick> XTicks(AxisRange range, double width) const override;
  bool VerticalGrid() const override { return false; }
  void DrawUnder(QPainter& painter, const Layout& layout) const override;
  void DrawDots(QPainter& painter, const Layout& layout) const override;
  void DrawOver(QPainter& painter, const Layout& layout) const override;

 private:
  BoxPlotData data_;
  std::array<std::optional<Whiskers>, 2> whiskers_;
};

}  // namespace quillon::plots
