#pragma once
// The clean-up of typed text in the data cells: a cell keeps only texts that end in a digit,
// "-" or ".". Three tests look at the last character's code in the 8-bit code page (GBK), where
// a double-byte character, such as any Chinese character, has a negative code.

#include <array>
#include <functional>
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

// Whether no test removes a last character of this code.
bool EntryFilterKeeps(int code);

// The code of one character, given as its UTF-8 bytes, in the 8-bit code page.
using CharacterCode = std::function<int(std::string_view character)>;

// What the filter leaves of a whole text (UTF-8), as a box's nested change handling ends up: a
// test that holds removes the last character by assigning the shortened text, whose change
// handling runs the tests again on the new last character before the outer run goes on. So the
// text loses the run of characters at its end for which some test holds, and nothing else.
std::string_view FilteredEntryText(std::string_view text, const CharacterCode& code);

}  // namespace quillon
