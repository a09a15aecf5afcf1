#include "entry/grid_rows.h"

#include <algorithm>

namespace quillon {

namespace {
constexpr int kBottomBox = kVisibleRows - 1;

GridMove Focus(int box) { return {GridMove::Kind::FocusBox, box, 0}; }
GridMove ScrollTo(int box, int rowOffset) { return {GridMove::Kind::Scroll, box, rowOffset}; }
}  // namespace

int ScrollMaximumFor(std::size_t rows) {
  if (rows <= static_cast<std::size_t>(kVisibleRows)) return 0;
  return static_cast<int>(std::min<std::size_t>(rows - kVisibleRows, kMaxRowOffset));
}

GridMove EnterMove(int box, int rowOffset, int rowMax, std::size_t rows) {
  if (box != kBottomBox) return Focus(box + 1);
  if (rowOffset < rowMax) return ScrollTo(box, rowOffset + 1);
  if (rows >= kMaxGridRows) return {};
  return {GridMove::Kind::AddRow, box, ScrollMaximumFor(rows + 1)};
}

GridMove DownMove(int box, int rowOffset, int rowMax) {
  if (box != kBottomBox) return Focus(box + 1);
  if (rowOffset < rowMax) return ScrollTo(box, rowOffset + 1);
  return {};
}

GridMove UpMove(int box, int rowOffset) {
  if (box > 0) return Focus(box - 1);
  if (rowOffset > 0) return ScrollTo(box, rowOffset - 1);
  return {};
}

}  // namespace quillon
