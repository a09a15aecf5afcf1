#pragma once
// Exact running sums of fixed-point sample values. Every value is a whole number of
// ten-thousandths, so sums, squares and cross products are whole numbers too: they are kept
// exactly, in integers wide enough for any grid the program can hold, and turned into doubles
// only where a square root or a quotient is taken.

#include <boost/multiprecision/cpp_int.hpp>
#include <cstdint>

#include "stats/fixed4.h"

namespace quillon {

// Wide enough for the sum of squares of 2^60 values of the largest Fixed4 magnitude.
using Int256 = boost::multiprecision::int256_t;
// Wide enough for the product of two such sums of squares.
using Int512 = boost::multiprecision::int512_t;

// The double nearest to a wide integer.
double ToDouble(const Int256& value);
double ToDouble(const Int512& value);

// The same value in the wider type.
Int512 Widen(const Int256& value);

// numerator / divisor to the nearest whole number, halves to the even neighbour (divisor != 0).
Int512 DivideHalfEven(const Int512& numerator, const Int512& divisor);

// √(numerator / denominator) for a non-negative ratio, as the double nearest to it: the root is
// taken exactly in integers to 64 significant bits, then rounded once.
double SquareRootOfRatio(const Int512& numerator, const Int512& denominator);

// The values of one group that are numbers: n, Σx (in 10^-4) and Σx² (in 10^-8).
struct GroupSums {
  std::int64_t count = 0;
  Int256 sum;
  Int256 sumOfSquares;

  void Add(Fixed4 x);
  void Remove(Fixed4 x);

  friend bool operator==(const GroupSums&, const GroupSums&) = default;
};

// The rows whose two values are both numbers: n, Σx, Σy (in 10^-4) and Σx², Σy², Σxy (in 10^-8).
struct PairSums {
  std::int64_t count = 0;
  Int256 sumX;
  Int256 sumY;
  Int256 sumXX;
  Int256 sumYY;
  Int256 sumXY;

  void Add(Fixed4 x, Fixed4 y);
  void Remove(Fixed4 x, Fixed4 y);

  // n·Σx² − (Σx)², n·Σy² − (Σy)², n·Σxy − Σx·Σy (in 10^-8): n(n − 1) times the variances and
  // the covariance, exact.
  Int256 CentredXX() const;
  Int256 CentredYY() const;
  Int256 CentredXY() const;

  friend bool operator==(const PairSums&, const PairSums&) = default;
};

// n·Σx² − (Σx)² of one group (in 10^-8): n(n − 1) times its variance, exact.
Int256 CentredSumOfSquares(const GroupSums& sums);

}  // namespace quillon
