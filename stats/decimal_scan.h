#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillon {

// The pieces of a decimal number written as an optional sign, digits and at most one point.
struct DecimalParts {
  bool negative = false;
  std::string_view integerDigits;
  std::string_view fractionDigits;
  std::size_t length = 0;  // characters read, sign and point included

  bool HasDigits() const { return !integerDigits.empty() || !fractionDigits.empty(); }
};

// Reads the sign, digits and point at the very start of text as far as they go.
DecimalParts ScanDecimal(std::string_view text);

// The text without leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

// The double nearest to a decimal text (sign, digits, point, exponent) that is used up
// entirely; 0 for a value too small for a double; nothing for any other text and for values too
// large for a double.
std::optional<double> DecimalToDouble(std::string_view text);

}  // namespace quillon
