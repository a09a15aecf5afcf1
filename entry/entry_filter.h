#pragma once
// The clean-up of typed text in the data cells: a cell keeps only texts that end in a digit,
// "-" or ".". Three tests look at the last character's code in the 8-bit code page (GBK), where
// a double-byte character, such as any Chinese character, has a negative code.

#include <array>
#include <string_view>

namespace quillon {

// The code of one character from its bytes in the 8-bit code page: a single byte as it is
// (0 to 255), a double-byte character as the signed 16-bit value of lead * 256 + trail.
int SignedCharacterCode(std::string_view encoded);

enum class EntryFilterTest {
  AboveNine,   // a code greater than that of "9"
  BelowMinus,  // a code less than that of "-"
  Slash,       // "/"
};

// The tests in the order they run, each on the text as the previous one left it.
inline constexpr std::array<EntryFilterTest, 3> kEntryFilterTests = {
    EntryFilterTest::AboveNine, EntryFilterTest::BelowMinus, EntryFilterTest::Slash};

// Whether the test removes a last character of this code.
bool EntryFilterRemoves(EntryFilterTest test, int code);

}  // namespace quillon
