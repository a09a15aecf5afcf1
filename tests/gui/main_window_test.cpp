// The main window as it first appears, its menu, toolbar and shortcuts, and how the program
// ends.

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>

#include "app/tools/t_table_window.h"
#include "window_fixture.h"

using quillon::ui::MainWindow;

namespace {
QString Indexed(const char* array, int index) {
  return QStringLiteral("%1(%2)").arg(QString::fromLatin1(array)).arg(index);
}

int VisibleTTableWindows() {
  int count = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == QLatin1String("Form2") && top->isVisible()) ++count;
  }
  return count;
}
}  // namespace

TEST_F(MainWindowTest, WindowHasItsCaptionAndAFixedClientArea) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillon V3.0"));
  EXPECT_EQ(window->objectName(), QStringLiteral("Form1"));
  EXPECT_EQ(window->centralWidget()->size(), QSize(549, 429));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(MainWindowTest, StartsInTheTwoSampleAnalysisWithItsPanels) {
  EXPECT_EQ(LabelText("Label1"), QStringLiteral("两样本均数T检验"));
  const QStringList captions = {"两样本均数T检验", "配对资料T检验", "直线相关与回归",
                                "计数资料卡方检验", "配对资料卡方检验"};
  for (int mode = 0; mode < 5; ++mode) {
    auto* button = Control<QPushButton>(Indexed("Command1", mode));
    EXPECT_EQ(button->text(), captions[mode]);
    EXPECT_EQ(button->font().bold(), mode == 0) << "button " << mode;
  }
  EXPECT_EQ(Control<QPushButton>("Command19")->text(), QStringLiteral("统计学傻瓜教程"));

  for (const char* shown : {"Picture2", "Picture4"}) {
    EXPECT_TRUE(Control(QString::fromLatin1(shown))->isVisible()) << shown;
  }
  for (const char* hidden : {"Picture6", "Picture7", "Picture8", "Picture9", "Picture11"}) {
    EXPECT_FALSE(Control(QString::fromLatin1(hidden))->isVisible()) << hidden;
  }
}

TEST_F(MainWindowTest, GridStartsWithNineNumberedEmptyRows) {
  for (int row = 0; row < 9; ++row) {
    QLineEdit* number = Box(Indexed("Text3", row));
    EXPECT_EQ(number->text(), QString::number(row + 1));
    EXPECT_TRUE(number->isReadOnly());
    EXPECT_TRUE(Box(Indexed("Text1", row))->text().isEmpty());
    EXPECT_TRUE(Box(Indexed("Text2", row))->text().isEmpty());
    EXPECT_EQ(Box(Indexed("Text1", row))->toolTip(), QStringLiteral("按回车键输入下一个数据"));
  }
  auto* scroll = Control<QScrollBar>("VS1");
  EXPECT_EQ(scroll->maximum(), 0);
  EXPECT_FALSE(scroll->isEnabled());
}

TEST_F(MainWindowTest, ResultsStartEmptyExceptTheFixedValues) {
  for (int box = 0; box < 6; ++box) EXPECT_TRUE(Box(Indexed("Text4", box))->text().isEmpty());
  for (int cell = 0; cell < 4; ++cell) EXPECT_TRUE(Box(Indexed("Text11", cell))->text().isEmpty());
  EXPECT_EQ(Box("Text11(0)")->maxLength(), 6);
  for (int total = 0; total < 5; ++total) EXPECT_EQ(LabelText(Indexed("Label18", total)), "0");
  for (int value : {3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17, 21, 23}) {
    EXPECT_TRUE(LabelText(Indexed("Label5", value)).isEmpty()) << "Label5(" << value << ")";
  }
  EXPECT_EQ(LabelText("Label5(20)"), "3.84");
  EXPECT_EQ(LabelText("Label5(24)"), "3.84");
  EXPECT_EQ(LabelText("Label5(19)"), "6.63");
  EXPECT_EQ(LabelText("Label5(25)"), "6.63");
  EXPECT_EQ(LabelText("Label17(1)"), QStringLiteral("结     果"));
  EXPECT_EQ(LabelText("Label16"), QStringLiteral("计数资料卡方检验"));

  QLineEdit* display = Box("Text5");
  EXPECT_EQ(display->text(), "0");
  EXPECT_TRUE(display->isReadOnly());
}

TEST_F(MainWindowTest, FocusStartsInTheFirstRowAndTabsDownTheColumns) {
  EXPECT_EQ(QApplication::focusWidget(), Box("Text1(0)"));
  EXPECT_EQ(Box("Text1(0)")->nextInFocusChain(), Box("Text1(1)"));
  EXPECT_EQ(Box("Text1(8)")->nextInFocusChain(), Box("Text2(0)"));
}

TEST_F(MainWindowTest, OpensCentredOnTheScreen) {
  const QRect screen = window->screen()->geometry();
  const QRect outer = window->frameGeometry();
  EXPECT_LE(std::abs(outer.center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(outer.center().y() - screen.center().y()), 1);
}

TEST_F(MainWindowTest, InterfaceIsChineseOnAnyLocale) {
  // Qt's own dialogs and context menus come from its Simplified Chinese catalogue.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
  // "宋体" and the interface font resolve to installed CJK faces that draw Chinese text.
  for (const QFont& font : {QFont(QStringLiteral("宋体")), QApplication::font()}) {
    const QFontInfo resolved(font);
    EXPECT_TRUE(
        QFontDatabase::writingSystems(resolved.family()).contains(QFontDatabase::SimplifiedChinese))
        << resolved.family().toStdString();
  }
}

TEST_F(MainWindowTest, BannerShowsTheWelcomeMessageOnGreenAndRotates) {
  QWidget* banner = Control("Picture3");
  const QImage strip = banner->grab().toImage();
  EXPECT_EQ(strip.pixelColor(1, 1), QColor(0, 128, 0));
  bool hasWhiteText = false;
  for (int x = 0; x < strip.width() && !hasWhiteText; ++x) {
    for (int y = 0; y < strip.height(); ++y) hasWhiteText |= strip.pixelColor(x, y) == Qt::white;
  }
  EXPECT_TRUE(hasWhiteText);
  auto* timer = Control<QTimer>("Timer1");
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 2000);
}

TEST_F(MainWindowTest, EveryResultPanelHasItsSymbolBoxes) {
  for (int box = 0; box <= 16; ++box) {
    QWidget* symbol = Control(Indexed("Picture5", box));
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->height(), 21) << box;  // 315 twips
  }
}

TEST_F(MainWindowTest, MenusHoldTheirItemsWithShortcutsAllEnabled) {
  const struct {
    const char* name;
    QString text;
    QKeySequence shortcut;
  } items[] = {
      {"mnuImport1", "导入第一组数据", QKeySequence("Ctrl+G")},
      {"mnuImport2", "导入第二组数据", QKeySequence("Ctrl+F")},
      {"mnuExport1", "导出第一组数据", QKeySequence("Ctrl+I")},
      {"mnuExport2", "导出第二组数据", QKeySequence("Ctrl+L")},
      {"mnuTTable", "t界值表", QKeySequence("Ctrl+T")},
      {"mnuExit", "退出", QKeySequence("Ctrl+E")},
      {"mnuHomePage", "访问作者主页", QKeySequence("Ctrl+H")},
      {"mnuOnlineHelp", "在线帮助", QKeySequence("Ctrl+K")},
  };
  for (const auto& item : items) {
    auto* action = Control<QAction>(QString::fromLatin1(item.name));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), item.text);
    EXPECT_EQ(action->shortcut(), item.shortcut) << item.name;
    EXPECT_TRUE(action->isEnabled()) << item.name;
  }
  const QList<QAction*> menus = window->menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("文件(F)"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("帮助(H)"));
  int separators = 0;
  for (QAction* action : menus[0]->menu()->actions()) separators += action->isSeparator();
  EXPECT_EQ(separators, 3);
}

TEST_F(MainWindowTest, MenuShortcutsWorkWhileTypingInAnEntryBox) {
  QSignalSpy onlineHelp(Control<QAction>("mnuOnlineHelp"), &QAction::triggered);
  QSignalSpy homePage(Control<QAction>("mnuHomePage"), &QAction::triggered);
  QLineEdit* entry = Box("Text1(0)");
  QTest::keyClicks(entry, "12");
  QTest::keyClick(entry, Qt::Key_K, Qt::ControlModifier);
  QTest::keyClick(entry, Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(onlineHelp.count(), 1);
  EXPECT_EQ(homePage.count(), 1);
  EXPECT_EQ(entry->text(), "12");
}

TEST_F(MainWindowTest, ToolbarHasTwoDropDownsAndAHelpButton) {
  const struct {
    const char* name;
    QString text;
    QToolButton::ToolButtonPopupMode mode;
  } buttons[] = {
      {"tbImport", "导入", QToolButton::MenuButtonPopup},
      {"tbExport", "导出", QToolButton::MenuButtonPopup},
      {"tbHelp", "帮助", QToolButton::DelayedPopup},
  };
  for (const auto& expected : buttons) {
    auto* button = Control<QToolButton>(QString::fromLatin1(expected.name));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), expected.text);
    EXPECT_EQ(button->popupMode(), expected.mode);
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(button->iconSize(), QSize(32, 32));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_TRUE(button->isEnabled());
  }
  QStringList keys;
  for (const char* name : {"tbImport", "tbExport"}) {
    for (QAction* item : Control<QToolButton>(QString::fromLatin1(name))->menu()->actions()) {
      keys << item->objectName();
    }
  }
  EXPECT_EQ(keys, (QStringList{"导入1", "导入2", "导出1", "导出2"}));
}

TEST_F(MainWindowTest, PressingTheFaceOfADropDownRunsNothing) {
  for (const char* name : {"tbImport", "tbExport"}) {
    auto* button = Control<QToolButton>(QString::fromLatin1(name));
    QList<QSignalSpy*> spies;
    for (QAction* item : button->menu()->actions())
      spies << new QSignalSpy(item, &QAction::triggered);
    const int topLevels = static_cast<int>(QApplication::topLevelWidgets().size());

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));

    for (QSignalSpy* spy : spies) EXPECT_EQ(spy->count(), 0) << name;
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), topLevels);
    qDeleteAll(spies);
  }
}

TEST_F(MainWindowTest, CtrlTOpensOneTTableWindowOnly) {
  QTest::keySequence(window, QKeySequence("Ctrl+T"));
  QTest::keySequence(window, QKeySequence("Ctrl+T"));
  EXPECT_EQ(VisibleTTableWindows(), 1);
  quillon::ui::TTableWindow* table = window->TTableWindowIfOpen();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->windowTitle(), QStringLiteral("t界值表"));
  EXPECT_EQ(table->parentWidget(), nullptr);
}

TEST_F(MainWindowTest, ClosingTheMainWindowLeavesTheTTableWindowRunning) {
  window->ShowTTableWindow();
  QPointer<quillon::ui::TTableWindow> table = window->TTableWindowIfOpen();
  bool tableOpenAfterMainClosed = false;
  bool runningAfterMainClosed = false;
  QTimer::singleShot(0, window, [this] { window->close(); });
  QTimer::singleShot(50, table, [&] {
    runningAfterMainClosed = true;  // the event loop still runs
    tableOpenAfterMainClosed = table->isVisible();
    table->close();
  });
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  watchdog.start(5000);

  EXPECT_EQ(QApplication::exec(), 0);  // ended by closing the last window
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(runningAfterMainClosed);
  EXPECT_TRUE(tableOpenAfterMainClosed);
}

TEST_F(MainWindowTest, ExitEndsTheProgramAndClosesEveryWindow) {
  window->ShowTTableWindow();
  QPointer<quillon::ui::TTableWindow> table = window->TTableWindowIfOpen();
  QTimer::singleShot(0, window, [this] { QTest::keySequence(window, QKeySequence("Ctrl+E")); });
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  watchdog.start(5000);

  EXPECT_EQ(QApplication::exec(), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(table.isNull() || !table->isVisible());
  EXPECT_TRUE(window.isNull() || !window->isVisible());
}
