// The report's pictures without a window: what is painted from the kept image follows every
// change of the data and of the size, and the saved files are a vector drawing or a picture at
// twice the density.

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <limits>
#include <memory>
#include <tuple>

#include "plots/agreement_plot.h"
#include "plots/box_plot.h"
#include "plots/estimation_plot.h"
#include "plots/margin_plot.h"
#include "plots/paired_lines.h"
#include "plots/power_curve.h"
#include "plots/residual_plot.h"
#include "plots/scatter_plot.h"

namespace {

using namespace quillon;
using namespace quillon::plots;

ScatterData Scatter(const std::vector<QPointF>& points) {
  PairSums sums;
  for (const QPointF& point : points) {
    sums.Add(*Fixed4::FromDouble(point.x()), *Fixed4::FromDouble(point.y()));
  }
  return ScatterOf(points, sums);
}

// What a screen shows of a picture at a size, at the pixel ratio 1.
QImage Shown(PlotCanvas& picture, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  picture.Paint(painter, size, 1);
  return image;
}

// How many lines a drawing strokes with a pen (its colour and opacity as the SVG writes them).
int Strokes(const QString& drawing, const QString& pen) {
  int lines = 0;
  for (const QString& group : drawing.split(QStringLiteral("<g "))) {
    if (group.left(group.indexOf('>')).contains(pen))
      lines += group.count(QStringLiteral("<polyline"));
  }
  return lines;
}

// A picture made anew with its data: what any change must end up looking like.
QImage Fresh(const ScatterData& data, QSize size) {
  ScatterPlot plot;
  plot.SetData(data);
  return Shown(plot, size);
}

TEST(Plots, TickLabelsAreRoundWithoutDriftOrNegativeZero) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // Ranges as given, or as a picture's axis shows data from low to high.
  enum Of { kRange, kAxis };
  const std::vector<std::tuple<AxisRange, Of, QStringList>> cases = {
      {{1.5, 10.3}, kRange, {"2", "4", "6", "8", "10"}},
      {{10.3, 1.5}, kRange, {"2", "4", "6", "8", "10"}},
      {{-0.13, 0.27}, kRange, {"-0.1", "0.0", "0.1", "0.2"}},
      {{0.7, 1.05}, kRange, {"0.7", "0.8", "0.9", "1.0"}},
      {{9999999.95, 10000000.25}, kRange, {"10000000.0", "10000000.1", "10000000.2"}},
      {{-250, -20}, kRange, {"-250", "-200", "-150", "-100", "-50"}},
      {{3, 3}, kRange, {}},
      // Values of 5 × 10^12 differing in the fourth decimal are a few units in the last place
      // apart: no round step lies between them, and past 2^53 a tick counted in doubles never
      // reached the end.
      {{5e12 + 0.0005, 5e12 + 0.003}, kRange, {}},
      {{5e12 + 0.0001, 5e12 + 0.0004},
       kAxis,
       {"4999999999998", "4999999999999", "5000000000000", "5000000000001", "5000000000002"}},
      {{0x1p53, 0x1p53 + 4}, kRange, {}},
      {{-1e308, 1e308}, kRange, {"-1.0e+308", "-5.0e+307", "0", "5.0e+307", "1.0e+308"}},
      {{1e-20, 3.5e-20},
       kRange,
       {"1.0e-20", "1.5e-20", "2.0e-20", "2.5e-20", "3.0e-20", "3.5e-20"}},
      {{0, 5e-324}, kRange, {"0"}},
      {{-0.5, 0.5}, kRange, {"-0.4", "-0.2", "0.0", "0.2", "0.4"}},
      {{kNaN, 1}, kRange, {}},
      {{0, kInf}, kRange, {}},
      {{kNaN, kNaN}, kAxis, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
      {{-kInf, kInf}, kAxis, {"-2e+307", "-1e+307", "0", "1e+307", "2e+307"}}};
  for (const auto& [range, of, labels] : cases) {
    QStringList shown;
    for (const Tick& tick : RoundTicks(of == kAxis ? AxisFor(range) : range, 4)) {
      shown << tick.label;
    }
    EXPECT_EQ(shown.join(' ').toStdString(), labels.join(' ').toStdString())
        << range.low << " to " << range.high;
  }
}

TEST(Plots, RedrawTheKeptImageOnEveryChangeOfDataOrSize) {
  const ScatterData first = Scatter({{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}});
  const ScatterData second = Scatter({{1, 9}, {2, 7}, {3, 8}, {4, 3}, {5, 1}, {6, 2}});
  // One picture painted again and again, as a view on screen paints it; every change must be told.
  ScatterPlot plot;
  int changes = 0;
  plot.OnChange([&changes] { ++changes; });
  plot.SetData(first);
  const QImage before = Shown(plot, {400, 260});
  EXPECT_EQ(before, Fresh(first, {400, 260}));

  plot.SetData(second);
  EXPECT_NE(Shown(plot, {400, 260}), before);
  EXPECT_EQ(Shown(plot, {400, 260}), Fresh(second, {400, 260}));

  EXPECT_EQ(Shown(plot, {500, 300}), Fresh(second, {500, 300}));

  plot.SetData({});
  EXPECT_EQ(Shown(plot, {500, 300}), Fresh({}, {500, 300}));
  EXPECT_NE(Shown(plot, {500, 300}), Fresh(second, {500, 300}));
  EXPECT_EQ(changes, 3);
}

TEST(Plots, WhiskersEndAtTheFurthestValuesWithinOneAndAHalfBoxes) {
  struct Case {
    BoxGroup group;
    std::optional<std::tuple<double, double, std::vector<double>>> whiskers;
  };
  // Quartiles 3 and 8 reach from -4.5 to 15.5, the ends within; the values are not sorted.
  const std::vector<Case> cases = {
      {{{9, 1, 30, 2, 15.5, 3, 4, 5, 6, 7, 8, -4.6}, 5, 3, 8}, {{1, 15.5, {30, -4.6}}}},
      {{{8, 1, 3, 4}, std::nullopt, 8, 3}, {{1, 8, {}}}},  // quartiles swapped, no median
      {{{4, 4, 9, 4}, 4, 4, 4}, {{4, 4, {9}}}},            // all ties but one: no box height
      {{{2, 1e300, -1e300, 3}, 2.5, -1e300, 1e300}, {{-1e300, 1e300, {}}}},
      {{{}, 1, 1, 2}, std::nullopt},
      {{{1, 2}, 1.5, 1, std::nullopt}, std::nullopt}};
  for (const Case& each : cases) {
    BoxPlot plot;
    plot.SetData({{each.group, BoxGroup{}}, {}, {}, {}, {}, {}});
    const std::optional<BoxPlot::Whiskers>& shown = plot.WhiskersOf()[0];
    ASSERT_EQ(shown.has_value(), each.whiskers.has_value()) << each.group.values.size();
    if (!shown) continue;
    const auto& [low, high, beyond] = *each.whiskers;
    EXPECT_EQ(shown->low, low);
    EXPECT_EQ(shown->high, high);
    EXPECT_EQ(shown->beyond, beyond);
  }
}

TEST(Plots, MarginZoneIsShadedWhereTheHypothesisHolds) {
  struct Case {
    Hypothesis hypothesis;
    Better better;
    double inside, outside;  // differences in the zone and beyond it, with Δ = 2
  };
  const std::vector<Case> cases = {{Hypothesis::NonInferiority, Better::Higher, -1.5, -2.5},
                                   {Hypothesis::NonInferiority, Better::Lower, 1.5, 2.5},
                                   {Hypothesis::Superiority, Better::Higher, 2.5, 1.5},
                                   {Hypothesis::Superiority, Better::Lower, -2.5, -1.5},
                                   {Hypothesis::Equivalence, Better::Higher, 1.5, -2.5}};
  const QSize size(640, 480);
  for (const Case& each : cases) {
    MarginPlot plot;
    plot.SetData({each.hypothesis, each.better, 2.0, 0.5, -0.4, 1.4, "90%CI", "均数差", {}});
    const std::optional<PlotCanvas::Layout> layout = plot.LaidOut(size);
    ASSERT_TRUE(layout.has_value());
    const QImage image = Shown(plot, size);
    const double y = layout->area.top() + 0.3 * layout->area.height();
    auto colour = [&](double x) {
      return image.pixelColor(
          QPoint(static_cast<int>(layout->Frame().MapX(x)), static_cast<int>(y)));
    };
    EXPECT_NE(colour(each.inside), QColor(Qt::white)) << static_cast<int>(each.hypothesis);
    EXPECT_EQ(colour(each.outside), QColor(Qt::white)) << static_cast<int>(each.hypothesis);
  }
  // No margin, no picture.
  MarginPlot none;
  none.SetData(
      {Hypothesis::Equivalence, Better::Higher, std::nullopt, 0.5, 0, 1, {}, {}, "界值Δ须大于0"});
  EXPECT_FALSE(none.LaidOut(size).has_value());
}

TEST(Plots, SaveVectorDrawingsWithTheirTextsAndDenserPictures) {
  // Two of the points fall on one pixel: the drawing keeps one circle for them. The two groups
  // add a circle for the one mean with an interval.
  const std::vector<QPointF> points = {{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}, {5, 5.0001}};
  const ScatterData scatter = Scatter(points);
  ScatterPlot scatterPlot;
  scatterPlot.SetData(scatter);
  ResidualPlot residualPlot;
  std::vector<ResidualPoint> residuals;
  for (const QPointF& point : points) {
    const double fitted = *scatter.intercept + *scatter.slope * point.x();
    residuals.push_back({fitted, point.y() - fitted});
  }
  residualPlot.SetData(residuals, QString());
  AgreementPlot agreementPlot;
  AgreementData agreement{{{503, -18}, {412.5, -35}, {518, -4}},
                          AgreementLine{-2.1, -22.0, 17.8},
                          AgreementLine{-79.7, -114.3, -45.1},
                          AgreementLine{75.5, 40.9, 110.1},
                          {},
                          {}};
  agreementPlot.SetData(agreement);
  AgreementPlot namedAgreement;
  agreement.xTitle = QStringLiteral("两法均数（mmol/L）");
  agreement.yTitle = QStringLiteral("新法 − 旧法（mmol/L）");
  namedAgreement.SetData(agreement);
  EstimationPlot estimationPlot;
  estimationPlot.SetData({{EstimationGroup{{12.3, 14.1, 13.5}, 13.3, 11.0, 15.6},
                           EstimationGroup{{11.2, 12.5, 11.2}, std::nullopt, {}, {}}},
                          {QStringLiteral("治疗组"), QStringLiteral("对照组")},
                          QStringLiteral("收缩压（mmHg）")});
  // Values of 5 × 10^12 that differ in the fourth decimal: one row of dots side by side in each
  // column, on an axis of round values one apart.
  EstimationPlot hugePlot;
  hugePlot.SetData({{EstimationGroup{{5e12 + 0.0001, 5e12 + 0.0002, 5e12 + 0.0004}, 5e12, {}, {}},
                     EstimationGroup{{5e12 + 0.0003, 5e12 + 0.0005}, std::nullopt, {}, {}}},
                    {},
                    {}});
  // The dots alone on the rank path: no line, no band.
  ScatterData ranks = scatter;
  ranks.line = false;
  ranks.xTitle = QStringLiteral("年龄（岁）");
  ranks.yTitle = QStringLiteral("收缩压（mmHg）");
  ScatterPlot ranksPlot;
  ranksPlot.SetData(ranks);
  // Boxes with whiskers to 1 and 9 (the values beyond: 30 and -20), and the shift beside them;
  // then all ties and one value without quartiles, huge; then tiny values (on an axis too wide
  // to tell them apart) and nothing.
  const BoxGroup spread{{9, 1, 30, 2, 3, 4, 5, 6, 7, 8, -20}, 5, 3, 8};
  BoxPlot boxPlot;
  boxPlot.SetData({{spread, BoxGroup{{2, 4, 6}, 4, 3, 5}},
                   {QStringLiteral("治疗组"), QStringLiteral("对照组")},
                   QStringLiteral("收缩压（mmHg）"),
                   1.5,
                   -0.5,
                   3.5});
  BoxPlot tiesPlot;
  tiesPlot.SetData(
      {{BoxGroup{{5e300, 5e300, 5e300}, 5e300, 5e300, 5e300}, BoxGroup{{-1e300}, {}, {}, {}}},
       {},
       {},
       0,
       {},
       {}});
  BoxPlot tinyPlot;
  tinyPlot.SetData({{BoxGroup{{1e-300, 2e-300, 4e-300, 3e-300}, 2.5e-300, 1.75e-300, 3.25e-300},
                     BoxGroup{{0}, 0, 0, 0}},
                    {},
                    {},
                    2e-300,
                    -1e-300,
                    5e-300});
  BoxPlot emptyBoxes;
  emptyBoxes.SetData({});
  // Five subjects, two of them alike: four lines; then one pair, huge, without a change.
  PairedLinesPlot pairedPlot;
  pairedPlot.SetData({{{150, 138}, {142, 140}, {150, 138}, {131, 135}, {160, 149}},
                      {QStringLiteral("治疗前"), QStringLiteral("治疗后")},
                      QStringLiteral("收缩压（mmHg）"),
                      QStringLiteral("均数变化"),
                      -6.6,
                      -12.9,
                      -0.3});
  PairedLinesPlot onePair;
  onePair.SetData({{{-1e300, 1e300}}, {}, {}, {}, {}, {}, {}});
  PairedLinesPlot noPairs;
  noPairs.SetData({});
  // Four points of a power curve, the third the plan's n: a ring round it besides the dots.
  PowerCurvePlot curvePlot;
  curvePlot.SetData({{{10, 0.3}, {20, 0.55}, {30, 0.75}, {40, 0.88}}, 2}, QString());
  ScatterPlot empty;

  // The lines in red (the least-squares line and its band, a panel's zero line), in the boxes'
  // blue (four for each box's whiskers and caps; a whisker of no length is left out of a
  // drawing), and in the pairs' translucent blue.
  const QString red = QStringLiteral(R"(stroke="#c82828")");
  const QString box = QStringLiteral(R"(stroke="#1f4ea0" stroke-opacity="1")");
  const QString pair = QStringLiteral(R"(stroke="#1f4ea0" stroke-opacity="0.313726")");
  struct Case {
    PlotCanvas* plot;
    const char* name;
    int circles;
    std::vector<QString> texts;
    std::vector<std::pair<QString, int>> strokes;
  };
  const std::vector<Case> cases = {
      {&scatterPlot, "ScatterPlot", 5, {"X（第一组）", "Y（第二组）"}, {{red, 3}}},
      {&ranksPlot, "ScatterPlot", 5, {"年龄（岁）", "收缩压（mmHg）"}, {{red, 0}}},
      {&residualPlot, "ResidualPlot", 5, {"拟合值 Ŷ", "残差 Y − Ŷ"}, {{red, 1}}},
      {&agreementPlot,
       "AgreementPlot",
       3,
       {"偏倚 -2.1", "95%一致性界限上限 75.5", "95%一致性界限下限 -79.7", "每对的均数 (X + Y) / 2",
        "差值 X − Y"},
       {}},
      {&namedAgreement, "AgreementPlot", 3, {"两法均数（mmol/L）", "新法 − 旧法（mmol/L）"}, {}},
      {&estimationPlot, "EstimationPlot", 7, {"治疗组", "对照组", "收缩压（mmHg）"}, {}},
      {&hugePlot,
       "EstimationPlot",
       6,
       {"第1组", "第2组", "数值", "4999999999999", "5000000000000", "5000000000001"},
       {}},
      {&boxPlot,
       "BoxPlot",
       3,
       {"治疗组", "对照组", "收缩压（mmHg）", "位置差（HL）"},
       {{box, 8}, {red, 1}}},
      {&tiesPlot, "BoxPlot", 2, {"第1组", "第2组", "数值", "位置差（HL）"}, {{box, 2}, {red, 1}}},
      {&tinyPlot, "BoxPlot", 1, {"位置差（HL）"}, {{box, 4}}},
      {&emptyBoxes, "BoxPlot", 0, {"两组都还没有数据"}, {{box, 0}}},
      {&pairedPlot,
       "PairedLinesPlot",
       9,
       {"治疗前", "治疗后", "收缩压（mmHg）", "均数变化"},
       {{pair, 4}, {red, 1}}},
      {&onePair, "PairedLinesPlot", 2, {"处理前", "处理后", "数值"}, {{pair, 1}, {red, 0}}},
      {&noPairs, "PairedLinesPlot", 0, {"没有完整的数据对"}, {{pair, 0}}},
      {&curvePlot, "PowerCurvePlot", 5, {"样本量 n", "检验效能 1−β", "n=30，1−β=0.75"}, {}},
      {&empty, "ScatterPlot", 0, {"没有完整的数据对"}, {{red, 0}}}};
  QTemporaryDir folder;
  for (const Case& each : cases) {
    SCOPED_TRACE(each.name);
    EXPECT_EQ(each.plot->Name(), QString::fromLatin1(each.name));
    // Whatever the values, the plot area and the panel lie inside the picture.
    if (const auto layout = each.plot->LaidOut(PlotCanvas::kSavedSize)) {
      const QRectF picture(QPointF(0, 0), PlotCanvas::kSavedSize);
      EXPECT_TRUE(picture.contains(layout->area));
      if (layout->panel) {
        EXPECT_TRUE(picture.contains(layout->panel->area));
        EXPECT_GE(layout->panel->area.left(), layout->area.right());
        EXPECT_GE(layout->panel->yTicks.size(), 2U);
      }
    }
    const QString svgPath = folder.filePath(QStringLiteral("plot.svg"));
    ASSERT_TRUE(each.plot->Save(svgPath));
    QFile svg(svgPath);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString drawing = QString::fromUtf8(svg.readAll());
    // A text is written in runs, one for each font that draws part of it.
    QString written;
    const QRegularExpression run(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    for (const QRegularExpressionMatch& match : run.globalMatch(drawing))
      written += match.captured(1);
    EXPECT_EQ(drawing.count(QStringLiteral("<circle")), each.circles);
    EXPECT_FALSE(drawing.contains(QStringLiteral("<image")));
    for (const QString& text : each.texts)
      EXPECT_TRUE(written.contains(text)) << text.toStdString();
    for (const auto& [pen, lines] : each.strokes)
      EXPECT_EQ(Strokes(drawing, pen), lines) << pen.toStdString();

    const QString pngPath = folder.filePath(QStringLiteral("plot.png"));
    ASSERT_TRUE(each.plot->Save(pngPath));
    EXPECT_EQ(QImage(pngPath).size(), QSize(1280, 960));
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Pictures need fonts and images, not a window system.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
