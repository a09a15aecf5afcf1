// The results report window: one window from the menu, following typing, switching and an
// import, the clipboard's two forms and the saved scatter plot.

#include "app/report/report_window.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>

#include "app/analyses/sample_grid.h"
#include "app/report/picture_view.h"
#include "plots/scatter_plot.h"
#include "window_fixture.h"

namespace {

using quillon::ui::ReportWindow;

class ReportWindowTest : public MainWindowTest {
 protected:
  ReportWindow* Open() {
    Control<QAction>(QStringLiteral("mnuReport"))->trigger();
    ReportWindow* report = window->ReportWindowIfOpen();
    EXPECT_NE(report, nullptr);
    return report;
  }
  void Choose(int mode) {
    QTest::mouseClick(Control<QPushButton>(QStringLiteral("Command1(%1)").arg(mode)),
                      Qt::LeftButton);
  }
  // The report as plain text, after the pending refresh has run.
  static QString Shown(ReportWindow* report) {
    QCoreApplication::processEvents();
    return QString::fromStdString(quillon::ReportPlainText(report->Current()));
  }
};

TEST_F(ReportWindowTest, MenuOpensOneModelessWindow) {
  const QList<QAction*> items = Control<QMenu>(QStringLiteral("mnuFile"))->actions();
  const auto table = std::find_if(items.begin(), items.end(), [](QAction* item) {
    return item->objectName() == QStringLiteral("mnuTTable");
  });
  ASSERT_NE(table, items.end());
  EXPECT_EQ((*(table + 1))->objectName(), QStringLiteral("mnuReport"));
  EXPECT_EQ((*(table + 1))->text(), QStringLiteral("结果报告"));
  EXPECT_EQ((*(table + 1))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));

  ReportWindow* report = Open();
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->objectName(), QStringLiteral("ReportWindow"));
  EXPECT_EQ(report->windowTitle(), QStringLiteral("结果报告"));
  EXPECT_EQ(report->parentWidget(), nullptr);
  EXPECT_FALSE(report->isModal());
  EXPECT_EQ(Open(), report);
  int count = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == QStringLiteral("ReportWindow")) ++count;
  }
  EXPECT_EQ(count, 1);
}

TEST_F(ReportWindowTest, FollowsTypingSwitchingAndAnImport) {
  ReportWindow* report = Open();
  ASSERT_NE(report, nullptr);
  // The two-sample test: the grid fills the summary boxes, which the report reads.
  for (int row = 0; row < 3; ++row) {
    Type(Box(QStringLiteral("Text1(%1)").arg(row)), QString::number(row + 1));
    Type(Box(QStringLiteral("Text2(%1)").arg(row)), QString::number(2 * row + 5));
  }
  EXPECT_TRUE(Shown(report).startsWith(QStringLiteral("两样本均数t检验")));
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("均数之差 x̄₁ − x̄₂\t-5.0000")))
      << Shown(report).toStdString();
  EXPECT_TRUE(report->findChild<QTextBrowser*>(QStringLiteral("ReportText"))
                  ->toPlainText()
                  .contains(QStringLiteral("-5.0000")));

  Choose(1);
  EXPECT_TRUE(Shown(report).startsWith(QStringLiteral("配对资料t检验")));
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("对子数 n\t0")));
  const std::vector<std::pair<const char*, const char*>> rows = {
      {"1", "2"}, {"3", "5"}, {"4", "4"}, {"6", "9"}};
  for (std::size_t row = 0; row < rows.size(); ++row) {
    Type(Box(QStringLiteral("Text1(%1)").arg(row)), QString::fromLatin1(rows[row].first));
    Type(Box(QStringLiteral("Text2(%1)").arg(row)), QString::fromLatin1(rows[row].second));
  }
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("P\t0.103")));
  // The text written in place, keystroke by keystroke, reads as the whole report laid out anew.
  QTextDocument fresh;
  fresh.setHtml(QString::fromStdString(quillon::ReportHtml(report->Current())));
  EXPECT_EQ(report->findChild<QTextBrowser*>(QStringLiteral("ReportText"))->toPlainText(),
            fresh.toPlainText());
  // The style sets the table's P and the sentences; it outlives the window until the program ends.
  auto* styles = report->findChild<QComboBox*>(QStringLiteral("cmbReportStyle"));
  ASSERT_NE(styles, nullptr);
  styles->setCurrentIndex(3);
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("P\t.103")));
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("(t = -2.32, df = 3, p = .103)")));
  report->close();
  QCoreApplication::processEvents();
  report = Open();
  styles = report->findChild<QComboBox*>(QStringLiteral("cmbReportStyle"));
  EXPECT_EQ(styles->currentIndex(), 3);
  styles->setCurrentIndex(0);

  Choose(2);
  window->Grid()->ReplaceGroup(quillon::Group::First, {"1", "2", "3", "4", "5"});
  window->Grid()->ReplaceGroup(quillon::Group::Second, {"2", "4", "5", "4", "5"});
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("相关系数 r\t0.7746")));
  auto* plot = report->findChild<quillon::ui::PictureView*>(QStringLiteral("ScatterPlot"));
  ASSERT_NE(plot, nullptr);
  EXPECT_TRUE(plot->isVisible());
  EXPECT_GE(plot->minimumWidth(), 300);
  EXPECT_GE(plot->minimumHeight(), 240);
  EXPECT_EQ(dynamic_cast<quillon::plots::ScatterPlot&>(plot->Picture()).Data().points.size(), 5u);

  Choose(3);
  for (int cell = 0; cell < 4; ++cell) {
    Type(Box(QStringLiteral("Text11(%1)").arg(cell)), QStringList{"30", "10", "2", "8"}[cell]);
  }
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("最小理论数 T(d) = 3.6000 < 5")));
  EXPECT_FALSE(plot->isVisible());
}

TEST_F(ReportWindowTest, CopiesHtmlTableAndPlainTextAndSavesThePlot) {
  Choose(2);
  window->Grid()->ReplaceGroup(quillon::Group::First, {"1", "2", "3"});
  window->Grid()->ReplaceGroup(quillon::Group::Second, {"3", "5", "8"});
  ReportWindow* report = Open();
  ASSERT_NE(report, nullptr);
  QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("cmdCopyReport")),
                    Qt::LeftButton);
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  ASSERT_TRUE(copied->hasHtml());
  const QString html = copied->html();
  EXPECT_EQ(html.count(QStringLiteral("<table")), 1);
  EXPECT_TRUE(html.contains(QStringLiteral("border-top:1.5pt solid")));
  EXPECT_TRUE(html.contains(QStringLiteral(">斜率 <i>b</i></td>")));
  EXPECT_TRUE(copied->text().contains(QStringLiteral("斜率 b\t2.5000\t")));

  QTemporaryDir directory;
  quillon::plots::PlotCanvas& plot =
      report->findChild<quillon::ui::PictureView*>(QStringLiteral("ScatterPlot"))->Picture();
  ASSERT_TRUE(plot.Save(directory.filePath(QStringLiteral("plot.png"))));
  EXPECT_FALSE(QImage(directory.filePath(QStringLiteral("plot.png"))).isNull());
  ASSERT_TRUE(plot.Save(directory.filePath(QStringLiteral("plot.svg"))));
  QFile svg(directory.filePath(QStringLiteral("plot.svg")));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("<svg"));
}

}  // namespace
