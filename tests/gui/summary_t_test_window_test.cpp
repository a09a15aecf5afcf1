// The two-sample t test typed into the six summary boxes, as the user sees it.

#include <QApplication>

#include "window_fixture.h"

namespace {

class SummaryTTestWindowTest : public MainWindowTest {
 protected:
  QLineEdit* Summary(int index) const { return Box(QStringLiteral("Text4(%1)").arg(index)); }

  // Types X1, S1, N1, X2, S2, N2 into their boxes, one after the other.
  void TypeSummaries(const QStringList& values) {
    for (int i = 0; i < values.size(); ++i) Type(Summary(i), values[i]);
  }

  QStringList Results() const {
    return {LabelText("Label5(3)"), LabelText("Label5(4)"), LabelText("Label5(5)"),
            LabelText("Label5(6)")};
  }
  QString Verdict() const { return LabelText("Label5(6)"); }
  bool ResultsEmpty() const { return Results() == QStringList{"", "", "", ""}; }
};

TEST_F(SummaryTTestWindowTest, TypedSummariesGiveCriticalValuesAndVerdict) {
  TypeSummaries({"10", "2", "10", "8", "2", "10"});
  EXPECT_EQ(Results(), (QStringList{"2.101", "2.878", "3.922", "T = 2.2361  P < 0.05"}));
}

TEST_F(SummaryTTestWindowTest, VerdictFollowsEachEditOfTheSecondMean) {
  TypeSummaries({"10", "2", "10", "8", "2", "10"});
  const std::pair<const char*, const char*> cases[] = {
      {"7", "T = 3.3541  P < 0.01"},
      {"6.5", "T = 3.9131  P < 0.01"},
      {"6", "T = 4.4721  P < 0.001"},
      {"10", "T = 0.0000  P > 0.05"},
  };
  for (const auto& [mean2, verdict] : cases) {
    Type(Summary(3), QString::fromLatin1(mean2));
    EXPECT_EQ(Verdict(), QString::fromLatin1(verdict)) << "X2 = " << mean2;
  }
}

TEST_F(SummaryTTestWindowTest, DegreesOfFreedomChooseTheTableRow) {
  TypeSummaries({"10", "2", "25", "8", "2", "22"});
  EXPECT_EQ(Results(), (QStringList{"2.021", "2.704", "3.551", "T = 3.4208  P < 0.01"}));
  Type(Summary(2), "501");
  Type(Summary(5), "501");
  EXPECT_EQ(Results().mid(0, 3), (QStringList{"1.962", "2.581", "3.300"}));
  Type(Summary(2), "800");
  Type(Summary(5), "700");
  EXPECT_EQ(Results().mid(0, 3), (QStringList{"1.960", "2.575", "3.291"}));
}

TEST_F(SummaryTTestWindowTest, EmptyOrUnusableBoxesLeaveTheResultsEmpty) {
  TypeSummaries({"10", "2", "10", "8", "2", "10"});
  ASSERT_FALSE(ResultsEmpty());
  Type(Summary(4), "");
  EXPECT_TRUE(ResultsEmpty());

  TypeSummaries({"10", "2", "1", "8", "2", "1"});  // N1 = N2 = 1: no pooled variance
  EXPECT_TRUE(ResultsEmpty());
  TypeSummaries({"10", "2", "1.5", "8", "2", "1"});  // df 0.5 has no row in the table
  EXPECT_TRUE(ResultsEmpty());
  TypeSummaries({"10", "2", "10", "8", "2", "1.2.3"});
  EXPECT_TRUE(ResultsEmpty());
  TypeSummaries({"10", "2", "10", "-", "2", "10"});
  EXPECT_TRUE(ResultsEmpty());
}

TEST_F(SummaryTTestWindowTest, FullWidthStopBecomesADecimalPoint) {
  TypeSummaries({"10", "2", "10", "8", "2", "10"});
  QLineEdit* mean1 = Summary(0);
  Type(mean1, QStringLiteral("12。5"));
  EXPECT_EQ(mean1->text(), "12.5");
  EXPECT_EQ(mean1->cursorPosition(), 4);
  EXPECT_EQ(Verdict(), "T = 5.0312  P < 0.001");
}

TEST_F(SummaryTTestWindowTest, EnterMovesThroughTheSixBoxesInACircle) {
  TypeSummaries({"10", "2", "10", "8", "2", "10"});
  QLineEdit* box = Summary(0);
  box->setFocus();
  for (int step = 1; step <= 6; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QLineEdit* expected = Summary(step % 6);
    ASSERT_EQ(QApplication::focusWidget(), expected) << "after Enter number " << step;
    EXPECT_EQ(expected->cursorPosition(), expected->text().size());
    EXPECT_FALSE(expected->hasSelectedText());
  }
}

}  // namespace
