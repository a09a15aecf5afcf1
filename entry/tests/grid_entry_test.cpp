// The entry filter's character codes, the filter on a whole text, pasted text, and the grid's
// row arithmetic.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/entry_filter.h"
#include "entry/grid_paste.h"
#include "entry/grid_rows.h"

namespace quillon {
namespace {

bool AnyTestRemoves(int code) {
  for (EntryFilterTest test : kEntryFilterTests) {
    if (EntryFilterRemoves(test, code)) return true;
  }
  return false;
}

TEST(EntryFilter, KeepsOnlyDigitsMinusAndPoint) {
  for (int code = 0; code < 256; ++code) {
    const bool kept = code == '-' || code == '.' || (code >= '0' && code <= '9');
    EXPECT_EQ(AnyTestRemoves(code), !kept) << "code " << code;
  }
}

TEST(EntryFilter, DoubleByteCharactersHaveNegativeCodes) {
  EXPECT_EQ(SignedCharacterCode("\xD6\xD0"), -10544);  // 中
  EXPECT_EQ(SignedCharacterCode("\xA1\xA3"), -24157);  // 。
  EXPECT_TRUE(EntryFilterRemoves(EntryFilterTest::BelowMinus, SignedCharacterCode("\xD6\xD0")));
  EXPECT_EQ(SignedCharacterCode("?"), '?');
  EXPECT_EQ(SignedCharacterCode("\x80"), 128);  // the euro sign, a single byte
}

// GBK codes of the characters these tests use: ASCII as itself, the rest double-byte.
int TestCode(std::string_view character) {
  return character.size() == 1 ? static_cast<unsigned char>(character[0]) : -10544;
}

// The change handling of a box as it runs: each test in turn on the text as it is now; a test
// that holds assigns the shortened text, whose change handling runs first, nested.
std::vector<std::string> NestedFilter(std::vector<std::string> characters) {
  for (const EntryFilterTest test : kEntryFilterTests) {
    if (!characters.empty() && EntryFilterRemoves(test, TestCode(characters.back()))) {
      characters.pop_back();
      characters = NestedFilter(characters);
    }
  }
  return characters;
}

TEST(EntryFilter, OnAWholeTextEndsAsTheNestedChangeHandling) {
  const std::vector<std::string> alphabet = {
      "1", "-", ".", "/", "a", " ", "中", std::string(1, '\0'), ","};
  const auto n = alphabet.size();
  std::size_t cases = 1;
  for (int length = 0; length <= 4; ++length, cases *= n) {
    for (std::size_t number = 0; number < cases; ++number) {
      std::vector<std::string> characters;
      std::string text;
      for (std::size_t rest = number, i = 0; i < static_cast<std::size_t>(length); ++i, rest /= n) {
        characters.push_back(alphabet[rest % n]);
        text += characters.back();
      }
      std::string nested;
      for (const std::string& character : NestedFilter(characters)) nested += character;
      ASSERT_EQ(FilteredEntryText(text, TestCode), nested) << text;
    }
  }
}

TEST(PastedText, SplitsLinesAndCells) {
  struct Case {
    std::string text;
    std::vector<std::array<std::string, 2>> rows;
    std::size_t columns;
  };
  const std::vector<Case> cases = {
      {"", {}, 0},
      {"1.5", {{"1.5", ""}}, 1},
      {"1.5\r\n", {{"1.5", ""}}, 1},
      {"1\n2\r\n3\r4", {{"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}}, 1},
      {"1\n\n3\n\n", {{"1", ""}, {"", ""}, {"3", ""}, {"", ""}}, 1},
      {"1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}, 2},
      {"1,2\n3", {{"1", "2"}, {"3", ""}}, 2},
      // A tab anywhere makes tabs the separator; a single line has no commas to split at.
      {"1,5\t2\n3,5", {{"1,5", "2"}, {"3,5", ""}}, 2},
      {"1,5", {{"1,5", ""}}, 1},
      {"1\t2\t3", {{"1", "2"}}, 3},
  };
  for (const Case& c : cases) {
    const PastedCells cells = SplitPastedText(c.text);
    ASSERT_EQ(cells.rows.size(), c.rows.size()) << c.text;
    for (std::size_t row = 0; row < c.rows.size(); ++row) {
      EXPECT_EQ(cells.rows[row][0], c.rows[row][0]) << c.text;
      EXPECT_EQ(cells.rows[row][1], c.rows[row][1]) << c.text;
    }
    EXPECT_EQ(cells.columns, c.columns) << c.text;
    EXPECT_EQ(HoldsSeveralCells(cells), c.rows.size() > 1 || c.columns > 1) << c.text;
  }
}

TEST(PastedText, GridValuesAreCleanedAsTypedAfterAnyHeader) {
  struct Case {
    std::string text;
    std::vector<std::string> first, second;
    bool header;
  };
  const std::vector<Case> cases = {
      {"身高\n1.5\n\n２．５ cm\n3。5", {"1.5", "", "2.5", "3.5"}, {}, true},
      {"1.5\n身高", {"1.5", ""}, {}, false},
      {"\n1", {"", "1"}, {}, false},
      {"1.2.3\n4", {"4"}, {}, true},  // a first line that is not a number
      {"x\ty\n1\t2\n3\n\t－4", {"1", "3", ""}, {"2", "", "-4"}, true},
      {"NA\t2\n1\t2", {"", "1"}, {"2", "2"}, false},  // one number: not a header
      {"7/\n1a2\n中", {"7", "1a2", ""}, {}, false},
  };
  for (const Case& c : cases) {
    const GridPaste paste = PrepareGridPaste(SplitPastedText(c.text), 0, TestCode);
    EXPECT_EQ(paste.columns, c.second.empty() ? 1u : 2u) << c.text;
    EXPECT_EQ(paste.values[0], c.first) << c.text;
    EXPECT_EQ(paste.values[1], c.second) << c.text;
    EXPECT_EQ(paste.headerSkipped, c.header) << c.text;
    EXPECT_EQ(paste.leftOut, 0u) << c.text;
  }
  EXPECT_EQ(PrepareGridPaste(SplitPastedText("1\t2\t3"), 0, TestCode).columns, 0u);
}

TEST(PastedText, RowsPastTheGridsBoundAreLeftOut) {
  const PastedCells cells = SplitPastedText("h\n1\n2\n3\n4\n5");
  const GridPaste paste = PrepareGridPaste(cells, kMaxGridRows - 3, TestCode);
  EXPECT_EQ(paste.values[0], (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(paste.leftOut, 2u);
  EXPECT_EQ(PrepareGridPaste(cells, 0, TestCode).leftOut, 0u);
}

TEST(PastedText, FourfoldBlockIsTwoRowsOfTwo) {
  EXPECT_EQ(FourfoldBlock(SplitPastedText("1\t2\r\n3\t4\r\n")),
            (std::array<std::string_view, 4>{"1", "2", "3", "4"}));
  EXPECT_EQ(FourfoldBlock(SplitPastedText("1,2\n3")),
            (std::array<std::string_view, 4>{"1", "2", "3", ""}));
  for (const char* text : {"1\t2", "1\n2", "1\t2\n3\t4\n5\t6", "1\t2\t3\n4\t5\t6"}) {
    EXPECT_FALSE(FourfoldBlock(SplitPastedText(text))) << text;
  }
}

TEST(GridRows, EnterMovesDownThenScrollsThenAddsARow) {
  using Kind = GridMove::Kind;
  EXPECT_EQ(EnterMove(3, 0, 0, 9), (GridMove{Kind::FocusBox, 4, 0}));
  EXPECT_EQ(EnterMove(8, 0, 0, 9), (GridMove{Kind::AddRow, 8, 1}));
  EXPECT_EQ(EnterMove(8, 0, 3, 12), (GridMove{Kind::Scroll, 8, 1}));
  EXPECT_EQ(EnterMove(8, 3, 3, 12), (GridMove{Kind::AddRow, 8, 4}));
  // Unequal lists after an import: the view ranges over the longer one.
  EXPECT_EQ(EnterMove(8, 11, 11, 20), (GridMove{Kind::AddRow, 8, 12}));
  // The largest grid takes no further row.
  EXPECT_EQ(EnterMove(8, kMaxRowOffset, kMaxRowOffset, kMaxGridRows), GridMove{});
}

TEST(GridRows, UpAndDownMoveWithinTheColumnAndScrollAtTheEdges) {
  using Kind = GridMove::Kind;
  EXPECT_EQ(DownMove(8, 0, 0), GridMove{});
  EXPECT_EQ(DownMove(3, 0, 0), (GridMove{Kind::FocusBox, 4, 0}));
  EXPECT_EQ(DownMove(8, 0, 3), (GridMove{Kind::Scroll, 8, 1}));
  EXPECT_EQ(DownMove(8, 3, 3), GridMove{});
  EXPECT_EQ(UpMove(5, 0), (GridMove{Kind::FocusBox, 4, 0}));
  EXPECT_EQ(UpMove(0, 0), GridMove{});
  EXPECT_EQ(UpMove(0, 2), (GridMove{Kind::Scroll, 0, 1}));
}

TEST(GridRows, ScrollRangeFollowsTheRowCountUpToItsBound) {
  EXPECT_EQ(ScrollMaximumFor(0), 0);
  EXPECT_EQ(ScrollMaximumFor(9), 0);
  EXPECT_EQ(ScrollMaximumFor(20), 11);
  EXPECT_EQ(ScrollMaximumFor(kMaxGridRows), kMaxRowOffset);
  EXPECT_EQ(ScrollMaximumFor(kMaxGridRows + 100), kMaxRowOffset);
}

}  // namespace
}  // namespace quillon
