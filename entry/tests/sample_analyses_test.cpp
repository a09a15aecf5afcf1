// The paired t test and correlation and regression on the complete pairs of the two lists.

#include <gtest/gtest.h>

#include "entry/sample_lists.h"
#include "entry/tests/sample_data_test.h"
#include "stats/correlation.h"
#include "stats/paired_t_test.h"

namespace quillon {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

PairSums PairsOf(const Rows& rows) {
  SampleLists lists;
  for (const auto& [x, y] : rows) {
    lists.Append(Group::First, x);
    lists.Append(Group::Second, y);
  }
  return lists.Pairs();
}

TEST(PairedTTest, SkipsIncompleteRowsAndShowsTheMeanDifferenceWithoutSign) {
  const auto result = PairedTTest(
      PairsOf({{"1", "2"}, {"3", "5"}, {"4", "4"}, {"", ""}, {"6", "9"}, {"7", ""}, {"-", "3"}}));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->differences.n, 4);
  EXPECT_EQ(result->meanText, "1.5000");
  EXPECT_EQ(result->deviationText, "1.2910");
  EXPECT_EQ(result->verdict.critical, (TCriticalValues{"3.182", "5.841", "12.92"}));
  EXPECT_EQ(result->verdict.line, "T = 2.3238  P > 0.05");
  // Swapping the columns changes nothing shown.
  const auto swapped = PairedTTest(PairsOf({{"2", "1"}, {"5", "3"}, {"4", "4"}, {"9", "6"}}));
  ASSERT_TRUE(swapped);
  EXPECT_EQ(swapped->verdict.line, result->verdict.line);
}

TEST(PairedTTest, NothingForOnePairOrEqualDifferences) {
  EXPECT_FALSE(PairedTTest(PairsOf({{"1", "2"}})));
  EXPECT_FALSE(PairedTTest(PairsOf({})));
  // Equal non-integer differences: exactly zero spread, no rounding residue.
  EXPECT_FALSE(PairedTTest(
      PairsOf({{"0.3", "0.1"}, {"10000000.7", "10000000.5"}, {"1.1", "0.9"}, {"-4.4", "-4.6"}})));
}

TEST(PairedTTest, DegreesOfFreedomChooseTheRow) {
  Rows rows;
  for (int i = 0; i < 46; ++i) rows.push_back({std::to_string(i % 7), std::to_string(i % 5)});
  const auto result = PairedTTest(PairsOf(rows));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->verdict.critical, (TCriticalValues{"2.021", "2.704", "3.551"}));
}

TEST(CorrelationRegression, FitsTheLineAndTestsR) {
  const CorrelationResult result =
      CorrelationRegression(PairsOf({{"1", "2"}, {"2", "4"}, {"3", "5"}, {"4", "4"}, {"5", "5"}}));
  EXPECT_EQ(result.n, "5");
  EXPECT_EQ(result.r, "0.7746");
  EXPECT_EQ(result.t, "2.1213");
  EXPECT_EQ(result.critical, (TCriticalValues{"3.182", "5.841", "12.92"}));
  EXPECT_EQ(result.verdict, "P > 0.05");
  EXPECT_EQ(result.equation, "Y=2.2000+0.6000X");
}

TEST(CorrelationRegression, PerfectCorrelationIsRecognisedExactly) {
  const CorrelationResult negative =
      CorrelationRegression(PairsOf({{"1", "6"}, {"2", "4"}, {"3", "2"}}));
  EXPECT_EQ(negative.r, "-1.0000");
  EXPECT_EQ(negative.t, "");
  EXPECT_EQ(negative.verdict, kPerfectNegative);
  EXPECT_EQ(negative.critical, (TCriticalValues{"12.70", "63.65", "636.6"}));
  EXPECT_EQ(negative.equation, "Y=8.0000-2.0000X");

  // Values with a large offset and decimals, still exactly on a line.
  const CorrelationResult positive = CorrelationRegression(PairsOf({{"10000000.1", "0.3"},
                                                                    {"10000000.2", "0.5"},
                                                                    {"10000000.3", "0.7"},
                                                                    {"10000000.4", "0.9"}}));
  EXPECT_EQ(positive.verdict, kPerfectPositive);
  EXPECT_EQ(positive.equation, "Y=-19999999.9000+2.0000X");
}

TEST(CorrelationRegression, NearPerfectCorrelationGetsItsTToTheLastDecimal) {
  // Y = 2X but for 8.0001 at X = 4: t = 340571.4359921273932..., from exact rational arithmetic.
  const CorrelationResult result = CorrelationRegression(PairsOf({{"1", "2"},
                                                                  {"2", "4"},
                                                                  {"3", "6"},
                                                                  {"4", "8.0001"},
                                                                  {"5", "10"},
                                                                  {"6", "12"},
                                                                  {"7", "14"},
                                                                  {"8", "16"}}));
  ASSERT_TRUE(result.tValue);
  EXPECT_DOUBLE_EQ(*result.tValue, 340571.43599212739);
  EXPECT_EQ(result.t, "340571.4360");
}

TEST(CorrelationRegression, SignsOfTheEquation) {
  EXPECT_EQ(CorrelationRegression(PairsOf({{"2", "-1"}, {"4", "-0.5"}, {"6", "0"}, {"8", "0.6"}}))
                .equation,
            "Y=-1.5500+0.2650X");
}

TEST(CorrelationRegression, UndefinedCorrelation) {
  const CorrelationResult flat =
      CorrelationRegression(PairsOf({{"1", "5"}, {"2", "5"}, {"3", "5"}}));
  EXPECT_EQ(flat.n, "3");
  EXPECT_EQ(flat.r, "");
  EXPECT_EQ(flat.t, "");
  EXPECT_FALSE(flat.critical);
  EXPECT_EQ(flat.verdict, "");
  EXPECT_EQ(flat.equation, "Y=5.0000+0.0000X");

  const CorrelationResult upright =
      CorrelationRegression(PairsOf({{"4", "1"}, {"4", "2"}, {"4", "7"}}));
  EXPECT_EQ(upright.n, "3");
  EXPECT_EQ(upright.r, "");
  EXPECT_EQ(upright.equation, "");

  const CorrelationResult two = CorrelationRegression(PairsOf({{"1", "2"}, {"2", "3"}, {"3", ""}}));
  EXPECT_EQ(two.n, "");
  EXPECT_EQ(two.equation, "");
}

TEST(CorrelationRegression, NorrisGivesItsCertifiedLine) {
  Rows rows;
  for (const std::string& line : testing::ReferenceLines("Norris")) {
    const std::size_t space = line.find(' ');
    rows.push_back({line.substr(0, space), line.substr(space + 1)});
  }
  ASSERT_EQ(rows.size(), 36u);
  const CorrelationResult result = CorrelationRegression(PairsOf(rows));
  EXPECT_EQ(result.equation, "Y=-0.2623+1.0021X");  // certified -0.262323..., 1.00211681...
  EXPECT_EQ(result.r, "1.0000");
  EXPECT_EQ(result.t, "2331.6058");
  EXPECT_EQ(result.verdict, "P < 0.001");
}

}  // namespace
}  // namespace quillon
