#pragma once
// The row arithmetic of the data grid: nine boxes per column show the rows from the scroll
// offset on, and the Enter, Up and Down keys move the focus between the boxes or scroll.

#include <cstddef>

namespace quillon {

inline constexpr int kVisibleRows = 9;
// The largest scroll offset, so the grid holds at most this many rows plus the nine visible ones.
inline constexpr int kMaxRowOffset = 32767;
inline constexpr std::size_t kMaxGridRows = kMaxRowOffset + kVisibleRows;

// The scroll range over a list of this many rows: 0 up to 9 rows, then rows - 9.
int ScrollMaximumFor(std::size_t rows);

// What a key in box `box` (0 to 8) of a column does, with the view at `rowOffset` of `rowMax`.
struct GridMove {
  enum class Kind {
    Nothing,
    FocusBox,  // the focus moves to `box`
    Scroll,    // the view moves to `rowOffset`; the focus stays
    AddRow,    // a new empty row in both lists, then the view moves to `rowOffset`
  };
  Kind kind = Kind::Nothing;
  int box = 0;
  int rowOffset = 0;

  friend bool operator==(const GridMove&, const GridMove&) = default;
};

// Enter: down to the next box; in the bottom box the view scrolls one row, and at the last row a
// new row is added, unless the grid already holds its largest number of rows.
GridMove EnterMove(int box, int rowOffset, int rowMax, std::size_t rows);
// Down: down to the next box; the bottom box scrolls while there are rows below.
GridMove DownMove(int box, int rowOffset, int rowMax);
// Up: up to the previous box; the top box scrolls while there are rows above.
GridMove UpMove(int box, int rowOffset);

}  // namespace quillon
