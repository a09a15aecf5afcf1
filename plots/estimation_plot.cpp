#include "plots/estimation_plot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace quillon::plots {

namespace {

const QColor kDotColour(31, 78, 160, 150);
const QColor kMeanColour(20, 20, 20);
// Each group's column is centred on 0 and 1; its dots take at most this part of the column's
// width either side of the centre, and the interval bar stands just right of them.
constexpr double kCloudHalfWidth = 0.28;
constexpr double kBarGap = 12;
constexpr double kShortestMean = 14;
// Values closer than this many pixels in height (a dot's diameter) are put side by side, at most
// a dot's diameter and a pixel apart.
constexpr double kStackPixels = 5;
constexpr double kWidestStep = 6;

}  // namespace

EstimationPlot::EstimationPlot()
    // The value axis's title comes with the data: there are no axes before it.
    : PlotCanvas(QStringLiteral("EstimationPlot"), QStringLiteral("两组数据图"), QString(),
                 QString()) {}

void EstimationPlot::SetData(EstimationData estimation) {
  data_ = std::move(estimation);
  reach_.reset();
  SetAxisTitles(QString(), data_.valueTitle.isEmpty() ? QStringLiteral("数值") : data_.valueTitle);
  DataChanged();
}

std::optional<PlotCanvas::Extent> EstimationPlot::DataExtent() const {
  std::optional<AxisRange> y;
  auto widen = [&y](double value) {
    y = y ? AxisRange{std::min(y->low, value), std::max(y->high, value)} : AxisRange{value, value};
  };
  for (const EstimationGroup& group : data_.groups) {
    for (const double value : group.values) widen(value);
    for (const auto& value : {group.mean, group.lower, group.upper}) {
      if (value) widen(*value);
    }
  }
  if (!y) return std::nullopt;
  return Extent{{-0.45, 1.45}, *y};
}

QString EstimationPlot::EmptyMessage() const { return QStringLiteral("两组都还没有数据"); }

std::vector<Tick> EstimationPlot::XTicks(AxisRange /*range*/, double /*width*/) const {
  return {{0, data_.names[0].isEmpty() ? QStringLiteral("第1组") : data_.names[0]},
          {1, data_.names[1].isEmpty() ? QStringLiteral("第2组") : data_.names[1]}};
}

// Rows of kStackPixels in height; the values in one row are spread sideways from the column's
// centre (0, +1, −1, +2, −2, ... steps), in their order. The step is the same for both groups,
// so that the fullest row of either just fills the cloud's half-width.
double EstimationPlot::Stack(const Layout& layout, DotThinner* dots) const {
  const PlotFrame frame = layout.Frame();
  const std::size_t rows = static_cast<std::size_t>(layout.area.height() / kStackPixels) + 1;
  // A value's distance below the top of the area, in rows: (top of Y − value) · rows per unit.
  const double rowsPerUnit = layout.area.height() / (layout.y.high - layout.y.low) / kStackPixels;
  std::array<std::vector<int>, 2> counts;
  int fullest = 1;
  rowOf_.clear();
  for (std::size_t g = 0; g < 2; ++g) {
    counts[g].assign(rows, 0);
    for (const double value : data_.groups[g].values) {
      const double below = (layout.y.high - value) * rowsPerUnit;
      // A value that is not a number (no dot) counts in the top row.
      const auto row = static_cast<std::uint32_t>(below > 0 ? std::min(below, rows - 1.0) : 0.0);
      fullest = std::max(fullest, ++counts[g][row]);
      if (dots != nullptr) rowOf_.push_back(row);
    }
  }
  const double halfWidth = frame.MapX(kCloudHalfWidth) - frame.MapX(0);
  const double step = std::min(kWidestStep, halfWidth / std::max(1, fullest / 2));
  reach_ = {layout.area, step * (fullest / 2)};
  if (dots == nullptr) return reach_->second;
  std::size_t next = 0;
  std::vector<int> placed;
  for (std::size_t g = 0; g < 2; ++g) {
    placed.assign(rows, 0);
    const double centre = frame.MapX(static_cast<double>(g));
    for (const double value : data_.groups[g].values) {
      const int k = placed[rowOf_[next++]]++;
      const double side = (k + 1) / 2 * (k % 2 == 1 ? 1 : -1);
      dots->Add(QPointF(centre + side * step, frame.MapY(value)));
    }
  }
  return reach_->second;
}

void EstimationPlot::DrawDots(QPainter& painter, const Layout& layout) const {
  DotThinner dots(painter, layout.area);
  Stack(layout, &dots);
  dots.Draw(painter, kDotColour);
}

void EstimationPlot::DrawOver(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const double reach =
      reach_ && reach_->first == layout.area ? reach_->second : Stack(layout, nullptr);
  const double half = std::max(kShortestMean, reach + 4);
  const double cap = 4;
  for (std::size_t g = 0; g < 2; ++g) {
    const EstimationGroup& group = data_.groups[g];
    if (!group.mean) continue;
    const double centre = frame.MapX(static_cast<double>(g));
    const double bar = centre + half + kBarGap;
    const double mean = frame.MapY(*group.mean);
    painter.setPen(QPen(kMeanColour, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(centre - half, mean), QPointF(centre + half, mean));
    if (group.lower && group.upper) {
      const double lower = frame.MapY(*group.lower);
      const double upper = frame.MapY(*group.upper);
      painter.setPen(QPen(kMeanColour, 1.5, Qt::SolidLine, Qt::FlatCap));
      painter.drawLine(QPointF(bar, lower), QPointF(bar, upper));
      painter.drawLine(QPointF(bar - cap, lower), QPointF(bar + cap, lower));
      painter.drawLine(QPointF(bar - cap, upper), QPointF(bar + cap, upper));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMeanColour);
    painter.drawEllipse(QPointF(bar, mean), 3.5, 3.5);
  }
}

}  // namespace quillon::plots
