#include "counts/chi_square.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

using Texts = std::array<std::string, 4>;

FourfoldCells Cells(const Texts& texts) { return ReadFourfoldCells(texts); }

const std::string kWarning(kSmallSampleWarning);

// Everything the four-fold test shows, in screen order: four expected counts, n, chi-square and
// the verdict.
std::array<std::string, 7> Shown(const FourfoldChiSquareResult& r) {
  return {r.expected[0], r.expected[1], r.expected[2], r.expected[3], r.n, r.chiSquare, r.verdict};
}
std::array<std::string, 7> Fourfold(const Texts& texts) {
  return Shown(FourfoldChiSquare(Cells(texts)));
}
std::array<std::string, 3> Paired(const Texts& texts) {
  const PairedChiSquareResult r = PairedChiSquare(Cells(texts));
  return {r.n, r.chiSquare, r.verdict};
}

TEST(FourfoldTotals, MarginsAndGrandTotalAsPlainText) {
  const FourfoldTotals totals = TotalFourfoldTable(Cells({"20", "10.5", "10", "20.25"}));
  EXPECT_EQ(totals.margins, (Texts{"30", "30.75", "30.5", "30.25"}));
  EXPECT_EQ(totals.grandTotal, "60.75");
  EXPECT_EQ(totals.n, 61);

  // Empty cells and texts that are not numbers count as 0.
  const FourfoldTotals partial = TotalFourfoldTable(Cells({"5", "", "5a5", "-"}));
  EXPECT_EQ(partial.margins, (Texts{"5", "0", "5", "0"}));
  EXPECT_EQ(partial.grandTotal, "5");
  const FourfoldTotals empty = TotalFourfoldTable(Cells({"", "", "", ""}));
  EXPECT_EQ(empty.margins, (Texts{"0", "0", "0", "0"}));
  EXPECT_EQ(empty.grandTotal, "0");
  EXPECT_EQ(empty.n, 0);

  const FourfoldTotals negative = TotalFourfoldTable(Cells({"-3", "1", ".", "-.5"}));
  EXPECT_EQ(negative.margins, (Texts{"-3", "0.5", "-2", "-0.5"}));
  EXPECT_EQ(negative.grandTotal, "-2.5");
  EXPECT_EQ(negative.n, -2);
}

TEST(FourfoldTotals, WholeTotalRoundsHalvesToEven) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"2.5001", 3}, {"3.4999", 3}, {"-1.5", -2}, {"-2.5", -2}};
  for (const auto& [a, n] : cases) {
    EXPECT_EQ(TotalFourfoldTable(Cells({a, "", "", ""})).n, n) << "a = " << a;
  }
}

TEST(FourfoldTotals, TotalsBeyondSixteenBitsAndBeyondTheCellRange) {
  EXPECT_EQ(TotalFourfoldTable(Cells({"12000", "8000", "9000", "11000"})).n, 40000);
  // Each margin of two of the largest cells lies beyond the range of a single cell.
  const FourfoldTotals huge = TotalFourfoldTable(
      Cells({"922337203685477", "922337203685477", "922337203685477", "922337203685477"}));
  EXPECT_EQ(huge.margins[0], "1844674407370954");
  EXPECT_EQ(huge.grandTotal, "3689348814741908");
  EXPECT_EQ(huge.n, 3689348814741908);
}

TEST(FourfoldChiSquare, PlainFormulaWhenEveryExpectedCountIsAtLeastFive) {
  EXPECT_EQ(Fourfold({"20", "10", "10", "20"}),
            (std::array<std::string, 7>{"15.0000", "15.0000", "15.0000", "15.0000", "60", "6.6667",
                                        "P < 0.01"}));
  EXPECT_EQ(Fourfold({"22", "18", "12", "28"}),
            (std::array<std::string, 7>{"17.0000", "23.0000", "17.0000", "23.0000", "80", "5.1151",
                                        "P < 0.05"}));
  // n = 40 is not a small sample.
  EXPECT_EQ(Fourfold({"12", "8", "8", "12"}),
            (std::array<std::string, 7>{"10.0000", "10.0000", "10.0000", "10.0000", "40", "1.6000",
                                        "P > 0.05"}));
}

TEST(FourfoldChiSquare, CorrectedFormulaChosenByTheExpectedCountsAlone) {
  // T_d = 3.6 is below 5 but not below 1: corrected, and no warning for n = 50.
  EXPECT_EQ(Fourfold({"30", "10", "2", "8"}),
            (std::array<std::string, 7>{"25.6000", "14.4000", "6.4000", "3.6000", "50", "8.2520",
                                        "P < 0.01"}));
  // ad - bc = 0: the corrected difference -n/2 is squared as it is, 18 * 81 / 6480.
  EXPECT_EQ(Fourfold({"5", "5", "4", "4"})[5], "0.2250");
  // n = 31 keeps the plain formula (every T >= 5) but the warning replaces the verdict.
  const auto small = Fourfold({"10", "5", "4", "12"});
  EXPECT_EQ(small[5], "5.4272");
  EXPECT_EQ(small[6], kWarning);
}

TEST(FourfoldChiSquare, WarningForAnExpectedCountBelowOne) {
  // n = 100 but T_b = 91 · 1 / 100.
  const auto result = Fourfold({"90", "1", "9", "0"});
  EXPECT_EQ(result[1], "0.9100");
  EXPECT_NE(result[5], "");
  EXPECT_EQ(result[6], kWarning);
}

TEST(FourfoldChiSquare, AZeroMarginLeavesNoStatistic) {
  // Only a: the column and row totals of b and d are 0.
  EXPECT_EQ(Fourfold({"5", "", "", ""}), (std::array<std::string, 7>{"5.0000", "0.0000", "0.0000",
                                                                     "0.0000", "5", "", kWarning}));
  // A large table with an empty second column: still no statistic, and the warning holds
  // because two expected counts are 0.
  const auto result = Fourfold({"300", "", "200", ""});
  EXPECT_EQ(result[5], "");
  EXPECT_EQ(result[6], kWarning);
}

TEST(FourfoldChiSquare, NZeroLeavesNoExpectedCountsButD) {
  EXPECT_EQ(Fourfold({"", "", "", ""}),
            (std::array<std::string, 7>{"", "", "", "0.0000", "0", "", kWarning}));
  // Row totals 5 and -5: n = 0 but D is not, so the corrected formula gives 0.
  EXPECT_EQ(Fourfold({"2", "3", "-4", "-1"}),
            (std::array<std::string, 7>{"", "", "", "0.0000", "0", "0.0000", kWarning}));
}

TEST(FourfoldChiSquare, LargeTablesKeepEveryResult) {
  EXPECT_EQ(Fourfold({"12000", "8000", "9000", "11000"}),
            (std::array<std::string, 7>{"10500.0000", "9500.0000", "10500.0000", "9500.0000",
                                        "40000", "902.2556", "P < 0.01"}));
  // The same table as 20, 10, 10, 20 scaled by 10^13: chi-square scales with it.
  EXPECT_EQ(
      Fourfold({"200000000000000", "100000000000000", "100000000000000", "200000000000000"})[5],
      "66666666666666.7000");
  const auto extreme = Fourfold({"922337203685477", "1", "1", "922337203685477"});
  EXPECT_EQ(extreme[0], "461168601842739.0000");
  EXPECT_EQ(extreme[3], "461168601842739.0000");
  EXPECT_EQ(extreme[4], "1844674407370956");
  EXPECT_EQ(extreme[6], "P < 0.01");
}

TEST(PairedChiSquare, UncorrectedFromFortyDiscordantPairs) {
  EXPECT_EQ(Paired({"", "30", "10", ""}),
            (std::array<std::string, 3>{"40", "10.0000", "P < 0.01"}));
  EXPECT_EQ(Paired({"", "25", "15", ""}), (std::array<std::string, 3>{"40", "2.5000", "P > 0.05"}));
}

TEST(PairedChiSquare, CorrectedBelowFortyDiscordantPairs) {
  EXPECT_EQ(Paired({"", "12", "4", ""})[1], "3.0625");
  EXPECT_EQ(Paired({"", "10", "2", ""}), (std::array<std::string, 3>{"12", "4.0833", "P < 0.05"}));
  EXPECT_EQ(Paired({"", "9", "3", ""}), (std::array<std::string, 3>{"12", "2.0833", "P > 0.05"}));
  // |b - c| = 0: the numerator is 1.
  EXPECT_EQ(Paired({"", "5", "5", ""})[1], "0.1000");
  // The rule is on b + c, not on n.
  EXPECT_EQ(Paired({"100", "12", "4", "100"}),
            (std::array<std::string, 3>{"216", "3.0625", "P > 0.05"}));
}

TEST(PairedChiSquare, ConcordantCellsChangeOnlyN) {
  EXPECT_EQ(Paired({"7", "10", "2", "3"}),
            (std::array<std::string, 3>{"22", "4.0833", "P < 0.05"}));
  EXPECT_EQ(Paired({"17000", "10", "2", "16000"})[0], "33012");
}

TEST(PairedChiSquare, NoDiscordantPairsLeaveNoStatisticAndNoVerdict) {
  EXPECT_EQ(Paired({"20", "", "", "5"}), (std::array<std::string, 3>{"25", "", ""}));
  EXPECT_EQ(Paired({"", "3", "-3", ""}), (std::array<std::string, 3>{"0", "", ""}));
}

TEST(ChiSquareLevel, ReadsTheShownTextAgainstTheCriticalValues) {
  EXPECT_EQ(ChiSquareLevel("3.8399"), "P > 0.05");
  EXPECT_EQ(ChiSquareLevel("3.8400"), "P < 0.05");
  EXPECT_EQ(ChiSquareLevel("6.6299"), "P < 0.05");
  EXPECT_EQ(ChiSquareLevel("6.6300"), "P < 0.01");
  EXPECT_EQ(ChiSquareLevel("1000.0000"), "P < 0.01");
  EXPECT_EQ(ChiSquareLevel(""), "P > 0.05");
  EXPECT_EQ(ChiSquareLevel("-5.0000"), "P > 0.05");
}

TEST(FourfoldChiSquare, AStatisticShownAsTheCriticalValueReachesIt) {
  // Plain formula: 41 (3·12 − 9·17)² / (12·29·20·21) = 3.839963..., shown as 3.8400.
  const auto result = Fourfold({"3", "9", "17", "12"});
  EXPECT_EQ(result[5], "3.8400");
  EXPECT_EQ(result[6], "P < 0.05");
}

}  // namespace
}  // namespace quillon
