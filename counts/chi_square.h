#pragma once
// The four-fold (2 x 2) table of counts and its two chi-square tests: the test of independence
// with expected counts and a continuity correction, and the paired (McNemar) test. Every sum and
// product of cells is taken exactly in wide integers (cells are whole numbers of ten-thousandths),
// so no table the cells can hold overflows; each statistic is turned into a double once.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stats/fixed4.h"

namespace quillon {

// The cells a, b (first row) and c, d (second row); a cell that is empty or not a number has no
// value and counts as 0.
using FourfoldCells = std::array<std::optional<Fixed4>, 4>;

// Reads the four cell texts in the order a, b, c, d.
FourfoldCells ReadFourfoldCells(const std::array<std::string, 4>& texts);

// The margins and the grand total as shown beside the table.
struct FourfoldTotals {
  // Plain decimal texts without trailing zeros ("12", "12.5", "-3"), in the order of the total
  // labels: column totals a + c and b + d, row totals a + b and c + d.
  std::array<std::string, 4> margins;
  std::string grandTotal;
  // The grand total to the nearest whole number, halves to even.
  std::int64_t n = 0;
};

FourfoldTotals TotalFourfoldTable(const FourfoldCells& cells);

// The chi-square test of the four-fold table, as shown.
struct FourfoldChiSquareResult {
  // Expected counts of a, b, c, d with four decimals; empty where there is none (n = 0).
  std::array<std::string, 4> expected;
  std::string n;          // whole number text
  std::string chiSquare;  // four decimals; empty when a row or column total is 0
  // The verdict, or the small-sample warning when n < 40 or an expected count is below 1;
  // empty when there is neither a statistic nor a warning.
  std::string verdict;

  // What the rule found, as the texts above were chosen.
  std::int64_t wholeN = 0;           // n, the grand total to the nearest whole number
  bool allExpectedAtLeast5 = false;  // the plain formula is shown, not the corrected one
  bool allExpectedAtLeast1 = false;
  bool warned = false;  // the verdict is the small-sample warning
  std::size_t smallestExpected =
      0;  // the cell (0 to 3) of the smallest expected count, as compared
  std::optional<double> shownChiSquare;  // the value shown, full precision
  // Both statistics at full precision, where a row or column total is not 0: Pearson's
  // n(ad − bc)² / D, and Yates's n(max(0, |ad − bc| − n/2))² / D, which is 0 where the shown
  // corrected statistic squares a negative difference.
  std::optional<double> pearson;
  std::optional<double> yates;
};

// The warning that replaces the verdict for small samples.
inline constexpr std::string_view kSmallSampleWarning =
    "当n < 40或理论数(T)< 1时，不适合使用本法。";

// Expected counts T = row total x column total / n. With every expected count at least 5 the
// plain formula n(ad - bc)^2 / D is used, otherwise the continuity-corrected n(|ad - bc| - n/2)^2 /
// D (the corrected difference squared as it is), D being the product of the four margins.
FourfoldChiSquareResult FourfoldChiSquare(const FourfoldCells& cells);

// The paired (McNemar) test on the discordant cells b and c, as shown.
struct PairedChiSquareResult {
  std::string n;          // whole number text of the grand total
  std::string chiSquare;  // four decimals; empty when b + c = 0
  std::string verdict;    // empty when there is no statistic

  bool corrected = false;                // b + c < 40
  std::optional<double> shownChiSquare;  // the value shown, full precision
  // The corrected statistic with max(0, |b − c| − 1): 0 where the shown one squares −1.
  std::optional<double> textbookChiSquare;
};

// With b + c >= 40: (b - c)^2 / (b + c); below 40 corrected: (|b - c| - 1)^2 / (b + c).
PairedChiSquareResult PairedChiSquare(const FourfoldCells& cells);

// The verdict of a chi-square value with one degree of freedom from the text it is shown as: its
// leading number (0 when there is none) against 3.84 and 6.63: "P > 0.05", "P < 0.05" or
// "P < 0.01". A value shown as 3.8400 reaches 3.84.
std::string_view ChiSquareLevel(std::string_view shown);

}  // namespace quillon
