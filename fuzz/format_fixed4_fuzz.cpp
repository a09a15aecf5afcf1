// Writing a number text, or a double, with exactly four decimals.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "stats/fixed4.h"
#include "stats/number_text.h"

namespace quillon {
namespace {

using fuzz::HasFourDecimals;
using fuzz::Require;

// Below 10^9 fifteen significant digits reach past the fourth decimal.
constexpr std::int64_t kFifteenDigitsLimit = std::int64_t{1'000'000'000} * Fixed4::kScale;

void CheckText(std::string_view text) {
  const std::string formatted = FormatFixed4(text);
  Require(formatted != "-0.0000", "zero has no minus sign", text);
  if (HasFourDecimals(formatted)) {
    Require(HasFourDecimals(FormatFixed4(formatted)),
            "a formatted number keeps its four decimals when formatted again", text);
  }

  // A plain decimal text: both readings agree to the last decimal, one rounding apart
  // (halves away from zero here, to the even neighbour in Fixed4).
  const std::optional<Fixed4> exact = Fixed4::Parse(text);
  if (exact && exact->raw() > -kFifteenDigitsLimit && exact->raw() < kFifteenDigitsLimit) {
    const std::optional<Fixed4> shown = Fixed4::Parse(formatted);
    Require(HasFourDecimals(formatted) && shown.has_value(),
            "a decimal text is written with four decimals", text);
    const std::int64_t apart = shown->raw() - exact->raw();
    Require(apart >= -1 && apart <= 1, "the formatted value is the text's value rounded", text);
    Require(FormatFixed4(formatted) == formatted, "formatting a formatted text keeps it", text);
  }
}

void CheckDouble(double value, std::string_view input) {
  const std::string formatted = FormatFixed4(value);
  if (!std::isfinite(value)) {
    Require(formatted.empty(), "a value that is not finite has no text", input);
    return;
  }
  Require(HasFourDecimals(formatted), "a finite value is written with four decimals", input);
  Require(formatted != "-0.0000", "zero has no minus sign", input);
  if (std::fabs(value) < 1e9) {
    const std::optional<Fixed4> shown = Fixed4::Parse(formatted);
    // The value is first written with 15 significant digits, then rounded to four decimals, so
    // it may move by half a unit of its 15th digit before the half ten-thousandth.
    const double fifteenthDigit = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 14);
    Require(shown && std::fabs(shown->ToDouble() - value) <= 0.0000501 + fifteenthDigit / 2,
            "the formatted value is within half a ten-thousandth of its 15-digit form", input);
  }
}

}  // namespace
}  // namespace quillon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = quillon::fuzz::AsText(data, size);
  quillon::CheckText(text);
  if (size == sizeof(double)) {
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    quillon::CheckDouble(value, text);
  }
  quillon::CheckDouble(quillon::LeadingNumber(text), text);
  return 0;
}
