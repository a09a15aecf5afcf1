#include "plots/power_curve.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

namespace quillon::plots {

namespace {

const QColor kCurveColour(31, 78, 160);
const QColor kDotColour(31, 78, 160, 180);
const QColor kMarkColour(200, 40, 40);
constexpr double kMarkRadius = 4.5;

}  // namespace

PowerCurvePlot::PowerCurvePlot()
    : PlotCanvas(QStringLiteral("PowerCurvePlot"), QStringLiteral("检验效能曲线"),
                 QStringLiteral("样本量 n（第1组例数或对子数）"), QStringLiteral("检验效能 1−β")) {}

void PowerCurvePlot::SetData(PowerCurve curve, const QString& whyNone) {
  curve_ = std::move(curve);
  empty_ = whyNone;
  DataChanged();
}

std::optional<PlotCanvas::Extent> PowerCurvePlot::DataExtent() const {
  if (curve_.points.empty()) return std::nullopt;
  // Power runs from 0 to 1 whatever the curve reaches, so that curves of two plans compare.
  return Extent{
      {static_cast<double>(curve_.points.front().n), static_cast<double>(curve_.points.back().n)},
      {0, 1}};
}

QString PowerCurvePlot::EmptyMessage() const { return empty_; }

void PowerCurvePlot::DrawDots(QPainter& painter, const Layout& layout) const {
  std::vector<QPointF> points;
  points.reserve(curve_.points.size());
  for (const PowerCurvePoint& point : curve_.points) {
    points.emplace_back(static_cast<double>(point.n), point.power);
  }
  DrawDataDots(painter, layout, points, kDotColour);
}

void PowerCurvePlot::DrawOver(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const QRectF& area = layout.area;
  QPolygonF line;
  for (const PowerCurvePoint& point : curve_.points) {
    line << frame.Map(static_cast<double>(point.n), point.power);
  }
  painter.setPen(QPen(kCurveColour, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(line);
  if (!curve_.marked || *curve_.marked >= curve_.points.size()) return;

  // The plan's n: dashed lines down to the n and across to its power, a ring, and both values.
  const PowerCurvePoint& plan = curve_.points[*curve_.marked];
  const QPointF at = frame.Map(static_cast<double>(plan.n), plan.power);
  painter.setPen(QPen(kMarkColour, 1, Qt::DashLine));
  painter.drawLine(QPointF(at.x(), area.bottom()), at);
  painter.drawLine(QPointF(area.left(), at.y()), at);
  painter.setPen(QPen(kMarkColour, 1.5));
  painter.drawEllipse(at, kMarkRadius, kMarkRadius);
  const QString text =
      QStringLiteral("n=%1，1−β=%2").arg(plan.n).arg(ValueBesideTicks(plan.power, layout.yTicks));
  // Right of the mark and under the curve, which rises from left to right; kept inside the area.
  const QFontMetricsF metrics(painter.font());
  const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
  const double left =
      Within(at.x() + 2 * kMarkRadius, area.left() + 2, area.right() - size.width() - 2);
  const double top =
      Within(at.y() + kMarkRadius, area.top() + 2, area.bottom() - size.height() - 2);
  painter.drawText(QRectF(QPointF(left, top), size), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace quillon::plots
