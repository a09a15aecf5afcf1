#pragma once
// Text pasted into the data grid or the four-fold table, as a spreadsheet copies cells: one row a
// line and the cells of a row side by side. The grid takes one column (the group that received
// the paste) or two (group 1 and group 2); the four-fold table takes a block of two rows of two.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "entry/entry_filter.h"

namespace quillon {

struct PastedCells {
  // The first two cells of each row; a row with fewer cells has empty ones.
  std::vector<std::array<std::string_view, 2>> rows;
  std::size_t columns = 0;  // the most cells in one row
};

// A line ends at CR LF, LF or a lone CR; a line end at the very end of the text starts no
// further row. Cells are separated by tabs, or, in a text of several lines that holds no tab, by
// commas; a single line without a tab is one cell, whatever it holds.
PastedCells SplitPastedText(std::string_view text);

// Whether a paste holds more than one cell: then it fills cells of its own; a single cell is
// pasted into the box like any text.
bool HoldsSeveralCells(const PastedCells& cells);

struct GridPaste {
  std::size_t columns = 0;  // 1 or 2; 0 when a row has more than two cells: nothing to paste
  // Each column's values from the first row on, cleaned as a box cleans a typed text.
  std::array<std::vector<std::string>, 2> values;
  bool headerSkipped = false;
  std::size_t leftOut = 0;  // rows past the grid's bound
};

// The values a paste of several cells brings into the grid from row `firstRow` on. Each cell
// has its full-width digits, point, minus and full stop made ASCII and then passes the entry
// filter, as typed into a box; a first row that holds text but no number is a column header and
// is skipped; rows past the grid's largest number of rows are left out.
GridPaste PrepareGridPaste(const PastedCells& cells, std::size_t firstRow,
                           const CharacterCode& code);

// The cells a, b, c, d of a block of two rows of two cells (either row may have a missing or
// empty cell); nothing for any other shape.
std::optional<std::array<std::string_view, 4>> FourfoldBlock(const PastedCells& cells);

}  // namespace quillon
