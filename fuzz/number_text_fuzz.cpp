// The plain text of a computed value, and the number at the start of a text.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "stats/fixed4.h"
#include "stats/number_text.h"

namespace quillon {
namespace {

using fuzz::Require;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of digits in the mantissa of a plain text, leading zeros not counted.
int SignificantDigitCount(std::string_view text) {
  const std::size_t exponent = text.find('E');
  const std::string_view mantissa = text.substr(0, exponent);
  int count = 0;
  bool leading = true;
  for (const char c : mantissa) {
    if (!IsDigit(c) || (leading && c == '0')) {
      continue;
    }
    leading = false;
    ++count;
  }
  return count;
}

void CheckPlainText(double value, std::string_view input) {
  const std::string plain = PlainNumberText(value);
  if (!std::isfinite(value)) {
    Require(plain.empty(), "a value that is not finite has no text", input);
    return;
  }
  Require(!plain.empty() && plain != "-0", "a finite value has a text", input);
  Require(SignificantDigitCount(plain) <= 15, "at most fifteen significant digits", input);
  const std::string_view mantissa = std::string_view(plain).substr(0, plain.find('E'));
  if (mantissa.find('.') != std::string_view::npos) {
    Require(mantissa.back() != '0' && mantissa.back() != '.', "no trailing zeros", input);
  }

  double back = 0;
  const auto [stop, error] = std::from_chars(plain.data(), plain.data() + plain.size(), back);
  Require(stop == plain.data() + plain.size(), "the text is a number", input);
  if (error == std::errc::result_out_of_range) {
    // Next to the largest double the fifteen digits round beyond the range; subnormal values
    // are not read back.
    Require(std::fabs(value) > 1.797693134862315e308 ||
                std::fabs(value) < std::numeric_limits<double>::min(),
            "the text reads back inside the double range", input);
    return;
  }
  Require(error == std::errc{}, "the text is a number", input);
  if (std::fabs(value) >= std::numeric_limits<double>::min()) {
    // Half a unit in the fifteenth digit, and the rounding of the text back to a double.
    constexpr double kTolerance = 5e-15 + std::numeric_limits<double>::epsilon();
    Require(std::fabs(back - value) <= kTolerance * std::fabs(value),
            "the text holds the value to fifteen significant digits", input);
  }
}

void CheckLeadingNumber(std::string_view text) {
  const std::string_view leading = LeadingNumberText(text);
  const double value = LeadingNumber(text);
  if (leading.empty()) {
    Require(value == 0, "a text without a leading number counts as zero", text);
    return;
  }
  Require(
      leading.data() >= text.data() && leading.data() + leading.size() <= text.data() + text.size(),
      "the leading number is part of the text", text);
  Require(LeadingNumberText(leading) == leading, "the leading number is all number", text);
  Require(LeadingNumber(leading) == value, "the leading number alone has the same value", text);
  // Below 10^9 the double read is within half a ten-thousandth of the four-decimal reading.
  constexpr std::int64_t kLimit = std::int64_t{1'000'000'000} * Fixed4::kScale;
  const std::optional<Fixed4> exact = Fixed4::Parse(leading);
  // A leading number beyond the double range counts as zero.
  Require(exact.has_value() || std::fabs(value) > 9e14 || value == 0,
          "a leading number in range reads as a four-decimal value", text);
  if (exact && exact->raw() > -kLimit && exact->raw() < kLimit) {
    Require(std::fabs(value - exact->ToDouble()) <= 0.0000501,
            "both readings of the leading number agree", text);
  }
}

}  // namespace
}  // namespace quillon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = quillon::fuzz::AsText(data, size);
  quillon::CheckLeadingNumber(text);
  quillon::CheckPlainText(quillon::LeadingNumber(text), text);
  if (size >= sizeof(double)) {
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    quillon::CheckPlainText(value, text);
  }
  return 0;
}
