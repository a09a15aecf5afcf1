// What a screen reader and the keyboard reach: every shown control named, Tab through the
// regions in reading order in each analysis, and the keys that open menus and close windows.

#include <QAccessible>
#include <QFocusFrame>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "app/analyses/sample_grid.h"
#include "window_fixture.h"

namespace {

enum Region { Analyses, Data, Summary, Results, Calculator, Top, Elsewhere };

Region RegionOf(const QWidget* control) {
  if (control->objectName().startsWith(QStringLiteral("Text4("))) return Summary;
  for (const QWidget* w = control; w != nullptr; w = w->parentWidget()) {
    const QString name = w->objectName();
    if (name == QStringLiteral("Frame2")) return Analyses;
    if (name == QStringLiteral("Picture2") || name == QStringLiteral("Picture8")) return Data;
    if (QStringList{"Picture4", "Picture6", "Picture7", "Picture9", "Picture11"}.contains(name)) {
      return Results;
    }
    if (name == QStringLiteral("Frame4")) return Calculator;
    if (name == QStringLiteral("Frame1")) return Top;
  }
  return Elsewhere;
}

bool TabReaches(const QWidget* w) {
  return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
}

// Every shown control of the window says something: all but Qt's own parts, the plain
// containers, the focus frame (which screen readers never see) and empty labels Tab passes by.
void ExpectEveryControlNamed(QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const QString name = w->objectName();
    if (!w->isVisible() || name.startsWith(QStringLiteral("qt_")) ||
        qobject_cast<QFocusFrame*>(w) != nullptr || w->metaObject() == &QWidget::staticMetaObject ||
        (name.isEmpty() && !TabReaches(w) && qobject_cast<QMenuBar*>(w) == nullptr)) {
      continue;
    }
    auto* label = qobject_cast<QLabel*>(w);
    if (label != nullptr && label->text().isEmpty() && !TabReaches(w)) continue;
    QAccessibleInterface* reading = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(reading, nullptr) << name.toStdString();
    EXPECT_FALSE(reading->text(QAccessible::Name).trimmed().isEmpty())
        << window->objectName().toStdString() << " " << w->metaObject()->className() << " "
        << name.toStdString();
  }
}

using AccessibilityWindowTest = MainWindowTest;

std::string Name(const QWidget* w) { return w->objectName().toStdString(); }

// The menu a key opened, closed again.
QMenu* OpenedMenu() {
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (popup != nullptr) popup->close();
  return popup;
}

TEST_F(AccessibilityWindowTest, EachAnalysisNamesItsControlsAndTabsThroughItsRegions) {
  // Without data the sample analyses show no result, which Tab passes by.
  const std::vector<std::vector<Region>> regions = {{Analyses, Data, Summary, Calculator, Top},
                                                    {Analyses, Data, Calculator, Top},
                                                    {Analyses, Data, Calculator, Top},
                                                    {Analyses, Data, Results, Calculator, Top},
                                                    {Analyses, Data, Results, Calculator, Top}};
  for (int mode = 0; mode < 5; ++mode) {
    SCOPED_TRACE(mode);
    QWidget* first = Control(QStringLiteral("Command1(0)"));
    Control<QPushButton>(QStringLiteral("Command1(%1)").arg(mode))->click();
    ExpectEveryControlNamed(window);

    first->setFocus(Qt::TabFocusReason);
    std::vector<Region> passed;
    QSet<QWidget*> reached;
    for (int step = 0; step < 200 && (step == 0 || QApplication::focusWidget() != first); ++step) {
      QWidget* focused = QApplication::focusWidget();
      reached.insert(focused);
      if (passed.empty() || passed.back() != RegionOf(focused)) passed.push_back(RegionOf(focused));
      auto* label = qobject_cast<QLabel*>(focused);
      EXPECT_TRUE(label == nullptr || !label->text().isEmpty()) << Name(focused);
      QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), first) << "Tab does not come round";
    EXPECT_EQ(passed, regions[static_cast<std::size_t>(mode)]);
    for (QWidget* w : window->findChildren<QWidget*>()) {
      EXPECT_TRUE(!TabReaches(w) || reached.contains(w)) << Name(w);
    }
  }
  // A result shown is a stop again.
  Control<QPushButton>(QStringLiteral("Command1(2)"))->click();
  window->Grid()->ReplaceGroup(quillon::Group::First, {"1", "2", "4"});
  window->Grid()->ReplaceGroup(quillon::Group::Second, {"2", "3", "7"});
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(TabReaches(Control(QStringLiteral("Label13(6)"))));
  // The report of the four-fold table shows the most controls.
  Control<QPushButton>(QStringLiteral("Command1(3)"))->click();
  window->ShowReportWindow();
  QCoreApplication::processEvents();
  QWidget* report = window->ReportWindowIfOpen();
  ExpectEveryControlNamed(report);
  // Its bottom row as it reads: the drop-down lists, then the buttons to their right.
  report->findChild<QWidget*>(QStringLiteral("cmbReportStyle"))->setFocus(Qt::TabFocusReason);
  QStringList row;
  for (int step = 0; step < 5; ++step, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
    row << QApplication::focusWidget()->objectName();
  EXPECT_EQ(row, (QStringList{"cmbReportStyle", "cmbPositiveMeans", "cmdCopyReport",
                              "cmdCopyWholeReport", "SaveReport"}));
}

TEST_F(AccessibilityWindowTest, NamesFollowTheRowsTheCaptionsAndTheResults) {
  window->Grid()->ReplaceGroup(quillon::Group::First,
                               {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
  window->Grid()->ReplaceGroup(quillon::Group::Second, {"2", "3", "5"});
  Control<QScrollBar>(QStringLiteral("VS1"))->setValue(3);
  EXPECT_EQ(Box(QStringLiteral("Text2(0)"))->accessibleName(), QStringLiteral("第二组 第4行"));

  QLabel* critical = Control<QLabel>(QStringLiteral("Label5(3)"));
  QAccessibleInterface* reading = QAccessible::queryAccessibleInterface(critical);
  EXPECT_FALSE(critical->text().isEmpty());
  EXPECT_EQ(reading->text(QAccessible::Name), QStringLiteral("t界值（0.05）"));
  EXPECT_EQ(reading->text(QAccessible::Value), critical->text());
  EXPECT_EQ(reading->text(QAccessible::Description), critical->text());

  Control<QPushButton>(QStringLiteral("Command1(4)"))->click();
  EXPECT_EQ(Box(QStringLiteral("Text11(1)"))->accessibleName(),
            QStringLiteral("b：第一行第二列（治疗后：（+）；治疗前：（-））"));
}

TEST_F(AccessibilityWindowTest, KeysOpenMenusFrameTheFocusAndCloseWindows) {
  auto* key = Control<QPushButton>(QStringLiteral("Command5"));
  key->setFocus(Qt::TabFocusReason);
  auto* mark = window->findChild<QFocusFrame*>();
  ASSERT_NE(mark, nullptr);
  EXPECT_TRUE(mark->isVisible());
  EXPECT_TRUE(mark->geometry().contains(key->geometry()) && mark->geometry() != key->geometry());

  QWidget* focused = QApplication::focusWidget();
  QTest::keyClick(focused, Qt::Key_F10);
  EXPECT_EQ(OpenedMenu(), Control<QMenu>(QStringLiteral("mnuFile")));
  QTest::keyClick(focused, Qt::Key_H, Qt::AltModifier);
  EXPECT_EQ(OpenedMenu(), Control<QMenu>(QStringLiteral("mnuHelp")));
  // Alt alone puts the menu bar under the keyboard, Down opens the menu.
  QTest::keyPress(focused, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(focused, Qt::Key_Alt, Qt::AltModifier);
  QMenuBar* bar = window->menuBar();
  ASSERT_NE(bar->activeAction(), nullptr);
  QTest::keyClick(bar, Qt::Key_Down);
  EXPECT_EQ(OpenedMenu(), Control<QMenu>(QStringLiteral("mnuFile")));
  // A drop-down button's menu runs modally: it is looked at and closed from inside.
  auto* import = Control<QToolButton>(QStringLiteral("tbImport"));
  QMenu* opened = nullptr;
  QTimer::singleShot(0, [&] {
    opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (opened != nullptr) opened->close();
  });
  QTest::keyClick(import, Qt::Key_Space);
  EXPECT_EQ(opened, import->menu());

  window->ShowTTableWindow();
  window->ShowReportWindow();
  for (QWidget* shown : {static_cast<QWidget*>(window->TTableWindowIfOpen()),
                         static_cast<QWidget*>(window->ReportWindowIfOpen())}) {
    QPointer<QWidget> open = shown;
    const std::string name = shown->objectName().toStdString();
    shown->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
    QTest::keyClick(shown, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open == nullptr || !open->isVisible()) << name;
  }
}

}  // namespace
