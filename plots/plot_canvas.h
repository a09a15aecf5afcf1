#pragma once
// What the report's pictures share: the plot area inside the picture and the mapping of data onto
// it, axes with a few round tick values and Chinese titles, dots thinned to one per two pixels
// square, and saving as PNG or SVG. A picture draws on any paint device; a window shows it through
// a view that asks it to paint.
//
// On screen the background, the grid, the shaded bands and the dots are drawn once per change of
// the data or of the size, pixel ratio or font into an image; a repaint copies that image and
// draws the lines and texts on top, so that it costs the same for three dots as for thirty
// thousand. Saved pictures draw everything directly, the SVG as vectors.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QFontMetricsF;
class QPainter;

namespace quillon::plots {

struct AxisRange {
  double low = 0, high = 1;
};

// The range an axis shows for data from low to high: padded by a twentieth on each side (by one
// about a single value), and always finite, ascending and wide enough at double precision for a
// few round ticks, whatever the data (huge, tiny, reversed; an end that is not a number is left
// out).
AxisRange AxisFor(AxisRange data);

// Where the data go: the plot area in the painter's coordinates and the data ranges it shows.
class PlotFrame {
 public:
  PlotFrame(const QRectF& area, AxisRange x, AxisRange y) : area_(area), x_(x), y_(y) {}

  const QRectF& Area() const { return area_; }
  AxisRange X() const { return x_; }
  AxisRange Y() const { return y_; }
  double MapX(double x) const {
    return area_.left() + (x - x_.low) / (x_.high - x_.low) * area_.width();
  }
  double MapY(double y) const {
    return area_.bottom() - (y - y_.low) / (y_.high - y_.low) * area_.height();
  }
  QPointF Map(double x, double y) const { return {MapX(x), MapY(y)}; }

 private:
  QRectF area_;
  AxisRange x_, y_;
};

struct Tick {
  double value;
  QString label;
};

// Round values (1, 2 or 5 times a power of ten) inside a range, about maxCount of them (at most
// 50 are asked for, and never more than twice the count and one are given), each labelled with
// as many decimals as their step needs, or as a power of ten beyond 10^15 or below 10^-12. At
// least two where the range holds two at double precision: a step is never so small that the
// multiples of it near the range's ends cannot be told apart. Nothing for an empty or infinite
// range.
std::vector<Tick> RoundTicks(AxisRange range, int maxCount);

// A value as a label beside ticks of the given step: one decimal more than the ticks show.
QString ValueBesideTicks(double value, const std::vector<Tick>& ticks);

// The value kept between two bounds, the lower one winning where they cross (a text wider than
// the room it is centred in starts at the room's left).
inline double Within(double value, double lower, double upper) {
  return std::max(lower, std::min(value, upper));
}

class PlotCanvas {
 public:
  // The smallest size at which a view still shows the picture readably.
  static constexpr QSize kMinimumSize{300, 240};

  virtual ~PlotCanvas() = default;
  PlotCanvas(const PlotCanvas&) = delete;
  PlotCanvas& operator=(const PlotCanvas&) = delete;

  // The picture's name, which a view of it takes as its object name ("ScatterPlot").
  const QString& Name() const { return name_; }
  // The font of the texts, drawn at its pixel size on every device; the application's font until
  // one is set.
  void SetFont(const QFont& font);
  // Called after every change of the data, so that a view can ask for a repaint.
  void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }

  // Draws the whole picture into a rectangle of any paint device, dots directly.
  void Draw(QPainter& painter, const QRect& area) const;
  // Paints the picture for a screen into the rectangle of the given size at the painter's origin:
  // what lies under the lines comes from the kept image, drawn again only when the data, the
  // size, the pixel ratio or the font have changed.
  void Paint(QPainter& painter, const QSize& size, qreal ratio);
  // Writes the picture as SVG when the path ends in ".svg", as PNG (640 × 480 at twice the pixel
  // density) otherwise.
  bool Save(const QString& path) const;
  // The saved picture's two forms: its SVG text (empty when it cannot be drawn), and the image of
  // 640 × 480 at twice the pixel density that the PNG file holds.
  QByteArray Svg() const;
  QImage Image() const;
  static constexpr QSize kSavedSize{640, 480};

  // An estimate of the difference between a picture's two columns (a shift, a change) with its
  // 95 % confidence interval, shown in a narrow panel at the right of the plot area on a value
  // axis of its own with 0 marked, and named under the panel.
  struct Difference {
    double value = 0;
    std::optional<double> lower, upper;
    QString name;
  };
  struct Extent {
    AxisRange x, y;
  };
  // The difference's panel: as high as the plot area, its ticks labelled at its right.
  struct Panel {
    QRectF area;
    AxisRange y;
    std::vector<Tick> yTicks;
    Difference difference;
    // X runs from 0 to 1 across the panel.
    PlotFrame Frame() const { return {area, {0, 1}, y}; }
  };
  // Where the picture puts its plot area inside the picture's rectangle, the ranges it shows
  // and their ticks, and the difference's panel when there is one.
  struct Layout {
    QRectF area;
    AxisRange x, y;
    std::vector<Tick> xTicks, yTicks;
    std::optional<Panel> panel;
    PlotFrame Frame() const { return {area, x, y}; }
  };
  // The layout the picture is drawn with at a size; nothing when there is nothing to plot.
  std::optional<Layout> LaidOut(const QSize& size) const;

 protected:
  PlotCanvas(QString name, QString title, QString xTitle, QString yTitle);

  // To be called on every change of the data: the image of the dots is drawn again.
  void DataChanged();
  // The axes' titles, named by the data: set before DataChanged, which tells the view; the kept
  // image is drawn again.
  void SetAxisTitles(QString xTitle, QString yTitle);

  // The data's extent; nothing when there is nothing to plot, and the message says why.
  virtual std::optional<Extent> DataExtent() const = 0;
  virtual QString EmptyMessage() const = 0;
  // The difference the picture shows beside its plot area; none by default.
  virtual std::optional<Difference> DataDifference() const { return std::nullopt; }
  // The labelled positions along X; round values by default.
  virtual std::vector<Tick> XTicks(AxisRange range, double width) const;
  // The labelled positions along Y, about `count` of them; round values by default.
  virtual std::vector<Tick> YTicks(AxisRange range, int count) const;
  virtual bool VerticalGrid() const { return true; }
  // Shading under the dots, the dots, and the lines and texts over them.
  virtual void DrawUnder(QPainter& /*painter*/, const Layout& /*layout*/) const {}
  virtual void DrawDots(QPainter& painter, const Layout& layout) const = 0;
  virtual void DrawOver(QPainter& /*painter*/, const Layout& /*layout*/) const {}

  // Dots at positions in the painter's coordinates, at most one per two pixels square of the plot
  // area (the first to land on it): a large data set draws as quickly as the area is large.
  // Given one at a time, so that a picture that works its positions out need not list them.
  class DotThinner {
   public:
    DotThinner(const QPainter& painter, const QRectF& area);
    // Keeps the dot unless one already covers its cell.
    // A position that is not a number is no dot; one beyond the area is kept at its edge's cell.
    void Add(const QPointF& at) {
      const double across = (at.x() - area_.left()) * perPixel_;
      const double down = (at.y() - area_.top()) * perPixel_;
      if (std::isnan(across) || std::isnan(down)) return;
      const auto column = static_cast<std::size_t>(std::clamp(across, 0.0, columns_ - 1.0));
      const auto row = static_cast<std::size_t>(std::clamp(down, 0.0, rows_ - 1.0));
      std::uint8_t& cell = taken_[row * static_cast<std::size_t>(columns_) + column];
      if (cell != 0) return;
      cell = 1;
      dots_.push_back(at);
    }
    void Draw(QPainter& painter, const QColor& colour) const;

   private:
    QRectF area_;
    bool raster_;
    double perPixel_;  // cells per pixel
    int columns_;
    int rows_;
    std::vector<std::uint8_t> taken_;
    std::vector<QPointF> dots_;
  };
  // Points in data coordinates, mapped into the plot area and thinned so.
  static void DrawDataDots(QPainter& painter, const Layout& layout,
                           const std::vector<QPointF>& points, const QColor& colour);
  // A text right-aligned at the right end of the plot area, just above the height y.
  static void DrawLabelAbove(QPainter& painter, const QRectF& area, double y, const QString& text,
                             const QColor& colour);

 private:
  Layout LayOut(const QRect& area, const QFontMetricsF& metrics) const;
  void DrawBackground(QPainter& painter, const QRect& area, const Layout* layout) const;
  void DrawAxes(QPainter& painter, const QRect& area, const Layout& layout) const;
  void DrawEmpty(QPainter& painter, const QRect& area) const;
  // The panel's zero line, the estimate with its interval, the frame, ticks and name.
  static void DrawPanel(QPainter& painter, const QRect& area, const Layout& layout);

  QString name_, title_, xTitle_, yTitle_;
  QFont font_;
  std::function<void()> changed_;
  std::optional<Extent> extent_;
  std::optional<Difference> difference_;
  // The picture below the lines, for the size, pixel ratio and font it was drawn at.
  QImage cache_;
  QFont cachedFont_;
  std::optional<Layout> cachedLayout_;
  bool cacheValid_ = false;
};

}  // namespace quillon::plots
