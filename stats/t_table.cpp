#include "stats/t_table.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "stats/decimal_scan.h"
#include "stats/number_text.h"

namespace quillon {

namespace resources {
extern const char kTCriticalTableBytes[];
extern const std::size_t kTCriticalTableBytesSize;
}  // namespace resources

namespace {

constexpr int kFirstRowLine = 4;
constexpr int kThousandRowLine = 52;
constexpr int kInfiniteRowLine = 53;
constexpr std::size_t kDfFieldWidth = 7;
constexpr std::size_t kValueWidth = 5;
constexpr std::size_t kValueSpacing = 9;  // from the start of one value to the next
constexpr Fixed4 kThousand = Fixed4::FromRaw(1000 * Fixed4::kScale);

// Takes the first line off text and returns it without its line break (CR LF, CR or LF).
std::string_view TakeLine(std::string_view& text) {
  std::size_t end = 0;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
    ++end;
  }
  const std::string_view line = text.substr(0, end);
  const bool crLf = text.substr(end).starts_with("\r\n");
  text.remove_prefix(std::min(text.size(), end + (crLf ? 2 : 1)));
  return line;
}

// Skips lineCount lines of text; false when it has fewer.
bool SkipLines(std::string_view& text, int lineCount) {
  for (int line = 0; line < lineCount; ++line) {
    if (text.empty()) {
      return false;
    }
    TakeLine(text);
  }
  return true;
}

std::string_view LineView(std::string_view text, int lineIndex) {
  if (lineIndex < 0 || !SkipLines(text, lineIndex)) {
    return {};
  }
  return TakeLine(text);
}

bool StartsCodePoint(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// The byte offset of code point index of a UTF-8 text, or its size when it has fewer.
std::size_t ByteOffsetOfCodePoint(std::string_view text, std::size_t index) {
  std::size_t seen = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (StartsCodePoint(text[at]) && seen++ == index) {
      return at;
    }
  }
  return text.size();
}

// count code points of a UTF-8 text from code point first, as far as the text goes.
std::string_view CodePoints(std::string_view text, std::size_t first, std::size_t count) {
  const std::size_t begin = ByteOffsetOfCodePoint(text, first);
  const std::string_view rest = text.substr(begin);
  return rest.substr(0, ByteOffsetOfCodePoint(rest, count));
}

// The df of a table line: the leading number of its first 7 characters ("∝" reads as 0).
Fixed4 RowDf(std::string_view line) {
  const std::string_view field = TrimBlanks(CodePoints(line, 0, kDfFieldWidth));
  return Fixed4::Parse(LeadingNumberText(field)).value_or(Fixed4{});
}

int ChooseLine(Fixed4 df) {
  std::string_view rest = TCriticalTable();
  SkipLines(rest, kFirstRowLine);
  for (int line = kFirstRowLine; line <= kInfiniteRowLine; ++line) {
    if (RowDf(TakeLine(rest)) > df) {
      return line - 1;
    }
  }
  // Only a df of at least 1000 gets here: the infinite row's df reads as 0.
  return df == kThousand ? kThousandRowLine : kInfiniteRowLine;
}

std::string ValueText(std::string_view line, std::size_t column, std::size_t firstValueStart) {
  return std::string(
      TrimBlanks(CodePoints(line, firstValueStart + column * kValueSpacing, kValueWidth)));
}

// The three values of data line lineIndex (4 to 53).
TCriticalValues RowValues(std::string_view line, int lineIndex) {
  // The infinite row's df field is one character shorter, so its values start one earlier.
  const std::size_t firstValueStart = lineIndex == kInfiniteRowLine ? 6 : 7;
  return TCriticalValues{ValueText(line, 0, firstValueStart), ValueText(line, 1, firstValueStart),
                         ValueText(line, 2, firstValueStart)};
}

}  // namespace

std::string_view TCriticalTable() {
  return {resources::kTCriticalTableBytes, resources::kTCriticalTableBytesSize};
}

std::string GetLineText(std::string_view text, int lineIndex) {
  return std::string(LineView(text, lineIndex));
}

std::optional<TCriticalValues> LookUpTCritical(Fixed4 df) {
  const int chosen = ChooseLine(df);
  if (chosen < kFirstRowLine) {
    return std::nullopt;  // the dash rule above the first row
  }
  return RowValues(LineView(TCriticalTable(), chosen), chosen);
}

std::vector<TTableRow> TCriticalTableRows() {
  std::string_view rest = TCriticalTable();
  SkipLines(rest, kFirstRowLine);
  std::vector<TTableRow> rows;
  for (int lineIndex = kFirstRowLine; lineIndex <= kInfiniteRowLine; ++lineIndex) {
    const std::string_view line = TakeLine(rest);
    std::string df = lineIndex == kInfiniteRowLine
                         ? std::string("∞")
                         : std::string(TrimBlanks(CodePoints(line, 0, kDfFieldWidth)));
    rows.push_back({std::move(df), RowValues(line, lineIndex)});
  }
  return rows;
}

}  // namespace quillon
