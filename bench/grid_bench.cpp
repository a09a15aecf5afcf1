// The data grid at its largest, with the real window drawn offscreen: one keystroke in a box and
// one scroll step, from the key or the scroll bar to the last result written, in each of the
// three sample analyses.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "app/analysis_modes.h"
#include "app/application.h"
#include "app/main_window.h"
#include "app/sample_grid.h"
#include "entry/grid_rows.h"

namespace quillon::ui {
namespace {

// A main window in the given analysis with both groups filled to the grid's largest size.
class FullGrid {
 public:
  explicit FullGrid(AnalysisMode mode) {
    window_.Modes()->SelectAnalysis(mode);
    for (const Group group : {Group::First, Group::Second}) {
      std::vector<std::string> lines;
      lines.reserve(kMaxGridRows);
      for (std::size_t row = 0; row < kMaxGridRows; ++row) {
        lines.push_back(std::to_string(10000000 + (row * 7919 + (group == Group::First ? 0 : 13)) % 1000) + "." +
                        std::to_string(row % 10));
      }
      window_.Grid()->ReplaceGroup(group, std::move(lines));
    }
  }
  MainWindow& Window() { return window_; }

 private:
  MainWindow window_;
};

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
