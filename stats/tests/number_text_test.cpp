#include "stats/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace quillon {
namespace {

using TextCases = std::vector<std::pair<std::string, std::string>>;

void ExpectFormatted(const TextCases& cases) {
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(FormatFixed4(text), expected) << '"' << text << '"';
  }
}

TEST(PlainNumberText, WritesFifteenSignificantDigitsWithoutTrailingZeros) {
  const std::vector<std::pair<double, std::string>> cases = {
      {3.0, "3"},
      {0.5, "0.5"},
      {-0.25, "-0.25"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {-2.0 / 3, "-0.666666666666667"},
      {0.0, "0"},
      {-0.0, "0"},
      // Fixed notation from 1E-04 up to below 1E+15, judged after the rounding.
      {1e-4, "0.0001"},
      {0.00009999999999999999, "0.0001"},
      {9.99999999999999e-5, "9.99999999999999E-05"},
      {4e-5, "4E-05"},
      {-2.25e-7, "-2.25E-07"},
      {999999999999999.0, "999999999999999"},
      {999999999999999.9, "1E+15"},
      {-1.5e15, "-1.5E+15"},
      {123456789012345678.0, "1.23456789012346E+17"},
      {std::nan(""), ""},
      {-std::numeric_limits<double>::infinity(), ""}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(PlainNumberText(value), expected) << expected;
  }
}

TEST(FormatFixed4, WritesExactlyFourDecimals) {
  ExpectFormatted({{"0", "0.0000"},
                   {"3", "3.0000"},
                   {"100", "100.0000"},
                   {"12.345678", "12.3457"},
                   {" 7 ", "7.0000"},
                   {"+2", "2.0000"},
                   {"2.5e2", "250.0000"},
                   {"1E+15", "1000000000000000.0000"}});
}

TEST(FormatFixed4, RepairsALeadingPoint) {
  ExpectFormatted({{".5", "0.5000"},
                   {"-.5", "-0.5000"},
                   {".", "0.0000"},
                   // Every "-." is repaired; a text still no number comes back repaired.
                   {"-.5-.5", "-0.5-0.5"},
                   {".5.", "0.5."}});
}

TEST(FormatFixed4, RoundsTheFifteenDigitFormHalvesAwayFromZero) {
  // The double nearest to 2.22795 lies below the tie; its 15-digit form does not.
  ExpectFormatted({{"1.00005", "1.0001"},
                   {"2.22795", "2.2280"},
                   {"-2.22795", "-2.2280"},
                   {"9.99995", "10.0000"},
                   {"4E-05", "0.0000"},
                   {"5E-05", "0.0001"},
                   {"-5E-05", "-0.0001"},
                   // A negative value that rounds to zero loses its minus.
                   {"-4E-05", "0.0000"},
                   {"-0", "0.0000"},
                   {"-0.00001", "0.0000"}});
}

TEST(FormatFixed4, ReturnsTextsThatAreNoNumberUnchanged) {
  for (const char* text : {"", " ", "abc", "-", "1.2.3", "1e", "e5", "1e+", "--1", "1,5", "∝"}) {
    EXPECT_EQ(FormatFixed4(text), text) << '"' << text << '"';
  }
}

TEST(FormatFixed4, ValuesTooSmallForADoubleAreZero) {
  EXPECT_EQ(FormatFixed4("1e-400"), "0.0000");
  EXPECT_EQ(FormatFixed4("-1E-400"), "0.0000");
  EXPECT_EQ(FormatFixed4("." + std::string(400, '0') + "2"), "0.0000");
  EXPECT_EQ(FormatFixed4("1e400"), "1e400");  // too large: not a number this program can show
}

TEST(FormatFixed4, FormatsADoubleThroughItsPlainText) {
  EXPECT_EQ(FormatFixed4(2.22795), "2.2280");
  EXPECT_EQ(FormatFixed4(std::sqrt(5.0)), "2.2361");
  EXPECT_EQ(FormatFixed4(4e-5), "0.0000");
  EXPECT_EQ(FormatFixed4(-1e-9), "0.0000");
  EXPECT_EQ(FormatFixed4(1e20), "100000000000000000000.0000");
  EXPECT_EQ(FormatFixed4(-123456.78), "-123456.7800");
  // The fifteen digits of the largest double round beyond the double range.
  EXPECT_EQ(FormatFixed4(-std::numeric_limits<double>::max()),
            "-179769313486232" + std::string(294, '0') + ".0000");
  EXPECT_EQ(FormatFixed4(std::numeric_limits<double>::infinity()), "");
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartAsFarAsItGoes) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"2.101", 2.101}, {" 12.70x", 12.7}, {"\t 4", 4.0}, {"-3.5abc", -3.5},         {"+.5", 0.5},
      {"5.", 5.0},      {"1.2.3", 1.2},    {"1e3", 1.0},  {"1000     1.962", 1000.0}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(LeadingNumber(text), expected) << '"' << text << '"';
  }
  for (const char* text : {"", "   ", "∝", "-----", ".", "-", "+.", "x1", "- 1"}) {
    EXPECT_EQ(LeadingNumber(text), 0.0) << '"' << text << '"';
    EXPECT_EQ(LeadingNumberText(text), "") << '"' << text << '"';
  }
}

TEST(ReplaceFullStops, ReplacesEveryFullWidthFullStop) {
  EXPECT_EQ(ReplaceFullStops("12。5"), "12.5");
  EXPECT_EQ(ReplaceFullStops("。中。文。"), ".中.文.");
  EXPECT_EQ(ReplaceFullStops(""), "");
}

TEST(ReplaceFullWidthDigits, ReplacesTheDigitsThePointAndTheMinusOnly) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"０１２３４５６７８９", "0123456789"},
      {"１２．５", "12.5"},
      {"－３", "-3"},
      {"1２a", "12a"},
      // Their neighbours in the full-width block, and the full stop, stay.
      {"／＋，：ｅ＝", "／＋，：ｅ＝"},
      {"3。5", "3。5"},
      {"中文", "中文"},
      // A cut-off sequence is left as it is.
      {"\xEF\xBC", "\xEF\xBC"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ReplaceFullWidthDigits(text), expected) << text;
  }
}

}  // namespace
}  // namespace quillon
