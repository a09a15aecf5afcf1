#include "plots/residual_plot.h"

#include <QPainter>
#include <algorithm>

namespace quillon::plots {

namespace {

const QColor kDotColour(31, 78, 160, 180);
const QColor kZeroColour(200, 40, 40);

}  // namespace

ResidualPlot::ResidualPlot()
    : PlotCanvas(QStringLiteral("ResidualPlot"), QStringLiteral("残差图"),
                 QStringLiteral("拟合值 Ŷ"), QStringLiteral("残差 Y − Ŷ")) {}

void ResidualPlot::SetData(const std::vector<ResidualPoint>& residuals, const QString& whyNone) {
  residuals_.clear();
  residuals_.reserve(residuals.size());
  for (const ResidualPoint& point : residuals)
    residuals_.emplace_back(point.fitted, point.residual);
  empty_ = whyNone;
  DataChanged();
}

std::optional<PlotCanvas::Extent> ResidualPlot::DataExtent() const {
  if (residuals_.empty()) return std::nullopt;
  // The zero line is always in sight.
  Extent extent{{residuals_.front().x(), residuals_.front().x()}, {0, 0}};
  for (const QPointF& point : residuals_) {
    extent.x = {std::min(extent.x.low, point.x()), std::max(extent.x.high, point.x())};
    extent.y = {std::min(extent.y.low, point.y()), std::max(extent.y.high, point.y())};
  }
  return extent;
}

QString ResidualPlot::EmptyMessage() const { return empty_; }

void ResidualPlot::DrawDots(QPainter& painter, const Layout& layout) const {
  DrawDataDots(painter, layout, residuals_, kDotColour);
}

void ResidualPlot::DrawOver(QPainter& painter, const Layout& layout) const {
  const double y = layout.Frame().MapY(0);
  painter.setPen(QPen(kZeroColour, 1.5));
  painter.drawLine(QPointF(layout.area.left(), y), QPointF(layout.area.right(), y));
}

}  // namespace quillon::plots
