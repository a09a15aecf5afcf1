#pragma once
// A least-significant-digit radix sort of items by a signed 64-bit key: the rank tests sort
// every column of the grid on each keystroke, and at 32,776 values this costs a small share of
// a comparison sort. The keys are taken less the smallest, and the digits are as wide as the
// range then needs and at most 11 bits, so that values spanning a few million ten-thousandths
// take two passes. Stable.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

namespace quillon {

// Sorts items ascending by key(item) (an std::int64_t); scratch is any vector, left resized.
template <typename Item, typename Key>
void RadixSort(std::vector<Item>& items, std::vector<Item>& scratch, Key key) {
  constexpr int kWidest = 11;
  constexpr std::size_t kFew = 256;  // fewer are sorted by comparison
  const std::size_t n = items.size();
  if (n < kFew) {
    std::stable_sort(items.begin(), items.end(),
                     [&](const Item& a, const Item& b) { return key(a) < key(b); });
    return;
  }
  std::int64_t low = key(items[0]);
  std::int64_t high = low;
  for (const Item& item : items) {
    const std::int64_t k = key(item);
    low = std::min(low, k);
    high = std::max(high, k);
  }
  const std::uint64_t range = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
  if (range == 0) return;
  const int bits = std::bit_width(range);
  const int passes = (bits + kWidest - 1) / kWidest;
  const int width = (bits + passes - 1) / passes;
  const std::uint64_t mask = (std::uint64_t{1} << width) - 1;
  std::vector<std::size_t> count(std::size_t{1} << width);
  scratch.resize(n);
  for (int shift = 0; shift < bits; shift += width) {
    const auto digit = [&](const Item& item) {
      return ((static_cast<std::uint64_t>(key(item)) - static_cast<std::uint64_t>(low)) >> shift) &
             mask;
    };
    std::fill(count.begin(), count.end(), 0);
    for (const Item& item : items) ++count[digit(item)];
    std::size_t place = 0;
    for (std::size_t& c : count) place += std::exchange(c, place);
    for (const Item& item : items) scratch[count[digit(item)]++] = item;
    items.swap(scratch);
  }
}

}  // namespace quillon
