#include "plots/margin_plot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace quillon::plots {

namespace {

const QColor kZoneColour(214, 236, 214);
const QColor kZoneText(40, 110, 40);
const QColor kMarginColour(190, 60, 40);
const QColor kZeroColour(110, 110, 110);
const QColor kBarColour(20, 20, 20);
constexpr double kInfinity = std::numeric_limits<double>::infinity();

QString ZoneName(Hypothesis hypothesis) {
  switch (hypothesis) {
    case Hypothesis::NonInferiority:
      return QStringLiteral("非劣效区");
    case Hypothesis::Superiority:
      return QStringLiteral("优效区");
    case Hypothesis::Equivalence:
      return QStringLiteral("等效区");
    case Hypothesis::Difference:
      break;
  }
  return {};
}

}  // namespace

MarginPlot::MarginPlot()
    : PlotCanvas(QStringLiteral("MarginPlot"), QStringLiteral("界值图"), QString(), QString()) {}

void MarginPlot::SetData(MarginPlotData data) {
  data_ = std::move(data);
  SetAxisTitles(data_.differenceTitle.isEmpty() ? QStringLiteral("差值") : data_.differenceTitle,
                QString());
  DataChanged();
}

AxisRange MarginPlot::Zone(const MarginPlotData& data) {
  const double margin = data.margin.value_or(0);
  const bool higher = data.better == Better::Higher;
  switch (data.hypothesis) {
    case Hypothesis::NonInferiority:
      return higher ? AxisRange{-margin, kInfinity} : AxisRange{-kInfinity, margin};
    case Hypothesis::Superiority:
      return higher ? AxisRange{margin, kInfinity} : AxisRange{-kInfinity, -margin};
    case Hypothesis::Equivalence:
      return {-margin, margin};
    case Hypothesis::Difference:
      break;
  }
  return {0, 0};
}

std::optional<PlotCanvas::Extent> MarginPlot::DataExtent() const {
  if (!data_.margin || !std::isfinite(*data_.margin) || *data_.margin <= 0 ||
      !HasMargin(data_.hypothesis)) {
    return std::nullopt;
  }
  AxisRange x{-*data_.margin, *data_.margin};
  for (const std::optional<double>& value : {data_.difference, data_.lower, data_.upper}) {
    if (value && std::isfinite(*value)) x = {std::min(x.low, *value), std::max(x.high, *value)};
  }
  // Room either side of the margins, so that the zones beyond them show.
  const double room = 0.35 * *data_.margin;
  return Extent{{x.low - room, x.high + room}, {0, 1}};
}

QString MarginPlot::EmptyMessage() const {
  return data_.empty.isEmpty() ? QStringLiteral("没有界值或差值") : data_.empty;
}

std::vector<Tick> MarginPlot::YTicks(AxisRange /*range*/, int /*count*/) const {
  return {{0.5, data_.level}};
}

void MarginPlot::DrawUnder(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const AxisRange zone = Zone(data_);
  const double left = std::max(layout.area.left(), frame.MapX(std::max(zone.low, layout.x.low)));
  const double right =
      std::min(layout.area.right(), frame.MapX(std::min(zone.high, layout.x.high)));
  if (right > left) {
    painter.fillRect(QRectF(left, layout.area.top(), right - left, layout.area.height()),
                     kZoneColour);
  }
}

void MarginPlot::DrawDots(QPainter& /*painter*/, const Layout& /*layout*/) const {}

void MarginPlot::DrawOver(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const QRectF& area = layout.area;
  const QFontMetricsF metrics(painter.font());
  const double line = metrics.height();
  const double margin = *data_.margin;
  // The marks: −Δ and +Δ dashed, 0 solid, each named at the top of the area.
  struct Mark {
    double at;
    QString name;
    QColor colour;
    Qt::PenStyle style;
  };
  const QString value = QString::number(margin, 'g', 8);
  const Mark marks[] = {{-margin, QStringLiteral("−Δ=−") + value, kMarginColour, Qt::DashLine},
                        {0, QStringLiteral("0"), kZeroColour, Qt::SolidLine},
                        {margin, QStringLiteral("+Δ=") + value, kMarginColour, Qt::DashLine}};
  for (const Mark& mark : marks) {
    const double x = frame.MapX(mark.at);
    painter.setPen(QPen(mark.colour, 1.5, mark.style));
    // The line starts under its name.
    painter.drawLine(QPointF(x, area.top() + line + 3), QPointF(x, area.bottom()));
    painter.setPen(mark.colour);
    const double width = metrics.horizontalAdvance(mark.name) + 4;
    painter.drawText(QRectF(Within(x - width / 2, area.left(), area.right() - width),
                            area.top() + 2, width, line),
                     Qt::AlignCenter, mark.name);
  }
  // The zone's name low in its shaded part, where the bar does not reach.
  const AxisRange zone = Zone(data_);
  const double zoneLeft = std::max(area.left(), frame.MapX(std::max(zone.low, layout.x.low)));
  const double zoneRight = std::min(area.right(), frame.MapX(std::min(zone.high, layout.x.high)));
  if (zoneRight > zoneLeft) {
    painter.setPen(kZoneText);
    painter.drawText(QRectF(zoneLeft, area.bottom() - line - 4, zoneRight - zoneLeft, line),
                     Qt::AlignCenter, ZoneName(data_.hypothesis));
  }
  // The interval as a bar with caps, the difference as a dot on it.
  const double y = frame.MapY(0.5);
  const double cap = 6;
  if (data_.lower && data_.upper && std::isfinite(*data_.lower) && std::isfinite(*data_.upper)) {
    const double lower = frame.MapX(*data_.lower);
    const double upper = frame.MapX(*data_.upper);
    painter.setPen(QPen(kBarColour, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(lower, y), QPointF(upper, y));
    painter.drawLine(QPointF(lower, y - cap), QPointF(lower, y + cap));
    painter.drawLine(QPointF(upper, y - cap), QPointF(upper, y + cap));
  }
  if (data_.difference && std::isfinite(*data_.difference)) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBarColour);
    painter.drawEllipse(QPointF(frame.MapX(*data_.difference), y), 4.5, 4.5);
  }
}

}  // namespace quillon::plots
