// The entry filter of the data cells on any text in the 8-bit code page: the input is read as
// GBK characters (a byte from 0x81 up leads a two-byte character), and the filter's three tests
// remove last characters until the text is empty or ends in a digit, "-" or ".".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "entry/entry_filter.h"
#include "entry/sample_lists.h"
#include "fuzz/fuzz_check.h"

namespace quillon {
namespace {

using fuzz::Require;

std::vector<std::string_view> Characters(std::string_view bytes) {
  std::vector<std::string_view> characters;
  for (std::size_t at = 0; at < bytes.size();) {
    const bool doubleByte = static_cast<unsigned char>(bytes[at]) >= 0x81 && at + 1 < bytes.size();
    const std::size_t length = doubleByte ? 2 : 1;
    characters.push_back(bytes.substr(at, length));
    at += length;
  }
  return characters;
}

bool Kept(int code) {
  for (const EntryFilterTest test : kEntryFilterTests) {
    if (EntryFilterRemoves(test, code)) return false;
  }
  return true;
}

}  // namespace
}  // namespace quillon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  using fuzz::Require;
  const std::string_view text = fuzz::AsText(data, size);
  std::vector<std::string_view> characters = Characters(text);
  for (const std::string_view character : characters) {
    const int code = SignedCharacterCode(character);
    Require(code >= -32768 && code <= 255, "a code is a signed 16-bit value or a byte", text);
    Require((character.size() == 2) == (code < 0 || character.size() == 2),
            "only double-byte characters have negative codes", text);
  }
  // Each removal runs the tests again on the shortened text, in their order, until none holds.
  while (!characters.empty()) {
    bool removed = false;
    for (const EntryFilterTest test : kEntryFilterTests) {
      if (!characters.empty() && EntryFilterRemoves(test, SignedCharacterCode(characters.back()))) {
        characters.pop_back();
        removed = true;
      }
    }
    if (!removed) break;
  }
  std::string kept;
  for (const std::string_view character : characters) kept += character;
  Require(text.starts_with(kept), "the filter removes characters from the end only", text);
  if (!kept.empty()) {
    const char last = kept.back();
    Require(last == '-' || last == '.' || (last >= '0' && last <= '9'),
            "a kept text ends in a digit, \"-\" or \".\"", text);
    Require(Kept(SignedCharacterCode(characters.back())), "no test holds for the kept end", text);
  }
  // Whatever is kept, the analyses read it as a number or skip it, without failing.
  (void)EntryValue(kept);
  return 0;
}
