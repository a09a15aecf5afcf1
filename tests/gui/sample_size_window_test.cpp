// The sample-size window: one window from the menu, opened on the main window's analysis; a plan
// typed as a user would (full-width digits too) with its sample size, a bad box's reason, the
// power at a typed n, the journal style shared with the report, the main window's data as pilot
// estimates, the names the protocol sentence gives, and Esc.

#include "app/planning/sample_size_window.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/report/picture_view.h"
#include "plots/power_curve.h"
#include "window_fixture.h"

namespace {

using quillon::ui::SampleSizeWindow;

class SampleSizeWindowTest : public MainWindowTest {
 protected:
  SampleSizeWindow* Open() {
    Control<QAction>(QStringLiteral("mnuSampleSize"))->trigger();
    SampleSizeWindow* planning = window->SampleSizeWindowIfOpen();
    EXPECT_NE(planning, nullptr);
    return planning;
  }
  template <typename T = QLineEdit>
  static T* In(SampleSizeWindow* planning, const char* name) {
    T* control = planning->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  static QString Shown(SampleSizeWindow* planning) {
    return In<QPlainTextEdit>(planning, "SampleSizeText")->toPlainText();
  }
};

TEST_F(SampleSizeWindowTest, MenuOpensOneWindowOnTheShownAnalysisAndEscClosesIt) {
  const QList<QAction*> items = Control<QMenu>(QStringLiteral("mnuFile"))->actions();
  const auto report = std::find_if(items.begin(), items.end(), [](QAction* item) {
    return item->objectName() == QStringLiteral("mnuReport");
  });
  ASSERT_NE(report, items.end());
  ASSERT_NE(report + 1, items.end());
  EXPECT_EQ((*(report + 1))->objectName(), QStringLiteral("mnuSampleSize"));
  EXPECT_EQ((*(report + 1))->text(), QStringLiteral("样本量估计"));
  EXPECT_EQ((*(report + 1))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));

  QTest::mouseClick(Control<QPushButton>(QStringLiteral("Command1(2)")), Qt::LeftButton);
  QTest::keyClick(Box(QStringLiteral("Text1(0)")), Qt::Key_N, Qt::ControlModifier);
  SampleSizeWindow* planning = window->SampleSizeWindowIfOpen();
  ASSERT_NE(planning, nullptr);
  EXPECT_EQ(planning->objectName(), QStringLiteral("SampleSizeWindow"));
  EXPECT_EQ(planning->parentWidget(), nullptr);
  EXPECT_EQ(In<QComboBox>(planning, "ssDesign")->currentText(), QStringLiteral("直线相关与回归"));
  EXPECT_TRUE(In(planning, "ssR")->isVisibleTo(planning));
  EXPECT_FALSE(In(planning, "ssMean1")->isVisibleTo(planning));
  EXPECT_EQ(Open(), planning);
  int count = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    count += top->objectName() == QStringLiteral("SampleSizeWindow");
  }
  EXPECT_EQ(count, 1);

  ASSERT_TRUE(QTest::qWaitForWindowActive(planning));
  QTest::keyClick(In(planning, "ssR"), Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->SampleSizeWindowIfOpen(), nullptr);
}

TEST_F(SampleSizeWindowTest, TypedPlanShowsItsSizeTheReasonOfABadBoxAndThePowerAtAnN) {
  SampleSizeWindow* planning = Open();
  ASSERT_NE(planning, nullptr);
  EXPECT_EQ(In<QComboBox>(planning, "ssDesign")->currentText(), QStringLiteral("两样本均数T检验"));
  // δ = 5, σ = 10, two-sided α = 0.05, power 0.80: 64 a group (R: power.t.test, n = 63.77).
  Type(In(planning, "ssMean1"), QStringLiteral("１５．０"));
  Type(In(planning, "ssMean2"), QStringLiteral("10"));
  Type(In(planning, "ssSD"), QStringLiteral("10"));
  EXPECT_EQ(In(planning, "ssMean1")->text(), QStringLiteral("15.0"));
  EXPECT_TRUE(Shown(planning).contains(QStringLiteral("每组例数：64\n")))
      << Shown(planning).toStdString();
  const auto* curve = dynamic_cast<const quillon::plots::PowerCurvePlot*>(
      &In<quillon::ui::PictureView>(planning, "PowerCurvePlot")->Picture());
  ASSERT_NE(curve, nullptr);
  ASSERT_TRUE(curve->Data().marked.has_value());
  EXPECT_EQ(curve->Data().points[*curve->Data().marked].n, 64);
  QTest::mouseClick(In<QPushButton>(planning, "ssCopy"), Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(), Shown(planning));
  EXPECT_TRUE(
      QApplication::clipboard()->mimeData()->html().contains(QStringLiteral("每组例数：64")));
  // "复制R代码": the plan's script, which R runs to the same lines.
  QTest::mouseClick(In<QPushButton>(planning, "ssCopyRCode"), Qt::LeftButton);
  const QString script = QApplication::clipboard()->text();
  EXPECT_TRUE(script.contains(QStringLiteral("power.t.test("))) << script.toStdString();
  if (!QStandardPaths::findExecutable(QStringLiteral("Rscript")).isEmpty()) {
    QProcess r;
    QProcessEnvironment utf8 = QProcessEnvironment::systemEnvironment();
    utf8.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    r.setProcessEnvironment(utf8);
    // Run from a file, as a user runs it: -e takes at most 10,000 characters.
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("plan.R")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(script.toUtf8()) > 0);
    file.close();
    r.start(QStringLiteral("Rscript"), {file.fileName()});
    ASSERT_TRUE(r.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(r.readAllStandardOutput()),
              QStringLiteral("每组例数：64\n合计：128\n实际检验效能：0.8015\n"));
  }

  Type(In(planning, "ssSD"), QStringLiteral("0"));
  EXPECT_TRUE(Shown(planning).contains(QStringLiteral("—（标准差须大于0）")))
      << Shown(planning).toStdString();
  EXPECT_TRUE(curve->Data().points.empty());

  // The power at 64 a group (R: power.t.test(n = 64, delta = 5, sd = 10) gives 0.8015).
  Type(In(planning, "ssSD"), QStringLiteral("10"));
  In<QComboBox>(planning, "ssSolve")->setCurrentIndex(1);
  EXPECT_FALSE(In(planning, "ssPower")->isVisibleTo(planning));
  Type(In(planning, "ssN"), QStringLiteral("６４"));
  EXPECT_TRUE(Shown(planning).contains(QStringLiteral("检验效能：0.8015")))
      << Shown(planning).toStdString();

  // The journal style is the run's: the report opens in the one chosen here.
  In<QComboBox>(planning, "ssStyle")->setCurrentIndex(2);
  Control<QAction>(QStringLiteral("mnuReport"))->trigger();
  ASSERT_NE(window->ReportWindowIfOpen(), nullptr);
  EXPECT_EQ(window->ReportWindowIfOpen()
                ->findChild<QComboBox*>(QStringLiteral("cmbReportStyle"))
                ->currentIndex(),
            2);

  // The main window's groups as a pilot study, 1 2 3 and 5 7 10 (R: pooled SD
  // sqrt((2 * var(x) + 2 * var(y)) / 4) = 1.9149, cor(x, y) = 0.9934).
  const char* second[] = {"5", "7", "10"};
  for (int row = 0; row < 3; ++row) {
    Type(Box(QStringLiteral("Text1(%1)").arg(row)), QString::number(row + 1));
    Type(Box(QStringLiteral("Text2(%1)").arg(row)), QString::fromLatin1(second[row]));
  }
  QTest::mouseClick(In<QPushButton>(planning, "ssPilot"), Qt::LeftButton);
  EXPECT_EQ(In(planning, "ssMean1")->text().toDouble(), 2.0);
  EXPECT_NEAR(In(planning, "ssMean2")->text().toDouble(), 7.3333, 1e-4);
  EXPECT_NEAR(In(planning, "ssSD")->text().toDouble(), 1.9149, 1e-4);
  In<QComboBox>(planning, "ssDesign")->setCurrentIndex(2);
  QTest::mouseClick(In<QPushButton>(planning, "ssPilot"), Qt::LeftButton);
  EXPECT_NEAR(In(planning, "ssR")->text().toDouble(), 0.9934, 1e-4);
  // The four-fold table is empty: no estimates, and the reason.
  In<QComboBox>(planning, "ssDesign")->setCurrentIndex(3);
  QTest::mouseClick(In<QPushButton>(planning, "ssPilot"), Qt::LeftButton);
  EXPECT_TRUE(In<QLabel>(planning, "ssPilotNote")->text().startsWith(QStringLiteral("无法")));
}

// The hypothesis: the margin and direction where they apply, α's label and default following it
// (a typed α stays), only a difference for a correlation.
TEST_F(SampleSizeWindowTest, HypothesisBringsItsMarginDirectionAndAlpha) {
  SampleSizeWindow* planning = Open();
  ASSERT_NE(planning, nullptr);
  auto* hypothesis = In<QComboBox>(planning, "ssHypothesis");
  EXPECT_EQ(hypothesis->count(), 4);
  EXPECT_FALSE(In(planning, "ssMargin")->isVisibleTo(planning));
  Type(In(planning, "ssMean1"), QStringLiteral("120"));
  Type(In(planning, "ssMean2"), QStringLiteral("120"));
  Type(In(planning, "ssSD"), QStringLiteral("10"));
  hypothesis->setCurrentIndex(1);
  EXPECT_EQ(In(planning, "ssAlpha")->text(), QStringLiteral("0.025"));
  EXPECT_TRUE(In(planning, "ssMargin")->isVisibleTo(planning));
  EXPECT_TRUE(In<QComboBox>(planning, "ssBetter")->isVisibleTo(planning));
  Type(In(planning, "ssMargin"), QStringLiteral("5"));
  // As the core plans it: 64 a group (one-sided t against the shifted null).
  EXPECT_TRUE(Shown(planning).contains(QStringLiteral("每组例数：64\n")))
      << Shown(planning).toStdString();
  EXPECT_TRUE(Shown(planning).contains(QStringLiteral("按单侧α=0.025")));
  hypothesis->setCurrentIndex(3);
  EXPECT_EQ(In(planning, "ssAlpha")->text(), QStringLiteral("0.05"));
  EXPECT_FALSE(In<QComboBox>(planning, "ssBetter")->isVisibleTo(planning));
  Type(In(planning, "ssAlpha"), QStringLiteral("0.1"));
  hypothesis->setCurrentIndex(2);
  EXPECT_EQ(In(planning, "ssAlpha")->text(), QStringLiteral("0.1"));
  EXPECT_EQ(planning->CurrentPlan().boxes.hypothesis, quillon::Hypothesis::Superiority);
  In<QComboBox>(planning, "ssDesign")->setCurrentIndex(2);
  EXPECT_EQ(hypothesis->count(), 1);
  EXPECT_FALSE(hypothesis->toolTip().isEmpty());
  In<QComboBox>(planning, "ssDesign")->setCurrentIndex(0);
  EXPECT_EQ(hypothesis->currentIndex(), 2);
}

TEST_F(SampleSizeWindowTest, NamesTypedForTheSentenceChangeOnlyTheSentence) {
  SampleSizeWindow* planning = Open();
  ASSERT_NE(planning, nullptr);
  Type(In(planning, "ssMean1"), QStringLiteral("120"));
  Type(In(planning, "ssMean2"), QStringLiteral("110"));
  Type(In(planning, "ssSD"), QStringLiteral("15"));
  const QString unnamed = Shown(planning);
  Type(In(planning, "ssOutcome"), QStringLiteral("治疗１２周后的收缩压"));
  Type(In(planning, "ssGroup1"), QStringLiteral("试验组"));
  const QString named = Shown(planning);
  EXPECT_TRUE(named.contains(QStringLiteral("\n\n主要结局指标为治疗１２周后的收缩压。")))
      << named.toStdString();
  EXPECT_TRUE(named.contains(QStringLiteral("试验组与第2组的预期均数分别为120和110")));
  // The figures above the sentence stay as they were.
  EXPECT_EQ(named.section(QStringLiteral("\n\n"), 0, 0),
            unnamed.section(QStringLiteral("\n\n"), 0, 0));
  EXPECT_EQ(planning->CurrentPlan().boxes.outcome, "治疗１２周后的收缩压");
  EXPECT_TRUE(In(planning, "ssGroup2")->isVisibleTo(planning));
  // Groups are named only where there are two.
  In<QComboBox>(planning, "ssDesign")->setCurrentIndex(1);
  EXPECT_FALSE(In(planning, "ssGroup1")->isVisibleTo(planning));
  EXPECT_TRUE(In(planning, "ssOutcome")->isVisibleTo(planning));
}

}  // namespace
