// The data grid as the user types, presses Enter and the arrows, and scrolls; the two-sample
// summaries it feeds.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "app/analyses/sample_grid.h"
#include "app/files/group_files.h"
#include "entry/grid_rows.h"
#include "window_fixture.h"

namespace {

using quillon::Group;

class SampleGridWindowTest : public MainWindowTest {
 protected:
  QLineEdit* Cell(const char* column, int box) const {
    return Box(QStringLiteral("%1(%2)").arg(QString::fromLatin1(column)).arg(box));
  }
  QScrollBar* ScrollBar() const { return Control<QScrollBar>("VS1"); }
  const quillon::SampleLists& Lists() const { return window->Grid()->Lists(); }
  std::string Stored(Group group, std::size_t row) const { return Lists().Text(group, row); }

  QStringList RowNumbers() const {
    QStringList numbers;
    for (int box = 0; box < 9; ++box) numbers << Cell("Text3", box)->text();
    return numbers;
  }
  QStringList Summaries() const {
    QStringList texts;
    for (int box = 0; box < 6; ++box) texts << Box(QStringLiteral("Text4(%1)").arg(box))->text();
    return texts;
  }
  static void Press(QWidget* box, Qt::Key key) { QTest::keyClick(box, key); }
  static void Paste(QLineEdit* box, const QString& text, bool shiftInsert = false) {
    QGuiApplication::clipboard()->setText(text);
    box->setFocus();
    if (shiftInsert) {
      QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    } else {
      QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
  }
  static void Undo(QLineEdit* box) { QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier); }
  std::vector<std::string> Entries(const quillon::SampleLists& lists, Group group) const {
    std::vector<std::string> entries;
    for (std::size_t row = 0; row < lists.Size(group); ++row)
      entries.push_back(lists.Text(group, row));
    return entries;
  }
  QStringList Results() const {
    QStringList texts = Summaries();
    for (int label = 3; label <= 6; ++label)
      texts << LabelText(QStringLiteral("Label5(%1)").arg(label));
    return texts;
  }
  // Enter in box 8 of group 1 until the lists hold `rows` rows.
  void GrowTo(int rows) {
    while (Lists().Size(Group::First) < static_cast<std::size_t>(rows)) {
      Press(Cell("Text1", 8), Qt::Key_Return);
    }
  }
};

TEST_F(SampleGridWindowTest, FilterKeepsNumbersAndLeavesTheCaretAtTheEnd) {
  QLineEdit* box = Cell("Text1", 0);
  const std::pair<QString, QString> cases[] = {
      {"12a", "12"},
      {"7/", "7"},
      {QStringLiteral("5中"), "5"},
      {QStringLiteral("3。5"), "3.5"},
      {"-", "-"},
      {".", "."},
      {"-.", "-."},
      {"4 ", "4"},
  };
  for (const auto& [typed, kept] : cases) {
    Type(box, typed);
    EXPECT_EQ(box->text(), kept) << typed.toStdString();
    EXPECT_EQ(Stored(Group::First, 0), kept.toStdString()) << typed.toStdString();
    EXPECT_EQ(box->cursorPosition(), kept.size()) << typed.toStdString();
  }
  // Only the last character is looked at: a letter typed between digits stays.
  Type(box, "12");
  box->setCursorPosition(1);
  QTest::keyClick(box, 'a');
  EXPECT_EQ(box->text(), "1a2");
  EXPECT_EQ(box->cursorPosition(), 3);
  // A character that GBK cannot hold counts as "?" and goes.
  box->setText(QStringLiteral("8😀"));
  EXPECT_EQ(box->text(), "8");
}

TEST_F(SampleGridWindowTest, EnterMovesDownAndAddsARowAtTheBottom) {
  Press(Cell("Text1", 0), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Cell("Text1", 1));
  Type(Cell("Text2", 8), "9");
  Press(Cell("Text2", 8), Qt::Key_Return);
  EXPECT_EQ(Lists().Size(Group::First), 10u);
  EXPECT_EQ(Lists().Size(Group::Second), 10u);
  EXPECT_TRUE(ScrollBar()->isEnabled());
  EXPECT_EQ(ScrollBar()->maximum(), 1);
  EXPECT_EQ(ScrollBar()->value(), 1);
  EXPECT_EQ(RowNumbers().first(), "2");
  EXPECT_EQ(RowNumbers().last(), "10");
  EXPECT_EQ(Cell("Text2", 8)->text(), "");
  EXPECT_EQ(Cell("Text2", 7)->text(), "9");
  EXPECT_EQ(QApplication::focusWidget(), Cell("Text2", 8));
  EXPECT_EQ(Stored(Group::Second, 8), "9");
}

TEST_F(SampleGridWindowTest, ArrowsMoveAndScrollInEveryColumn) {
  GrowTo(12);
  ScrollBar()->setValue(0);
  EXPECT_EQ(RowNumbers().first(), "1");
  Press(Cell("Text1", 3), Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), Cell("Text1", 4));
  for (int step = 1; step <= 3; ++step) {
    Press(Cell("Text3", 8), Qt::Key_Down);  // the row numbers scroll too
    EXPECT_EQ(ScrollBar()->value(), step);
  }
  Press(Cell("Text3", 8), Qt::Key_Down);
  EXPECT_EQ(ScrollBar()->value(), 3);
  EXPECT_EQ(RowNumbers().last(), "12");
  // Down above the bottom box moves the focus even while the view shows the last rows.
  Press(Cell("Text2", 2), Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), Cell("Text2", 3));
  while (ScrollBar()->value() > 0) Press(Cell("Text2", 0), Qt::Key_Up);
  EXPECT_EQ(RowNumbers().first(), "1");
  Press(Cell("Text2", 0), Qt::Key_Up);
  EXPECT_EQ(ScrollBar()->value(), 0);
}

TEST_F(SampleGridWindowTest, ScrollingShowsTheStoredRowsWithoutStoringAnything) {
  GrowTo(12);
  ScrollBar()->setValue(0);
  Type(Cell("Text1", 0), "5");
  ScrollBar()->setValue(3);
  EXPECT_EQ(Cell("Text1", 0)->text(), "");
  Type(Cell("Text1", 8), "7");  // row 12
  ScrollBar()->setValue(0);
  EXPECT_EQ(Cell("Text1", 0)->text(), "5");
  EXPECT_EQ(Stored(Group::First, 11), "7");
  EXPECT_EQ(Lists().Size(Group::First), 12u);
}

TEST_F(SampleGridWindowTest, TheWheelOverTheRowsScrollsThemAsTheBarDoes) {
  GrowTo(20);
  ScrollBar()->setValue(0);
  for (const auto& [box, delta, offset] : {std::tuple{Cell("Text2", 4), -120, 3},
                                           {Cell("Text3", 1), -60, 4},
                                           {Cell("Text1", 0), -60, 6},
                                           {Cell("Text1", 8), 360, 0}}) {
    QWheelEvent wheel(QPointF(4, 4), box->mapToGlobal(QPointF(4, 4)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
    EXPECT_EQ(ScrollBar()->value(), offset) << delta;  // three rows a notch, half notches add up
  }
  EXPECT_EQ(Lists().Size(Group::First), 20u);
}

TEST_F(SampleGridWindowTest, TwoSampleSummariesFollowTheGrid) {
  for (const auto& [box, value] : {std::pair{0, "1"}, {2, "2"}, {4, "3"}, {7, "4"}}) {
    Type(Cell("Text1", box), value);
  }
  EXPECT_EQ(Summaries(), (QStringList{"2.5000", "1.2910", "4", "", "", ""}));
  Type(Cell("Text2", 0), "1.23456");
  EXPECT_EQ(Summaries(), (QStringList{"2.5000", "1.2910", "4", "1.2346", "0.0000", "1"}));
  Type(Cell("Text2", 1), "2");
  EXPECT_EQ(LabelText("Label5(6)"), "T = 0.8861  P > 0.05");
  EXPECT_EQ(LabelText("Label5(3)"), "2.776");  // df 4
}

TEST_F(SampleGridWindowTest, ValuesWithALargeOffsetKeepTheirSpread) {
  for (const auto& [box, value] : {std::pair{0, "10000000.2"},
                                   {1, "10000000.1"},
                                   {2, "10000000.3"},
                                   {3, "10000000.1"},
                                   {4, "10000000.3"}}) {
    Type(Cell("Text1", box), value);
  }
  EXPECT_EQ(Summaries().mid(0, 3), (QStringList{"10000000.2000", "0.1000", "5"}));
}

TEST_F(SampleGridWindowTest, FullWidthDigitsBecomeAscii) {
  Type(Cell("Text1", 0), QStringLiteral("１２．５"));
  EXPECT_EQ(Cell("Text1", 0)->text(), "12.5");
  EXPECT_EQ(Stored(Group::First, 0), "12.5");
  Type(Box("Text4(3)"), QStringLiteral("－３。５"));
  EXPECT_EQ(Box("Text4(3)")->text(), "-3.5");
  QTest::mouseClick(Control<QPushButton>("Command1(3)"), Qt::LeftButton);
  Type(Box("Text11(1)"), QStringLiteral("１２．５"));
  EXPECT_EQ(Box("Text11(1)")->text(), "12.5");
  Type(Box("Text11(1)"), QStringLiteral("3。"));  // the cells keep removing "。"
  EXPECT_EQ(Box("Text11(1)")->text(), "3");
}

TEST_F(SampleGridWindowTest, PastedColumnEndsAsTypedAndRunsTheAnalysisOnce) {
  QStringList values;
  for (int i = 1; i <= 20; ++i) values << QString::number(i * 1.25);
  values[4] = QString();
  values[7] = QStringLiteral("１２．５ kg");

  quillon::ui::MainWindow typed;
  typed.show();
  for (int i = 0; i < values.size(); ++i) {
    QLineEdit* box = typed.Grid()->EntryBox(Group::First, std::min(i, 8));
    Type(box, values[i]);
    if (i + 1 < values.size()) Press(box, Qt::Key_Return);
  }
  typed.findChild<QScrollBar*>("VS1")->setValue(0);

  int runs = 0;
  QObject::connect(window->Grid(), &quillon::ui::SampleGrid::EntryChanged, [&runs] { ++runs; });
  Paste(Cell("Text1", 0), QStringLiteral("体重\r\n") + values.join("\r\n") + "\r\n");
  EXPECT_EQ(runs, 1);
  for (const Group group : {Group::First, Group::Second}) {
    EXPECT_EQ(Entries(Lists(), group), Entries(typed.Grid()->Lists(), group));
  }
  EXPECT_EQ(Stored(Group::First, 7), "12.5");
  EXPECT_EQ(ScrollBar()->maximum(), 11);
  for (int box = 0; box < 9; ++box) {
    EXPECT_EQ(Cell("Text1", box)->text(), typed.Grid()->EntryBox(Group::First, box)->text());
  }
  for (int box = 0; box < 6; ++box) {
    const QString name = QStringLiteral("Text4(%1)").arg(box);
    EXPECT_EQ(Box(name)->text(), typed.findChild<QLineEdit*>(name)->text()) << box;
  }
  EXPECT_EQ(Box("Text4(2)")->text(), "19");
  EXPECT_EQ(QApplication::focusWidget(), Cell("Text1", 0));
}

TEST_F(SampleGridWindowTest, TwoColumnPasteFillsBothGroupsAndCtrlZTakesItBack) {
  Type(Cell("Text1", 3), "8");
  Type(Cell("Text2", 4), "9");
  const std::vector<std::string> first = Entries(Lists(), Group::First);
  const std::vector<std::string> second = Entries(Lists(), Group::Second);
  const QStringList results = Results();

  // Into group 2's box: a two-column block still fills group 1 and group 2, from that row.
  Paste(Cell("Text2", 3), "x\ty\r\n1\t2\r\n3\t4\r\n5\t6\r\n7\t\r\n1\t3\r\n2\t1\r\n4\t4\r\n");
  EXPECT_EQ(Entries(Lists(), Group::First),
            (std::vector<std::string>{"", "", "", "1", "3", "5", "7", "1", "2", "4"}));
  EXPECT_EQ(Entries(Lists(), Group::Second),
            (std::vector<std::string>{"", "", "", "2", "4", "6", "", "3", "1", "4"}));
  EXPECT_EQ(Cell("Text1", 3)->text(), "1");
  EXPECT_EQ(ScrollBar()->maximum(), 1);
  EXPECT_NE(Results(), results);

  Undo(Cell("Text2", 3));
  EXPECT_EQ(Entries(Lists(), Group::First), first);
  EXPECT_EQ(Entries(Lists(), Group::Second), second);
  EXPECT_EQ(Cell("Text1", 3)->text(), "8");
  EXPECT_EQ(ScrollBar()->maximum(), 0);
  EXPECT_EQ(Results(), results);

  // Once only, and an edit after a paste forgets it: Ctrl+Z is the box's own undo again.
  Paste(Cell("Text1", 0), "1\n2", true);
  Type(Cell("Text1", 5), "6");
  Undo(Cell("Text1", 5));
  EXPECT_EQ(Stored(Group::First, 0), "1");
  EXPECT_EQ(Stored(Group::First, 5), "");
}

TEST_F(SampleGridWindowTest, TheContextMenuPastesAndTakesBackTheSameWay) {
  // Chooses the item of the box's context menu whose caption begins so, once the menu is open.
  auto choose = [](QLineEdit* box, const QString& caption) {
    QTimer::singleShot(0, [caption] {
      QWidget* popup = QApplication::activePopupWidget();
      ASSERT_NE(popup, nullptr);
      for (QAction* action : popup->actions()) {
        if (action->text().startsWith(caption)) action->trigger();
      }
      popup->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), box->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(box, &event);
  };
  QGuiApplication::clipboard()->setText("4\n5\n6");
  choose(Cell("Text2", 1), QLineEdit::tr("&Paste"));
  EXPECT_EQ(Entries(Lists(), Group::Second),
            (std::vector<std::string>{"", "4", "5", "6", "", "", "", "", ""}));
  choose(Cell("Text2", 1), QLineEdit::tr("&Undo"));
  EXPECT_EQ(Stored(Group::Second, 2), "");
  QGuiApplication::clipboard()->setText("7");  // a single value: the box's own paste
  choose(Cell("Text2", 1), QLineEdit::tr("&Paste"));
  EXPECT_EQ(Stored(Group::Second, 1), "7");
}

TEST_F(SampleGridWindowTest, PastePastTheLastRowSaysHowManyWereLeftOut) {
  QStringList told;
  quillon::ui::GroupFiles::Dialogs dialogs = quillon::ui::GroupFiles::StandardDialogs();
  dialogs.tell = [&told](QWidget*, const QString& message) { told << message; };
  window->Files()->SetDialogs(std::move(dialogs));
  window->Grid()->ReplaceGroup(Group::First, std::vector<std::string>(quillon::kMaxGridRows));
  ScrollBar()->setValue(ScrollBar()->maximum());
  Paste(Cell("Text2", 7), "1\n2\n3\n4\n5");
  EXPECT_EQ(Lists().Size(Group::Second), quillon::kMaxGridRows);
  EXPECT_EQ(Cell("Text2", 8)->text(), "2");
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told[0].contains(QStringLiteral("其余 3 行未粘贴"))) << told[0].toStdString();
}

TEST_F(SampleGridWindowTest, BlockPastedIntoAFourfoldCellFillsAllFour) {
  QTest::mouseClick(Control<QPushButton>("Command1(3)"), Qt::LeftButton);
  Paste(Box("Text11(2)"), "10\t20\r\n30\t40\r\n");
  const QStringList cells = {Box("Text11(0)")->text(), Box("Text11(1)")->text(),
                             Box("Text11(2)")->text(), Box("Text11(3)")->text()};
  EXPECT_EQ(cells, (QStringList{"10", "20", "30", "40"}));
  const QString chiSquare = LabelText("Label20(6)");
  EXPECT_FALSE(chiSquare.isEmpty());
  Undo(Box("Text11(2)"));
  EXPECT_EQ(Box("Text11(0)")->text(), "");
  EXPECT_EQ(LabelText("Label20(6)"), "");
  for (int cell = 0; cell < 4; ++cell)
    Type(Box(QStringLiteral("Text11(%1)").arg(cell)), cells[cell]);
  EXPECT_EQ(LabelText("Label20(6)"), chiSquare);
}

}  // namespace
