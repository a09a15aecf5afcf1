#include "stats/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "stats/decimal_scan.h"

namespace quillon {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kFixedDecimals = 4;
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = 14;

// A value rounded to 15 significant digits: digits[0].digits[1...] times 10^exponent,
// without trailing zeros; zero is the digits "0" with exponent 0.
struct SignificantDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// The value of an exponent text that always has a sign: "+05", "-120".
int ReadExponent(std::string_view text) {
  int magnitude = 0;
  std::from_chars(text.data() + 1, text.data() + text.size(), magnitude);
  return text.front() == '-' ? -magnitude : magnitude;
}

SignificantDigits RoundToSignificantDigits(double value) {
  // "d.dddddddddddddde+XX", rounded exactly and independent of the locale.
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                     std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
  const std::size_t exponentMark = text.find('e');

  SignificantDigits result;
  result.negative = value < 0;
  result.digits.assign(1, text[0]);
  result.digits.append(text.substr(2, exponentMark - 2));
  result.digits.erase(std::max<std::size_t>(1, result.digits.find_last_not_of('0') + 1));
  result.exponent = ReadExponent(text.substr(exponentMark + 1));
  return result;
}

std::string FixedNotation(const SignificantDigits& value) {
  const std::string& digits = value.digits;
  std::string whole;
  std::string fraction;
  if (value.exponent >= 0) {
    const auto wholeLength = static_cast<std::size_t>(value.exponent) + 1;
    whole = digits.substr(0, wholeLength);
    whole.resize(wholeLength, '0');
    fraction = digits.size() > wholeLength ? digits.substr(wholeLength) : "";
  } else {
    whole = "0";
    fraction = std::string(static_cast<std::size_t>(-value.exponent - 1), '0') + digits;
  }
  return (value.negative ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string ExponentNotation(const SignificantDigits& value) {
  std::string text = value.negative ? "-" : "";
  text += value.digits.substr(0, 1);
  if (value.digits.size() > 1) {
    text += '.' + value.digits.substr(1);
  }
  const std::string exponentDigits = std::to_string(std::abs(value.exponent));
  text += value.exponent < 0 ? "E-" : "E+";
  text += (exponentDigits.size() < 2 ? "0" : "") + exponentDigits;
  return text;
}

// Adds one to a text of decimal digits; the empty text counts as 0.
void IncrementDigits(std::string& digits) {
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
    if (*digit != '9') {
      ++*digit;
      return;
    }
    *digit = '0';
  }
  digits.insert(digits.begin(), '1');
}

// The digits of the magnitude times 10^4, rounded at the first dropped digit, halves away
// from zero.
std::string ScaledRoundedDigits(const SignificantDigits& value) {
  const int lastDigitPower = value.exponent - static_cast<int>(value.digits.size()) + 1;
  const int shift = lastDigitPower + kFixedDecimals;
  if (shift >= 0) {
    return value.digits + std::string(static_cast<std::size_t>(shift), '0');
  }
  const int keep = static_cast<int>(value.digits.size()) + shift;
  if (keep < 0) {
    return "0";
  }
  std::string kept = value.digits.substr(0, static_cast<std::size_t>(keep));
  if (value.digits[static_cast<std::size_t>(keep)] >= '5') {
    IncrementDigits(kept);
  }
  return kept.empty() ? "0" : kept;
}

std::string FourDecimals(const SignificantDigits& value) {
  std::string digits = ScaledRoundedDigits(value);
  const bool negative = value.negative && digits.find_first_not_of('0') != std::string::npos;
  if (digits.size() <= kFixedDecimals) {
    digits.insert(0, kFixedDecimals + 1 - digits.size(), '0');
  }
  digits.insert(digits.size() - kFixedDecimals, 1, '.');
  return (negative ? "-" : "") + digits;
}

// ".5" -> "0.5"; "-.5" -> "-0.5", every "-." of the text replaced.
std::string RepairLeadingPoint(std::string_view text) {
  if (text.starts_with('.')) {
    return std::string("0").append(text);
  }
  std::string repaired(text);
  if (text.starts_with("-.")) {
    for (std::size_t at = repaired.find("-."); at != std::string::npos;
         at = repaired.find("-.", at + 3)) {
      repaired.replace(at, 2, "-0.");
    }
  }
  return repaired;
}

// Whether the rest of a number text is an exponent: "e" or "E", an optional sign, digits.
bool IsExponent(std::string_view text) {
  if (text.empty() || (text[0] != 'e' && text[0] != 'E')) {
    return false;
  }
  text.remove_prefix(1);
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    text.remove_prefix(1);
  }
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The value of a number text: surrounding blanks, a sign, digits with at most one point and
// at least one digit, an optional exponent.
std::optional<double> ReadNumberText(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  const DecimalParts parts = ScanDecimal(trimmed);
  const std::string_view rest = trimmed.substr(parts.length);
  if (!parts.HasDigits() || (!rest.empty() && !IsExponent(rest))) {
    return std::nullopt;
  }
  return DecimalToDouble(trimmed);
}

}  // namespace

std::string PlainNumberText(double value) {
  if (!std::isfinite(value)) {
    return "";
  }
  if (value == 0) {
    return "0";
  }
  const SignificantDigits rounded = RoundToSignificantDigits(value);
  const bool fixed =
      rounded.exponent >= kSmallestFixedExponent && rounded.exponent <= kLargestFixedExponent;
  return fixed ? FixedNotation(rounded) : ExponentNotation(rounded);
}

std::string FormatFixed4(std::string_view text) {
  std::string working = RepairLeadingPoint(text);
  const std::optional<double> value = ReadNumberText(working);
  return value ? FourDecimals(RoundToSignificantDigits(*value)) : working;
}

std::string FormatFixed4(double value) {
  // From the rounded digits themselves: the plain text of a value next to the largest double
  // rounds up beyond the double range and would not read back.
  return std::isfinite(value) ? FourDecimals(RoundToSignificantDigits(value)) : "";
}

std::string_view LeadingNumberText(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    return {};
  }
  const DecimalParts parts = ScanDecimal(text.substr(start));
  return parts.HasDigits() ? text.substr(start, parts.length) : std::string_view{};
}

double LeadingNumber(std::string_view text) {
  return DecimalToDouble(LeadingNumberText(text)).value_or(0.0);
}

std::string ReplaceFullStops(std::string_view text) {
  constexpr std::string_view kFullStop = "\xE3\x80\x82";  // U+3002
  std::string result;
  result.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at).starts_with(kFullStop)) {
      result += '.';
      at += kFullStop.size();
    } else {
      result += text[at++];
    }
  }
  return result;
}

std::string ReplaceFullWidthDigits(std::string_view text) {
  // U+FF0D "－", U+FF0E "．" and U+FF10 to U+FF19 "０" to "９": in UTF-8 the two bytes EF BC and a
  // third that lies 0x60 above the ASCII form's byte.
  constexpr std::string_view kLead = "\xEF\xBC";
  constexpr int kOffset = 0x60;
  const auto mapped = [](unsigned char third) {
    return third == 0x8D || third == 0x8E || (third >= 0x90 && third <= 0x99);
  };
  std::string result;
  result.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at).starts_with(kLead) && at + 2 < text.size() &&
        mapped(static_cast<unsigned char>(text[at + 2]))) {
      result += static_cast<char>(static_cast<unsigned char>(text[at + 2]) - kOffset);
      at += 3;
    } else {
      result += text[at++];
    }
  }
  return result;
}

}  // namespace quillon
