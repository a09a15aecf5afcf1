// The pictures' axes and layout under any ranges, values and sizes. The first byte picks what is
// tried: the round ticks of a range and the axis a picture makes of it, or one of the pictures
// with values and a size from the rest of the input, laid out at that size and painted into a
// small image. Values come as any bits (not-a-number, infinities, denormals), as decimals of any
// magnitude, or as a base value plus a few ten-thousandths, as huge grid values that differ in
// the fourth decimal are.

#include <fuzzer/FuzzedDataProvider.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "plots/agreement_plot.h"
#include "plots/box_plot.h"
#include "plots/estimation_plot.h"
#include "plots/paired_lines.h"
#include "plots/power_curve.h"
#include "plots/residual_plot.h"
#include "plots/scatter_plot.h"
#include "stats/fixed4.h"

namespace {

using namespace quillon;
using namespace quillon::plots;
using fuzz::Require;

// Values a few dozen at most, so that thousands of inputs a second are tried.
constexpr int kMostValues = 64;
// A tick may lie a billionth of a step outside its range, or a unit or two in the last place.
constexpr double kTickSlack = 1e-6;

class Values {
 public:
  explicit Values(FuzzedDataProvider& in) : in_(in), base_(Decimal()) {}

  double Next() {
    switch (in_.ConsumeIntegralInRange(0, 3)) {
      case 0:
        return std::bit_cast<double>(in_.ConsumeIntegral<std::uint64_t>());
      case 1:
        return Decimal();
      default:
        return base_ + in_.ConsumeIntegralInRange(-1000, 1000) * 1e-4;
    }
  }
  std::optional<double> Maybe() {
    if (in_.ConsumeBool()) return std::nullopt;
    return Next();
  }

 private:
  double Decimal() {
    const auto digits = in_.ConsumeIntegralInRange<std::int64_t>(-99999999, 99999999);
    return static_cast<double>(digits) * std::pow(10.0, in_.ConsumeIntegralInRange(-330, 310));
  }

  FuzzedDataProvider& in_;
  double base_;
};

double Ulp(double magnitude) {
  return magnitude < DBL_MIN ? DBL_MIN : std::ldexp(1.0, std::ilogb(magnitude) - 52);
}

// Finite, strictly ascending, inside the range or at it, distinctly labelled, and few.
void RequireTicks(const std::vector<Tick>& ticks, AxisRange range, std::size_t most,
                  std::string_view input) {
  const auto Require = [&](bool holds, const char* property, std::string_view subject) {
    if (!holds) {
      std::fprintf(stderr, "range %.17g to %.17g, ticks:", range.low, range.high);
      for (const Tick& tick : ticks) {
        std::fprintf(stderr, " %.17g \"%s\"", tick.value, qPrintable(tick.label));
      }
      std::fprintf(stderr, "\n");
    }
    fuzz::Require(holds, property, subject);
  };
  Require(ticks.size() <= most, "few ticks", input);
  const double span = range.high - range.low;
  const double slack =
      std::max(span * kTickSlack, 2 * Ulp(std::max(std::fabs(range.low), std::fabs(range.high))));
  for (std::size_t k = 0; k < ticks.size(); ++k) {
    const double value = ticks[k].value;
    Require(std::isfinite(value), "a tick is finite", input);
    Require(value >= range.low - slack && value <= range.high + slack, "a tick lies in its range",
            input);
    Require(!ticks[k].label.isEmpty(), "a tick has a label", input);
    if (k == 0) continue;
    Require(value > ticks[k - 1].value, "ticks ascend", input);
    Require(ticks[k].label != ticks[k - 1].label, "neighbouring ticks read differently", input);
  }
}

void RequireAxis(AxisRange axis, std::string_view input) {
  Require(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.high > axis.low &&
              std::isfinite(axis.high - axis.low),
          "an axis is finite and ascending", input);
}

// The round ticks of any range, and the axis a picture makes of the range as its data.
void TryRange(FuzzedDataProvider& in, Values& values, std::string_view input) {
  const AxisRange range{values.Next(), values.Next()};
  const int asked = in.ConsumeIntegral<int>();
  const std::size_t most = 2 * static_cast<std::size_t>(std::clamp(asked, 1, 50)) + 1;
  const std::vector<Tick> ticks = RoundTicks(range, asked);
  const AxisRange ordered{std::min(range.low, range.high), std::max(range.low, range.high)};
  if (!ticks.empty()) RequireTicks(ticks, ordered, most, input);

  const AxisRange axis = AxisFor(range);
  RequireAxis(axis, input);
  for (const double end : {range.low, range.high}) {
    if (std::fabs(end) <= 1e300) {
      Require(axis.low <= end && end <= axis.high, "an axis holds its data", input);
    }
  }
  const std::vector<Tick> axisTicks = RoundTicks(axis, asked);
  RequireTicks(axisTicks, axis, most, input);
  Require(asked < 2 || axisTicks.size() >= 2, "an axis has two round ticks or more", input);
}

void TryPicture(PlotCanvas& picture, FuzzedDataProvider& in, std::string_view input) {
  const QSize size(in.ConsumeIntegralInRange(0, 4000), in.ConsumeIntegralInRange(0, 3000));
  if (const std::optional<PlotCanvas::Layout> layout = picture.LaidOut(size)) {
    const QRectF& area = layout->area;
    Require(area.left() >= 0 && area.top() >= 0 && area.width() >= 0 && area.height() >= 0 &&
                area.right() <= size.width() && area.bottom() <= size.height(),
            "the plot area lies inside the picture", input);
    RequireAxis(layout->x, input);
    RequireAxis(layout->y, input);
    RequireTicks(layout->xTicks, layout->x, 101, input);
    RequireTicks(layout->yTicks, layout->y, 101, input);
    Require(layout->xTicks.size() >= 2 && layout->yTicks.size() >= 2,
            "both axes have two ticks or more", input);
    if (const std::optional<PlotCanvas::Panel>& panel = layout->panel) {
      const QRectF& side = panel->area;
      Require(side.left() >= area.right() && side.top() >= 0 && side.width() >= 0 &&
                  side.height() >= 0 && side.right() <= size.width() &&
                  side.bottom() <= size.height(),
              "the difference's panel lies right of the plot area, inside the picture", input);
      RequireAxis(panel->y, input);
      RequireTicks(panel->yTicks, panel->y, 101, input);
      Require(panel->yTicks.size() >= 2, "the difference's axis has two ticks or more", input);
    }
  }
  // Painted small, and for one input in eight, picked by the whole input's hash so that the
  // fuzzer does not learn to paint every time: the texts cost three times what the rest does.
  if (std::hash<std::string_view>()(input) % 8 != 0) return;
  QImage image(std::clamp(size.width(), 1, 96), std::clamp(size.height(), 1, 72),
               QImage::Format_RGB32);
  QPainter painter(&image);
  picture.Paint(painter, image.size(), 1);
}

std::vector<QPointF> Points(FuzzedDataProvider& in, Values& values) {
  std::vector<QPointF> points(in.ConsumeIntegralInRange(0, kMostValues));
  for (QPointF& point : points) point = {values.Next(), values.Next()};
  return points;
}

std::optional<AgreementLine> Line(FuzzedDataProvider& in, Values& values) {
  if (in.ConsumeBool()) return std::nullopt;
  return AgreementLine{values.Next(), values.Maybe(), values.Maybe()};
}

}  // namespace

// Fontconfig keeps patterns that Qt's font database never gives back: LeakSanitizer is told of
// that system library alone.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Fonts and images, no window system.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  FuzzedDataProvider in(data, size);
  const int kind = in.ConsumeIntegralInRange(0, 7);
  Values values(in);
  switch (kind) {
    case 0:
      TryRange(in, values, input);
      break;
    case 1: {
      EstimationData estimation;
      for (EstimationGroup& group : estimation.groups) {
        std::vector<double> column(in.ConsumeIntegralInRange(0, kMostValues));
        for (double& value : column) value = values.Next();
        group = {std::move(column), values.Maybe(), values.Maybe(), values.Maybe()};
      }
      static EstimationPlot plot;
      plot.SetData(estimation);
      TryPicture(plot, in, input);
      break;
    }
    case 2: {
      AgreementData agreement;
      agreement.points = Points(in, values);
      agreement.bias = Line(in, values);
      agreement.lowerLimit = Line(in, values);
      agreement.upperLimit = Line(in, values);
      static AgreementPlot plot;
      plot.SetData(agreement);
      TryPicture(plot, in, input);
      break;
    }
    case 3: {
      std::vector<ResidualPoint> residuals;
      for (const QPointF& point : Points(in, values)) residuals.push_back({point.x(), point.y()});
      static ResidualPlot plot;
      plot.SetData(residuals, QString());
      TryPicture(plot, in, input);
      break;
    }
    case 4: {
      // As the report gives it: the grid's values, their exact sums, the line and its band.
      std::vector<QPointF> points;
      PairSums sums;
      for (const QPointF& point : Points(in, values)) {
        const std::optional<Fixed4> x = Fixed4::FromDouble(point.x());
        const std::optional<Fixed4> y = Fixed4::FromDouble(point.y());
        if (!x || !y) continue;
        sums.Add(*x, *y);
        points.emplace_back(x->ToDouble(), y->ToDouble());
      }
      static ScatterPlot plot;
      plot.SetData(ScatterOf(points, sums));
      TryPicture(plot, in, input);
      break;
    }
    case 5: {
      PowerCurve curve;
      // Any n, rising by at most a million a point, far from the ends of the 64-bit range.
      std::int64_t n = in.ConsumeIntegralInRange<std::int64_t>(INT64_MIN / 2, INT64_MAX / 2);
      for (int k = in.ConsumeIntegralInRange(0, kMostValues); k > 0; --k) {
        curve.points.push_back({n, values.Next()});
        n += in.ConsumeIntegralInRange<std::int64_t>(0, 1000000);
      }
      if (in.ConsumeBool()) curve.marked = in.ConsumeIntegral<std::size_t>() % 300;
      static PowerCurvePlot plot;
      plot.SetData(curve, QStringLiteral("—"));
      TryPicture(plot, in, input);
      break;
    }
    case 6: {
      // Quartiles and a shift as any values, whether or not they fit the groups' values.
      BoxPlotData boxes;
      for (BoxGroup& group : boxes.groups) {
        group.values.resize(in.ConsumeIntegralInRange(0, kMostValues));
        for (double& value : group.values) value = values.Next();
        group.median = values.Maybe();
        group.p25 = values.Maybe();
        group.p75 = values.Maybe();
      }
      boxes.shift = values.Maybe();
      boxes.shiftLower = values.Maybe();
      boxes.shiftUpper = values.Maybe();
      static BoxPlot plot;
      plot.SetData(boxes);
      // Every value is a dot beyond the whiskers or lies between their ends, never both.
      for (std::size_t g = 0; g < 2; ++g) {
        const std::optional<BoxPlot::Whiskers>& whiskers = plot.WhiskersOf()[g];
        if (!whiskers) continue;
        std::size_t within = 0;
        for (const double value : boxes.groups[g].values) {
          within += whiskers->low <= value && value <= whiskers->high ? 1 : 0;
        }
        for (const double value : whiskers->beyond) {
          Require(value < whiskers->low || value > whiskers->high, "a dot lies beyond a whisker",
                  input);
        }
        const auto numbers = static_cast<std::size_t>(
            std::count_if(boxes.groups[g].values.begin(), boxes.groups[g].values.end(),
                          [](double value) { return !std::isnan(value); }));
        Require(within + whiskers->beyond.size() == numbers,
                "each value lies within the whiskers or beyond them", input);
      }
      TryPicture(plot, in, input);
      break;
    }
    default: {
      PairedLinesData paired;
      paired.pairs.resize(in.ConsumeIntegralInRange(0, kMostValues));
      for (auto& [first, second] : paired.pairs) {
        first = values.Next();
        second = values.Next();
      }
      paired.change = values.Maybe();
      paired.changeLower = values.Maybe();
      paired.changeUpper = values.Maybe();
      static PairedLinesPlot plot;
      plot.SetData(paired);
      TryPicture(plot, in, input);
      break;
    }
  }
  return 0;
}
