#pragma once
// The agreement of two measurements of the same subjects: the difference X − Y of each pair
// against the pair's mean, with the mean difference (the bias) as a solid line and the 95 % limits
// of agreement as dashed lines, each with its 95 % confidence interval as a light band and its
// value written at the right.

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "plots/plot_canvas.h"

namespace quillon::plots {

struct AgreementLine {
  double value = 0;
  std::optional<double> lower, upper;  // its 95 % confidence interval
};

struct AgreementData {
  std::vector<QPointF> points;  // (mean of the pair, X − Y) of each complete pair
  std::optional<AgreementLine> bias, lowerLimit, upperLimit;
  // The axes' titles; "每对的均数 (X + Y) / 2" and "差值 X − Y" when empty.
  QString xTitle, yTitle;
};

class AgreementPlot : public PlotCanvas {
 public:
  AgreementPlot();

  void SetData(AgreementData agreement);
  const AgreementData& Data() const { return data_; }

 protected:
  std::optional<Extent> DataExtent() const override;
  QString EmptyMessage() const override;
  void DrawUnder(QPainter& painter, const Layout& layout) const override;
  void DrawDots(QPainter& painter, const Layout& layout) const override;
  void DrawOver(QPainter& painter, const Layout& layout) const override;

 private:
  AgreementData data_;
};

}  // namespace quillon::plots
