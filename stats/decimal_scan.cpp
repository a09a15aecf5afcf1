#include "stats/decimal_scan.h"

#include <algorithm>
#include <charconv>

namespace quillon {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TakeDigits(std::string_view text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size() && IsDigit(text[end])) {
    ++end;
  }
  return text.substr(from, end - from);
}

}  // namespace

DecimalParts ScanDecimal(std::string_view text) {
  DecimalParts parts;
  std::size_t at = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    parts.negative = text[0] == '-';
    ++at;
  }
  parts.integerDigits = TakeDigits(text, at);
  at += parts.integerDigits.size();
  if (at < text.size() && text[at] == '.') {
    parts.fractionDigits = TakeDigits(text, at + 1);
    at += 1 + parts.fractionDigits.size();
  }
  parts.length = at;
  return parts;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

namespace {

// Whether a number text that from_chars found beyond the double range lies below 1 in
// magnitude, that is too small rather than too large: its first significant digit stands after
// the point once its exponent is applied.
bool BelowOne(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const std::size_t mark = text.find_first_of("eE");
  long exponent = 0;
  if (mark != std::string_view::npos) {
    std::string_view digits = text.substr(mark + 1);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    for (const char digit : digits) {
      exponent = std::min(exponent * 10 + (digit - '0'), 100000L);
    }
    if (negative) exponent = -exponent;
    text = text.substr(0, mark);
  }
  const std::size_t point = std::min(text.find('.'), text.size());
  const std::size_t first = text.find_first_of("123456789");
  if (first == std::string_view::npos) return true;  // all zeros
  // The power of ten of the first significant digit.
  const long power =
      first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
  return power + exponent < 0;
}

}  // namespace

std::optional<double> DecimalToDouble(std::string_view text) {
  // from_chars takes a minus sign but no plus sign, and never looks at the locale.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') {
      return std::nullopt;
    }
  }
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (stop != end) {
    return std::nullopt;
  }
  if (error == std::errc::result_out_of_range && BelowOne(text)) {
    return text.starts_with('-') ? -0.0 : 0.0;  // too small for a double: zero
  }
  if (error != std::errc{}) {
    return std::nullopt;
  }
  return value;
}

}  // namespace quillon
