// Splitting a group file into lines and joining entries into one.

#include "entry/group_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

using Lines = std::vector<std::string_view>;
constexpr std::size_t kNoBound = 1000;

Lines Split(std::string_view bytes) { return SplitGroupFile(bytes, kNoBound).lines; }

TEST(GroupFile, LineEnds) {
  EXPECT_EQ(Split(""), Lines{});
  EXPECT_EQ(Split("\r\n"), Lines{""});
  EXPECT_EQ(Split("1.5\r\n2\r\n\r\n3\r\n\r\n"), (Lines{"1.5", "2", "", "3", ""}));
  // A lone CR ends a line, and so does a lone LF (files from R, macOS and Linux); LF CR is two.
  EXPECT_EQ(Split("1\r2\r\r\n3"), (Lines{"1", "2", "", "3"}));
  EXPECT_EQ(Split("1\n2\n3\n"), (Lines{"1", "2", "3"}));
  EXPECT_EQ(Split("1\n\n2"), (Lines{"1", "", "2"}));
  EXPECT_EQ(Split("1\n\r\n2\r"), (Lines{"1", "", "2"}));
  EXPECT_EQ(Split("\n"), Lines{""});
  // The last line is read without a terminator, and a terminator at the end adds no line.
  EXPECT_EQ(Split("7\r\n8"), (Lines{"7", "8"}));
  EXPECT_EQ(Split("7\r\n8\r\n"), (Lines{"7", "8"}));
}

TEST(GroupFile, ByteOrderMark) {
  const GroupFileLines marked = SplitGroupFile(
      "\xEF\xBB\xBF"
      "12\r\n\xE4\xB8\xAD",
      kNoBound);
  EXPECT_TRUE(marked.utf8);
  EXPECT_EQ(marked.lines, (Lines{"12", "\xE4\xB8\xAD"}));
  EXPECT_TRUE(SplitGroupFile("\xEF\xBB\xBF", kNoBound).lines.empty());

  // Only at the very start; anywhere else the bytes belong to the line.
  const GroupFileLines plain = SplitGroupFile(
      "1\r\n\xEF\xBB\xBF"
      "2",
      kNoBound);
  EXPECT_FALSE(plain.utf8);
  EXPECT_EQ(plain.lines, (Lines{"1",
                                "\xEF\xBB\xBF"
                                "2"}));
}

TEST(GroupFile, BoundOnLines) {
  const GroupFileLines file = SplitGroupFile("1\r\n2\r\n3\r\n4\r\n\r\n", 3);
  EXPECT_EQ(file.lines, (Lines{"1", "2", "3"}));
  EXPECT_EQ(file.leftOut, 2U);
  EXPECT_EQ(SplitGroupFile("1\r\n2\r\n3", 3).leftOut, 0U);
}

TEST(GroupFile, BytesThatAreNotText) {
  // NUL bytes and bytes of no code page stay in their lines; one long line is one entry.
  const std::string withNul(
      "1\0"
      "2\r\n\xFF\xFE\x81",
      8);
  EXPECT_EQ(Split(withNul), (Lines{std::string_view("1\0"
                                                    "2",
                                                    3),
                                   "\xFF\xFE\x81"}));
  const std::string longLine(5'000'000, '9');
  const GroupFileLines file = SplitGroupFile(longLine, kNoBound);
  ASSERT_EQ(file.lines.size(), 1U);
  EXPECT_EQ(file.lines[0].size(), longLine.size());
}

TEST(GroupFile, Join) {
  EXPECT_EQ(JoinGroupFile({}), "\r\n");
  std::string tenLineEnds;
  for (int i = 0; i < 10; ++i) tenLineEnds += "\r\n";
  EXPECT_EQ(JoinGroupFile(std::vector<std::string>(9)), tenLineEnds);
  EXPECT_EQ(JoinGroupFile({"1.5", "2", "", "3"}), "1.5\r\n2\r\n\r\n3\r\n\r\n");
}

TEST(GroupFile, JoinedEntriesSplitBackWithOneEmptyLineMore) {
  const std::vector<std::string> entries = {"1", "", "-2.5", "\xD6\xD0", "x\ty"};
  const std::string bytes = JoinGroupFile(entries);
  const GroupFileLines file = SplitGroupFile(bytes, kNoBound);
  std::vector<std::string> read(file.lines.begin(), file.lines.end());
  EXPECT_EQ(read.back(), "");
  read.pop_back();
  EXPECT_EQ(read, entries);
}

}  // namespace
}  // namespace quillon
