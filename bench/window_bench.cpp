// The real window, drawn offscreen: start-up to the first shown window; and the data grid at its
// largest: one keystroke in a box and one scroll step, from the key or the scroll bar to the last
// result written, in each of the three sample analyses; importing and exporting a group file of
// that size; opening and saving an analysis file of that size; saving the results report; each
// picture of the report with that many points, after a
// change of its data and repainted as it is.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include "app/analyses/sample_grid.h"
#include "app/analysis_keeper.h"
#include "app/analysis_modes.h"
#include "app/application.h"
#include "app/files/group_files.h"
#include "app/main_window.h"
#include "app/report/picture_view.h"
#include "app/report/report_window.h"
#include "entry/grid_rows.h"
#include "plots/agreement_plot.h"
#include "plots/box_plot.h"
#include "plots/estimation_plot.h"
#include "plots/paired_lines.h"
#include "plots/residual_plot.h"
#include "plots/scatter_plot.h"

namespace quillon::ui {
namespace {

// A main window in the given analysis with both groups filled to the grid's largest size, or to
// the given number of rows.
class FullGrid {
 public:
  explicit FullGrid(AnalysisMode mode, std::size_t rows = kMaxGridRows) {
    window_.Modes()->SelectAnalysis(mode);
    for (const Group group : {Group::First, Group::Second}) {
      std::vector<std::string> lines;
      lines.reserve(rows);
      for (std::size_t row = 0; row < rows; ++row) {
        lines.push_back(
            std::to_string(10000000 + (row * 7919 + (group == Group::First ? 0 : 13)) % 1000) +
            "." + std::to_string(row % 10));
      }
      window_.Grid()->ReplaceGroup(group, std::move(lines));
    }
  }
  MainWindow& Window() { return window_; }

 private:
  MainWindow window_;
};

// From nothing to the main window shown with its first banner message and the focus in the grid.
void BM_StartUp(benchmark::State& state) {
  for (auto _ : state) {
    auto* window = new MainWindow();
    window->show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window->isVisible());
    state.PauseTiming();
    delete window;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_KeystrokeInTheGrid(benchmark::State& state) {
  FullGrid grid(static_cast<AnalysisMode>(state.range(0)));
  QLineEdit* box = grid.Window().Grid()->EntryBox(Group::First, 4);
  box->setFocus();
  bool typed = false;
  for (auto _ : state) {
    QTest::keyClick(box, typed ? Qt::Key_Backspace : Qt::Key_5);
    typed = !typed;
  }
}
BENCHMARK(BM_KeystrokeInTheGrid)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_ScrollStep(benchmark::State& state) {
  FullGrid grid(static_cast<AnalysisMode>(state.range(0)));
  QScrollBar* bar = grid.Window().findChild<QScrollBar*>(QStringLiteral("VS1"));
  int offset = 1000;
  for (auto _ : state) {
    offset = offset == 1000 ? 1001 : 1000;
    bar->setValue(offset);
  }
}
BENCHMARK(BM_ScrollStep)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The same keystroke with the results report open, in each sample analysis, at 9 rows and at the
// grid's largest size: elapsed time from the key until the keystroke's events are done, the report
// is rebuilt (once they are) and every region of both windows that changed is painted again. The
// keys come one after another (range(2) = 0) or at a typist's pace, 150 ms apart, after which the
// processor's caches no longer hold the program's data; the pause itself is not timed.
void BM_KeystrokeWithTheReportOpen(benchmark::State& state) {
  FullGrid grid(static_cast<AnalysisMode>(state.range(0)),
                static_cast<std::size_t>(state.range(1)));
  MainWindow& window = grid.Window();
  window.show();
  window.ShowReportWindow();
  QWidget* report = window.ReportWindowIfOpen();
  // The sentences follow the rank tests, whose figures the table shows on either path.
  report->findChild<QComboBox*>(QStringLiteral("cmbReportTest"))->setCurrentIndex(1);
  QCoreApplication::processEvents();
  QLineEdit* box = window.Grid()->EntryBox(Group::First, 4);
  box->setFocus();
  const auto pause = static_cast<int>(state.range(2));
  bool typed = false;
  for (auto _ : state) {
    if (pause > 0) QTest::qWait(pause);
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(box, typed ? Qt::Key_Backspace : Qt::Key_5);
    // The keystroke's events, then the report's rebuild, then the paint of every region they
    // changed, in both windows, as the event loop delivers them.
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    typed = !typed;
  }
  benchmark::DoNotOptimize(report->isVisible());
}
BENCHMARK(BM_KeystrokeWithTheReportOpen)
    ->ArgsProduct({{0, 1, 2}, {9, static_cast<std::int64_t>(kMaxGridRows)}, {0, 150}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// Saving the results report with both groups full, in each sample analysis and each format (PDF,
// ODT, HTML): elapsed time from the call to the file complete on disk, pictures included.
void BM_SaveReport(benchmark::State& state) {
  FullGrid grid(static_cast<AnalysisMode>(state.range(0)));
  MainWindow& window = grid.Window();
  window.show();
  window.ShowReportWindow();
  QCoreApplication::processEvents();
  const QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("report.") +
                                       QStringList{"pdf", "odt", "html"}[state.range(1)]);
  for (auto _ : state) {
    if (!window.ReportWindowIfOpen()->SaveReportTo(path)) state.SkipWithError("not saved");
  }
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_SaveReport)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A group file of the grid's largest size, and a window whose dialogs choose it and agree to
// replace it.
class GroupFileAtHand {
 public:
  GroupFileAtHand() : path_(folder_.filePath(QStringLiteral("group.txt"))) {
    QByteArray bytes;
    for (std::size_t row = 0; row < kMaxGridRows; ++row) {
      bytes += QByteArray::number(static_cast<qulonglong>(1000 + (row * 7919) % 100000)) + "." +
               QByteArray::number(static_cast<qulonglong>(row % 10)) + "\r\n";
    }
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);

    GroupFiles::Dialogs dialogs;
    dialogs.choosePathToOpen = [this](QWidget*) { return path_; };
    dialogs.choosePathToSave = [this](QWidget*) { return path_; };
    dialogs.confirmReplace = [](QWidget*, const QString&) { return true; };
    dialogs.tell = [](QWidget*, const QString& message) {
      qFatal("%s", qPrintable(message));  // nothing here may fail
    };
    window_.Files()->SetDialogs(std::move(dialogs));
    window_.show();
  }
  MainWindow& Window() { return window_; }

 private:
  QTemporaryDir folder_;
  QString path_;
  MainWindow window_;
};

// From the menu item to the last result written and the window drawn.
void BM_ImportGroupFile(benchmark::State& state) {
  GroupFileAtHand file;
  for (auto _ : state) {
    file.Window().ImportGroup1();
    QApplication::processEvents();
  }
  if (file.Window().Grid()->Lists().Size(Group::First) != kMaxGridRows)
    state.SkipWithError("short");
}
BENCHMARK(BM_ImportGroupFile)->Unit(benchmark::kMillisecond);

void BM_ExportGroupFile(benchmark::State& state) {
  GroupFileAtHand file;
  file.Window().ImportGroup2();
  for (auto _ : state) file.Window().ExportGroup2();
}
BENCHMARK(BM_ExportGroupFile)->Unit(benchmark::kMillisecond);

// Two analysis files with both groups at the grid's largest size and different values, written
// from a window that then shows the first.
class AnalysisFilesAtHand {
 public:
  AnalysisFilesAtHand() : grid_(AnalysisMode::TwoSampleMeans) {
    AnalysisState state = Keeper()->Capture();
    for (const QString& name : {QStringLiteral("a.quillon"), QStringLiteral("b.quillon")}) {
      paths_.push_back(folder_.filePath(name));
      if (AnalysisKeeper::WriteStateFile(paths_.back(), state)) qFatal("not written");
      std::swap(state.group1, state.group2);
    }
    grid_.Window().show();
  }
  AnalysisKeeper* Keeper() { return grid_.Window().Keeper(); }
  MainWindow& Window() { return grid_.Window(); }
  const QString& Path(std::size_t index) const { return paths_[index % paths_.size()]; }

 private:
  QTemporaryDir folder_;
  std::vector<QString> paths_;
  FullGrid grid_;
};

// Opening one of the two files in turn, from the file to the results shown and the window drawn.
void BM_OpenAnalysisAtTheLargestGrid(benchmark::State& state) {
  AnalysisFilesAtHand files;
  std::size_t turn = 0;
  for (auto _ : state) {
    if (!files.Keeper()->Open(files.Path(++turn))) state.SkipWithError("not opened");
    files.Window().repaint();
    QApplication::processEvents();
  }
  if (files.Window().Grid()->Lists().Size(Group::Second) != kMaxGridRows)
    state.SkipWithError("short");
}
BENCHMARK(BM_OpenAnalysisAtTheLargestGrid)->Unit(benchmark::kMillisecond);

// Saving: the window's state taken and written to the file. Processor time, which leaves out the
// wait for the disk's flush before the new file replaces the old.
void BM_SaveAnalysisAtTheLargestGrid(benchmark::State& state) {
  AnalysisFilesAtHand files;
  for (auto _ : state) {
    if (AnalysisKeeper::WriteStateFile(files.Path(0), files.Keeper()->Capture())) {
      state.SkipWithError("not written");
    }
  }
}
BENCHMARK(BM_SaveAnalysisAtTheLargestGrid)->Unit(benchmark::kMillisecond);

// What keeping the work for the next start costs the window's thread once a second while typing
// goes on: taking the state (the writer's thread turns it into JSON and writes it).
void BM_TakeStateAtTheLargestGrid(benchmark::State& state) {
  AnalysisFilesAtHand files;
  for (auto _ : state) benchmark::DoNotOptimize(files.Keeper()->Capture());
}
BENCHMARK(BM_TakeStateAtTheLargestGrid)->Unit(benchmark::kMillisecond);

// A column of the grid's largest size pasted into the first box of group 1, from the paste key
// to the results shown and the window drawn, in elapsed time. Two columns of different values
// take turns, so that every paste changes every row.
void BM_PasteColumn(benchmark::State& state) {
  MainWindow window;
  window.show();
  QLineEdit* box = window.Grid()->EntryBox(Group::First, 0);
  box->setFocus();
  std::array<QString, 2> columns;
  for (std::size_t turn = 0; turn < columns.size(); ++turn) {
    QStringList lines;
    for (std::size_t row = 0; row < kMaxGridRows; ++row) {
      lines << QString::number(1000 + (row * 7919 + turn * 13) % 100000) + "." +
                   QString::number(row % 10);
    }
    columns[turn] = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
  }
  QApplication::processEvents();
  std::size_t turn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QGuiApplication::clipboard()->setText(columns[turn]);
    turn = 1 - turn;
    state.ResumeTiming();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    window.repaint();
    QApplication::processEvents();
  }
  if (window.Grid()->Lists().Size(Group::First) != kMaxGridRows) state.SkipWithError("short");
}
BENCHMARK(BM_PasteColumn)->Unit(benchmark::kMillisecond)->UseRealTime();

// The grid's largest number of correlated pairs with one decimal, spread over the whole plot as
// real measurements are, rather than along a line: the most dots that survive the thinning.
struct SpreadPairs {
  SpreadPairs() {
    std::mt19937 random(18);
    std::normal_distribution<double> x(50, 10), noise(0, 6);
    for (std::size_t row = 0; row < kMaxGridRows; ++row) {
      const double value = x(random);
      const Fixed4 fx = *Fixed4::FromDouble(std::round(value * 10) / 10);
      const Fixed4 fy =
          *Fixed4::FromDouble(std::round((0.8 * value + 12 + noise(random)) * 10) / 10);
      points.emplace_back(fx.ToDouble(), fy.ToDouble());
      sums.Add(fx, fy);
    }
  }
  std::vector<QPointF> points;
  PairSums sums;
};

// Elapsed time of one picture at the report's size with 32,776 points (0 scatter plot with its
// band, 1 residuals, 2 agreement, 3 the two groups, 4 their boxes with the shift, 5 the pairs'
// lines with the change): with range(1) = 1 after SetData (the scatter plot's band computed too),
// with 0 a plain repaint.
using plots::AgreementData;
using plots::AgreementLine;
using plots::EstimationData;
using plots::ScatterData;
using plots::ScatterOf;

void BM_PictureWithEveryRow(benchmark::State& state) {
  const SpreadPairs pairs;
  const bool change = state.range(1) == 1;
  std::unique_ptr<QWidget> plot;
  std::function<void()> setData;
  switch (state.range(0)) {
    case 0: {
      auto* scatter = new plots::ScatterPlot();
      setData = [scatter, &pairs] { scatter->SetData(ScatterOf(pairs.points, pairs.sums)); };
      plot = std::make_unique<PictureView>(std::unique_ptr<plots::PlotCanvas>(scatter), nullptr);
      break;
    }
    case 1: {
      auto* residuals = new plots::ResidualPlot();
      const ScatterData scatter = ScatterOf(pairs.points, pairs.sums);
      std::vector<ResidualPoint> points;
      for (const QPointF& point : pairs.points) {
        const double fitted = *scatter.intercept + *scatter.slope * point.x();
        points.push_back({fitted, point.y() - fitted});
      }
      setData = [residuals, points] { residuals->SetData(points, QString()); };
      plot = std::make_unique<PictureView>(std::unique_ptr<plots::PlotCanvas>(residuals), nullptr);
      break;
    }
    case 2: {
      auto* agreement = new plots::AgreementPlot();
      AgreementData data;
      for (const QPointF& pair : pairs.points) {
        data.points.emplace_back((pair.x() + pair.y()) / 2, pair.x() - pair.y());
      }
      data.bias = AgreementLine{10, 9.9, 10.1};
      data.lowerLimit = AgreementLine{-4, -4.2, -3.8};
      data.upperLimit = AgreementLine{24, 23.8, 24.2};
      setData = [agreement, data] { agreement->SetData(data); };
      plot = std::make_unique<PictureView>(std::unique_ptr<plots::PlotCanvas>(agreement), nullptr);
      break;
    }
    case 4: {
      auto* boxes = new plots::BoxPlot();
      plots::BoxPlotData data;
      for (const QPointF& pair : pairs.points) {
        data.groups[0].values.push_back(pair.x());
        data.groups[1].values.push_back(pair.y());
      }
      data.groups[0] = {data.groups[0].values, 50, 43.3, 56.7};
      data.groups[1] = {data.groups[1].values, 52, 46.2, 57.8};
      data.shift = -2;
      data.shiftLower = -2.2;
      data.shiftUpper = -1.8;
      setData = [boxes, data] { boxes->SetData(data); };
      plot = std::make_unique<PictureView>(std::unique_ptr<plots::PlotCanvas>(boxes), nullptr);
      break;
    }
    case 5: {
      auto* paired = new plots::PairedLinesPlot();
      plots::PairedLinesData data;
      for (const QPointF& pair : pairs.points) data.pairs.emplace_back(pair.x(), pair.y());
      data.change = 2;
      data.changeLower = 1.9;
      data.changeUpper = 2.1;
      setData = [paired, data] { paired->SetData(data); };
      plot = std::make_unique<PictureView>(std::unique_ptr<plots::PlotCanvas>(paired), nullptr);
      break;
    }
    default: {
      auto* estimation = new plots::EstimationPlot();
      EstimationData data;
      for (const QPointF& pair : pairs.points) {
        data.groups[0].values.push_back(pair.x());
        data.groups[1].values.push_back(pair.y());
      }
      data.groups[0].mean = 50;
      data.groups[0].lower = 49.9;
      data.groups[0].upper = 50.1;
      data.groups[1].mean = 52;
      setData = [estimation, data] { estimation->SetData(data); };
      plot = std::make_unique<PictureView>(std::unique_ptr<plots::PlotCanvas>(estimation), nullptr);
      break;
    }
  }
  plot->resize(616, 300);
  plot->show();
  setData();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    if (change) setData();
    plot->repaint();
  }
}
BENCHMARK(BM_PictureWithEveryRow)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace quillon::ui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quillon::ui::InstallChineseInterface(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
