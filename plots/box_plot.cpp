#include "plots/box_plot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace quillon::plots {

namespace {

const QColor kDotColour(31, 78, 160, 150);
const QColor kBoxColour(31, 78, 160);
const QColor kBoxFill(222, 228, 240);
const QColor kMedianColour(20, 20, 20);
// Each group's column is centred on 0 and 1; its box takes this part of the column's width
// either side of the centre, but no more than this many pixels.
constexpr double kBoxHalfWidth = 0.2;
constexpr double kWidestHalfBox = 48;
// Whiskers reach past the box by at most this many times its height.
constexpr double kWhiskerReach = 1.5;

// The whiskers of a group with values and both quartiles, in one pass over the values.
std::optional<BoxPlot::Whiskers> WhiskersFor(const BoxGroup& group) {
  if (group.values.empty() || !group.p25 || !group.p75 || !std::isfinite(*group.p25) ||
      !std::isfinite(*group.p75)) {
    return std::nullopt;
  }
  const double lower = std::min(*group.p25, *group.p75);
  const double upper = std::max(*group.p25, *group.p75);
  // Beyond the largest double the reach is infinite: then no value lies beyond it.
  const double reach = kWhiskerReach * (upper - lower);
  BoxPlot::Whiskers whiskers{lower, upper, {}};
  for (const double value : group.values) {
    if (std::isnan(value)) continue;
    if (value < lower - reach || value > upper + reach) {
      whiskers.beyond.push_back(value);
    } else {
      whiskers.low = std::min(whiskers.low, value);
      whiskers.high = std::max(whiskers.high, value);
    }
  }
  return whiskers;
}

}  // namespace

BoxPlot::BoxPlot()
    // The value axis's title comes with the data: there are no axes before it.
    : PlotCanvas(QStringLiteral("BoxPlot"), QStringLiteral("箱线图"), QString(), QString()) {}

void BoxPlot::SetData(BoxPlotData boxes) {
  data_ = std::move(boxes);
  for (std::size_t g = 0; g < 2; ++g) whiskers_[g] = WhiskersFor(data_.groups[g]);
  SetAxisTitles(QString(), data_.valueTitle.isEmpty() ? QStringLiteral("数值") : data_.valueTitle);
  DataChanged();
}

std::optional<PlotCanvas::Extent> BoxPlot::DataExtent() const {
  std::optional<AxisRange> y;
  auto widen = [&y](double value) {
    if (std::isnan(value)) return;
    y = y ? AxisRange{std::min(y->low, value), std::max(y->high, value)} : AxisRange{value, value};
  };
  bool any = false;
  for (std::size_t g = 0; g < 2; ++g) {
    const BoxGroup& group = data_.groups[g];
    any = any || !group.values.empty();
    for (const double value : group.values) widen(value);
    if (!whiskers_[g]) continue;
    for (const auto& value : {group.median, group.p25, group.p75}) {
      if (value) widen(*value);
    }
  }
  if (!any) return std::nullopt;
  // Values that are none of them numbers: an axis about 0, with nothing on it.
  return Extent{{-0.5, 1.5}, y.value_or(AxisRange{0, 0})};
}

QString BoxPlot::EmptyMessage() const { return QStringLiteral("两组都还没有数据"); }

std::optional<PlotCanvas::Difference> BoxPlot::DataDifference() const {
  if (!data_.shift) return std::nullopt;
  return Difference{*data_.shift, data_.shiftLower, data_.shiftUpper,
                    QStringLiteral("位置差（HL）")};
}

std::vector<Tick> BoxPlot::XTicks(AxisRange /*range*/, double /*width*/) const {
  return {{0, data_.names[0].isEmpty() ? QStringLiteral("第1组") : data_.names[0]},
          {1, data_.names[1].isEmpty() ? QStringLiteral("第2组") : data_.names[1]}};
}

namespace {

// A box's outline in the painter's coordinates: its centre, its half-width, and the heights of
// its quartiles, median and whisker ends, each kept inside the plot area.
struct BoxShape {
  double centre, half;
  double lower, upper, low, high;
  std::optional<double> median;
};

BoxShape ShapeOf(const PlotCanvas::Layout& layout, std::size_t g, const BoxGroup& group,
                 const BoxPlot::Whiskers& whiskers) {
  const PlotFrame frame = layout.Frame();
  const QRectF& area = layout.area;
  auto height = [&frame, &area](double value) {
    return Within(frame.MapY(value), area.top(), area.bottom());
  };
  const double centre = frame.MapX(static_cast<double>(g));
  const double half = std::min(kWidestHalfBox, frame.MapX(kBoxHalfWidth) - frame.MapX(0));
  BoxShape shape{centre,
                 half,
                 height(std::min(*group.p25, *group.p75)),
                 height(std::max(*group.p25, *group.p75)),
                 height(whiskers.low),
                 height(whiskers.high),
                 std::nullopt};
  if (group.median && !std::isnan(*group.median)) shape.median = height(*group.median);
  return shape;
}

}  // namespace

void BoxPlot::DrawUnder(QPainter& painter, const Layout& layout) const {
  for (std::size_t g = 0; g < 2; ++g) {
    if (!whiskers_[g]) continue;
    const BoxShape box = ShapeOf(layout, g, data_.groups[g], *whiskers_[g]);
    painter.fillRect(QRectF(QPointF(box.centre - box.half, box.upper),
                            QPointF(box.centre + box.half, box.lower)),
                     kBoxFill);
  }
}

void BoxPlot::DrawDots(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  DotThinner dots(painter, layout.area);
  for (std::size_t g = 0; g < 2; ++g) {
    const double centre = frame.MapX(static_cast<double>(g));
    // A group without a box shows all its values.
    const std::vector<double>& values =
        whiskers_[g] ? whiskers_[g]->beyond : data_.groups[g].values;
    for (const double value : values) dots.Add(QPointF(centre, frame.MapY(value)));
  }
  dots.Draw(painter, kDotColour);
}

void BoxPlot::DrawOver(QPainter& painter, const Layout& layout) const {
  painter.setBrush(Qt::NoBrush);
  for (std::size_t g = 0; g < 2; ++g) {
    if (!whiskers_[g]) continue;
    const BoxShape box = ShapeOf(layout, g, data_.groups[g], *whiskers_[g]);
    const double left = box.centre - box.half;
    const double right = box.centre + box.half;
    const double cap = box.half / 2;
    painter.setPen(QPen(kBoxColour, 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.drawRect(QRectF(QPointF(left, box.upper), QPointF(right, box.lower)));
    painter.drawLine(QPointF(box.centre, box.lower), QPointF(box.centre, box.low));
    painter.drawLine(QPointF(box.centre, box.upper), QPointF(box.centre, box.high));
    painter.drawLine(QPointF(box.centre - cap, box.low), QPointF(box.centre + cap, box.low));
    painter.drawLine(QPointF(box.centre - cap, box.high), QPointF(box.centre + cap, box.high));
    if (box.median) {
      painter.setPen(QPen(kMedianColour, 2.5, Qt::SolidLine, Qt::FlatCap));
      painter.drawLine(QPointF(left, *box.median), QPointF(right, *box.median));
    }
  }
}

}  // namespace quillon::plots
