// The data grid as the user types, presses Enter and the arrows, and scrolls; the two-sample
// summaries it feeds.

#include <QApplication>
#include <QScrollBar>

#include "app/sample_grid.h"
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

}  // namespace
