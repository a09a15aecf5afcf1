// Renders the main window as the program shows it at start into the PNG file named on the
// command line; or, with --report and an analysis (two-sample, paired, correlation, fourfold,
// mcnemar), the results report of a textbook example typed into that analysis (with --ranks, its
// sentences those of the rank tests), and beside the picture (same name, .html) the HTML that
// "复制" puts on the clipboard; with --save-report as well, instead of the picture, the report as
// "保存报告" writes it to the file named (.pdf, .odt, .html); with --margin HYPOTHESIS MARGIN
// (1 non-inferiority, 2 superiority, 3 equivalence; lower values better with a minus, -1), the
// report judged against that margin, scrolled to its section; or, with --sample-size, the
// sample-size window planning a two-sample study (difference 5, SD 10, 10 % dropout). With
// --where and the objectNames of controls instead of a file name, it prints the screen position
// of each control's centre in the window as the program shows it at start (for driving the real
// program from outside, as bench/outside_keystroke.py does).

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPixmap>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <map>

#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/application.h"
#include "app/main_window.h"
#include "app/report/report_window.h"

namespace {

using quillon::Group;
using quillon::ui::AnalysisMode;
using quillon::ui::MainWindow;

// Two columns of an example, typed into the grid as a user would have them.
void FillGrid(MainWindow& window, std::vector<std::string> first, std::vector<std::string> second) {
  window.Grid()->ReplaceGroup(Group::First, std::move(first));
  window.Grid()->ReplaceGroup(Group::Second, std::move(second));
}

bool ShowExample(MainWindow& window, const std::string& analysis) {
  const std::map<std::string, AnalysisMode> modes = {
      {"two-sample", AnalysisMode::TwoSampleMeans},
      {"paired", AnalysisMode::PairedMeans},
      {"correlation", AnalysisMode::CorrelationRegression},
      {"fourfold", AnalysisMode::FourfoldChiSquare},
      {"mcnemar", AnalysisMode::PairedChiSquare}};
  const auto mode = modes.find(analysis);
  if (mode == modes.end()) return false;
  window.Modes()->SelectAnalysis(mode->second);
  // The report is open while the example is typed, so that it follows the data as it comes.
  window.ShowReportWindow();
  switch (mode->second) {
    case AnalysisMode::TwoSampleMeans:
      FillGrid(window,
               {"12.3", "14.1", "13.5", "15.2", "12.8", "14.6", "13.9", "15.8", "14.4", "13.1"},
               {"11.2", "12.5", "11.8", "13.0", "12.1", "10.9", "12.7", "11.5", "12.2", "11.9"});
      break;
    case AnalysisMode::PairedMeans:
      FillGrid(window, {"130", "128", "142", "150", "136", "145", "138", "152", "140", "133"},
               {"122", "125", "135", "141", "130", "138", "136", "140", "131", "129"});
      break;
    case AnalysisMode::CorrelationRegression:
      FillGrid(window, {"1.5", "2.25", "3.1", "4.8", "5.05", "6.7", "7.2", "8.4", "9.1", "10.3"},
               {"3.2", "3.9", "5.1", "5.0", "7.4", "8.3", "8.1", "9.6", "9.2", "11.8"});
      break;
    case AnalysisMode::FourfoldChiSquare:
    case AnalysisMode::PairedChiSquare: {
      const char* cells[] = {"28", "12", "9", "31"};
      for (int i = 0; i < 4; ++i)
        window.Fourfold()->Cell(i)->setText(QString::fromLatin1(cells[i]));
      break;
    }
  }
  return true;
}

// The sample-size window with a two-sample plan typed into it.
QWidget* ShowSamplePlan(MainWindow& window) {
  window.ShowSampleSizeWindow();
  QWidget* planning = window.SampleSizeWindowIfOpen();
  for (const auto& [name, text] : {std::pair{"ssMean1", "15"}, std::pair{"ssMean2", "10"},
                                   std::pair{"ssSD", "10"}, std::pair{"ssDropout", "10"}}) {
    planning->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
  }
  return planning;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QStringList arguments = app.arguments().mid(1);
  if (!arguments.isEmpty() && arguments.front() == QStringLiteral("--where")) {
    quillon::ui::InstallChineseInterface(app);
    MainWindow window;
    window.show();
    QTimer::singleShot(500, [&] {
      for (const QString& name : arguments.mid(1)) {
        const QWidget* control = window.findChild<QWidget*>(name);
        const QPoint centre =
            control != nullptr ? control->mapToGlobal(control->rect().center()) : QPoint(-1, -1);
        std::printf("%s %d %d\n", qPrintable(name), centre.x(), centre.y());
      }
      QApplication::exit(0);
    });
    return QApplication::exec();
  }
  QString analysis;
  QString style;
  bool ranks = false;  // the sentences of the rank tests
  bool plan = false;
  bool saveReport = false;
  int hypothesis = 0;  // a difference
  QString margin;
  while (arguments.size() > 1 && arguments.front().startsWith(QStringLiteral("--"))) {
    const QString option = arguments.takeFirst();
    if (option == QStringLiteral("--sample-size")) plan = true;
    if (option == QStringLiteral("--report")) analysis = arguments.takeFirst();
    if (option == QStringLiteral("--journal")) style = arguments.takeFirst();
    if (option == QStringLiteral("--ranks")) ranks = true;
    if (option == QStringLiteral("--save-report")) saveReport = true;
    if (option == QStringLiteral("--margin") && arguments.size() > 2) {
      hypothesis = arguments.takeFirst().toInt();
      margin = arguments.takeFirst();
    }
  }
  if (arguments.size() != 1) {
    std::fprintf(
        stderr,
        "usage: %s [--report ANALYSIS [--journal 0-3] [--ranks] [--margin H D] [--save-report] | "
        "--sample-size] OUTPUT\n",
        argv[0]);
    return 2;
  }
  const bool report = !analysis.isEmpty();
  quillon::ui::InstallChineseInterface(app);
  auto* window = new MainWindow();
  window->show();
  if (report && !ShowExample(*window, analysis.toStdString())) {
    std::fprintf(stderr, "unknown analysis %s\n", qPrintable(analysis));
    return 2;
  }
  if (report && !style.isEmpty()) {
    if (auto* styles =
            window->ReportWindowIfOpen()->findChild<QComboBox*>(QStringLiteral("cmbReportStyle"))) {
      styles->setCurrentIndex(style.toInt());
    }
  }
  if (report && ranks) {
    if (auto* paths =
            window->ReportWindowIfOpen()->findChild<QComboBox*>(QStringLiteral("cmbReportTest"))) {
      paths->setCurrentIndex(1);
    }
  }
  if (report && hypothesis != 0) {
    QWidget* reportWindow = window->ReportWindowIfOpen();
    auto* hypotheses = reportWindow->findChild<QComboBox*>(QStringLiteral("cmbReportHypothesis"));
    auto* better = reportWindow->findChild<QComboBox*>(QStringLiteral("cmbReportBetter"));
    auto* box = reportWindow->findChild<QLineEdit*>(QStringLiteral("ReportMargin"));
    if (hypotheses == nullptr || better == nullptr || box == nullptr) return 2;
    hypotheses->setCurrentIndex(hypotheses->findData(std::abs(hypothesis)));
    emit hypotheses->activated(hypotheses->currentIndex());
    better->setCurrentIndex(hypothesis < 0 ? 1 : 0);
    emit better->activated(better->currentIndex());
    box->setText(margin);
    emit box->textEdited(margin);
  }
  QWidget* shown = report ? static_cast<QWidget*>(window->ReportWindowIfOpen()) : window;
  if (plan) shown = ShowSamplePlan(*window);
  int status = 1;
  QTimer::singleShot(500, [&] {
    const QString picture = arguments.front();
    if (report && saveReport) {
      status = window->ReportWindowIfOpen()->SaveReportTo(picture) ? 0 : 1;
      QApplication::exit(status);
      return;
    }
    if (report && (ranks || hypothesis != 0)) {
      // The rank test's or the margin's rows at the top of the text, its sentences below them.
      auto* text =
          window->ReportWindowIfOpen()->findChild<QTextBrowser*>(QStringLiteral("ReportText"));
      const QTextCursor found = text->document()->find(
          hypothesis != 0 ? QStringLiteral("界值Δ") : QStringLiteral("Wilcoxon"));
      if (text != nullptr && !found.isNull()) {
        text->verticalScrollBar()->setValue(text->verticalScrollBar()->value() +
                                            text->cursorRect(found).top() - 24);
      }
    }
    status = shown->grab().save(picture) ? 0 : 1;
    if (report) {
      window->ReportWindowIfOpen()->CopyReport();
      QFile html(QString(picture).replace(QRegularExpression(QStringLiteral("\\.png$")),
                                          QStringLiteral(".html")));
      const QMimeData* copied = QApplication::clipboard()->mimeData();
      if (copied == nullptr || !html.open(QIODevice::WriteOnly) ||
          html.write(copied->html().toUtf8()) < 0) {
        status = 1;
      }
    }
    QApplication::exit(status);
  });
  QApplication::exec();
  delete window;
  return status;
}
