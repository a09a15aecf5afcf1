#include "stats/decimal_scan.h"

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
  if (error != std::errc{} || stop != end) {
    return std::nullopt;
  }
  return value;
}

}  // namespace quillon
