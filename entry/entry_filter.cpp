#include "entry/entry_filter.h"

#include <cstdint>

namespace quillon {

int SignedCharacterCode(std::string_view encoded) {
  if (encoded.empty()) {
    return 0;
  }
  const auto lead = static_cast<unsigned char>(encoded[0]);
  if (encoded.size() == 1) {
    return lead;
  }
  const auto trail = static_cast<unsigned char>(encoded[1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lead << 8 | trail));
}

bool EntryFilterRemoves(EntryFilterTest test, int code) {
  switch (test) {
    case EntryFilterTest::AboveNine:
      return code > '9';
    case EntryFilterTest::BelowMinus:
      return code < '-';
    case EntryFilterTest::Slash:
      return code == '/';
  }
  return false;
}

bool EntryFilterKeeps(int code) {
  for (const EntryFilterTest test : kEntryFilterTests) {
    if (EntryFilterRemoves(test, code)) return false;
  }
  return true;
}

std::string_view FilteredEntryText(std::string_view text, const CharacterCode& code) {
  constexpr auto kContinuation = [](char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
  };
  constexpr std::size_t kLongestCharacter = 4;
  while (!text.empty()) {
    // The last character begins at the last byte that does not continue a UTF-8 sequence.
    std::size_t start = text.size() - 1;
    while (start > 0 && text.size() - start < kLongestCharacter && kContinuation(text[start])) {
      --start;
    }
    if (EntryFilterKeeps(code(text.substr(start)))) break;
    text.remove_suffix(text.size() - start);
  }
  return text;
}

}  // namespace quillon
