#include "entry/grid_paste.h"

#include <algorithm>

#include "entry/grid_rows.h"
#include "entry/sample_lists.h"
#include "stats/number_text.h"

namespace quillon {

namespace {

constexpr char kTab = '\t';
constexpr char kComma = ',';

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return lines;
}

std::string Cleaned(std::string_view cell, const CharacterCode& code) {
  const std::string ascii = ReplaceFullStops(ReplaceFullWidthDigits(cell));
  return std::string(FilteredEntryText(ascii, code));
}

bool Blank(std::string_view cell) { return cell.find_first_not_of(' ') == std::string_view::npos; }

// A first row that holds text of which no cell is a number once cleaned.
bool IsHeader(const std::array<std::string_view, 2>& row, std::size_t columns,
              const CharacterCode& code) {
  bool text = false;
  for (std::size_t c = 0; c < columns; ++c) {
    if (Blank(row[c])) continue;
    text = true;
    if (EntryValue(Cleaned(row[c], code))) return false;
  }
  return text;
}

}  // namespace

PastedCells SplitPastedText(std::string_view text) {
  const std::vector<std::string_view> lines = Lines(text);
  char separator = '\0';
  if (text.find(kTab) != std::string_view::npos) {
    separator = kTab;
  } else if (lines.size() > 1) {
    separator = kComma;
  }
  PastedCells cells;
  cells.rows.reserve(lines.size());
  for (std::string_view line : lines) {
    std::array<std::string_view, 2> row{};
    std::size_t count = 0;
    while (true) {
      const std::size_t end = separator == '\0' ? std::string_view::npos : line.find(separator);
      if (count < row.size()) row[count] = line.substr(0, end);
      ++count;
      if (end == std::string_view::npos) break;
      line.remove_prefix(end + 1);
    }
    cells.rows.push_back(row);
    cells.columns = std::max(cells.columns, count);
  }
  return cells;
}

bool HoldsSeveralCells(const PastedCells& cells) {
  return cells.rows.size() > 1 || cells.columns > 1;
}

GridPaste PrepareGridPaste(const PastedCells& cells, std::size_t firstRow,
                           const CharacterCode& code) {
  GridPaste paste;
  if (cells.columns > 2) return paste;
  paste.columns = std::max<std::size_t>(cells.columns, 1);
  std::size_t from = 0;
  if (!cells.rows.empty() && IsHeader(cells.rows.front(), paste.columns, code)) {
    paste.headerSkipped = true;
    from = 1;
  }
  const std::size_t rows = cells.rows.size() - from;
  const std::size_t room = firstRow < kMaxGridRows ? kMaxGridRows - firstRow : 0;
  const std::size_t taken = std::min(rows, room);
  paste.leftOut = rows - taken;
  for (std::size_t c = 0; c < paste.columns; ++c) {
    std::vector<std::string>& column = paste.values[c];
    column.reserve(taken);
    for (std::size_t row = from; row < from + taken; ++row) {
      column.push_back(Cleaned(cells.rows[row][c], code));
    }
  }
  return paste;
}

std::optional<std::array<std::string_view, 4>> FourfoldBlock(const PastedCells& cells) {
  if (cells.rows.size() != 2 || cells.columns != 2) return std::nullopt;
  return std::array<std::string_view, 4>{cells.rows[0][0], cells.rows[0][1], cells.rows[1][0],
                                         cells.rows[1][1]};
}

}  // namespace quillon
