#include "plots/plot_canvas.h"

#include <QBuffer>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <utility>

namespace quillon::plots {

namespace {

constexpr double kDotDiameter = 5;
constexpr double kTickLength = 4;
// Pixels between round values along X, and at least between their labels.
constexpr double kTickSpacing = 100;
constexpr double kLabelGap = 24;
constexpr double kSavedPixelRatio = 2;
const QColor kGridColour(232, 232, 232);
// The difference's panel: at least this wide, and this far right of the plot area; its estimate
// drawn as the estimation plot draws a mean's interval.
constexpr double kNarrowestPanel = 48;
constexpr double kPanelGap = 12;
constexpr double kEstimateRadius = 3.5;
constexpr double kCap = 4;
const QColor kEstimateColour(20, 20, 20);
const QColor kZeroColour(200, 40, 40);

// Round steps are numbered in ascending order: step 3e is 10^e, 3e + 1 is 2 × 10^e and 3e + 2 is
// 5 × 10^e, from 10^-300 up to 10^308, the largest power of ten a double holds.
constexpr int kLeastStep = -900;
constexpr int kGreatestStep = 924;
constexpr int kMostTicksAsked = 50;
// The narrowest axis, well above the least step times the most ticks.
constexpr double kLeastSpan = 1e-280;
// Labels beyond these are written as powers of ten: a fixed-point label would run to 16 digits.
constexpr double kLargestFixedLabel = 1e15;
constexpr int kMostFixedDecimals = 12;

int PowerOfStep(int step) { return step >= 0 ? step / 3 : -((2 - step) / 3); }

double StepSize(int step) {
  constexpr std::array<double, 3> kDigits{1, 2, 5};
  const int power = PowerOfStep(step);
  return kDigits[static_cast<std::size_t>(step - 3 * power)] * std::pow(10.0, power);
}

// The round step nearest a positive finite size (1 below 1.5, 2 below 3, 5 below 7, 10 above),
// or the least round step at or above it.
int StepNear(double size, bool atLeast) {
  const double power = std::floor(std::log10(size));
  if (!(power >= PowerOfStep(kLeastStep))) return kLeastStep;
  if (!(power <= PowerOfStep(kGreatestStep))) return kGreatestStep;
  const double fraction = size / std::pow(10.0, power);
  const std::array<double, 3> bounds =
      atLeast ? std::array<double, 3>{1, 2, 5} : std::array<double, 3>{1.5, 3, 7};
  int digit = 0;
  while (digit < 3 && (atLeast ? fraction > bounds[static_cast<std::size_t>(digit)]
                               : fraction >= bounds[static_cast<std::size_t>(digit)])) {
    ++digit;
  }
  return std::clamp(3 * static_cast<int>(power) + digit, kLeastStep, kGreatestStep);
}

// The multiples k × step of a step that lie in a range, or a billionth of a step outside it (so
// that 0.7 is a multiple of 0.1), but never more than a millionth of the range outside it.
struct Multiples {
  std::int64_t first, last;
  std::int64_t Count() const { return last - first + 1; }
};

// The step is at least sixteen units in the last place of the range's larger end, so the
// quotients stay below 2^49 and count exactly.
Multiples MultiplesIn(AxisRange range, double step) {
  const double slack = std::min(1e-9, (range.high / 2 - range.low / 2) / step * 2e-6);
  return {static_cast<std::int64_t>(std::ceil(range.low / step - slack)),
          static_cast<std::int64_t>(std::floor(range.high / step + slack))};
}

int DecimalsOf(double step) {
  return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

// The decimals a list of round ticks is labelled with.
int TickDecimals(const std::vector<Tick>& ticks) {
  if (ticks.size() < 2) return 1;
  return DecimalsOf(ticks[1].value - ticks[0].value);
}

// The picture's font at a fixed pixel size, so that texts take the same room on the screen, in an
// image and in an SVG file, whatever each device's resolution.
QFont PixelFont(const QFont& font) {
  QFont fixed = font;
  fixed.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
  return fixed;
}

// A round dot as a small image at the painter's pixel ratio, to be copied once per position.
QImage DotImage(const QColor& colour, qreal ratio) {
  const int side = static_cast<int>(std::ceil(kDotDiameter * ratio)) + 1;
  QImage dot(side, side, QImage::Format_ARGB32_Premultiplied);
  dot.fill(Qt::transparent);
  QPainter painter(&dot);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(QPointF(side / 2.0, side / 2.0), kDotDiameter * ratio / 2,
                      kDotDiameter * ratio / 2);
  painter.end();
  dot.setDevicePixelRatio(ratio);
  return dot;
}

}  // namespace

AxisRange AxisFor(AxisRange data) {
  // Far inside the largest double, so that the span and the padding stay finite.
  constexpr double kLimit = DBL_MAX / 8;
  double low = std::isnan(data.low) ? data.high : data.low;
  double high = std::isnan(data.high) ? low : data.high;
  if (std::isnan(low)) low = high = 0;
  low = std::clamp(low, -kLimit, kLimit);
  high = std::clamp(high, -kLimit, kLimit);
  if (high < low) std::swap(low, high);
  if (high > low) {
    const double pad = (high - low) / 20;
    low -= pad;
    high += pad;
  } else {
    low -= 1;
    high += 1;
  }
  // Values of 5 × 10^12 that differ in the fourth decimal are a few units in the last place
  // apart: the axis spans at least 2^12 of them, room for round steps of sixteen.
  const double least =
      std::max(std::ldexp(std::max(std::fabs(low), std::fabs(high)), -40), kLeastSpan);
  if (high - low < least) {
    const double middle = low / 2 + high / 2;
    low = middle - least / 2;
    high = middle + least / 2;
  }
  return {low, high};
}

std::vector<Tick> RoundTicks(AxisRange range, int maxCount) {
  if (!std::isfinite(range.low) || !std::isfinite(range.high)) return {};
  if (range.high < range.low) std::swap(range.low, range.high);
  if (!(range.high > range.low)) return {};
  const int count = std::clamp(maxCount, 1, kMostTicksAsked);
  const std::int64_t most = 2 * static_cast<std::int64_t>(count) + 1;
  // Below sixteen units in the last place of the larger end, neighbouring multiples of a step
  // would be rounded together.
  const double magnitude = std::max(std::fabs(range.low), std::fabs(range.high));
  const int least =
      StepNear(magnitude < DBL_MIN ? DBL_MIN : std::ldexp(16.0, std::ilogb(magnitude) - 52), true);
  const double raw = std::min((range.high / 2 - range.low / 2) / count * 2, 1e308);
  int step = std::max(StepNear(raw, false), least);
  auto ticksAt = [&range](int at) { return MultiplesIn(range, StepSize(at)).Count(); };
  while (step < kGreatestStep && ticksAt(step) > most) ++step;
  while (step > least && ticksAt(step) < 2 && ticksAt(step - 1) <= most) --step;

  const double size = StepSize(step);
  const Multiples multiples = MultiplesIn(range, size);
  const int power = PowerOfStep(step);
  const double largest =
      static_cast<double>(std::max(std::llabs(multiples.first), std::llabs(multiples.last))) * size;
  const bool exponent = largest >= kLargestFixedLabel || -power > kMostFixedDecimals;
  const int digits =
      !exponent     ? std::max(0, -power)
      : largest > 0 ? std::clamp(static_cast<int>(std::floor(std::log10(largest))) - power, 0, 17)
                    : 0;
  std::vector<Tick> ticks;
  for (std::int64_t k = multiples.first; k <= multiples.last; ++k) {
    const double value = k == 0 ? 0.0 : static_cast<double>(k) * size;
    ticks.push_back({value, exponent && k == 0
                                ? QStringLiteral("0")
                                : QString::number(value, exponent ? 'e' : 'f', digits)});
  }
  return ticks;
}

QString ValueBesideTicks(double value, const std::vector<Tick>& ticks) {
  const int decimals = TickDecimals(ticks) + 1;
  if (!(std::fabs(value) < kLargestFixedLabel) || decimals > kMostFixedDecimals + 1) {
    return QString::number(value, 'g', 6);
  }
  return QString::number(value, 'f', decimals);
}

PlotCanvas::PlotCanvas(QString name, QString title, QString xTitle, QString yTitle)
    : name_(std::move(name)),
      title_(std::move(title)),
      xTitle_(std::move(xTitle)),
      yTitle_(std::move(yTitle)) {}

void PlotCanvas::SetFont(const QFont& font) {
  if (font == font_) return;
  font_ = font;
  cacheValid_ = false;
}

void PlotCanvas::SetAxisTitles(QString xTitle, QString yTitle) {
  xTitle_ = std::move(xTitle);
  yTitle_ = std::move(yTitle);
  cacheValid_ = false;
}

void PlotCanvas::DataChanged() {
  extent_ = DataExtent();
  difference_.reset();
  if (extent_) difference_ = DataDifference();
  cacheValid_ = false;
  if (changed_) changed_();
}

std::vector<Tick> PlotCanvas::XTicks(AxisRange range, double width) const {
  return RoundTicks(range, std::max(2, static_cast<int>(width / kTickSpacing)));
}

std::vector<Tick> PlotCanvas::YTicks(AxisRange range, int count) const {
  return RoundTicks(range, count);
}

// With extent_ known.
PlotCanvas::Layout PlotCanvas::LayOut(const QRect& area, const QFontMetricsF& metrics) const {
  const Extent& extent = *extent_;
  Layout layout;
  layout.x = AxisFor(extent.x);
  layout.y = AxisFor(extent.y);
  // A picture too small for the margins keeps its plot area inside it, down to nothing.
  const double pictureRight = area.left() + area.width();
  const double pictureBottom = area.top() + area.height();
  const double line = metrics.height();
  const double top = Within(area.top() + std::ceil(line / 2) + 2, area.top(), pictureBottom);
  const double bottom =
      Within(pictureBottom - std::ceil(2 * line + kTickLength + 6), top, pictureBottom);
  const int tickCount = std::max(2, static_cast<int>((bottom - top) / 50));
  layout.yTicks = YTicks(layout.y, tickCount);
  auto widestOf = [&metrics](const std::vector<Tick>& ticks) {
    double widest = 0;
    for (const Tick& tick : ticks) widest = std::max(widest, metrics.horizontalAdvance(tick.label));
    return widest;
  };
  const double labels = widestOf(layout.yTicks);
  double right = Within(pictureRight - 16, area.left(), pictureRight);
  if (difference_) {
    // At the right of the picture, its labels beyond it; as wide as its name, within a quarter
    // of the picture. The plot area takes what is left.
    Panel panel{{}, {}, {}, *difference_};
    const Difference& difference = panel.difference;
    AxisRange data{0, 0};
    for (const std::optional<double>& value :
         {std::optional<double>(difference.value), difference.lower, difference.upper}) {
      // A value that is not a number leaves the range as it is.
      if (value) data = {std::min(data.low, *value), std::max(data.high, *value)};
    }
    panel.y = AxisFor(data);
    panel.yTicks = RoundTicks(panel.y, tickCount);
    const double panelRight =
        Within(pictureRight - std::ceil(widestOf(panel.yTicks) + kTickLength + 3 + 6), area.left(),
               pictureRight);
    const double width = std::clamp(metrics.horizontalAdvance(difference.name) + 12,
                                    kNarrowestPanel, std::max(kNarrowestPanel, area.width() / 4.0));
    const double panelLeft = Within(panelRight - width, area.left(), panelRight);
    panel.area = QRectF(panelLeft, top, panelRight - panelLeft, bottom - top);
    right = Within(panelLeft - kPanelGap, area.left(), panelLeft);
    layout.panel = std::move(panel);
  }
  const double left =
      Within(area.left() + std::ceil(line + 8 + labels + kTickLength + 3), area.left(), right);
  layout.area = QRectF(left, top, right - left, bottom - top);
  layout.xTicks = XTicks(layout.x, layout.area.width());
  // Long labels (large values with decimals) get fewer ticks, so that they stay apart.
  double widest = 0;
  for (const Tick& tick : layout.xTicks) {
    widest = std::max(widest, metrics.horizontalAdvance(tick.label));
  }
  const double room = layout.area.width() / std::max<std::size_t>(1, layout.xTicks.size());
  if (layout.xTicks.size() > 2 && widest + kLabelGap > room) {
    layout.xTicks = XTicks(layout.x, layout.area.width() * kTickSpacing / (widest + kLabelGap));
  }
  return layout;
}

void PlotCanvas::DrawBackground(QPainter& painter, const QRect& area, const Layout* layout) const {
  painter.fillRect(area, Qt::white);
  if (layout == nullptr) return;
  const PlotFrame frame = layout->Frame();
  const QRectF& plot = layout->area;
  painter.setPen(QPen(kGridColour, 1));
  for (const Tick& tick : layout->yTicks) {
    const double y = std::round(frame.MapY(tick.value)) + 0.5;
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }
  if (layout->panel) {
    const PlotFrame panel = layout->panel->Frame();
    const QRectF& side = layout->panel->area;
    for (const Tick& tick : layout->panel->yTicks) {
      const double y = std::round(panel.MapY(tick.value)) + 0.5;
      painter.drawLine(QPointF(side.left(), y), QPointF(side.right(), y));
    }
  }
  if (!VerticalGrid()) return;
  for (const Tick& tick : layout->xTicks) {
    const double x = std::round(frame.MapX(tick.value)) + 0.5;
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
  }
}

void PlotCanvas::DrawAxes(QPainter& painter, const QRect& area, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const QRectF& plot = layout.area;
  const QFontMetricsF metrics(painter.font());
  const double line = metrics.height();
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot.adjusted(0.5, 0.5, -0.5, -0.5));
  for (std::size_t k = 0; k < layout.xTicks.size(); ++k) {
    const Tick& tick = layout.xTicks[k];
    const double x = std::round(frame.MapX(tick.value)) + 0.5;
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength));
    // Centred under its tick, but not past either end of the picture; a name too long for the
    // room between its neighbouring ticks is cut short (round values always fit).
    double room = plot.width();
    for (const std::size_t other : {k - 1, k + 1}) {
      if (other >= layout.xTicks.size()) continue;
      room = std::min(room, std::fabs(frame.MapX(layout.xTicks[other].value) - x) - 8);
    }
    const QString label = metrics.elidedText(tick.label, Qt::ElideRight, std::max(0.0, room));
    const double width = metrics.horizontalAdvance(label) + 2;
    const double left =
        Within(x - width / 2, area.left() + 2.0, area.left() + area.width() - width - 2.0);
    painter.drawText(QRectF(left, plot.bottom() + kTickLength + 1, width, line),
                     Qt::AlignHCenter | Qt::AlignTop, label);
  }
  for (const Tick& tick : layout.yTicks) {
    const double y = std::round(frame.MapY(tick.value)) + 0.5;
    painter.drawLine(QPointF(plot.left() - kTickLength, y), QPointF(plot.left(), y));
    painter.drawText(
        QRectF(area.left(), y - line / 2, plot.left() - kTickLength - 3 - area.left(), line),
        Qt::AlignRight | Qt::AlignVCenter, tick.label);
  }
  painter.drawText(QRectF(plot.left(), plot.bottom() + kTickLength + 2 + line, plot.width(), line),
                   Qt::AlignHCenter | Qt::AlignTop,
                   metrics.elidedText(xTitle_, Qt::ElideRight, plot.width()));
  painter.save();
  painter.translate(area.left() + 2, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), line),
                   Qt::AlignHCenter | Qt::AlignTop,
                   metrics.elidedText(yTitle_, Qt::ElideRight, plot.height()));
  painter.restore();
  if (layout.panel) DrawPanel(painter, area, layout);
}

void PlotCanvas::DrawPanel(QPainter& painter, const QRect& area, const Layout& layout) {
  const Panel& panel = *layout.panel;
  const PlotFrame frame = panel.Frame();
  const QRectF& side = panel.area;
  const QFontMetricsF metrics(painter.font());
  const double line = metrics.height();
  // 0, where the two columns would not differ.
  const double zero = std::round(frame.MapY(0)) + 0.5;
  painter.setPen(QPen(kZeroColour, 1, Qt::DashLine));
  painter.drawLine(QPointF(side.left(), zero), QPointF(side.right(), zero));
  // The estimate in the middle, its interval as a bar with caps; a value beyond the axis (an
  // infinity) at the panel's edge, and one that is not a number not at all.
  const Difference& difference = panel.difference;
  const double x = frame.MapX(0.5);
  auto height = [&frame, &side](double value) {
    return Within(frame.MapY(value), side.top(), side.bottom());
  };
  if (difference.lower && difference.upper && !std::isnan(*difference.lower) &&
      !std::isnan(*difference.upper)) {
    const double lower = height(*difference.lower);
    const double upper = height(*difference.upper);
    painter.setPen(QPen(kEstimateColour, 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, lower), QPointF(x, upper));
    painter.drawLine(QPointF(x - kCap, lower), QPointF(x + kCap, lower));
    painter.drawLine(QPointF(x - kCap, upper), QPointF(x + kCap, upper));
  }
  if (!std::isnan(difference.value)) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kEstimateColour);
    painter.drawEllipse(QPointF(x, height(difference.value)), kEstimateRadius, kEstimateRadius);
  }

  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(side.adjusted(0.5, 0.5, -0.5, -0.5));
  const double pictureRight = area.left() + area.width();
  const double labelLeft = side.right() + kTickLength + 3;
  for (const Tick& tick : panel.yTicks) {
    const double y = std::round(frame.MapY(tick.value)) + 0.5;
    painter.drawLine(QPointF(side.right(), y), QPointF(side.right() + kTickLength, y));
    painter.drawText(QRectF(labelLeft, y - line / 2, std::max(0.0, pictureRight - labelLeft), line),
                     Qt::AlignLeft | Qt::AlignVCenter, tick.label);
  }
  // The name under the panel, where the columns have theirs, between the plot area and the
  // picture's right end.
  const double roomLeft = layout.area.right() + 4;
  const QString name = metrics.elidedText(difference.name, Qt::ElideRight,
                                          std::max(0.0, pictureRight - 2 - roomLeft));
  const double width = metrics.horizontalAdvance(name) + 2;
  const double left = Within(side.center().x() - width / 2, roomLeft, pictureRight - width - 2);
  painter.drawText(QRectF(left, side.bottom() + kTickLength + 1, width, line),
                   Qt::AlignHCenter | Qt::AlignTop, name);
}

std::optional<PlotCanvas::Layout> PlotCanvas::LaidOut(const QSize& size) const {
  if (!extent_) return std::nullopt;
  return LayOut(QRect(QPoint(0, 0), size.expandedTo(QSize(0, 0))), QFontMetricsF(PixelFont(font_)));
}

void PlotCanvas::DrawEmpty(QPainter& painter, const QRect& area) const {
  const QRectF frame = QRectF(area).adjusted(20, 10, -16, -20);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame.adjusted(0.5, 0.5, -0.5, -0.5));
  painter.drawText(frame, Qt::AlignCenter, EmptyMessage());
}

PlotCanvas::DotThinner::DotThinner(const QPainter& painter, const QRectF& area)
    : area_(area),
      // One dot per cell of two pixels square: dots five pixels across that close cover each
      // other anyway, and a picture of tens of thousands of values draws a quarter as many. A
      // vector file keeps every dot it is given, so there the cell is three pixels: the dots
      // still overlap.
      raster_(painter.paintEngine() != nullptr &&
              painter.paintEngine()->type() == QPaintEngine::Raster),
      perPixel_(raster_ ? 1.0 / 2 : 1.0 / 3),
      columns_(static_cast<int>(std::ceil(area.width() * perPixel_)) + 1),
      rows_(static_cast<int>(std::ceil(area.height() * perPixel_)) + 1),
      taken_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

void PlotCanvas::DotThinner::Draw(QPainter& painter, const QColor& colour) const {
  // Images are filled pixel by pixel: one small dot image copied to every position is many
  // times quicker there than drawing each circle. Vector devices get circles.
  if (raster_) {
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QImage dot = DotImage(colour, ratio);
    const double half = dot.width() / 2 / ratio;
    for (const QPointF& at : dots_) {
      // The dot's corner on a device pixel, so that the image is copied without resampling.
      painter.drawImage(QPointF(std::round((at.x() - half) * ratio) / ratio,
                                std::round((at.y() - half) * ratio) / ratio),
                        dot);
    }
    return;
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  for (const QPointF& at : dots_) painter.drawEllipse(at, kDotDiameter / 2, kDotDiameter / 2);
}

void PlotCanvas::DrawDataDots(QPainter& painter, const Layout& layout,
                              const std::vector<QPointF>& points, const QColor& colour) {
  const PlotFrame frame = layout.Frame();
  DotThinner dots(painter, layout.area);
  for (const QPointF& point : points) dots.Add(frame.Map(point.x(), point.y()));
  dots.Draw(painter, colour);
}

void PlotCanvas::DrawLabelAbove(QPainter& painter, const QRectF& area, double y,
                                const QString& text, const QColor& colour) {
  const QFontMetricsF metrics(painter.font());
  const double height = metrics.height();
  // Above the line, or below it where the top of the area is too near.
  const double top = y - height - 1 >= area.top() ? y - height - 1 : y + 1;
  painter.setPen(colour);
  painter.drawText(QRectF(area.left() + 4, top, area.width() - 8, height),
                   Qt::AlignRight | Qt::AlignVCenter, text);
}

void PlotCanvas::Draw(QPainter& painter, const QRect& area) const {
  painter.save();
  painter.setFont(PixelFont(font_));
  painter.setRenderHint(QPainter::Antialiasing);
  if (!extent_) {
    DrawBackground(painter, area, nullptr);
    DrawEmpty(painter, area);
    painter.restore();
    return;
  }
  const Layout layout = LayOut(area, QFontMetricsF(painter.font()));
  DrawBackground(painter, area, &layout);
  DrawUnder(painter, layout);
  DrawDots(painter, layout);
  DrawOver(painter, layout);
  DrawAxes(painter, area, layout);
  painter.restore();
}

bool PlotCanvas::Save(const QString& path) const {
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    const QByteArray svg = Svg();
    QFile file(path);
    return !svg.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size();
  }
  return Image().save(path, "PNG");
}

QByteArray PlotCanvas::Svg() const {
  const QRect area(QPoint(0, 0), kSavedSize);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(area.size());
  generator.setViewBox(area);
  generator.setTitle(title_);
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  Draw(painter, area);
  if (!painter.end()) return {};
  return buffer.data();
}

QImage PlotCanvas::Image() const {
  const QRect area(QPoint(0, 0), kSavedSize);
  QImage image(area.size() * kSavedPixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(kSavedPixelRatio);
  // 192 dots per inch, so that a viewer shows it at the size of the 640 × 480 picture.
  const int dotsPerMetre = static_cast<int>(std::lround(96 * kSavedPixelRatio / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  QPainter painter(&image);
  Draw(painter, area);
  painter.end();
  return image;
}

void PlotCanvas::Paint(QPainter& painter, const QSize& size, qreal ratio) {
  const QFont font = PixelFont(font_);
  const QRect rect(QPoint(0, 0), size);
  if (!cacheValid_ || cache_.size() != size * ratio || cache_.devicePixelRatio() != ratio ||
      cachedFont_ != font) {
    if (cache_.size() != size * ratio) cache_ = QImage(size * ratio, QImage::Format_RGB32);
    cache_.setDevicePixelRatio(ratio);
    cachedFont_ = font;
    QPainter image(&cache_);
    image.setFont(font);
    image.setRenderHint(QPainter::Antialiasing);
    cachedLayout_.reset();
    if (extent_) cachedLayout_ = LayOut(rect, QFontMetricsF(font));
    DrawBackground(image, rect, cachedLayout_ ? &*cachedLayout_ : nullptr);
    if (cachedLayout_) {
      DrawUnder(image, *cachedLayout_);
      DrawDots(image, *cachedLayout_);
    }
    cacheValid_ = true;
  }
  painter.save();
  painter.drawImage(QPointF(0, 0), cache_);
  painter.setFont(font);
  painter.setRenderHint(QPainter::Antialiasing);
  if (cachedLayout_) {
    DrawOver(painter, *cachedLayout_);
    DrawAxes(painter, rect, *cachedLayout_);
  } else {
    DrawEmpty(painter, rect);
  }
  painter.restore();
}

}  // namespace quillon::plots
