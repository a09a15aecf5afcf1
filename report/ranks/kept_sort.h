#pragma once
// Sorting a column that mostly differs from the last time it was sorted in one value, as it
// does after a keystroke: each slot keeps the column as it came and as it was sorted, and a
// column that differs from the kept one in one place only is mended, the old value taken out
// and the new one put in, instead of sorted again. The kept copy is only a starting point:
// the column is compared with it in full on every call, and the result is the same as a fresh
// sort's.

#include <algorithm>
#include <array>
#include <cstddef>
#include <mutex>
#include <vector>

#include "report/ranks/radix_sort.h"

namespace quillon {

// The columns the rank tests sort, each with its own slot.
enum class KeptColumn { First, Second, Differences, SpearmanFirst, SpearmanSecond, Count };

// Sorts items ascending by key(item), ties in the order they came, which must also be the
// order of Item's operator< (a plain number, or a value with its place).
template <typename Item, typename Key>
void SortKept(KeptColumn slot, std::vector<Item>& items, Key key) {
  struct Kept {
    std::vector<Item> input, sorted;
  };
  static std::mutex mutex;
  static std::array<Kept, static_cast<std::size_t>(KeptColumn::Count)> kept;
  const std::lock_guard lock(mutex);
  Kept& last = kept[static_cast<std::size_t>(slot)];
  if (last.input.size() == items.size()) {
    const auto first = std::mismatch(items.begin(), items.end(), last.input.begin());
    const bool one =
        first.first == items.end() || std::equal(first.first + 1, items.end(), first.second + 1);
    if (one) {
      if (first.first != items.end()) {
        const Item old = *first.second;
        const Item now = *first.first;
        *first.second = now;
        std::vector<Item>& s = last.sorted;
        const auto at = std::lower_bound(s.begin(), s.end(), old);
        if (old < now) {
          const auto to = std::lower_bound(at + 1, s.end(), now);
          std::move(at + 1, to, at);
          *(to - 1) = now;
        } else {
          const auto to = std::lower_bound(s.begin(), at, now);
          std::move_backward(to, at, at + 1);
          *to = now;
        }
      }
      items = last.sorted;
      return;
    }
  }
  last.input = items;
  std::vector<Item> scratch;
  RadixSort(items, scratch, key);
  last.sorted = items;
}

}  // namespace quillon
