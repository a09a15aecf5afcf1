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

namespace {

// Which pairs of heights at the two columns already have a line, in cells of a few pixels
// square; at most a thousand rows, whatever the device's size (a printed page).
class EndCells {
 public:
  EndCells(const QRectF& area, double pixels)
      : top_(area.top()),
        perPixel_(std::min(1 / pixels, 1000 / std::max(1.0, area.height()))),
        rows_(static_cast<std::size_t>(std::ceil(area.height() * perPixel_)) + 1),
        taken_(rows_ * rows_) {}
  std::uint8_t& Cell(double from, double to) { return taken_[Row(from) * rows_ + Row(to)]; }

 private:
  std::size_t Row(double y) const {
    return static_cast<std::size_t>(
        std::clamp((y - top_) * perPixel_, 0.0, static_cast<double>(rows_ - 1)));
  }
  double top_, perPixel_;
  std::size_t rows_;
  std::vector<std::uint8_t> taken_;
};

// Lines whose ends are this close draw over each other; past the first few hundred lines, which
// a small data set draws all of, a line is drawn only where none ends this close to it yet:
// each line costs as much as a few hundred dots.
constexpr double kCoarseCells = 4;
constexpr std::size_t kFineLines = 256;

}  // namespace

// One line per pair of cells the two ends fall in, cells two pixels high (three in a vector
// file, as the dots) and, past the first few hundred, four times that: tens of thousands of
// pairs draw as quickly as a few hundred. A value beyond the area (an infinity) ends at its edge.
void PairedLinesPlot::DrawUnder(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const QRectF& area = layout.area;
  const bool raster =
      painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster;
  const double pixels = raster ? 2 : 3;
  EndCells fine(area, pixels);
  EndCells coarse(area, pixels * kCoarseCells);
  const double left = frame.MapX(0);
  const double right = frame.MapX(1);
  std::vector<QLineF> lines;
  for (const auto& [first, second] : data_.pairs) {
    if (std::isnan(first) || std::isnan(second)) continue;
    const double from = Within(frame.MapY(first), area.top(), area.bottom());
    const double to = Within(frame.MapY(second), area.top(), area.bottom());
    std::uint8_t& cell = fine.Cell(from, to);
    std::uint8_t& wider = coarse.Cell(from, to);
    if (cell != 0 || (wider != 0 && lines.size() >= kFineLines)) continue;
    cell = 1;
    wider = 1;
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
