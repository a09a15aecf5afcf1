#include "entry/sample_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "entry/group_summary.h"
#include "entry/tests/sample_data_test.h"

namespace quillon {
namespace {

TEST(EntryValue, CountsOnlyNumbers) {
  EXPECT_EQ(EntryValue("1.23456"), Fixed4::FromRaw(12346));
  EXPECT_EQ(EntryValue("-.5"), Fixed4::FromRaw(-5000));
  for (const char* text : {"", "-", ".", "-.", "1.2.3", "3中4", "1a2", "1e400"}) {
    EXPECT_FALSE(EntryValue(text)) << text;
  }
}

TEST(SampleLists, SumsFollowEveryEditExactly) {
  // Random edits, appends and clears; after each the running sums equal a fresh reading.
  std::mt19937 random(20261207);
  const char* texts[] = {"",          "1",   "-2.5",    "10000000.1",      "3.14159",
                         "-",         ".",   "1.2.3",   "922337203685477", "0.0001",
                         "-7",        "12a", "0.00001", "2.12345",         "1.00000",
                         "-3.000050", "1.0", "4377.70"};
  SampleLists lists;
  lists.Reset(9);
  for (int step = 0; step < 4000; ++step) {
    const Group group = random() % 2 == 0 ? Group::First : Group::Second;
    const std::size_t rows = lists.LongerSize() + 3;
    switch (random() % 20) {
      case 0:
        lists.AppendRow();
        break;
      case 1:
        lists.Append(group, texts[random() % std::size(texts)]);
        break;
      case 2:
        if (step % 7 == 0) lists.Clear(group);
        break;
      case 3:
        lists.Truncate(group, random() % rows);
        break;
      default:
        lists.SetText(group, random() % rows, texts[random() % std::size(texts)]);
    }
    ASSERT_EQ(lists.Sums(Group::First), lists.RecomputeSums(Group::First)) << "step " << step;
    ASSERT_EQ(lists.Sums(Group::Second), lists.RecomputeSums(Group::Second)) << "step " << step;
    ASSERT_EQ(lists.Pairs(), lists.RecomputePairs()) << "step " << step;
    // And the counts of values typed with digits the grid rounds away.
    std::size_t rounded[2] = {0, 0};
    std::size_t roundedPairs = 0;
    for (std::size_t row = 0; row < lists.LongerSize(); ++row) {
      bool any = false;
      for (const Group g : {Group::First, Group::Second}) {
        const bool r = lists.Value(g, row) && Fixed4::DropsDigits(lists.Text(g, row));
        rounded[static_cast<int>(g)] += r;
        any = any || r;
      }
      roundedPairs += any && lists.Value(Group::First, row) && lists.Value(Group::Second, row);
    }
    ASSERT_EQ(lists.Rounded(Group::First), rounded[0]) << "step " << step;
    ASSERT_EQ(lists.Rounded(Group::Second), rounded[1]) << "step " << step;
    ASSERT_EQ(lists.RoundedPairs(), roundedPairs) << "step " << step;
    // And the most decimals typed.
    int most[2] = {0, 0};
    int mostPaired = 0;
    for (std::size_t row = 0; row < lists.LongerSize(); ++row) {
      for (const Group g : {Group::First, Group::Second}) {
        if (!lists.Value(g, row)) continue;
        const int typed = Fixed4::TypedDecimals(lists.Text(g, row));
        most[static_cast<int>(g)] = std::max(most[static_cast<int>(g)], typed);
        if (lists.Value(Group::First, row) && lists.Value(Group::Second, row)) {
          mostPaired = std::max(mostPaired, typed);
        }
      }
    }
    ASSERT_EQ(lists.MostDecimals(Group::First), most[0]) << "step " << step;
    ASSERT_EQ(lists.MostDecimals(Group::Second), most[1]) << "step " << step;
    ASSERT_EQ(lists.MostPairDecimals(), mostPaired) << "step " << step;
  }
}

TEST(SampleLists, WritingPastTheEndExtendsTheListWithEmptyCells) {
  SampleLists lists;
  lists.Reset(9);
  lists.SetText(Group::First, 12, "4");
  EXPECT_EQ(lists.Size(Group::First), 13u);
  EXPECT_EQ(lists.Size(Group::Second), 9u);
  EXPECT_EQ(lists.Text(Group::First, 11), "");
  EXPECT_EQ(lists.Text(Group::Second, 12), "");  // a row the list does not have reads empty
  EXPECT_EQ(lists.Sums(Group::First).count, 1);
}

GroupSummaryTexts SummaryOf(const std::vector<std::string>& entries) {
  SampleLists lists;
  for (const std::string& entry : entries) lists.Append(Group::First, entry);
  return SummarizeGroup(lists.Sums(Group::First));
}

TEST(GroupSummary, SkipsEmptyCellsAndTextsThatAreNotNumbers) {
  const GroupSummaryTexts summary = SummaryOf({"1", "", "2", "", "-", "3", "1.2.3", "4"});
  EXPECT_EQ(summary.mean, "2.5000");
  EXPECT_EQ(summary.plainDeviation, "1.291");
  EXPECT_EQ(summary.deviation, "1.2910");
  EXPECT_EQ(summary.count, "4");
}

TEST(GroupSummary, FewValues) {
  EXPECT_EQ(SummaryOf({"", ""}), (GroupSummaryTexts{"", "", "0", "0.0000", "0"}));
  EXPECT_EQ(SummaryOf({"1.23456"}), (GroupSummaryTexts{"1.2346", "1.2346", "0", "0.0000", "1"}));
  EXPECT_EQ(SummaryOf({"10", "10"}).deviation, "0.0000");
}

TEST(GroupSummary, DeviationOnAFourDecimalTieRoundsHalfToEvenExactly) {
  // Standard deviations of exactly 0.00015 and 0.00025.
  EXPECT_EQ(SummaryOf({"0", "0", "0", "0.0003"}).deviation, "0.0002");
  EXPECT_EQ(SummaryOf({"0", "0", "0", "0.0005"}).deviation, "0.0002");
  EXPECT_EQ(SummaryOf({"1000000", "1000000", "1000000", "1000000.0005"}).deviation, "0.0002");
}

TEST(GroupSummary, CountsAreNotSixteenBit) {
  std::vector<std::string> entries(32776, "1.5");
  EXPECT_EQ(SummaryOf(entries).count, "32776");
}

// The certified mean and standard deviation of the reference data sets, to four decimals.
TEST(GroupSummary, ReferenceDataSetsGiveTheirCertifiedValues) {
  const struct {
    const char* name;
    const char* mean;
    const char* deviation;
  } sets[] = {
      {"PiDigits", "4.5348", "2.8673"},       {"Lottery", "518.9587", "291.6997"},
      {"Lew", "-177.4350", "277.3322"},       {"Mavro", "2.0019", "0.0004"},
      {"Michelso", "299.8524", "0.0790"},     {"NumAcc1", "10000002.0000", "1.0000"},
      {"NumAcc2", "1.2000", "0.1000"},        {"NumAcc3", "1000000.2000", "0.1000"},
      {"NumAcc4", "10000000.2000", "0.1000"},
  };
  for (const auto& set : sets) {
    const std::vector<std::string> values = testing::ReferenceLines(set.name);
    ASSERT_FALSE(values.empty()) << set.name;
    const GroupSummaryTexts summary = SummaryOf(values);
    EXPECT_EQ(summary.mean, set.mean) << set.name;
    EXPECT_EQ(summary.deviation, set.deviation) << set.name;
    EXPECT_EQ(summary.count, std::to_string(values.size())) << set.name;
  }
}

}  // namespace
}  // namespace quillon
