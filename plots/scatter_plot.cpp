#include "plots/scatter_plot.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "stats/correlation.h"

namespace quillon::plots {

namespace {

// Enough points along X for the band's curves to look smooth at any size.
constexpr int kBandSteps = 96;
const QColor kDotColour(31, 78, 160, 180);
const QColor kLineColour(200, 40, 40);
const QColor kBandColour(250, 222, 222);

// The range of X and the range of Y of a set of points, which must not be empty.
std::pair<AxisRange, AxisRange> RangesOf(const std::vector<QPointF>& points) {
  AxisRange x{points.front().x(), points.front().x()};
  AxisRange y{points.front().y(), points.front().y()};
  for (const QPointF& point : points) {
    x = {std::min(x.low, point.x()), std::max(x.high, point.x())};
    y = {std::min(y.low, point.y()), std::max(y.high, point.y())};
  }
  return {x, y};
}

}  // namespace

ScatterData ScatterOf(std::vector<QPointF> points, const PairSums& pairs) {
  return ScatterOf(std::move(points), pairs, CorrelationReportFigures(pairs));
}

ScatterData ScatterOf(std::vector<QPointF> points, const PairSums& pairs,
                      const CorrelationFigures& figures) {
  ScatterData data;
  data.points = std::move(points);
  data.intercept = figures.shown.interceptValue;
  data.slope = figures.shown.slope;
  if (data.points.empty()) return data;
  const AxisRange x = RangesOf(data.points).first;
  std::vector<double> at;
  for (int step = 0; step <= kBandSteps; ++step) {
    at.push_back(step == kBandSteps ? x.high : x.low + (x.high - x.low) * step / kBandSteps);
  }
  data.band = ConfidenceBand(pairs, figures, at).points;
  return data;
}

ScatterPlot::ScatterPlot()
    // The axes' titles come with the data: there are no axes before it.
    : PlotCanvas(QStringLiteral("ScatterPlot"), QStringLiteral("散点图"), QString(), QString()) {}

void ScatterPlot::SetData(ScatterData scatter) {
  data_ = std::move(scatter);
  if (!data_.points.empty()) xs_ = RangesOf(data_.points).first;
  SetAxisTitles(data_.xTitle.isEmpty() ? QStringLiteral("X（第一组）") : data_.xTitle,
                data_.yTitle.isEmpty() ? QStringLiteral("Y（第二组）") : data_.yTitle);
  DataChanged();
}

std::optional<PlotCanvas::Extent> ScatterPlot::DataExtent() const {
  if (data_.points.empty()) return std::nullopt;
  auto [x, y] = RangesOf(data_.points);
  if (!data_.line) return Extent{x, y};
  for (const BandPoint& at : data_.band) {
    y = {std::min(y.low, at.lower), std::max(y.high, at.upper)};
  }
  return Extent{x, y};
}

QString ScatterPlot::EmptyMessage() const { return QStringLiteral("没有完整的数据对"); }

void ScatterPlot::DrawUnder(QPainter& painter, const Layout& layout) const {
  if (!data_.line || data_.band.empty()) return;
  const PlotFrame frame = layout.Frame();
  QPolygonF shape;
  for (const BandPoint& at : data_.band) shape << frame.Map(at.x, at.upper);
  for (auto at = data_.band.rbegin(); at != data_.band.rend(); ++at) {
    shape << frame.Map(at->x, at->lower);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBandColour);
  painter.drawPolygon(shape);
}

void ScatterPlot::DrawDots(QPainter& painter, const Layout& layout) const {
  DrawDataDots(painter, layout, data_.points, kDotColour);
}

void ScatterPlot::DrawOver(QPainter& painter, const Layout& layout) const {
  if (!data_.line) return;
  const PlotFrame frame = layout.Frame();
  if (!data_.band.empty()) {
    QPolygonF lower, upper;
    for (const BandPoint& at : data_.band) {
      lower << frame.Map(at.x, at.lower);
      upper << frame.Map(at.x, at.upper);
    }
    painter.setPen(QPen(kLineColour, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(lower);
    painter.drawPolyline(upper);
  }
  if (!data_.intercept || !data_.slope) return;
  const double a = *data_.intercept;
  const double b = *data_.slope;
  painter.setPen(QPen(kLineColour, 1.5));
  painter.drawLine(frame.Map(xs_.low, a + b * xs_.low), frame.Map(xs_.high, a + b * xs_.high));
}

}  // namespace quillon::plots
