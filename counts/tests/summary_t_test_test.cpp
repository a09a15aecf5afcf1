#include "counts/summary_t_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace quillon {
namespace {

using Boxes = std::array<std::string, kSummaryBoxCount>;

// Group 1: mean 10, standard deviation 2, 10 cases; group 2 the same but for its mean.
Boxes EqualGroupsWithSecondMean(const char* mean) { return {"10", "2", "10", mean, "2", "10"}; }

Boxes CountsOnly(const char* n1, const char* n2) { return {"10", "2", n1, "8", "2", n2}; }

std::string VerdictLine(const Boxes& boxes) {
  const std::optional<SummaryTTestResult> result = SummaryTTest(boxes);
  return result ? result->verdict.line : "(none)";
}

TEST(SummaryTTest, ComputesThePooledTStatistic) {
  const std::optional<SummaryTTestResult> result = SummaryTTest(EqualGroupsWithSecondMean("8"));
  ASSERT_TRUE(result);
  // Pooled variance 4, standard error (0.2 * 4)^0.5.
  EXPECT_DOUBLE_EQ(result->t, 2.0 / std::sqrt(0.8));
  EXPECT_EQ(result->df, Fixed4::FromRaw(18 * Fixed4::kScale));
  EXPECT_EQ(result->verdict.critical, (TCriticalValues{"2.101", "2.878", "3.922"}));
  EXPECT_EQ(result->verdict.line, "T = 2.2361  P < 0.05");
}

TEST(SummaryTTest, GivesEachVerdictAsTheMeansMoveApart) {
  EXPECT_EQ(VerdictLine(EqualGroupsWithSecondMean("10")), "T = 0.0000  P > 0.05");
  EXPECT_EQ(VerdictLine(EqualGroupsWithSecondMean("7")), "T = 3.3541  P < 0.01");
  EXPECT_EQ(VerdictLine(EqualGroupsWithSecondMean("6.5")), "T = 3.9131  P < 0.01");
  EXPECT_EQ(VerdictLine(EqualGroupsWithSecondMean("6")), "T = 4.4721  P < 0.001");
  // The statistic is the distance between the means, whichever is larger.
  EXPECT_EQ(VerdictLine(EqualGroupsWithSecondMean("12")), "T = 2.2361  P < 0.05");
}

TEST(SummaryTTest, ChoosesTheTableRowByTheSumOfTheCounts) {
  const std::optional<SummaryTTestResult> unequal = SummaryTTest(CountsOnly("25", "22"));
  ASSERT_TRUE(unequal);
  EXPECT_EQ(unequal->df, Fixed4::FromRaw(45 * Fixed4::kScale));
  EXPECT_EQ(unequal->verdict.critical, (TCriticalValues{"2.021", "2.704", "3.551"}));
  EXPECT_EQ(unequal->verdict.line, "T = 3.4208  P < 0.01");

  const std::optional<SummaryTTestResult> thousand = SummaryTTest(CountsOnly("501", "501"));
  ASSERT_TRUE(thousand);
  EXPECT_EQ(thousand->verdict.critical, (TCriticalValues{"1.962", "2.581", "3.300"}));

  const std::optional<SummaryTTestResult> infinite = SummaryTTest(CountsOnly("800", "700"));
  ASSERT_TRUE(infinite);
  EXPECT_EQ(infinite->verdict.critical, (TCriticalValues{"1.960", "2.575", "3.291"}));
}

TEST(SummaryTTest, KeepsAFractionalDf) {
  const std::optional<SummaryTTestResult> result = SummaryTTest(CountsOnly("10.5", "10"));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->df, Fixed4::FromRaw(185000));
  EXPECT_EQ(result->verdict.critical.c05, "2.101");
}

TEST(SummaryTTest, HasNoResultWhileABoxIsEmptyOrNotANumber) {
  for (std::size_t box = 0; box < kSummaryBoxCount; ++box) {
    for (const char* text : {"", " ", "-", ".", "1.2.3", "a", "12。5"}) {
      Boxes boxes = EqualGroupsWithSecondMean("8");
      boxes[box] = text;
      EXPECT_EQ(SummaryTTest(boxes), std::nullopt) << "box " << box << " \"" << text << '"';
    }
  }
}

TEST(SummaryTTest, HasNoResultOnADivisionByZero) {
  EXPECT_EQ(SummaryTTest(CountsOnly("1", "1")), std::nullopt);
  EXPECT_EQ(SummaryTTest(CountsOnly("0", "3")), std::nullopt);
  EXPECT_EQ(SummaryTTest(CountsOnly("3", "0")), std::nullopt);
  EXPECT_EQ(SummaryTTest({"10", "0", "10", "8", "0", "10"}), std::nullopt);
  EXPECT_EQ(SummaryTTest({"10", "0", "10", "10", "0", "10"}), std::nullopt);
}

TEST(SummaryTTest, HasNoResultForImpossibleCounts) {
  // df 0.5 has no table row.
  EXPECT_EQ(SummaryTTest(CountsOnly("1.5", "1")), std::nullopt);
  // df 1.25 with a pooled variance below zero.
  EXPECT_EQ(SummaryTTest({"10", "10", "0.5", "8", "1", "2.75"}), std::nullopt);
  EXPECT_EQ(SummaryTTest(CountsOnly("-5", "10")), std::nullopt);
}

TEST(SummaryTTest, HasNoResultOnAFixedPointOverflow) {
  const char* largest = "922337203685477";
  EXPECT_EQ(SummaryTTest(CountsOnly(largest, largest)), std::nullopt);
  EXPECT_EQ(SummaryTTest({largest, "2", "10", "-922337203685477", "2", "10"}), std::nullopt);
  EXPECT_EQ(SummaryTTest(CountsOnly("922337203685478", "10")), std::nullopt);
}

}  // namespace
}  // namespace quillon
