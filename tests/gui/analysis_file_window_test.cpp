// The analysis file through the window: saved and opened again in another process with every
// result text the same, a bad file refused with the window unchanged, and Ctrl+Z after a switch.
// The file's own cases are the core's (analysis_file/tests).

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>

#include "app/analyses/sample_grid.h"
#include "app/analysis_keeper.h"
#include "scratch_folder.h"
#include "window_fixture.h"

namespace {

using quillon::Group;
using quillon::ui::AnalysisKeeper;
using quillon::ui::AnalysisMode;

class AnalysisFileWindowTest : public MainWindowTest {
 protected:
  // Every result the windows show: the main window's labels, the report's text and the
  // sample-size window's, one line each.
  QString ResultTexts() {
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      texts << label->objectName() + QLatin1Char('=') + label->text();
    }
    window->ShowReportWindow();
    window->ShowSampleSizeWindow();
    QCoreApplication::processEvents();
    texts << window->ReportWindowIfOpen()
                 ->findChild<QTextBrowser*>(QStringLiteral("ReportText"))
                 ->toPlainText();
    texts << window->SampleSizeWindowIfOpen()->ShownText();
    texts.sort();
    return texts.join(QLatin1Char('\n'));
  }

  // Answers the keeper's dialogs: the path given, and the messages kept.
  void Answer(const QString& path) {
    AnalysisKeeper::Dialogs dialogs;
    dialogs.choosePathToOpen = [path](QWidget*) { return path; };
    dialogs.choosePathToSave = [path](QWidget*, const QString&, const QString&) { return path; };
    dialogs.tell = [this](QWidget*, const QString& message) { told << message; };
    window->Keeper()->SetDialogs(dialogs);
  }

  QStringList told;
  ScratchFolder scratch;
};

// The second half of the round trip, run in a process of its own by the first.
TEST_F(AnalysisFileWindowTest, OpensWhatAnotherProcessSaved) {
  const QString path = qEnvironmentVariable("QUILLON_TEST_OPEN");
  if (path.isEmpty()) GTEST_SKIP() << "run by SavedAnalysisReadsBackInAnotherProcess";
  ASSERT_TRUE(window->Keeper()->Open(path));
  QFile out(qEnvironmentVariable("QUILLON_TEST_TEXTS"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(ResultTexts().toUtf8());
}

TEST_F(AnalysisFileWindowTest, SavedAnalysisReadsBackInAnotherProcess) {
  Control<QPushButton>(QStringLiteral("Command1(1)"))->click();  // paired t test
  Type(Box(QStringLiteral("Text1(0)")), QStringLiteral("12.5"));
  Type(Box(QStringLiteral("Text1(1)")), QStringLiteral("13"));
  Type(Box(QStringLiteral("Text1(2)")), QStringLiteral("9.25"));
  Type(Box(QStringLiteral("Text2(0)")), QStringLiteral("11"));
  Type(Box(QStringLiteral("Text2(1)")), QStringLiteral("12.75"));
  Type(Box(QStringLiteral("Text2(2)")), QStringLiteral("8"));
  window->ShowSampleSizeWindow();
  auto* sd = window->SampleSizeWindowIfOpen()->findChild<QLineEdit*>(QStringLiteral("ssSDDiff"));
  ASSERT_NE(sd, nullptr);
  sd->setText(QStringLiteral("2.5"));
  const QString path = scratch.Path(QStringLiteral("配对.quillon"));
  Answer(path);
  ASSERT_TRUE(window->Keeper()->SaveAs());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("配对.quillon[*] - Quillon V3.0"));
  EXPECT_FALSE(window->isWindowModified());
  const QString texts = ResultTexts();

  QProcess other;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QUILLON_TEST_OPEN"), path);
  environment.insert(QStringLiteral("QUILLON_TEST_TEXTS"), scratch.Path(QStringLiteral("texts")));
  other.setProcessEnvironment(environment);
  other.start(
      QCoreApplication::applicationFilePath(),
      {QStringLiteral("--gtest_filter=AnalysisFileWindowTest.OpensWhatAnotherProcessSaved")});
  ASSERT_TRUE(other.waitForFinished(60000));
  ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardOutput().toStdString();
  EXPECT_EQ(QString::fromUtf8(scratch.Contents(QStringLiteral("texts"))), texts);
  // The recent list has it first.
  EXPECT_EQ(window->Keeper()->RecentFiles().value(0), path);
}

TEST_F(AnalysisFileWindowTest, BadFileLeavesTheWindowAsItWas) {
  Type(Box(QStringLiteral("Text1(0)")), QStringLiteral("5"));
  const quillon::AnalysisState before = window->Keeper()->Capture();
  const QString path =
      scratch.Write(QStringLiteral("坏.quillon"), "{\"format\": \"quillon-analysis\",");
  Answer(path);
  EXPECT_FALSE(window->Keeper()->Open(path));
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told[0].contains(QStringLiteral("坏.quillon"))) << told[0].toStdString();
  EXPECT_TRUE(window->Keeper()->Capture() == before);
}

TEST_F(AnalysisFileWindowTest, BothColumnsOutAndInAsCsv) {
  Type(Box(QStringLiteral("Text1(0)")), QStringLiteral("1.5"));
  Type(Box(QStringLiteral("Text2(0)")), QStringLiteral("2"));
  Type(Box(QStringLiteral("Text2(1)")), QStringLiteral("3"));
  const QString path = scratch.Path(QStringLiteral("两列.csv"));
  Answer(path);
  window->Keeper()->ExportCsv();
  EXPECT_EQ(scratch.Contents(QStringLiteral("两列.csv")).left(3), QByteArray("\xEF\xBB\xBF"));
  const quillon::AnalysisState typed = window->Keeper()->Capture();
  Control<QPushButton>(QStringLiteral("Command1(0)"))->click();
  ASSERT_TRUE(window->Keeper()->Open(path));
  EXPECT_EQ(window->Grid()->Lists().Text(Group::First, 0), "1.5");
  EXPECT_EQ(window->Grid()->Lists().Text(Group::Second, 1), "3");
  // Taken back as the paste it is.
  QTest::keyClick(Box(QStringLiteral("Text1(0)")), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->Grid()->Lists().Text(Group::First, 0), "");
  EXPECT_EQ(typed.group1.front(), "1.5");
}

TEST_F(AnalysisFileWindowTest, CtrlZRightAfterASwitchBringsTheAnalysisBack) {
  Type(Box(QStringLiteral("Text1(0)")), QStringLiteral("7"));
  const quillon::AnalysisState before = window->Keeper()->Capture();
  Control<QPushButton>(QStringLiteral("Command1(2)"))->click();
  QTest::keyClick(Box(QStringLiteral("Text1(0)")), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(window->Keeper()->Capture() == before);
  EXPECT_EQ(Box(QStringLiteral("Text1(0)"))->text(), QStringLiteral("7"));
  // Once anything is typed after the switch, Ctrl+Z is the box's own again.
  Control<QPushButton>(QStringLiteral("Command1(2)"))->click();
  Type(Box(QStringLiteral("Text1(1)")), QStringLiteral("3"));
  QTest::keyClick(Box(QStringLiteral("Text1(1)")), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(window->Modes()->IsCurrent(AnalysisMode::CorrelationRegression));
}

}  // namespace
