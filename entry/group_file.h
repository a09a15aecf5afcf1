#pragma once
// The group text file: one entry per line, in row order, in the 8-bit code page (GBK). Writing
// puts CR LF after every entry and one more CR LF at the end, so an exported file always ends
// with an empty line. Reading ends a line at CR LF, at a lone CR or at a lone LF, as files written
// on any system end them (the terminator is not part of the line), and reads a last line that
// has no terminator; no entry holds a line end, so every file the program wrote reads back as it
// was. Here the file is bytes; the characters are decoded and encoded where the program meets the
// file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A file that begins with these bytes holds UTF-8 text, not GBK.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct GroupFileLines {
  bool utf8 = false;  // the file began with the UTF-8 byte order mark, which no line holds
  std::vector<std::string_view> lines;  // views into the file's bytes, at most the bound
  std::size_t leftOut = 0;              // lines past the bound
};

// The lines of a file, at most `maxLines` of them; an empty file has none.
GroupFileLines SplitGroupFile(std::string_view bytes, std::size_t maxLines);

// The bytes of a file holding these entries (each already in the file's code page).
std::string JoinGroupFile(const std::vector<std::string>& entries);

}  // namespace quillon
