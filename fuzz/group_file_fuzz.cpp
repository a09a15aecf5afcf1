// Reading a group file from any bytes: the first byte chooses the bound on the number of lines,
// the rest is the file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "entry/group_file.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  using fuzz::Require;
  if (size == 0) return 0;
  const std::size_t bound = data[0];
  const std::string_view bytes = fuzz::AsText(data + 1, size - 1);

  const GroupFileLines all = SplitGroupFile(bytes, static_cast<std::size_t>(-1));
  const GroupFileLines bounded = SplitGroupFile(bytes, bound);
  Require(all.leftOut == 0, "without a bound no line is left out", bytes);
  Require(bounded.lines.size() + bounded.leftOut == all.lines.size(),
          "the bound keeps the first lines and counts the rest", bytes);
  Require(bounded.lines.size() <= bound, "no more lines than the bound", bytes);
  for (std::size_t i = 0; i < bounded.lines.size(); ++i) {
    Require(bounded.lines[i] == all.lines[i], "the bound keeps the first lines unchanged", bytes);
  }
  std::size_t held = 0;
  for (const std::string_view line : all.lines) {
    Require(line.find_first_of("\r\n") == std::string_view::npos, "no line holds a line end",
            bytes);
    held += line.size();
  }
  Require(held <= bytes.size(), "the lines hold no more than the file", bytes);

  // Writing the lines and reading them back gives them again, and one empty last line.
  std::vector<std::string> entries(all.lines.begin(), all.lines.end());
  if (all.utf8) return 0;  // the byte order mark is not written back
  const std::string written = JoinGroupFile(entries);
  const GroupFileLines again = SplitGroupFile(written, static_cast<std::size_t>(-1));
  Require(again.lines.size() == entries.size() + 1 && again.lines.back().empty(),
          "a written file ends with one empty line", bytes);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Require(again.lines[i] == entries[i], "a written file reads back line for line", bytes);
  }
  return 0;
}
