#pragma once
// Order statistics of the n1·n2 differences x_i − y_j of two samples and of the n(n + 1)/2 Walsh
// sums d_i + d_j (i ≤ j) of one, as the Hodges–Lehmann estimates and their intervals need them,
// found without listing the differences: 32,776 values a group make about 10⁹ of them.
//
// Both sets are the entries of a matrix whose rows and columns are sorted, so that how many
// entries lie below a value is counted in O(rows + columns) with two pointers. The k-th entry is
// then selected in the manner of Monahan's Algorithm 616 (ACM TOMS 10:265, 1984): pivots drawn
// at random among the remaining candidates close in on k, each round keeping about an eighth of
// them, until few enough are left to be listed.

#include <cstdint>
#include <span>

namespace quillon {

// Exact sums and differences of values held in ten-thousandths (Fixed4::raw()).
__extension__ using WideInt = __int128;

// The k-th smallest (k from 1 to x.size()·y.size()) of x_i − y_j; x and y sorted ascending.
WideInt KthDifference(std::span<const WideInt> x, std::span<const WideInt> y, std::int64_t k);

// Twice their median: the two middle ones added, or the middle one doubled (exact).
WideInt TwiceMedianDifference(std::span<const WideInt> x, std::span<const WideInt> y);

// The k-th smallest (k from 1 to n(n + 1)/2) of d_i + d_j over i ≤ j; d sorted ascending.
WideInt KthWalshSum(std::span<const WideInt> d, std::int64_t k);
WideInt TwiceMedianWalshSum(std::span<const WideInt> d);

// The same of values that fit in 64 bits, as the raw values of the grid do: these are read in
// place, without a wide copy.
WideInt KthDifference(std::span<const std::int64_t> x, std::span<const std::int64_t> y,
                      std::int64_t k);
WideInt TwiceMedianDifference(std::span<const std::int64_t> x, std::span<const std::int64_t> y);
WideInt KthWalshSum(std::span<const std::int64_t> d, std::int64_t k);
WideInt TwiceMedianWalshSum(std::span<const std::int64_t> d);

}  // namespace quillon
