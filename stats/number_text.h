#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The plain text of a computed value: rounded to 15 significant digits, no trailing zeros, no
// point for whole numbers ("3", "0.5", "-12.25"); magnitudes from 1E-04 up to below 1E+15 in
// fixed notation, others as "4E-05" or "1.5E+15". Zero (also negative zero) gives "0", and a
// value that is not finite has no text: "".
std::string PlainNumberText(double value);

// A number text with at least one digit before the point and exactly four after it, rounded
// at the fifth decimal of its 15-significant-digit form, halves away from zero: "12.345678" ->
// "12.3457", ".5" -> "0.5000", "-.25" -> "-0.2500". A leading "." or "-." is repaired first; a
// text that is not a number (the empty text too) comes back as repaired. A value that rounds to
// zero has no minus sign.
std::string FormatFixed4(std::string_view text);

// The value shown with four decimals: FormatFixed4 of its plain text.
std::string FormatFixed4(double value);

// The sign, digits and at most one point at the start of text, after leading spaces and tabs,
// as far as they go; the empty text when they hold no digit.
std::string_view LeadingNumberText(std::string_view text);

// The value of LeadingNumberText, 0 when there is none: "2.101" -> 2.101, " 12.70x" -> 12.7,
// "∝" -> 0, "1e3" -> 1.
double LeadingNumber(std::string_view text);

// The text with every full-width full stop "。" replaced by ".".
std::string ReplaceFullStops(std::string_view text);

// The text with the full-width characters of a number that a Chinese input method types in its
// full-width mode replaced by their ASCII forms: the digits "０" to "９", the point "．" and the
// minus "－". Every other character stays.
std::string ReplaceFullWidthDigits(std::string_view text);

}  // namespace quillon
