// Renders the report's four pictures, as the window draws them, into PNG files in the folder named
// on the command line: picture-scatter.png, picture-residuals.png, picture-agreement.png and
// picture-estimation.png and picture-margin.png, named ...@2x.png when the screen's pixel ratio is
// 2 (QT_SCALE_FACTOR=2). The examples are textbook-sized; with --large every picture gets 32,776
// values instead.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

#include "app/application.h"
#include "app/report/picture_view.h"
#include "plots/agreement_plot.h"
#include "plots/estimation_plot.h"
#include "plots/margin_plot.h"
#include "plots/residual_plot.h"
#include "plots/scatter_plot.h"
#include "report/t_tests.h"

namespace {

using namespace quillon;
using namespace quillon::plots;
using namespace quillon::ui;

constexpr int kLargeCount = 32776;

struct Pairs {
  std::vector<QPointF> points;
  std::vector<std::pair<Fixed4, Fixed4>> values;
  PairSums sums;

  void Add(double x, double y) {
    const Fixed4 fx = *Fixed4::FromDouble(x);
    const Fixed4 fy = *Fixed4::FromDouble(y);
    points.emplace_back(fx.ToDouble(), fy.ToDouble());
    values.emplace_back(fx, fy);
    sums.Add(fx, fy);
  }
};

Pairs Example(const std::vector<double>& xs, const std::vector<double>& ys) {
  Pairs pairs;
  for (std::size_t i = 0; i < xs.size(); ++i) pairs.Add(xs[i], ys[i]);
  return pairs;
}

// Correlated pairs with one decimal, from a fixed seed.
Pairs Large() {
  std::mt19937 random(18);
  std::normal_distribution<double> x(50, 10), noise(0, 6);
  Pairs pairs;
  for (int i = 0; i < kLargeCount; ++i) {
    const double value = x(random);
    pairs.Add(std::round(value * 10) / 10,
              std::round((0.8 * value + 12 + noise(random)) * 10) / 10);
  }
  return pairs;
}

// One group's values with its mean and the mean's 95 % interval, which is the paired analysis's
// interval of differences from 0.
EstimationGroup GroupOf(const std::vector<double>& values) {
  EstimationGroup group{values, {}, {}, {}};
  PairSums sums;
  for (const double value : values) sums.Add(*Fixed4::FromDouble(value), Fixed4());
  const PairedFigures figures = PairedReportFigures(sums);
  group.mean = figures.meanDifference.value;
  group.lower = figures.lower.value;
  group.upper = figures.upper.value;
  return group;
}

bool Write(std::unique_ptr<plots::PlotCanvas> picture, const QString& folder, const QString& name) {
  PictureView plot(std::move(picture), nullptr);
  plot.resize(560, 340);
  const QPixmap shown = plot.grab();
  const QString suffix = shown.devicePixelRatio() > 1.5 ? QStringLiteral("@2x") : QString();
  const QString path = QDir(folder).filePath(QStringLiteral("picture-") + name + suffix + ".png");
  if (!shown.save(path)) return false;
  std::printf("wrote %s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const bool large = argc == 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--large");
  if (argc != 2 && !large) {
    std::fprintf(stderr, "usage: %s [--large] FOLDER\n", argv[0]);
    return 2;
  }
  InstallChineseInterface(app);
  const QString folder = QString::fromLocal8Bit(argv[argc - 1]);

  const Pairs correlation = large ? Large()
                                  : Example({1.5, 2.25, 3.1, 4.8, 5.05, 6.7, 7.2, 8.4, 9.1, 10.3},
                                            {3.2, 3.9, 5.1, 5.0, 7.4, 8.3, 8.1, 9.6, 9.2, 11.8});
  const ScatterData scatter = ScatterOf(correlation.points, correlation.sums);
  auto scatterPlot = std::make_unique<plots::ScatterPlot>();
  scatterPlot->SetData(scatter);
  auto residualPlot = std::make_unique<plots::ResidualPlot>();
  residualPlot->SetData(
      RegressionResiduals(correlation.values, CorrelationRegression(correlation.sums)), QString());

  // Peak expiratory flow (l/min) of 17 subjects with two meters, and the figures printed with
  // them (Bland and Altman, Lancet 1986): bias −2.1 (−22.0 to 17.8), limits bias ± 2 SD, −79.7
  // (−114.3 to −45.1) and 75.5 (40.9 to 110.1).
  const Pairs flow = large ? Large()
                           : Example({494, 395, 516, 434, 476, 557, 413, 442, 650, 433, 417, 656,
                                      267, 478, 178, 423, 427},
                                     {512, 430, 520, 428, 500, 600, 364, 380, 658, 445, 432, 626,
                                      260, 477, 259, 350, 451});
  AgreementData agreement;
  for (const QPointF& pair : flow.points) {
    agreement.points.emplace_back((pair.x() + pair.y()) / 2, pair.x() - pair.y());
  }
  if (!large) {
    agreement.bias = AgreementLine{-2.1, -22.0, 17.8};
    agreement.lowerLimit = AgreementLine{-79.7, -114.3, -45.1};
    agreement.upperLimit = AgreementLine{75.5, 40.9, 110.1};
  }
  auto agreementPlot = std::make_unique<plots::AgreementPlot>();
  agreementPlot->SetData(agreement);

  EstimationData estimation;
  if (large) {
    std::vector<double> first, second;
    for (const QPointF& pair : correlation.points) {
      first.push_back(pair.x());
      second.push_back(pair.y());
    }
    estimation.groups = {GroupOf(first), GroupOf(second)};
  } else {
    estimation.groups = {GroupOf({12.3, 14.1, 13.5, 15.2, 12.8, 14.6, 13.9, 15.8, 14.4, 13.1}),
                         GroupOf({11.2, 12.5, 11.8, 13.0, 12.1, 10.9, 12.7, 11.5, 12.2, 11.9})};
  }
  auto estimationPlot = std::make_unique<plots::EstimationPlot>();
  estimationPlot->SetData(estimation);

  // A non-inferiority trial of a blood pressure drug, Δ = 5 mmHg, lower values better.
  auto marginPlot = std::make_unique<plots::MarginPlot>();
  marginPlot->SetData({Hypothesis::NonInferiority, Better::Lower, 5.0, 1.2, -1.6, 4.0,
                       QStringLiteral("95%CI"),
                       QStringLiteral("收缩压之差（新药组 − 对照组）, mmHg"), QString()});

  const bool written = Write(std::move(scatterPlot), folder, QStringLiteral("scatter")) &&
                       Write(std::move(residualPlot), folder, QStringLiteral("residuals")) &&
                       Write(std::move(agreementPlot), folder, QStringLiteral("agreement")) &&
                       Write(std::move(estimationPlot), folder, QStringLiteral("estimation")) &&
                       Write(std::move(marginPlot), folder, QStringLiteral("margin"));
  return written ? 0 : 1;
}
