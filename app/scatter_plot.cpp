#include "app/scatter_plot.h"

#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <vector>

namespace quillon::ui {

namespace {

constexpr int Margin = 40;
constexpr int SavedWidth = 640;
constexpr int SavedHeight = 480;

struct Range {
  double low, high;
};

// The values' range, widened by a twentieth on each side (or by one when it is a single value).
Range Padded(double low, double high) {
  if (low == high) return {low - 1, high + 1};
  const double pad = (high - low) / 20;
  return {low - pad, high + pad};
}

}  // namespace

ScatterPlot::ScatterPlot(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ScatterPlot"));
  setMinimumSize(320, 240);
}

void ScatterPlot::SetData(ScatterData scatter) {
  data_ = std::move(scatter);
  update();
}

void ScatterPlot::Draw(QPainter& painter, const QRect& area) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  const QRect plot = area.adjusted(Margin, Margin / 2, -Margin / 2, -Margin);
  painter.setPen(Qt::black);
  painter.drawRect(plot);
  if (data_.points.empty()) {
    painter.drawText(plot, Qt::AlignCenter, QStringLiteral("没有完整的数据对"));
    painter.restore();
    return;
  }
  const auto [minX, maxX] =
      std::minmax_element(data_.points.begin(), data_.points.end(),
                          [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
  const auto [minY, maxY] =
      std::minmax_element(data_.points.begin(), data_.points.end(),
                          [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
  const Range xs = Padded(minX->x(), maxX->x());
  const Range ys = Padded(minY->y(), maxY->y());
  auto map = [&](double x, double y) {
    return QPointF(plot.left() + (x - xs.low) / (xs.high - xs.low) * plot.width(),
                   plot.bottom() - (y - ys.low) / (ys.high - ys.low) * plot.height());
  };
  // One dot per pixel of the plot: a large grid draws as quickly as a small one.
  std::vector<QPointF> dots;
  std::vector<bool> taken(static_cast<std::size_t>((plot.width() + 1) * (plot.height() + 1)));
  for (const QPointF& point : data_.points) {
    const QPointF at = map(point.x(), point.y());
    const QPoint pixel = (at - plot.topLeft()).toPoint();
    const auto cell =
        static_cast<std::size_t>(std::clamp(pixel.y(), 0, plot.height()) * (plot.width() + 1) +
                                 std::clamp(pixel.x(), 0, plot.width()));
    if (taken[cell]) continue;
    taken[cell] = true;
    dots.push_back(at);
  }
  painter.setPen(QPen(QColor(0, 0, 160), 6, Qt::SolidLine, Qt::RoundCap));
  painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
  if (data_.intercept && data_.slope) {
    painter.setClipRect(plot);
    painter.setPen(QPen(Qt::red, 1.5));
    const double a = *data_.intercept;
    const double b = *data_.slope;
    painter.drawLine(map(minX->x(), a + b * minX->x()), map(maxX->x(), a + b * maxX->x()));
    painter.setClipping(false);
  }
  painter.setPen(Qt::black);
  const QString lowX = QString::number(minX->x(), 'g', 6);
  const QString highX = QString::number(maxX->x(), 'g', 6);
  painter.drawText(QRectF(map(minX->x(), ys.low) + QPointF(-40, 4), QSizeF(80, 16)),
                   Qt::AlignHCenter | Qt::AlignTop, lowX);
  painter.drawText(QRectF(map(maxX->x(), ys.low) + QPointF(-40, 4), QSizeF(80, 16)),
                   Qt::AlignHCenter | Qt::AlignTop, highX);
  painter.drawText(QRectF(area.left(), map(xs.low, minY->y()).y() - 8, Margin - 4, 16),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(minY->y(), 'g', 6));
  painter.drawText(QRectF(area.left(), map(xs.low, maxY->y()).y() - 8, Margin - 4, 16),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(maxY->y(), 'g', 6));
  painter.drawText(QRect(plot.left(), area.bottom() - Margin / 2, plot.width(), Margin / 2),
                   Qt::AlignCenter, QStringLiteral("X"));
  painter.drawText(QRect(area.left(), plot.top(), Margin / 2, plot.height()), Qt::AlignCenter,
                   QStringLiteral("Y"));
  painter.restore();
}

bool ScatterPlot::Save(const QString& path) const {
  const QRect area(0, 0, SavedWidth, SavedHeight);
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(area.size());
    generator.setViewBox(area);
    generator.setTitle(QStringLiteral("散点图"));
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    Draw(painter, area);
    return painter.end();
  }
  QImage image(area.size(), QImage::Format_ARGB32);
  QPainter painter(&image);
  Draw(painter, area);
  painter.end();
  return image.save(path, "PNG");
}

void ScatterPlot::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  Draw(painter, rect());
}

}  // namespace quillon::ui
