// The entry filter's character codes and the grid's row arithmetic.

#include <gtest/gtest.h>

#include "entry/entry_filter.h"
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
