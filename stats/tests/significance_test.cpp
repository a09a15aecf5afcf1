#include "stats/significance.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quillon {
namespace {

// The critical values of the df 10 row.
Significance AtDfTen(double statistic) { return SignificanceLevel(statistic, 2.228, 3.169, 4.587); }

std::optional<TTestVerdict> Judge(double t, const char* df) {
  return JudgeTStatistic(t, Fixed4::Parse(df).value());
}

TEST(VerdictText, NamesEachLevel) {
  EXPECT_EQ(VerdictText(Significance::NotSignificant), "P > 0.05");
  EXPECT_EQ(VerdictText(Significance::P05), "P < 0.05");
  EXPECT_EQ(VerdictText(Significance::P01), "P < 0.01");
  EXPECT_EQ(VerdictText(Significance::P001), "P < 0.001");
}

TEST(SignificanceLevel, PutsACriticalValueIntoTheMoreSignificantLevel) {
  EXPECT_EQ(AtDfTen(2.228), Significance::P05);
  EXPECT_EQ(AtDfTen(3.169), Significance::P01);
  EXPECT_EQ(AtDfTen(4.587), Significance::P001);
}

TEST(SignificanceLevel, KeepsAStatisticJustBelowACriticalValueInTheLevelBelow) {
  EXPECT_EQ(AtDfTen(0.0), Significance::NotSignificant);
  EXPECT_EQ(AtDfTen(2.2279), Significance::NotSignificant);
  EXPECT_EQ(AtDfTen(3.1689), Significance::P05);
  EXPECT_EQ(AtDfTen(4.5869), Significance::P01);
  EXPECT_EQ(AtDfTen(1000.0), Significance::P001);
}

TEST(JudgeTStatistic, ComparesTheUnroundedStatistic) {
  const std::optional<TTestVerdict> nearCritical = Judge(2.22799, "10");
  ASSERT_TRUE(nearCritical);
  EXPECT_EQ(nearCritical->level, Significance::NotSignificant);
  EXPECT_EQ(nearCritical->line, "T = 2.2280  P > 0.05");

  const std::optional<TTestVerdict> justShort = Judge(2.10096, "18");
  ASSERT_TRUE(justShort);
  EXPECT_EQ(justShort->line, "T = 2.1010  P > 0.05");
  EXPECT_EQ(Judge(2.101, "18")->line, "T = 2.1010  P < 0.05");
}

TEST(JudgeTStatistic, ReadsTheCriticalValuesBackFromTheirTexts) {
  // The df 1 row writes 12.70; it is compared as 12.7.
  const std::optional<TTestVerdict> atFirstRow = Judge(12.7, "1");
  ASSERT_TRUE(atFirstRow);
  EXPECT_EQ(atFirstRow->critical, (TCriticalValues{"12.70", "63.65", "636.6"}));
  EXPECT_EQ(atFirstRow->level, Significance::P05);
  EXPECT_EQ(Judge(636.6, "1")->level, Significance::P001);
  EXPECT_EQ(Judge(636.59999, "1")->level, Significance::P01);
  EXPECT_EQ(Judge(1.96, "5000")->line, "T = 1.9600  P < 0.05");
}

TEST(JudgeTStatistic, HasNoVerdictWithoutATableRow) {
  EXPECT_EQ(Judge(3.0, "0.5"), std::nullopt);
  EXPECT_EQ(Judge(3.0, "0"), std::nullopt);
}

}  // namespace
}  // namespace quillon
