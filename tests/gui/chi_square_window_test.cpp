// The four-fold table and the two chi-square tests, typed into the cells as the user does.

#include <QPushButton>

#include "window_fixture.h"

namespace {

const QString kWarning = QStringLiteral("当n < 40或理论数(T)< 1时，不适合使用本法。");

class ChiSquareWindowTest : public MainWindowTest {
 protected:
  void Choose(int mode) {
    QTest::mouseClick(Control<QPushButton>(QStringLiteral("Command1(%1)").arg(mode)),
                      Qt::LeftButton);
  }
  QLineEdit* Cell(int index) const { return Box(QStringLiteral("Text11(%1)").arg(index)); }
  void TypeCells(const QStringList& cells) {
    for (int i = 0; i < 4; ++i) Type(Cell(i), cells[i]);
  }
  QStringList Labels(const char* array, std::initializer_list<int> indices) const {
    QStringList texts;
    for (int index : indices) {
      texts << LabelText(QStringLiteral("%1(%2)").arg(QString::fromLatin1(array)).arg(index));
    }
    return texts;
  }
  QStringList Totals() const { return Labels("Label18", {0, 1, 2, 3, 4}); }
  // n, chi-square and the verdict of the four-fold test.
  QStringList FourfoldResult() const {
    return Labels("Label20", {5, 6}) << LabelText("Label5(21)");
  }
  QStringList PairedResult() const { return Labels("Label20", {8, 7}) << LabelText("Label5(23)"); }
};

TEST_F(ChiSquareWindowTest, FourfoldTestFollowsEachTable) {
  Choose(3);
  TypeCells({"20", "10", "10", "20"});
  EXPECT_EQ(Totals(), (QStringList{"30", "30", "30", "30", "60"}));
  EXPECT_EQ(Labels("Label20", {1, 2, 3, 4}),
            (QStringList{"15.0000", "15.0000", "15.0000", "15.0000"}));
  EXPECT_EQ(FourfoldResult(), (QStringList{"60", "6.6667", "P < 0.01"}));

  const std::pair<QStringList, QStringList> tables[] = {
      {{"22", "18", "12", "28"}, {"80", "5.1151", "P < 0.05"}},
      {{"30", "10", "2", "8"}, {"50", "8.2520", "P < 0.01"}},
      {{"12", "8", "8", "12"}, {"40", "1.6000", "P > 0.05"}},
      {{"10", "5", "4", "12"}, {"31", "5.4272", kWarning}},
      {{"5", "5", "4", "4"}, {"18", "0.2250", kWarning}},
      {{"3", "9", "17", "12"}, {"41", "3.8400", "P < 0.05"}},  // 3.83996 reaches 3.84
  };
  for (const auto& [cells, result] : tables) {
    TypeCells(cells);
    EXPECT_EQ(FourfoldResult(), result) << cells.join(' ').toStdString();
  }
  EXPECT_EQ(Labels("Label20", {1, 2, 3, 4}),
            (QStringList{"5.8537", "6.1463", "14.1463", "14.8537"}));
  // The paired panel is not written in this analysis.
  EXPECT_EQ(PairedResult(), (QStringList{"", "", ""}));
}

TEST_F(ChiSquareWindowTest, EntryFilterKeepsNumbersAtTheEnd) {
  Choose(3);
  QLineEdit* a = Cell(0);
  Type(a, "5a");
  EXPECT_EQ(a->text(), "5");
  Type(a, "1/");
  EXPECT_EQ(a->text(), "1");
  Type(a, QStringLiteral("7中"));
  EXPECT_EQ(a->text(), "7");
  Type(a, "-.");
  EXPECT_EQ(a->text(), "-.");
  EXPECT_EQ(Labels("Label18", {0, 2}), (QStringList{"0", "0"}));

  // Several disallowed characters at the end are removed in turn, each removal a change.
  QLineEdit* d = Cell(3);
  d->setText(QStringLiteral("12 ab/"));
  EXPECT_EQ(d->text(), "12");
  EXPECT_EQ(d->cursorPosition(), 2);
  EXPECT_EQ(LabelText("Label18(4)"), "12");

  // A letter typed before the last digit stays, and the cell counts as 0.
  Type(a, "55");
  a->setCursorPosition(1);
  QTest::keyClick(a, Qt::Key_A);
  EXPECT_EQ(a->text(), "5a5");
  EXPECT_EQ(Totals(), (QStringList{"0", "12", "0", "12", "12"}));
  EXPECT_EQ(a->maxLength(), 6);
}

TEST_F(ChiSquareWindowTest, ATableWithAnEmptyMarginShowsNoStaleStatistic) {
  Choose(3);
  TypeCells({"20", "10", "10", "20"});
  ASSERT_EQ(LabelText("Label20(6)"), "6.6667");
  TypeCells({"5", "", "", ""});
  EXPECT_EQ(Totals(), (QStringList{"5", "0", "5", "0", "5"}));
  EXPECT_EQ(Labels("Label20", {1, 2, 3, 4}), (QStringList{"5.0000", "0.0000", "0.0000", "0.0000"}));
  EXPECT_EQ(FourfoldResult(), (QStringList{"5", "", kWarning}));
}

TEST_F(ChiSquareWindowTest, TotalsBeyondSixteenBitsAreRealTotals) {
  Choose(3);
  TypeCells({"12000", "8000", "9000", "11000"});
  EXPECT_EQ(Totals(), (QStringList{"21000", "19000", "20000", "20000", "40000"}));
  EXPECT_EQ(Labels("Label20", {1, 2, 3, 4}),
            (QStringList{"10500.0000", "9500.0000", "10500.0000", "9500.0000"}));
  EXPECT_EQ(FourfoldResult(), (QStringList{"40000", "902.2556", "P < 0.01"}));
}

TEST_F(ChiSquareWindowTest, PairedTestUsesTheDiscordantCells) {
  Choose(4);
  TypeCells({"", "30", "10", ""});
  EXPECT_EQ(PairedResult(), (QStringList{"40", "10.0000", "P < 0.01"}));
  TypeCells({"", "10", "2", ""});
  EXPECT_EQ(PairedResult(), (QStringList{"12", "4.0833", "P < 0.05"}));
  // The concordant cells change n and the totals only.
  Type(Cell(0), "7");
  Type(Cell(3), "3");
  EXPECT_EQ(Totals(), (QStringList{"9", "13", "17", "5", "22"}));
  EXPECT_EQ(PairedResult(), (QStringList{"22", "4.0833", "P < 0.05"}));
  // No discordant pairs: neither the old statistic nor its verdict stays.
  Type(Cell(1), "");
  Type(Cell(2), "");
  EXPECT_EQ(PairedResult(), (QStringList{"10", "", ""}));
  // The four-fold panel is not written in this analysis.
  EXPECT_EQ(FourfoldResult(), (QStringList{"", "", ""}));
  EXPECT_EQ(LabelText("Label20(1)"), "");
}

TEST_F(ChiSquareWindowTest, SwitchingBetweenTheCountAnalysesRunsTheNewTestOnTheEmptiedCells) {
  // Into a count analysis with empty cells: nothing runs, totals and verdicts are empty.
  Choose(3);
  EXPECT_EQ(Totals(), (QStringList{"", "", "", "", ""}));
  EXPECT_EQ(LabelText("Label5(21)"), "");

  TypeCells({"20", "10", "10", "20"});
  Choose(4);
  // The run for Text11(3) wrote the first three totals after their own emptying.
  EXPECT_EQ(Totals(), (QStringList{"0", "0", "0", "", ""}));
  for (int cell = 0; cell < 4; ++cell) EXPECT_EQ(Cell(cell)->text(), "");
  // Its last runs found no discordant pairs.
  EXPECT_EQ(LabelText("Label5(23)"), "");
  EXPECT_EQ(Labels("Label20", {7, 8}), (QStringList{"", ""}));

  TypeCells({"1", "2", "3", "4"});
  Choose(3);
  EXPECT_EQ(Totals(), (QStringList{"0", "0", "0", "", ""}));
  // The four-fold test on the empty table warns; its values are emptied afterwards.
  EXPECT_EQ(LabelText("Label5(21)"), kWarning);
  EXPECT_EQ(Labels("Label20", {1, 2, 3, 4, 5, 6}), (QStringList{"", "", "", "", "", ""}));
  EXPECT_EQ(LabelText("Label5(23)"), "");
}

}  // namespace
