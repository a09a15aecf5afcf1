#include "stats/fixed4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {
namespace {

constexpr std::int64_t kMaxRaw = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinRaw = std::numeric_limits<std::int64_t>::min();
constexpr std::nullopt_t kNone = std::nullopt;

std::optional<std::int64_t> RawOf(const std::optional<Fixed4>& value) {
  return value ? std::optional<std::int64_t>(value->raw()) : std::nullopt;
}

void ExpectParsed(const std::vector<std::pair<std::string, std::optional<std::int64_t>>>& cases) {
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(RawOf(Fixed4::Parse(text)), expected) << '"' << text << '"';
  }
}

TEST(Fixed4Parse, ReadsPlainDecimalsOnly) {
  ExpectParsed({{"12", 120000},
                {"-3.5", -35000},
                {" +.25 ", 2500},
                {"5.", 50000},
                {"\t7\t", 70000},
                {"-0", 0},
                {"007.5000", 75000},
                {std::string(40, '0') + "1", 10000}});
  for (const char* text : {"", " ", "-", "+", ".", "-.", "1.2.3", "1e3", "3中4", "1,5", "- 1",
                           "1 2", "0x10", "--1", "+-1", "12。5"}) {
    EXPECT_EQ(RawOf(Fixed4::Parse(text)), kNone) << '"' << text << '"';
  }
}

TEST(Fixed4Parse, RoundsTheFifthDecimalHalvesToEven) {
  ExpectParsed({{"1.00005", 10000},
                {"1.00015", 10002},
                {"1.000050001", 10001},
                {"1.000049999999", 10000},
                {"0.99995", 10000},
                {"0.00005", 0},
                {"-1.00005", -10000},
                {"-1.00015", -10002}});
}

TEST(Fixed4Parse, KeepsTheSixtyFourBitRange) {
  // Rounding may carry a value out of the range, or keep it inside.
  ExpectParsed({{"922337203685477.5807", kMaxRaw},
                {"922337203685477.5808", kNone},
                {"-922337203685477.5808", kMinRaw},
                {"-922337203685477.5809", kNone},
                {"922337203685477.58065", kMaxRaw - 1},
                {"922337203685477.58075", kNone},
                {"1" + std::string(40, '0'), kNone}});
}

TEST(Fixed4FromDouble, RoundsTheExactBinaryValue) {
  const std::vector<std::pair<double, std::optional<std::int64_t>>> cases = {
      {0.1, 1000},
      {-2.5, -25000},
      // Exact binary ties go to the even neighbour.
      {0.03125, 312},
      {0.09375, 938},
      {-0.03125, -312},
      // The doubles nearest to these decimal ties lie above, above and below them.
      {1.00005, 10001},
      {0.00005, 1},
      {-2.22795, -22279},
      {1e-300, 0},
      {-5e-324, 0},
      {9e14, 9'000'000'000'000'000'000},
      {std::nan(""), kNone},
      {-std::numeric_limits<double>::infinity(), kNone},
      {1e15, kNone},
      {-1e300, kNone}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(RawOf(Fixed4::FromDouble(value)), expected) << value;
  }
}

TEST(Fixed4Conversions, ScaleIntegersAndGiveTheNearestDouble) {
  EXPECT_EQ(RawOf(Fixed4::FromInteger(-922337203685477)), -9223372036854770000);
  EXPECT_EQ(RawOf(Fixed4::FromInteger(922337203685478)), kNone);
  EXPECT_EQ(Fixed4::FromRaw(1000).ToDouble(), 0.1);
  EXPECT_EQ(Fixed4::FromRaw(kMaxRaw).ToDouble(), 922337203685477.5807);
  // Converting the raw count to double first would round twice and give ...814.9.
  EXPECT_EQ(Fixed4::FromRaw(6402900570728149493).ToDouble(), 640290057072815.0);
}

TEST(Fixed4ToPlainText, DropsTrailingZerosAndTheBarePoint) {
  const std::vector<std::pair<std::int64_t, std::string>> cases = {
      {120000, "12"},
      {125000, "12.5"},
      {-30000, "-3"},
      {0, "0"},
      {-1, "-0.0001"},
      {kMinRaw, "-922337203685477.5808"},
      {kMaxRaw, "922337203685477.5807"}};
  for (const auto& [raw, expected] : cases) {
    EXPECT_EQ(Fixed4::FromRaw(raw).ToPlainText(), expected);
  }
}

TEST(Fixed4Arithmetic, AddsAndSubtractsUpToTheRangeEdges) {
  const Fixed4 tick = Fixed4::FromRaw(1);
  EXPECT_EQ(RawOf(Add(Fixed4::FromRaw(15000), Fixed4::FromRaw(-25000))), -10000);
  EXPECT_EQ(RawOf(Add(Fixed4::FromRaw(kMaxRaw - 1), tick)), kMaxRaw);
  EXPECT_EQ(RawOf(Add(Fixed4::FromRaw(kMaxRaw), tick)), kNone);
  EXPECT_EQ(RawOf(Subtract(Fixed4::FromRaw(kMinRaw), tick)), kNone);
  EXPECT_EQ(RawOf(Subtract(Fixed4{}, Fixed4::FromRaw(kMinRaw))), kNone);
}

TEST(Fixed4Arithmetic, MultipliesWithTheProductRoundedHalvesToEven) {
  const std::int64_t hundredMillion = 100'000'000LL * Fixed4::kScale;
  const std::vector<std::pair<std::pair<std::int64_t, std::int64_t>, std::optional<std::int64_t>>>
      cases = {{{15000, 15000}, 22500},
               {{1, 5000}, 0},
               {{3, 5000}, 2},
               {{-3, 5000}, -2},
               {{3, -5001}, -2},
               {{kMinRaw, 10000}, kMinRaw},
               {{kMinRaw, -10000}, kNone},
               {{hundredMillion, hundredMillion}, kNone},
               {{kMaxRaw, kMaxRaw}, kNone}};
  for (const auto& [factors, expected] : cases) {
    const auto [left, right] = factors;
    EXPECT_EQ(RawOf(Multiply(Fixed4::FromRaw(left), Fixed4::FromRaw(right))), expected)
        << left << " * " << right;
  }
}

}  // namespace
}  // namespace quillon
