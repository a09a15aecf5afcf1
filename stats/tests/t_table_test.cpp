#include "stats/t_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace quillon {
namespace {

constexpr int kFirstRowLine = 4;
constexpr int kLastFiniteRowLine = 52;

TCriticalValues Row(const char* c05, const char* c01, const char* c001) {
  return TCriticalValues{c05, c01, c001};
}

std::optional<TCriticalValues> LookUp(const char* df) {
  return LookUpTCritical(Fixed4::Parse(df).value());
}

// A data line split at its spaces: df, then the three values.
struct SplitRow {
  std::string df;
  TCriticalValues values;
};

SplitRow SplitLine(const std::string& line) {
  std::istringstream fields(line);
  SplitRow row;
  fields >> row.df >> row.values.c05 >> row.values.c01 >> row.values.c001;
  return row;
}

TEST(TCriticalTable, HoldsFiftyFiveCrLfLinesAsWritten) {
  const std::string_view table = TCriticalTable();
  std::size_t lineEnds = 0;
  for (std::size_t at = table.find("\r\n"); at != std::string_view::npos;
       at = table.find("\r\n", at + 2)) {
    ++lineEnds;
  }
  EXPECT_EQ(lineEnds, 55u);
  EXPECT_TRUE(table.ends_with("\r\n"));
  const std::string dashes = "———————————————";
  const std::vector<std::pair<int, std::string>> lines = {{0, "          t界值表"},
                                                          {1, dashes},
                                                          {2, "双侧   0.05     0.01     0.001"},
                                                          {4, "1      12.70    63.65    636.6"},
                                                          {53, "∝     1.960    2.575    3.291"},
                                                          {54, dashes},
                                                          {55, ""}};
  for (const auto& [index, expected] : lines) {
    EXPECT_EQ(GetLineText(table, index), expected) << "line " << index;
  }
}

TEST(GetLineText, EndsLinesAtCrLfCrOrLfAndIsEmptyOutsideTheText) {
  const std::string_view text = "a\r\nbb\rccc\n\r\nlast";
  const std::vector<std::string> expected = {"", "a", "bb", "ccc", "", "last", ""};
  for (int index = -1; index <= 5; ++index) {
    EXPECT_EQ(GetLineText(text, index), expected[static_cast<std::size_t>(index + 1)]) << index;
  }
  EXPECT_EQ(GetLineText("", 0), "");
}

TEST(LookUpTCritical, ReturnsTheValueTextsAsWritten) {
  EXPECT_EQ(LookUp("1"), Row("12.70", "63.65", "636.6"));
  EXPECT_EQ(LookUp("10"), Row("2.228", "3.169", "4.587"));
  EXPECT_EQ(LookUp("18"), Row("2.101", "2.878", "3.922"));
}

TEST(LookUpTCritical, UsesTheLargestTabulatedDfNotAbove) {
  EXPECT_EQ(LookUp("1.5"), LookUp("1"));
  EXPECT_EQ(LookUp("45"), Row("2.021", "2.704", "3.551"));
  EXPECT_EQ(LookUp("49.9999"), LookUp("40"));
  EXPECT_EQ(LookUp("50"), Row("2.009", "2.678", "3.496"));
  EXPECT_EQ(LookUp("999"), Row("1.965", "2.586", "3.310"));
  EXPECT_EQ(LookUp("999.9999"), LookUp("500"));
}

TEST(LookUpTCritical, GivesTheThousandRowOnlyForExactlyThousand) {
  const TCriticalValues infinite = Row("1.960", "2.575", "3.291");
  EXPECT_EQ(LookUp("1000"), Row("1.962", "2.581", "3.300"));
  EXPECT_EQ(LookUp("1000.0001"), infinite);
  EXPECT_EQ(LookUp("1000.5"), infinite);
  EXPECT_EQ(LookUp("1001"), infinite);
  EXPECT_EQ(LookUp("1498"), infinite);
  EXPECT_EQ(LookUp("922337203685477.5807"), infinite);
}

TEST(LookUpTCritical, HasNoRowBelowOneDegreeOfFreedom) {
  for (const char* df : {"0.9999", "0.5", "0", "-1", "-922337203685477.5808"}) {
    EXPECT_EQ(LookUp(df), std::nullopt) << df;
  }
}

TEST(LookUpTCritical, SwitchesRowsExactlyAtEachTabulatedDf) {
  const std::string_view table = TCriticalTable();
  for (int line = kFirstRowLine; line <= kLastFiniteRowLine; ++line) {
    const SplitRow row = SplitLine(GetLineText(table, line));
    const Fixed4 df = Fixed4::Parse(row.df).value();
    EXPECT_EQ(LookUpTCritical(df), row.values) << "df " << row.df;
    const std::optional<TCriticalValues> justBelow =
        LookUpTCritical(Subtract(df, Fixed4::FromRaw(1)).value());
    if (line == kFirstRowLine) {
      EXPECT_EQ(justBelow, std::nullopt);
    } else {
      EXPECT_EQ(justBelow, SplitLine(GetLineText(table, line - 1)).values) << "below " << row.df;
    }
  }
}

TEST(TCriticalTableRows, GivesEveryDataRowWithTheValuesTheLookupUses) {
  const std::vector<TTableRow> rows = TCriticalTableRows();
  ASSERT_EQ(rows.size(), 50u);
  std::vector<std::string> dfs;
  for (const TTableRow& row : rows) dfs.push_back(row.df);
  std::vector<std::string> expected;
  for (int df = 1; df <= 40; ++df) expected.push_back(std::to_string(df));
  for (const char* df : {"50", "60", "70", "80", "90", "100", "200", "500", "1000", "∞"}) {
    expected.emplace_back(df);
  }
  EXPECT_EQ(dfs, expected);

  EXPECT_EQ(rows.front(), (TTableRow{"1", {"12.70", "63.65", "636.6"}}));
  EXPECT_EQ(rows[24], (TTableRow{"25", {"2.060", "2.787", "3.725"}}));
  EXPECT_EQ(rows.back(), (TTableRow{"∞", {"1.960", "2.575", "3.291"}}));
  for (const TTableRow& row : rows) {
    if (row.df == "∞") continue;
    const auto df = Fixed4::Parse(row.df);
    ASSERT_TRUE(df.has_value());
    EXPECT_EQ(LookUpTCritical(*df), row.critical) << row.df;
  }
}

}  // namespace
}  // namespace quillon
