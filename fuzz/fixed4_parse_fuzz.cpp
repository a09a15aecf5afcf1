// Reading a text as a four-decimal value, and the arithmetic on what was read.
// The input is one text, or two texts separated by a line feed.

#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "stats/fixed4.h"

namespace quillon {
namespace {

using fuzz::Require;

void CheckValue(Fixed4 value, std::string_view text) {
  const std::string plain = value.ToPlainText();
  const std::optional<Fixed4> again = Fixed4::Parse(plain);
  Require(again && *again == value, "the plain text reads back as the same value", text);

  const std::size_t point = plain.find('.');
  if (point != std::string::npos) {
    Require(plain.size() - point - 1 <= 4 && plain.back() != '0',
            "the plain text has at most four decimals and no trailing zero", text);
  }

  // Below 10^9 a double holds the value to far better than half a ten-thousandth.
  constexpr std::int64_t kExactInDouble = std::int64_t{1'000'000'000} * Fixed4::kScale;
  if (value.raw() > -kExactInDouble && value.raw() < kExactInDouble) {
    Require(Fixed4::FromDouble(value.ToDouble()) == value,
            "the double of the value converts back to it", text);
  }
}

void CheckArithmetic(Fixed4 left, Fixed4 right, std::string_view text) {
  const std::optional<Fixed4> sum = Add(left, right);
  Require(sum == Add(right, left), "addition commutes", text);
  if (sum) {
    Require(Subtract(*sum, right) == left, "subtracting undoes adding", text);
  }
  Require(Multiply(left, right) == Multiply(right, left), "multiplication commutes", text);
  Require(Multiply(left, Fixed4::FromRaw(Fixed4::kScale)) == left, "one times a value is it", text);
}

}  // namespace
}  // namespace quillon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quillon::Fixed4;
  const std::string_view text = quillon::fuzz::AsText(data, size);
  const std::size_t lineEnd = text.find('\n');
  if (lineEnd == std::string_view::npos) {
    if (const std::optional<Fixed4> value = Fixed4::Parse(text)) {
      quillon::CheckValue(*value, text);
    }
    return 0;
  }
  const std::optional<Fixed4> left = Fixed4::Parse(text.substr(0, lineEnd));
  const std::optional<Fixed4> right = Fixed4::Parse(text.substr(lineEnd + 1));
  if (left && right) {
    quillon::CheckValue(*left, text);
    quillon::CheckValue(*right, text);
    quillon::CheckArithmetic(*left, *right, text);
  }
  return 0;
}
