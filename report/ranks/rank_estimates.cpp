#include "report/ranks/rank_estimates.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace quillon {

namespace {

// Pivots are drawn from a sample of this many candidates, at this many places either side of
// where the k-th would fall in it (about three standard deviations of that place): the k-th then
// lies between them nearly always, with about a tenth of the candidates.
constexpr int kSample = 2048;
constexpr int kReach = 96;
// The first pivots come from every kStride-th row and column instead, a sample of a 256th of
// the entries whose own k-th entries cost little to select (recursively, the same way): their
// places, three standard deviations either side, bracket the k-th with a few thousandths of
// the entries in one pass.
constexpr std::int64_t kStride = 16;
constexpr std::int64_t kSmallest = 64;  // rows and columns of a sample worth taking
// A hint that missed by at most kGallopReach times its band's candidates is followed by at
// most kGallops bands beyond it before the selection starts afresh.
constexpr std::int64_t kGallopReach = 4;
constexpr int kGallops = 3;
// The values kept about an entry lie this share of a row's or a column's length below and above
// it: most keystrokes move its rank by less, and one that moves it further costs a gallop.
constexpr std::int64_t kReachShare = 4;

// Two values about an entry, kept for the next selection near the same place: the entries a
// quarter of a row's or a column's length (kReachShare) below and above it where the last
// selection listed them, otherwise the pivots that last closed in on it, or the entry itself
// twice where it ties with more than a listing holds. A keystroke changes one value, which
// moves an entry's rank by at most a row's or a column's length, and mostly by much less: the
// old values mostly still bracket it closely enough to list what lies between them after one
// pass. Only a guess: the pass checks it, and a miss costs a gallop or a fresh start.
struct Hint {
  bool valid = false;
  WideInt low = 0, high = 0;
};

// The hints of the last selections, by kind (differences or Walsh sums) and by where the entry
// lies among all, in thousandths (the lower bound, the median and the upper bound of an
// interval each keep their own).
class Hints {
 public:
  static Hint Get(bool walsh, std::int64_t k, std::int64_t count) {
    const std::lock_guard lock(Mutex());
    const auto found = Map().find(Key(walsh, k, count));
    return found == Map().end() ? Hint{} : found->second;
  }

  static void Put(bool walsh, std::int64_t k, std::int64_t count, const Hint& hint) {
    const std::lock_guard lock(Mutex());
    if (Map().size() >= 32) Map().clear();
    Map()[Key(walsh, k, count)] = hint;
  }

 private:
  static std::pair<bool, std::int64_t> Key(bool walsh, std::int64_t k, std::int64_t count) {
    return {walsh, std::llround(1000.0 * static_cast<double>(k) / static_cast<double>(count))};
  }
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
  static std::map<std::pair<bool, std::int64_t>, Hint>& Map() {
    static std::map<std::pair<bool, std::int64_t>, Hint> map;
    return map;
  }
};

// An allocator that leaves new elements uninitialised: the selection's row bounds are written
// before they are read, and zeroing them first would cost as much as a pass.
template <typename T>
struct Uninitialised : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = Uninitialised<U>;
  };
  Uninitialised() = default;
  template <typename U>
  explicit Uninitialised(const Uninitialised<U>&) {}
  template <typename U>
  void construct(U* place) {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};
using Ends = std::vector<std::int64_t, Uninitialised<std::int64_t>>;

// Where the candidates below a pivot end in each row, and where those not above it end.
struct Bounds {
  std::int64_t less = 0, notAbove = 0;  // how many candidates of each
  Ends lessEnd, notAboveEnd;
};

// The entries row[i] + column[j] of a matrix, row and column ascending, so that the entries
// ascend along each row and down each column; row i takes part from column start[i] on. T is
// the type of the entries: 64 bits where the values allow it, which halves the cost of the
// comparisons. Whether an entry lies beyond a pivot is whether column[j] lies beyond the pivot
// less row[i], so that a pass compares each column value it reads with one bound a row.
template <typename T>
class Selection {
 public:
  Selection(std::span<const T> row, std::span<const T> column, Ends start)
      : rows_(static_cast<std::int64_t>(row.size())),
        columns_(static_cast<std::int64_t>(column.size())),
        lo_(std::move(start)),
        hi_(rows_, columns_),
        row_(row),
        column_(column) {}

  // The k-th entry; with next, also the (k + 1)-th where the last step has it at hand.
  // With hint, its pivots start the search, and the pivots of the last band kept replace them.
  T Kth(std::int64_t k, std::optional<T>* next = nullptr, Hint* hint = nullptr) {
    std::int64_t rank = k - 1;  // among the candidates left
    std::mt19937_64 random(20261208);
    Ends prefix(rows_ + 1);
    prefix[0] = 0;
    std::vector<T> sample(kSample);
    // Listing twice as many candidates as a pass reads costs less than another pass.
    const std::int64_t listed = std::max<std::int64_t>(2 * (rows_ + columns_), 4096);
    Bounds a, b;
    T low = 0;
    T high = 0;
    bool bracketed = false;
    bool hinted = hint != nullptr && hint->valid;
    if (hinted) {
      low = static_cast<T>(hint->low);
      high = static_cast<T>(hint->high);
      bracketed = true;
    } else {
      bracketed = Bracket(k, low, high);
    }
    const Ends start = hinted ? lo_ : Ends();
    Hint kept;
    // After a hint that missed, bands twice as wide beyond it, a few times.
    bool galloping = hinted;
    int gallops = 0;
    for (;; bracketed = galloping, hinted = false) {
      for (std::int64_t i = 0; i < rows_; ++i) prefix[i + 1] = prefix[i] + hi_[i] - lo_[i];
      const std::int64_t left = prefix[rows_];
      if (left <= listed) return Listed(left, rank, next, hint, kept);
      if (!bracketed) Sampled(random, prefix, left, rank, sample, low, high);
      // Mostly the candidates from low to high, both kept, are all a pass needs to tell apart;
      // only where they are all there are (every one equal to a pivot) are the ties split off.
      Count<true>(low, high, a, b);
      const bool missed = rank < a.less || rank >= b.notAbove;
      // How many candidates lie between the entry and the band, and how many in it.
      const std::int64_t beyond = rank < a.less ? a.less - rank : rank - b.notAbove + 1;
      const std::int64_t band = b.notAbove - a.less + 1;
      if (galloping && missed && beyond <= kGallopReach * band && ++gallops <= kGallops) {
        // The entry lies beyond one of the two, close by: the candidates on that side are
        // kept, and the next band reaches about twice as far beyond as the entries in this
        // one, spread alike, would.
        const WideInt width = 2 * (beyond / band + 1) * (WideInt{high} - WideInt{low} + 1);
        if (rank < a.less) {
          hi_.swap(a.lessEnd);
          high = low;
          low = static_cast<T>(std::max<WideInt>(WideInt{low} - width, Entry(0, 0)));
        } else {
          lo_.swap(b.notAboveEnd);
          rank -= b.notAbove;
          low = high;
          high = static_cast<T>(std::min<WideInt>(WideInt{high} + width, Largest()));
        }
        continue;
      }
      if (galloping && missed) {
        // The data changed more than a keystroke: start afresh.
        galloping = false;
        lo_ = start;
        std::fill(hi_.begin(), hi_.end(), columns_);
        rank = k - 1;
        bracketed = Bracket(k, low, high);
        Count<true>(low, high, a, b);
      } else if (hinted && low == high) {
        // Every candidate between the two is the entry itself.
        if (next != nullptr && rank + 1 < b.notAbove) *next = low;
        *hint = {true, low, high};
        return low;
      }
      galloping = false;
      if (rank < a.less) {
        hi_.swap(a.lessEnd);
        continue;
      }
      if (rank >= b.notAbove) {
        lo_.swap(b.notAboveEnd);
        rank -= b.notAbove;
        continue;
      }
      if (b.notAbove - a.less < left) {
        lo_.swap(a.lessEnd);
        hi_.swap(b.notAboveEnd);
        rank -= a.less;
        kept = {true, low, high};
        continue;
      }
      Count<false>(low, high, a, b);
      if (rank < a.notAbove) {
        if (next != nullptr && rank + 1 < a.notAbove) *next = low;
        if (hint != nullptr) *hint = {true, low, low};
        return low;
      }
      if (rank < b.less) {
        lo_.swap(a.notAboveEnd);
        hi_.swap(b.lessEnd);
        rank -= a.notAbove;
        continue;
      }
      if (next != nullptr && rank + 1 < b.notAbove) *next = high;
      if (hint != nullptr) *hint = {true, high, high};
      return high;
    }
  }

  // The entry after v, the k-th: v again if more than k entries are not above it, otherwise
  // the smallest above it. Called before Kth narrows the candidates.
  T After(T v, std::int64_t k) {
    Bounds bounds, unused;
    Count<false>(v, v, bounds, unused);
    if (bounds.notAbove > k) return v;
    bool found = false;
    T smallest = 0;
    for (std::int64_t i = 0; i < rows_; ++i) {
      const std::int64_t j = bounds.notAboveEnd[i];
      if (j < hi_[i] && (!found || Entry(i, j) < smallest)) {
        smallest = Entry(i, j);
        found = true;
      }
    }
    return smallest;
  }

 private:
  // Pivots about the rank-th of the `left` candidates from a random sample of them.
  void Sampled(std::mt19937_64& random, const Ends& prefix, std::int64_t left, std::int64_t rank,
               std::vector<T>& sample, T& low, T& high) const {
    std::uniform_int_distribution<std::int64_t> pick(0, left - 1);
    for (T& entry : sample) {
      const std::int64_t u = pick(random);
      const auto i = std::upper_bound(prefix.begin(), prefix.end(), u) - prefix.begin() - 1;
      entry = Entry(i, lo_[i] + u - prefix[i]);
    }
    std::sort(sample.begin(), sample.end());
    const double place = (static_cast<double>(rank) + 0.5) / static_cast<double>(left) * kSample;
    const auto at = [&](int offset) {
      return sample[std::clamp(static_cast<int>(place) + offset, 0, kSample - 1)];
    };
    low = at(-kReach);
    high = at(kReach);
  }

  // Pivots about the k-th entry from the entries at the middle of each kStride × kStride block;
  // none for a matrix too small to be worth it.
  bool Bracket(std::int64_t k, T& low, T& high) const {
    const std::int64_t rows = rows_ / kStride;
    const std::int64_t columns = columns_ / kStride;
    if (rows < kSmallest || columns < kSmallest) return false;
    constexpr std::int64_t kMiddle = kStride / 2;
    Ends start(rows);
    double entries = 0;
    double sampled = 0;
    for (std::int64_t i = 0; i < rows_; ++i) entries += static_cast<double>(hi_[i] - lo_[i]);
    for (std::int64_t i = 0; i < rows; ++i) {
      const std::int64_t first = std::max<std::int64_t>(lo_[i * kStride + kMiddle] - kMiddle, 0);
      start[i] = std::min(columns, (first + kStride - 1) / kStride);
      sampled += static_cast<double>(columns - start[i]);
    }
    const double share = (static_cast<double>(k) - 0.5) / entries;
    const double middle = share * sampled;
    const double margin = 3 * std::sqrt(sampled * share * (1 - share)) + 2;
    const auto rank = [&](double place) {
      return std::clamp<std::int64_t>(std::llround(place), 1, static_cast<std::int64_t>(sampled));
    };
    std::vector<T> row(rows), column(columns);
    for (std::int64_t i = 0; i < rows; ++i) row[i] = row_[i * kStride + kMiddle];
    for (std::int64_t j = 0; j < columns; ++j) column[j] = column_[j * kStride + kMiddle];
    low = Selection<T>(row, column, start).Kth(rank(middle - margin));
    high = Selection<T>(row, column, start).Kth(rank(middle + margin));
    return true;
  }

  // The bounds of the candidates about two pivots, low ≤ high, in one pass: as i grows, where
  // each row's entries reach a pivot moves only left.
  // With Outer, only where those below low end and where those not above high end.
  template <bool Outer>
  void Count(T low, T high, Bounds& a, Bounds& b) const {
    for (Bounds* bounds : {&a, &b}) {
      bounds->lessEnd.resize(rows_);
      bounds->notAboveEnd.resize(rows_);
      bounds->less = bounds->notAbove = 0;
    }
    std::int64_t belowLow = columns_, upToLow = columns_;
    std::int64_t belowHigh = columns_, upToHigh = columns_;
    // Plain pointers and sums in locals: the compiler cannot tell that the stores into the
    // bounds leave the values, the columns and the sums alone.
    const T* row = row_.data();
    const T* column = column_.data();
    const std::int64_t* lo = lo_.data();
    const std::int64_t* hi = hi_.data();
    std::int64_t* aLess = a.lessEnd.data();
    std::int64_t* aNotAbove = a.notAboveEnd.data();
    std::int64_t* bLess = b.lessEnd.data();
    std::int64_t* bNotAbove = b.notAboveEnd.data();
    std::int64_t less = 0, notAbove = 0, lessHigh = 0, notAboveLow = 0;
    for (std::int64_t i = 0; i < rows_; ++i) {
      const T lowHere = low - row[i];
      const T highHere = high - row[i];
      while (upToHigh > 0 && column[upToHigh - 1] > highHere) --upToHigh;
      if constexpr (!Outer) {
        while (belowHigh > 0 && column[belowHigh - 1] >= highHere) --belowHigh;
        while (upToLow > 0 && column[upToLow - 1] > lowHere) --upToLow;
      }
      while (belowLow > 0 && column[belowLow - 1] >= lowHere) --belowLow;
      const std::int64_t first = lo[i];
      const std::int64_t last = hi[i];
      aLess[i] = std::clamp(belowLow, first, last);
      less += aLess[i] - first;
      bNotAbove[i] = std::clamp(upToHigh, first, last);
      notAbove += bNotAbove[i] - first;
      if constexpr (!Outer) {
        aNotAbove[i] = std::clamp(upToLow, first, last);
        notAboveLow += aNotAbove[i] - first;
        bLess[i] = std::clamp(belowHigh, first, last);
        lessHigh += bLess[i] - first;
      }
    }
    a.less = less;
    b.notAbove = notAbove;
    a.notAbove = notAboveLow;
    b.less = lessHigh;
  }

  // The rank-th of the `left` candidates, listed; with hint, the values about it for the next
  // selection, those of kept where the listing does not reach so far.
  T Listed(std::int64_t left, std::int64_t rank, std::optional<T>* next, Hint* hint,
           const Hint& kept) const {
    std::vector<T> entries;
    entries.reserve(left);
    for (std::int64_t i = 0; i < rows_; ++i) {
      for (std::int64_t j = lo_[i]; j < hi_[i]; ++j) entries.push_back(Entry(i, j));
    }
    const auto at = entries.begin() + rank;
    std::nth_element(entries.begin(), at, entries.end());
    if (next != nullptr && rank + 1 < left) *next = *std::min_element(at + 1, entries.end());
    if (hint == nullptr) return *at;
    const std::int64_t reach = std::max(rows_, columns_) / kReachShare + 1;
    *hint = kept;
    if (rank >= reach) {
      std::nth_element(entries.begin(), at - reach, at);
      hint->low = *(at - reach);
    } else if (!kept.valid) {
      hint->low = *std::min_element(entries.begin(), at + 1);
    }
    if (left - rank > reach) {
      std::nth_element(at + 1, at + reach, entries.end());
      hint->high = *(at + reach);
    } else if (!kept.valid) {
      hint->high = *std::max_element(at, entries.end());
    }
    hint->valid = true;
    return *at;
  }

  T Entry(std::int64_t i, std::int64_t j) const { return row_[i] + column_[j]; }
  T Largest() const { return Entry(rows_ - 1, columns_ - 1); }

  std::int64_t rows_, columns_;
  Ends lo_, hi_;
  std::span<const T> row_, column_;
};

Ends Diagonal(std::int64_t n) {
  Ends start(n);
  for (std::int64_t i = 0; i < n; ++i) start[i] = i;
  return start;
}

// Sorted values as the selection reads them: in 64 bits when each lies within ±2⁶¹, so that
// any two added or subtracted, and twice a median, fit; in 128 bits otherwise. Values given in
// the width they are read in are read in place.
template <typename V>
class Column {
 public:
  explicit Column(std::span<const V> sorted) : values_(sorted) {}

  bool Narrow() const {
    constexpr V kLimit = V{1} << 61;
    return values_.empty() || (values_.front() >= -kLimit && values_.back() <= kLimit);
  }
  std::span<const std::int64_t> Narrowed() { return In<std::int64_t>(); }
  std::span<const WideInt> Wide() { return In<WideInt>(); }

 private:
  template <typename W>
  std::span<const W> In() {
    if constexpr (std::is_same_v<V, W>) {
      return values_;
    } else {
      std::vector<W>& copy = std::get<std::vector<W>>(copies_);
      copy.resize(values_.size());
      for (std::size_t i = 0; i < values_.size(); ++i) copy[i] = static_cast<W>(values_[i]);
      return copy;
    }
  }

  std::span<const V> values_;
  std::tuple<std::vector<std::int64_t>, std::vector<WideInt>> copies_;
};

// What `select` gives of the differences of x and y, in 64 bits where they allow it.
template <typename V, typename Select>
WideInt OfDifferences(std::span<const V> x, std::span<const V> y, Select select) {
  const Ends start(x.size(), 0);
  // Row i is x_i less y from its largest down, so that it ascends.
  const auto run = [&](auto xs, auto ys) {
    using T = typename decltype(xs)::value_type;
    std::vector<T> negated(ys.size());
    std::transform(ys.rbegin(), ys.rend(), negated.begin(), [](T v) { return -v; });
    return WideInt{select(xs, std::span<const T>(negated), start)};
  };
  Column<V> xc(x), yc(y);
  if (xc.Narrow() && yc.Narrow()) return run(xc.Narrowed(), yc.Narrowed());
  return run(xc.Wide(), yc.Wide());
}

template <typename V, typename Select>
WideInt OfWalshSums(std::span<const V> d, Select select) {
  const Ends start = Diagonal(static_cast<std::int64_t>(d.size()));
  const auto run = [&](auto ds) { return WideInt{select(ds, ds, start)}; };
  Column<V> dc(d);
  if (dc.Narrow()) return run(dc.Narrowed());
  return run(dc.Wide());
}

// The k-th entry, and twice the median of `count` entries, of a matrix given as at(i, j),
// starting from the hint of the last selection of its kind near the same place.
auto KthOf(std::int64_t k, bool walsh, std::int64_t count) {
  return [=](auto row, auto column, const Ends& start) {
    using T = typename decltype(row)::value_type;
    Hint hint = Hints::Get(walsh, k, count);
    const T kth = Selection<T>(row, column, start).Kth(k, nullptr, &hint);
    Hints::Put(walsh, k, count, hint);
    return kth;
  };
}

auto TwiceMedianOf(bool walsh, std::int64_t count) {
  return [=](auto row, auto column, const Ends& start) {
    using T = typename decltype(row)::value_type;
    const std::int64_t k = (count + 1) / 2;
    Hint hint = Hints::Get(walsh, k, count);
    std::optional<T> next;
    const T middle = Selection<T>(row, column, start).Kth(k, &next, &hint);
    Hints::Put(walsh, k, count, hint);
    if (count % 2 == 1) return T{middle + middle};
    if (next) return T{middle + *next};
    return T{middle + Selection<T>(row, column, start).After(middle, k)};
  };
}

template <typename V>
WideInt KthDifferenceOf(std::span<const V> x, std::span<const V> y, std::int64_t k) {
  return OfDifferences(x, y, KthOf(k, false, static_cast<std::int64_t>(x.size() * y.size())));
}

template <typename V>
WideInt TwiceMedianDifferenceOf(std::span<const V> x, std::span<const V> y) {
  return OfDifferences(x, y, TwiceMedianOf(false, static_cast<std::int64_t>(x.size() * y.size())));
}

template <typename V>
WideInt KthWalshSumOf(std::span<const V> d, std::int64_t k) {
  const auto n = static_cast<std::int64_t>(d.size());
  return OfWalshSums(d, KthOf(k, true, n * (n + 1) / 2));
}

template <typename V>
WideInt TwiceMedianWalshSumOf(std::span<const V> d) {
  const auto n = static_cast<std::int64_t>(d.size());
  return OfWalshSums(d, TwiceMedianOf(true, n * (n + 1) / 2));
}

}  // namespace

WideInt KthDifference(std::span<const WideInt> x, std::span<const WideInt> y, std::int64_t k) {
  return KthDifferenceOf(x, y, k);
}
WideInt TwiceMedianDifference(std::span<const WideInt> x, std::span<const WideInt> y) {
  return TwiceMedianDifferenceOf(x, y);
}
WideInt KthWalshSum(std::span<const WideInt> d, std::int64_t k) { return KthWalshSumOf(d, k); }
WideInt TwiceMedianWalshSum(std::span<const WideInt> d) { return TwiceMedianWalshSumOf(d); }

WideInt KthDifference(std::span<const std::int64_t> x, std::span<const std::int64_t> y,
                      std::int64_t k) {
  return KthDifferenceOf(x, y, k);
}
WideInt TwiceMedianDifference(std::span<const std::int64_t> x, std::span<const std::int64_t> y) {
  return TwiceMedianDifferenceOf(x, y);
}
WideInt KthWalshSum(std::span<const std::int64_t> d, std::int64_t k) { return KthWalshSumOf(d, k); }
WideInt TwiceMedianWalshSum(std::span<const std::int64_t> d) { return TwiceMedianWalshSumOf(d); }

}  // namespace quillon
