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

}  // namespace quillon
