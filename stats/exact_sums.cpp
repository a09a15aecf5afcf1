#include "stats/exact_sums.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

Int256 Wide(Fixed4 value) { return Int256(value.raw()); }
// A square or product of two values: below 2^126 in magnitude, exact in 128 bits.
Int256 Product(Fixed4 left, Fixed4 right) { return Int256(Int128{left.raw()} * right.raw()); }
}  // namespace

double ToDouble(const Int256& value) { return value.convert_to<double>(); }
double ToDouble(const Int512& value) { return value.convert_to<double>(); }

Int512 Widen(const Int256& value) {
  // Limb by limb: a plain conversion between the two widths trips a false array-bounds warning
  // in GCC 12.
  const Int256 magnitude = abs(value);
  const Int256 lowMask = (Int256(1) << 128) - 1;
  const auto high = static_cast<UInt128>(magnitude >> 128);
  const auto low = static_cast<UInt128>(magnitude & lowMask);
  const Int512 wide = (Int512(high) << 128) | Int512(low);
  return value < 0 ? Int512(-wide) : wide;
}

Int512 DivideHalfEven(const Int512& numerator, const Int512& divisor) {
  Int512 quotient = numerator / divisor;  // truncated towards zero
  const Int512 twiceRest = abs(numerator % divisor) * 2;
  const Int512 magnitude = abs(divisor);
  if (twiceRest > magnitude || (twiceRest == magnitude && quotient % 2 != 0)) {
    quotient += (numerator < 0) != (divisor < 0) ? -1 : 1;
  }
  return quotient;
}

double SquareRootOfRatio(const Int512& numerator, const Int512& denominator) {
  using boost::multiprecision::cpp_int;
  using boost::multiprecision::msb;
  if (numerator <= 0 || denominator <= 0) return 0.0;
  // Scale by 4^k so that the integer quotient has at least 130 bits and its root at least 65.
  const long spare = static_cast<long>(msb(numerator)) - static_cast<long>(msb(denominator));
  const long k = std::max(0L, (131 - spare + 1) / 2);
  const cpp_int quotient = (cpp_int(numerator) << (2 * k)) / cpp_int(denominator);
  const cpp_int root = boost::multiprecision::sqrt(quotient);
  return std::ldexp(root.convert_to<double>(), static_cast<int>(-k));
}

void GroupSums::Add(Fixed4 x) {
  ++count;
  sum += Wide(x);
  sumOfSquares += Product(x, x);
}

void GroupSums::Remove(Fixed4 x) {
  --count;
  sum -= Wide(x);
  sumOfSquares -= Product(x, x);
}

void PairSums::Add(Fixed4 x, Fixed4 y) {
  ++count;
  sumX += Wide(x);
  sumY += Wide(y);
  sumXX += Product(x, x);
  sumYY += Product(y, y);
  sumXY += Product(x, y);
}

void PairSums::Remove(Fixed4 x, Fixed4 y) {
  --count;
  sumX -= Wide(x);
  sumY -= Wide(y);
  sumXX -= Product(x, x);
  sumYY -= Product(y, y);
  sumXY -= Product(x, y);
}

Int256 PairSums::CentredXX() const { return count * sumXX - sumX * sumX; }
Int256 PairSums::CentredYY() const { return count * sumYY - sumY * sumY; }
Int256 PairSums::CentredXY() const { return count * sumXY - sumX * sumY; }

Int256 CentredSumOfSquares(const GroupSums& sums) {
  return sums.count * sums.sumOfSquares - sums.sum * sums.sum;
}

}  // namespace quillon
