// The results report window: one window from the menu, following typing, switching and an
// import, the clipboard's two forms and the saved scatter plot, the report saved as PDF and ODT
// and read back by other programs, and printed through its preview.

#include "app/report/report_window.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextTable>
#include <QTimer>
#include <functional>

#include "app/analyses/sample_grid.h"
#include "app/report/picture_view.h"
#include "app/report/report_document.h"
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
  // What a program prints for the arguments; empty when it did not finish well.
  static QString Output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  static QString PdfText(const QString& path) {
    return Output(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
  }
  // The numbers in texts of the report.
  static QStringList Numbers(const std::vector<std::string>& texts) {
    static const QRegularExpression number(QStringLiteral(R"(\d+(\.\d+)?(E[-+]\d+)?)"));
    QStringList numbers;
    for (const std::string& text : texts) {
      auto found = number.globalMatch(QString::fromStdString(text));
      while (found.hasNext()) numbers << found.next().captured();
    }
    return numbers;
  }
  // The first of the programs that is not installed (poppler-utils' and LibreOffice's, which
  // read the saved files), or the empty text.
  static QString Missing(const QStringList& programs) {
    for (const QString& program : programs) {
      if (QStandardPaths::findExecutable(program).isEmpty()) return program;
    }
    return {};
  }
  // The text of the message box that `act` shows, which is then closed.
  static QString Told(const std::function<void()>& act) {
    QString told;
    QTimer::singleShot(0, [&told] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      told = box->text();
      box->accept();
    });
    act();
    return told;
  }
  ReportWindow* TwoSampleReport() {
    window->Grid()->ReplaceGroup(quillon::Group::First, {"12.3", "14.1", "13.5", "15.2", "12.8"});
    window->Grid()->ReplaceGroup(quillon::Group::Second, {"11.2", "12.5", "11.8", "13.0", "10.9"});
    ReportWindow* report = Open();
    if (report != nullptr) Shown(report);
    return report;
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
  // The text written in place, keystroke by keystroke, reads as the whole report laid out anew;
  // the window shows the table row by row, with an empty line between them.
  QTextDocument fresh;
  fresh.setHtml(QString::fromStdString(quillon::ReportHtml(report->Current())));
  EXPECT_EQ(report->findChild<QTextBrowser*>(QStringLiteral("ReportText"))
                ->toPlainText()
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            fresh.toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts));
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
  auto* plot = report->findChild<quillon::ui::PictureView*>(QStringLiteral("picScatter"));
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

// The table is shown row by row: at any width of the window the rows' columns line
// up, and the table is as wide as it is laid out whole.
TEST_F(ReportWindowTest, RowsLineUpAtAnyWidth) {
  ReportWindow* report = TwoSampleReport();
  ASSERT_NE(report, nullptr);
  auto* browser = report->findChild<QTextBrowser*>(QStringLiteral("ReportText"));
  for (const int width : {900, 430}) {
    report->resize(width, report->height());
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
    QTextDocument* text = browser->document();
    std::vector<QTextTable*> tables;
    for (QTextFrame* frame : text->rootFrame()->childFrames()) {
      if (auto* table = qobject_cast<QTextTable*>(frame)) tables.push_back(table);
    }
    // Where each column's text begins, in every row of figures (a heading spans the three).
    std::erase_if(tables, [](QTextTable* table) {
      return table->columns() != 3 || table->cellAt(0, 0).columnSpan() != 1;
    });
    ASSERT_GT(tables.size(), report->Current().sections.size());
    auto columns = [text](QTextTable* table) {
      std::vector<double> lefts;
      for (int column = 0; column < 3; ++column) {
        const QTextBlock block =
            table->cellAt(table->rows() - 1, column).firstCursorPosition().block();
        lefts.push_back(text->documentLayout()->blockBoundingRect(block).left());
      }
      return lefts;
    };
    for (QTextTable* table : tables) EXPECT_EQ(columns(table), columns(tables.front())) << width;
    QTextDocument whole;
    whole.setDefaultFont(text->defaultFont());
    whole.setTextWidth(text->textWidth());
    whole.setHtml(QString::fromStdString(quillon::ReportHtml(report->Current())));
    // As wide as the table laid out whole, but for the rounding to whole pixels.
    // (The paper's table, of other columns, comes first.)
    QTextFrame* wholeTable = nullptr;
    for (QTextFrame* frame : whole.rootFrame()->childFrames()) {
      auto* table = qobject_cast<QTextTable*>(frame);
      if (wholeTable == nullptr && table != nullptr && table->columns() == 3) wholeTable = table;
    }
    ASSERT_NE(wholeTable, nullptr);
    EXPECT_NEAR(text->documentLayout()->frameBoundingRect(tables.front()).right(),
                whole.documentLayout()->frameBoundingRect(wholeTable).right(), 2)
        << width;
  }
}

TEST_F(ReportWindowTest, TakesRawValuesTheTestChosenAndWhatPositiveMeans) {
  ReportWindow* report = Open();
  ASSERT_NE(report, nullptr);
  // Values whose rounded summaries would give d = 0.1470: the data give 0.1231 (SciPy).
  const QStringList first = {"0", "-0.007", "-0.006"}, second = {"-0.005", "-0.005", "-0.004"};
  for (int row = 0; row < 3; ++row) {
    Type(Box(QStringLiteral("Text1(%1)").arg(row)), first[row]);
    Type(Box(QStringLiteral("Text2(%1)").arg(row)), second[row]);
  }
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("各组原始数据")));
  // Both tests in the table; the sentences follow the test chosen.
  auto* path = report->findChild<QComboBox*>(QStringLiteral("cmbReportTest"));
  ASSERT_NE(path, nullptr);
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("Wilcoxon秩和检验（Mann–Whitney U检验）")));
  EXPECT_FALSE(Shown(report).contains(QStringLiteral("两组比较采用Wilcoxon秩和检验")));
  auto* means = report->findChild<QWidget*>(QStringLiteral("picEstimation"));
  auto* boxes = report->findChild<QWidget*>(QStringLiteral("picBoxPlot"));
  ASSERT_TRUE(means != nullptr && boxes != nullptr);
  EXPECT_TRUE(means->isVisibleTo(report) && !boxes->isVisibleTo(report));
  path->setCurrentIndex(1);
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("两组比较采用Wilcoxon秩和检验")));
  EXPECT_EQ(report->Current().title, "两样本比较的Wilcoxon秩和检验");
  // The picture follows the test: the box plot replaces the means'.
  EXPECT_TRUE(!means->isVisibleTo(report) && boxes->isVisibleTo(report));
  path->setCurrentIndex(0);
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("Cohen效应量 d\t0.1231")))
      << Shown(report).toStdString();
  EXPECT_EQ(report->Current().title, "两样本均数t检验");
  // A summary box typed over: the figures go back to the summaries.
  Type(Box(QStringLiteral("Text4(0)")), QStringLiteral("-0.0043"));
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("汇总值")));

  // Paired data are before and after unless said otherwise: lines, or Bland and Altman's plot.
  Choose(1);
  QCoreApplication::processEvents();
  auto* meaning = report->findChild<QComboBox*>(QStringLiteral("cmbPairedMeaning"));
  ASSERT_NE(meaning, nullptr);
  EXPECT_TRUE(report->findChild<QWidget*>(QStringLiteral("picPairedLines"))->isVisibleTo(report));
  meaning->setCurrentIndex(1);
  emit meaning->activated(1);
  QCoreApplication::processEvents();
  EXPECT_TRUE(report->findChild<QWidget*>(QStringLiteral("picAgreement"))->isVisibleTo(report));
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("95%一致性界限")));
  Choose(0);

  auto* positive = report->findChild<QComboBox*>(QStringLiteral("cmbPositiveMeans"));
  ASSERT_NE(positive, nullptr);
  EXPECT_FALSE(positive->isVisible());
  Choose(3);
  for (int cell = 0; cell < 4; ++cell) {
    Type(Box(QStringLiteral("Text11(%1)").arg(cell)), QStringList{"6", "14", "1", "19"}[cell]);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(positive->isVisible());
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("以（+）为有效")));
  positive->setCurrentIndex(1);
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("以（+）为不良事件")));
}

TEST_F(ReportWindowTest, MarginChoiceAddsItsSectionAndPictureForItsAnalysisAlone) {
  ReportWindow* report = TwoSampleReport();
  ASSERT_NE(report, nullptr);
  auto* hypothesis = report->findChild<QComboBox*>(QStringLiteral("cmbReportHypothesis"));
  auto* margin = report->findChild<QLineEdit*>(QStringLiteral("ReportMargin"));
  auto* alpha = report->findChild<QLineEdit*>(QStringLiteral("ReportAlpha"));
  auto* picture = report->findChild<QWidget*>(QStringLiteral("picMargin"));
  ASSERT_TRUE(hypothesis != nullptr && margin != nullptr && alpha != nullptr && picture != nullptr);
  const QString before = Shown(report);
  EXPECT_EQ(hypothesis->count(), 4);
  EXPECT_FALSE(margin->isVisibleTo(report));
  hypothesis->setCurrentIndex(1);
  emit hypothesis->activated(1);
  Type(margin, QStringLiteral("2"));
  const QString judged = Shown(report);
  EXPECT_TRUE(judged.contains(QStringLiteral("非劣效")) && judged.size() > before.size());
  EXPECT_TRUE(picture->isVisibleTo(report));
  EXPECT_EQ(alpha->placeholderText(), QStringLiteral("0.025"));
  const QList<QLabel*> labels = report->findChildren<QLabel*>();
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [alpha](const QLabel* label) {
    return label->buddy() == alpha && label->text() == QStringLiteral("单侧α：");
  }));
  // Correlation judges a difference alone; the two-sample choice is kept for the run.
  Choose(2);
  QCoreApplication::processEvents();
  EXPECT_EQ(hypothesis->count(), 1);
  EXPECT_FALSE(picture->isVisibleTo(report));
  Choose(0);
  QCoreApplication::processEvents();
  EXPECT_EQ(hypothesis->currentIndex(), 1);
  EXPECT_EQ(margin->text(), QStringLiteral("2"));
}

TEST_F(ReportWindowTest, CopiesHtmlTableAndPlainTextAndSavesThePlot) {
  Choose(2);
  window->Grid()->ReplaceGroup(quillon::Group::First, {"1", "2", "3"});
  window->Grid()->ReplaceGroup(quillon::Group::Second, {"3", "5", "8"});
  ReportWindow* report = Open();
  ASSERT_NE(report, nullptr);
  // The names typed above the table go into it, never into the main window.
  auto* x = report->findChild<QLineEdit*>(QStringLiteral("ReportXName"));
  ASSERT_NE(x, nullptr);
  QInputMethodEvent typed;  // as a Chinese input method commits it
  typed.setCommitString(QStringLiteral("年龄"));
  QApplication::sendEvent(x, &typed);
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("表1  年龄与Y的相关与回归")));
  EXPECT_TRUE(Shown(report).contains(QStringLiteral("年龄与Y之间")));
  // "复制": the paper's table and the sentences; "复制完整报告": everything.
  QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("cmdCopyReport")),
                    Qt::LeftButton);
  const QMimeData* paper = QApplication::clipboard()->mimeData();
  ASSERT_NE(paper, nullptr);
  EXPECT_EQ(paper->html().count(QStringLiteral("<table")), 1);
  EXPECT_TRUE(paper->text().startsWith(QStringLiteral("表1  年龄与Y的相关与回归\nn\tr（95%CI）")))
      << paper->text().toStdString();
  EXPECT_FALSE(paper->text().contains(QStringLiteral("斜率 b")));
  QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("cmdCopyWholeReport")),
                    Qt::LeftButton);
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  ASSERT_TRUE(copied->hasHtml());
  const QString html = copied->html();
  EXPECT_EQ(html.count(QStringLiteral("<table")), 2);
  EXPECT_TRUE(html.contains(QStringLiteral("border-top:1.5pt solid")));
  EXPECT_TRUE(html.contains(QStringLiteral(">斜率 <i>b</i></td>")));
  EXPECT_TRUE(copied->text().contains(QStringLiteral("斜率 b\t2.5000\t")));
  // The shown text selected whole and copied is the whole report.
  QApplication::clipboard()->clear();
  auto* text = report->findChild<QTextBrowser*>(QStringLiteral("ReportText"));
  text->selectAll();
  text->copy();
  ASSERT_NE(QApplication::clipboard()->mimeData(), nullptr);
  EXPECT_EQ(QApplication::clipboard()->mimeData()->html(), html);

  QTemporaryDir directory;
  quillon::plots::PlotCanvas& plot =
      report->findChild<quillon::ui::PictureView*>(QStringLiteral("picScatter"))->Picture();
  ASSERT_TRUE(plot.Save(directory.filePath(QStringLiteral("plot.png"))));
  EXPECT_FALSE(QImage(directory.filePath(QStringLiteral("plot.png"))).isNull());
  ASSERT_TRUE(plot.Save(directory.filePath(QStringLiteral("plot.svg"))));
  QFile svg(directory.filePath(QStringLiteral("plot.svg")));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("<svg"));
}

TEST_F(ReportWindowTest, SavesThePdfAndTheOdtWithEveryFigure) {
  const QString missing =
      Missing({QStringLiteral("pdftotext"), QStringLiteral("pdffonts"), QStringLiteral("soffice")});
  if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString() << " is not installed";
  ReportWindow* report = TwoSampleReport();
  ASSERT_NE(report, nullptr);
  QTemporaryDir directory;
  const QString pdf = directory.filePath(QStringLiteral("报告.pdf"));
  ASSERT_TRUE(report->SaveReportTo(pdf));
  std::vector<std::string> values, sentences = report->Current().sentences;
  for (const quillon::ReportSection& section : report->Current().sections) {
    for (const quillon::ReportRow& row : section.rows) values.push_back(row.value);
  }
  sentences.push_back(report->Current().results);
  sentences.push_back(report->Current().methods);
  const QString text = PdfText(pdf).remove(QLatin1Char('\n'));
  const QStringList figures = Numbers(values) + Numbers(sentences);
  ASSERT_GT(figures.size(), 20);
  for (const QString& figure : figures) EXPECT_TRUE(text.contains(figure)) << figure.toStdString();
  // Every font is inside the file: the fonts' table lists "yes" in its "emb" column.
  const QStringList fonts =
      Output(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
  ASSERT_FALSE(fonts.isEmpty());
  for (const QString& font : fonts) {
    const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_GE(columns.size(), 5);
    EXPECT_EQ(columns[columns.size() - 5], QStringLiteral("yes")) << font.toStdString();
  }

  ASSERT_TRUE(report->SaveReportTo(directory.filePath(QStringLiteral("report.odt"))));
  const QString profile =
      QUrl::fromLocalFile(directory.filePath(QStringLiteral("profile"))).toString();
  Output(QStringLiteral("soffice"),
         {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
          QStringLiteral("--convert-to"), QStringLiteral("txt:Text"), QStringLiteral("--outdir"),
          directory.path(), directory.filePath(QStringLiteral("report.odt"))});
  QFile converted(directory.filePath(QStringLiteral("report.txt")));
  ASSERT_TRUE(converted.open(QIODevice::ReadOnly));
  const QString odt = QString::fromUtf8(converted.readAll());
  for (const QString& figure : Numbers(values))
    EXPECT_TRUE(odt.contains(figure)) << figure.toStdString();
}

TEST_F(ReportWindowTest, PrintsThroughThePreviewAndTellsAFailedSave) {
  if (!Missing({QStringLiteral("pdftotext")}).isEmpty()) GTEST_SKIP() << "no pdftotext";
  ReportWindow* report = TwoSampleReport();
  ASSERT_NE(report, nullptr);
  QTemporaryDir directory;
  const QString printed = directory.filePath(QStringLiteral("printed.pdf"));
  // The preview's print button, then the print dialog's, to a printer that writes a PDF file.
  QTimer::singleShot(0, [&] {
    auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(preview, nullptr);
    preview->printer()->setOutputFormat(QPrinter::PdfFormat);
    preview->printer()->setOutputFileName(printed);
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->accept();
    });
    for (QAction* action : preview->findChildren<QAction*>()) {
      const QString name = action->text().remove(QLatin1Char('&'));
      if (name == QStringLiteral("打印") || name == QStringLiteral("Print")) action->trigger();
    }
  });
  QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("PrintReport")), Qt::LeftButton);
  // The same pages as the saved PDF.
  const QString saved = directory.filePath(QStringLiteral("saved.pdf"));
  ASSERT_TRUE(report->SaveReportTo(saved));
  EXPECT_FALSE(PdfText(saved).isEmpty());
  EXPECT_EQ(PdfText(printed), PdfText(saved));

  const QString nowhere = directory.filePath(QStringLiteral("无此文件夹/报告"));
  const QString told = Told([&] { EXPECT_FALSE(report->SaveReportTo(nowhere)); });
  EXPECT_TRUE(told.startsWith(QStringLiteral("无法保存报告“%1.pdf”：文件夹不存在（").arg(nowhere)))
      << told.toStdString();
}

TEST(ReportDocument, SuggestedNameAndMinusSignsKeptWithTheirNumbers) {
  EXPECT_EQ(quillon::ui::SuggestedReportName("配对资料t检验", QDate(2026, 12, 8)),
            QStringLiteral("配对资料t检验-2026-12-08.pdf"));
  QTextDocument text;
  text.setPlainText(QStringLiteral("差值-0.0043，r = -1，1.2E-05，2026-12-08"));
  quillon::ui::KeepMinusSignsWithTheirNumbers(text);
  EXPECT_EQ(text.toPlainText(), QStringLiteral("差值\u2212\u20600.0043，r = \u2212\u20601，"
                                               "1.2E\u2212\u206005，2026-12-08"));
}

// Each row of a table on one page (200 pixels high) once KeepRowsWhole has run, not before.
TEST(ReportDocument, TableRowsStayWholeOnAPage) {
  QString html;
  for (int row = 0; row < 40; ++row)
    html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                .arg(row)
                .arg(QStringLiteral("一<br>").repeated(row % 3 + 1));
  QTextDocument text;
  text.setHtml(QStringLiteral("<table cellpadding=\"3\">%1</table>").arg(html));
  text.setPageSize(QSizeF(300, 200));
  auto rowsCut = [&text, cut = 0]() mutable {
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
      const QRectF lines = text.documentLayout()->blockBoundingRect(block);
      cut += int(lines.top() / 200) != int((lines.bottom() - 0.01) / 200);
    }
    return std::exchange(cut, 0);
  };
  ASSERT_GT(rowsCut(), 0);
  quillon::ui::KeepRowsWhole(text, 1);
  EXPECT_EQ(rowsCut(), 0);
}

}  // namespace

// The R script: on the clipboard, saved through the dialog as a .R file, and, run by R where it
// is installed, printing the report's rows; a failed save is told.
TEST_F(ReportWindowTest, CopiesAndSavesTheRScriptThatPrintsTheRows) {
  ReportWindow* report = TwoSampleReport();
  ASSERT_NE(report, nullptr);
  QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("CopyRCode")), Qt::LeftButton);
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith(QStringLiteral("# Quillon "))) << copied.toStdString();
  EXPECT_TRUE(copied.contains(QStringLiteral("x <- c(12.3, 14.1, 13.5, 15.2, 12.8)")));

  QTemporaryDir directory;
  ASSERT_TRUE(directory.isValid());
  QTimer::singleShot(0, [&directory] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(directory.filePath(QStringLiteral("两组")));
    static_cast<QDialog*>(dialog)->accept();
  });
  QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("SaveRCode")), Qt::LeftButton);
  QFile saved(directory.filePath(QStringLiteral("两组.R")));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(saved.readAll()), copied);

  if (Missing({QStringLiteral("Rscript")}).isEmpty()) {
    QString rows;
    for (const quillon::ReportSection& section : report->Current().sections) {
      for (const quillon::ReportRow& row : section.rows) {
        rows += QString::fromStdString(row.label + "\t" + row.value + "\n");
      }
    }
    QProcess r;
    QProcessEnvironment utf8 = QProcessEnvironment::systemEnvironment();
    utf8.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    r.setProcessEnvironment(utf8);
    r.start(QStringLiteral("Rscript"), {saved.fileName()});
    ASSERT_TRUE(r.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(r.readAllStandardOutput()), rows);
  }

  const QString nowhere = directory.filePath(QStringLiteral("无此文件夹/两组.R"));
  const QString told = Told([&] { EXPECT_FALSE(report->SaveRCodeTo(nowhere)); });
  EXPECT_TRUE(told.startsWith(QStringLiteral("无法保存R代码“%1”：文件夹不存在（").arg(nowhere)))
      << told.toStdString();
}
