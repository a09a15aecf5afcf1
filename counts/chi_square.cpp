#include "counts/chi_square.h"

#include <limits>

#include "stats/exact_sums.h"
#include "stats/number_text.h"
#include "stats/significance.h"

namespace quillon {

namespace {

// Cells, margins and their sums are held in ten-thousandths, products of two in 10^-8.
const Int256 kScale = Fixed4::kScale;

Int256 Raw(const std::optional<Fixed4>& cell) { return Int256(cell ? cell->raw() : 0); }

struct Cells {
  Int256 a, b, c, d;
};
Cells RawCells(const FourfoldCells& cells) {
  return {Raw(cells[0]), Raw(cells[1]), Raw(cells[2]), Raw(cells[3])};
}

// Column totals a + c, b + d, row totals a + b, c + d.
struct Margins {
  Int256 column1, column2, row1, row2;
};
Margins MarginsOf(const Cells& cells) {
  return {cells.a + cells.c, cells.b + cells.d, cells.a + cells.b, cells.c + cells.d};
}

// A number of ten-thousandths written with at most four decimals, without trailing zeros.
std::string PlainText(const Int256& raw) {
  std::string digits = abs(raw).str();
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  const std::size_t point = digits.size() - 4;
  std::string decimals = digits.substr(point);
  decimals.erase(decimals.find_last_not_of('0') + 1);
  std::string text = (raw < 0 ? "-" : "") + digits.substr(0, point);
  if (!decimals.empty()) text += '.' + decimals;
  return text;
}

// The grand total (in ten-thousandths) to the nearest whole number. Four cells of at most
// 2^63 ten-thousandths each stay far inside 64 bits once divided by 10000.
std::int64_t WholeTotal(const Int256& grandTotal) {
  return static_cast<std::int64_t>(DivideHalfEven(Widen(grandTotal), Widen(kScale)));
}

double Quotient(const Int512& numerator, const Int512& divisor) {
  return ToDouble(numerator) / ToDouble(divisor);
}

}  // namespace

FourfoldCells ReadFourfoldCells(const std::array<std::string, 4>& texts) {
  FourfoldCells cells;
  for (std::size_t i = 0; i < texts.size(); ++i) cells[i] = Fixed4::Parse(texts[i]);
  return cells;
}

FourfoldTotals TotalFourfoldTable(const FourfoldCells& cells) {
  const Margins m = MarginsOf(RawCells(cells));
  const Int256 grandTotal = m.row1 + m.row2;
  return {
      .margins = {PlainText(m.column1), PlainText(m.column2), PlainText(m.row1), PlainText(m.row2)},
      .grandTotal = PlainText(grandTotal),
      .n = WholeTotal(grandTotal)};
}

FourfoldChiSquareResult FourfoldChiSquare(const FourfoldCells& cells) {
  const Cells x = RawCells(cells);
  const Margins m = MarginsOf(x);
  const std::int64_t n = WholeTotal(m.row1 + m.row2);
  FourfoldChiSquareResult result;
  result.n = std::to_string(n);
  result.wholeN = n;

  // Expected counts: row total x column total (in 10^-8) over n. The one of d is held to four
  // decimals; when it cannot be (n = 0, or beyond the fixed-point range) it stays 0.
  std::array<std::optional<double>, 3> expectedABC;
  Fixed4 expectedD;
  if (n != 0) {
    const Int512 nScaled = Widen(Int256(n) * kScale * kScale);
    expectedABC = {Quotient(Widen(m.row1 * m.column1), nScaled),
                   Quotient(Widen(m.row1 * m.column2), nScaled),
                   Quotient(Widen(m.row2 * m.column1), nScaled)};
    const Int512 rawD = DivideHalfEven(Widen(m.row2 * m.column2), Widen(Int256(n) * kScale));
    if (rawD >= std::numeric_limits<std::int64_t>::min() &&
        rawD <= std::numeric_limits<std::int64_t>::max()) {
      expectedD = Fixed4::FromRaw(static_cast<std::int64_t>(rawD));
    }
  }
  bool allAtLeast5 = expectedD >= Fixed4::FromRaw(5 * Fixed4::kScale);
  bool allAtLeast1 = expectedD >= Fixed4::FromRaw(Fixed4::kScale);
  double smallest = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < expectedABC.size(); ++i) {
    const std::optional<double>& t = expectedABC[i];
    result.expected[i] = t ? FormatFixed4(*t) : std::string();
    allAtLeast5 = allAtLeast5 && t && *t >= 5.0;
    allAtLeast1 = allAtLeast1 && t && *t >= 1.0;
    if (t && *t < smallest) {
      smallest = *t;
      result.smallestExpected = i;
    }
  }
  if (expectedD.ToDouble() < smallest) result.smallestExpected = 3;
  result.expected[3] = FormatFixed4(expectedD.ToPlainText());
  result.allExpectedAtLeast5 = allAtLeast5;
  result.allExpectedAtLeast1 = allAtLeast1;

  // chi-square = n (|ad - bc| - correction)^2 / D, every part in 10^-16 but n.
  const Int512 d = Widen(m.row1 * m.row2) * Widen(m.column1 * m.column2);
  if (d != 0) {
    const Int512 difference = Widen(abs(x.a * x.d - x.b * x.c));
    // Half of n, in 10^-8.
    const Int512 halfN = Int512(n) * 50'000'000;
    const Int512 corrected = difference - halfN;
    result.pearson = Quotient(Int512(n) * difference * difference, d);
    const double correctedValue = Quotient(Int512(n) * corrected * corrected, d);
    result.yates = corrected < 0 ? 0.0 : correctedValue;
    result.shownChiSquare = allAtLeast5 ? *result.pearson : correctedValue;
    result.chiSquare = FormatFixed4(*result.shownChiSquare);
    result.verdict = ChiSquareLevel(result.chiSquare);
  }
  if (n < 40 || !allAtLeast1) {
    result.verdict = kSmallSampleWarning;
    result.warned = true;
  }
  return result;
}

PairedChiSquareResult PairedChiSquare(const FourfoldCells& cells) {
  const Cells x = RawCells(cells);
  const Margins m = MarginsOf(x);
  PairedChiSquareResult result;
  result.n = std::to_string(WholeTotal(m.row1 + m.row2));
  const Int256 discordant = x.b + x.c;
  if (discordant == 0) return result;
  Int256 difference = abs(x.b - x.c);
  result.corrected = discordant < 40 * kScale;
  if (result.corrected) difference -= kScale;  // continuity correction of 1
  const Int512 divisor = Widen(discordant * kScale);
  result.shownChiSquare = Quotient(Widen(difference * difference), divisor);
  result.textbookChiSquare = difference < 0 ? 0.0 : *result.shownChiSquare;
  result.chiSquare = FormatFixed4(*result.shownChiSquare);
  result.verdict = ChiSquareLevel(result.chiSquare);
  return result;
}

std::string_view ChiSquareLevel(std::string_view shown) {
  const double value = LeadingNumber(shown);
  if (value >= 3.84 && value < 6.63) return VerdictText(Significance::P05);
  if (value >= 6.63) return VerdictText(Significance::P01);
  return VerdictText(Significance::NotSignificant);
}

}  // namespace quillon
