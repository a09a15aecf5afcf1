#include "stats/fixed4.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "stats/decimal_scan.h"

namespace quillon {

namespace {

__extension__ typedef __int128 Wide;
__extension__ typedef unsigned __int128 WideMagnitude;

constexpr int kDecimals = 4;

// Where a dropped remainder lies against half a unit of the last kept digit.
enum class Remainder { BelowHalf, Half, AboveHalf };

WideMagnitude RoundHalfEven(WideMagnitude truncated, Remainder remainder) {
  const bool up =
      remainder == Remainder::AboveHalf || (remainder == Remainder::Half && truncated % 2 == 1);
  return up ? truncated + 1 : truncated;
}

WideMagnitude DivideHalfEven(WideMagnitude numerator, WideMagnitude divisor) {
  const WideMagnitude rest = numerator % divisor;
  const WideMagnitude missing = divisor - rest;
  const Remainder remainder = rest < missing    ? Remainder::BelowHalf
                              : rest == missing ? Remainder::Half
                                                : Remainder::AboveHalf;
  return RoundHalfEven(numerator / divisor, remainder);
}

// The remainder that the digits after the last kept decimal stand for.
Remainder RemainderOfDigits(std::string_view dropped) {
  if (dropped.empty() || dropped.front() < '5') {
    return Remainder::BelowHalf;
  }
  if (dropped.front() > '5' || dropped.find_first_not_of('0', 1) != std::string_view::npos) {
    return Remainder::AboveHalf;
  }
  return Remainder::Half;
}

std::optional<Fixed4> FromWide(Wide raw) {
  if (raw < std::numeric_limits<std::int64_t>::min() ||
      raw > std::numeric_limits<std::int64_t>::max()) {
    return std::nullopt;
  }
  return Fixed4::FromRaw(static_cast<std::int64_t>(raw));
}

std::optional<Fixed4> FromSignedMagnitude(bool negative, WideMagnitude magnitude) {
  // Anything this large is out of range; the bound keeps the signed conversion exact.
  constexpr WideMagnitude kBeyondRange = WideMagnitude{1} << 64;
  if (magnitude >= kBeyondRange) {
    return std::nullopt;
  }
  const Wide value = static_cast<Wide>(magnitude);
  return FromWide(negative ? -value : value);
}

WideMagnitude MagnitudeOf(std::int64_t raw) {
  const Wide value = raw;
  return static_cast<WideMagnitude>(value < 0 ? -value : value);
}

// The digits read as a whole number; nothing when they far exceed any Fixed4 value.
std::optional<WideMagnitude> ReadDigits(std::string_view digits) {
  constexpr WideMagnitude kFarBeyondRange = WideMagnitude{1} << 100;
  WideMagnitude value = 0;
  for (const char digit : digits) {
    value = value * 10 + static_cast<unsigned>(digit - '0');
    if (value >= kFarBeyondRange) {
      return std::nullopt;
    }
  }
  return value;
}

}  // namespace

std::optional<Fixed4> Fixed4::Parse(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  const DecimalParts parts = ScanDecimal(trimmed);
  if (!parts.HasDigits() || parts.length != trimmed.size()) {
    return std::nullopt;
  }
  const std::string_view kept = parts.fractionDigits.substr(0, kDecimals);
  const std::optional<WideMagnitude> whole = ReadDigits(parts.integerDigits);
  const std::optional<WideMagnitude> decimals = ReadDigits(kept);
  if (!whole || !decimals) {
    return std::nullopt;
  }
  WideMagnitude scaledDecimals = *decimals;
  for (std::size_t i = kept.size(); i < kDecimals; ++i) {
    scaledDecimals *= 10;
  }
  const Remainder remainder = RemainderOfDigits(parts.fractionDigits.substr(kept.size()));
  return FromSignedMagnitude(parts.negative,
                             RoundHalfEven(*whole * kScale + scaledDecimals, remainder));
}

bool Fixed4::DropsDigits(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  const DecimalParts parts = ScanDecimal(trimmed);
  if (!parts.HasDigits() || parts.length != trimmed.size() || !Parse(text)) return false;
  const std::string_view beyond =
      parts.fractionDigits.substr(std::min<std::size_t>(parts.fractionDigits.size(), kDecimals));
  return beyond.find_first_not_of('0') != std::string_view::npos;
}

int Fixed4::TypedDecimals(std::string_view text) {
  const std::size_t digits = ScanDecimal(TrimBlanks(text)).fractionDigits.size();
  return static_cast<int>(std::min<std::size_t>(digits, kDecimals));
}

std::optional<Fixed4> Fixed4::FromDouble(double value) {
  if (!std::isfinite(value)) {
    return std::nullopt;
  }
  // |value| = mantissa * 2^exponent with a whole 53-bit mantissa.
  int binaryExponent = 0;
  const double fraction = std::frexp(std::fabs(value), &binaryExponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int exponent = binaryExponent - 53;
  const WideMagnitude scaled = WideMagnitude{mantissa} * kScale;  // below 2^67
  const bool negative = value < 0;
  if (exponent >= 0) {
    // Any exponent above 60 is far out of range; the shift stays inside 128 bits.
    return exponent > 60 ? std::nullopt : FromSignedMagnitude(negative, scaled << exponent);
  }
  // Below 2^-100 the scaled value is far less than half a ten-thousandth.
  if (-exponent > 100) {
    return Fixed4{};
  }
  return FromSignedMagnitude(negative, DivideHalfEven(scaled, WideMagnitude{1} << -exponent));
}

std::optional<Fixed4> Fixed4::FromInteger(std::int64_t value) {
  return FromWide(Wide{value} * kScale);
}

double Fixed4::ToDouble() const {
  // Below 2^53 both operands are exact and the division rounds once.
  constexpr std::int64_t kExactLimit = std::int64_t{1} << 53;
  if (raw_ >= -kExactLimit && raw_ <= kExactLimit) {
    return static_cast<double>(raw_) / kScale;
  }
  return DecimalToDouble(ToPlainText()).value_or(0.0);
}

std::string Fixed4::ToPlainText() const {
  const WideMagnitude magnitude = MagnitudeOf(raw_);
  std::string text = raw_ < 0 ? "-" : "";
  text += std::to_string(static_cast<std::uint64_t>(magnitude / kScale));
  const auto decimals = static_cast<std::int64_t>(magnitude % kScale);
  if (decimals != 0) {
    std::string digits = std::to_string(decimals + kScale).substr(1);  // zero-padded to four
    digits.erase(digits.find_last_not_of('0') + 1);
    text += '.' + digits;
  }
  return text;
}

std::optional<Fixed4> Add(Fixed4 left, Fixed4 right) {
  return FromWide(Wide{left.raw()} + right.raw());
}

std::optional<Fixed4> Subtract(Fixed4 left, Fixed4 right) {
  return FromWide(Wide{left.raw()} - right.raw());
}

std::optional<Fixed4> Multiply(Fixed4 left, Fixed4 right) {
  const bool negative = (left.raw() < 0) != (right.raw() < 0);
  const WideMagnitude product = MagnitudeOf(left.raw()) * MagnitudeOf(right.raw());
  return FromSignedMagnitude(negative, DivideHalfEven(product, Fixed4::kScale));
}

}  // namespace quillon
