#include "plots/paired_lines.h"

#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillon::plots {

namespace {

const QColor kDotColour(31, 78, 160, 170);
const QColor kLineColour(31, 78, 160, 80);

}  // namespace

PairedLinesPlot::PairedLinesPlot()
    // The value axis's title comes with the data: there are no axes before it.
    : PlotCanvas(QStringLiteral("PairedLinesPlot"), QStringLiteral("配对数据图"), QString(),
                 QString()) {}

void PairedLinesPlot::SetData(PairedLinesData paired) {
  data_ = std::move(paired);
  SetAxisTitles(QString(), data_.valueTitle.isEmpty() ? QStringLiteral("数值") : data_.valueTitle);
  DataChanged();
}

std::optional<PlotCanvas::Extent> PairedLinesPlot::DataExtent() const {
  if (data_.pairs.empty()) return std::nullopt;
  std::optional<AxisRange> y;
  auto widen = [&y](double value) {
    if (std::isnan(value)) return;
    y = y ? AxisRange{std::min(y->low, value), std::max(y->high, value)} : AxisRange{value, value};
  };
  for (const auto& [first, second] : data_.pairs) {
    widen(first);
    widen(second);
  }
  // Values that are none of them numbers: an axis about 0, with nothing on it.
  return Extent{{-0.35, 1.35}, y.value_or(AxisRange{0, 0})};
}

QString PairedLinesPlot::EmptyMessage() const { return QStringLiteral("没有完整的数据对"); }

std::optional<PlotCanvas::Difference> PairedLinesPlot::DataDifference() const {
  if (!data_.change) return std::nullopt;
  return Difference{*data_.change, data_.changeLower, data_.changeUpper,
                    data_.changeName.isEmpty() ? QStringLiteral("变化") : data_.changeName};
}

std::vector<Tick> PairedLinesPlot::XTicks(AxisRange /*range*/, double /*width*/) const {
  return {{0, data_.names[0].isEmpty() ? QStringLiteral("处理前") : data_.names[0]},
          {1, data_.names[1].isEmpty() ? QStringLiteral("处理后") : data_.names[1]}};
}

// One line per pair of cells the two ends fall in, cells two pixels high (three in a vector
// file, as the dots): lines that close cover each other anyway, and tens of thousands of pairs
// draw as quickly as the area is high. A value beyond the area (an infinity) ends at its edge.
void PairedLinesPlot::DrawUnder(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const QRectF& area = layout.area;
  const bool raster =
      painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster;
  // At most a thousand rows, whatever the device's size (a printed page).
  const double perPixel = std::min(raster ? 1.0 / 2 : 1.0 / 3, 1000 / std::max(1.0, area.height()));
  const auto rows = static_cast<std::size_t>(std::ceil(area.height() * perPixel)) + 1;
  std::vector<std::uint8_t> taken(rows * rows);
  auto rowOf = [&](double y) {
    return static_cast<std::size_t>(
        std::clamp((y - area.top()) * perPixel, 0.0, static_cast<double>(rows - 1)));
  };
  const double left = frame.MapX(0);
  const double right = frame.MapX(1);
  std::vector<QLineF> lines;
  for (const auto& [first, second] : data_.pairs) {
    if (std::isnan(first) || std::isnan(second)) continue;
    const double from = Within(frame.MapY(first), area.top(), area.bottom());
    const double to = Within(frame.MapY(second), area.top(), area.bottom());
    std::uint8_t& cell = taken[rowOf(from) * rows + rowOf(to)];
    if (cell != 0) continue;
    cell = 1;
    lines.emplace_back(left, from, right, to);
  }
  painter.setPen(QPen(kLineColour, 1));
  painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

void PairedLinesPlot::DrawDots(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  DotThinner dots(painter, layout.area);
  for (const auto& [first, second] : data_.pairs) {
    dots.Add(frame.Map(0, first));
    dots.Add(frame.Map(1, second));
  }
  dots.Draw(painter, kDotColour);
}

}  // namespace quillon::plots
