#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// A signed fixed-point number with four decimals, held as the value times 10000.
// Every conversion into it rounds to four decimals with halves going to the even neighbour,
// decided exactly; every operation that would leave the 64-bit range gives nothing.
class Fixed4 {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Fixed4() = default;

  // Reads "12", "-3.5", " +.25 ", "5." (surrounding spaces and tabs, an optional sign, digits
  // with at most one point, at least one digit). Nothing for any other text.
  static std::optional<Fixed4> Parse(std::string_view text);
  // Whether Parse reads the text as a number that had nonzero digits beyond the fourth decimal,
  // which it rounds away.
  static bool DropsDigits(std::string_view text);
  // How many decimals a number was typed with, at most four: "4377.70" 2, "1.0" 1, "12" 0.
  static int TypedDecimals(std::string_view text);

  // The exact binary value of a finite double, rounded to four decimals.
  static std::optional<Fixed4> FromDouble(double value);

  static constexpr Fixed4 FromRaw(std::int64_t raw) { return Fixed4(raw); }

  // The whole number value; nothing when value times 10000 leaves the range.
  static std::optional<Fixed4> FromInteger(std::int64_t value);

  constexpr std::int64_t raw() const { return raw_; }

  // The double nearest to the value.
  double ToDouble() const;

  // At most four decimals, no trailing zeros, no point for whole numbers: "12", "-0.25".
  std::string ToPlainText() const;

  friend constexpr auto operator<=>(Fixed4, Fixed4) = default;

 private:
  constexpr explicit Fixed4(std::int64_t raw) : raw_(raw) {}

  std::int64_t raw_ = 0;
};

std::optional<Fixed4> Add(Fixed4 left, Fixed4 right);
std::optional<Fixed4> Subtract(Fixed4 left, Fixed4 right);
// The product rounded to four decimals.
std::optional<Fixed4> Multiply(Fixed4 left, Fixed4 right);

}  // namespace quillon
