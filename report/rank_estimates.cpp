#include "report/rank_estimates.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace quillon {

namespace {

// Pivots are drawn from a sample of this many candidates, at this many places either side of
// where the k-th would fall in it (two standard deviations of that place): the k-th then lies
// between them nearly always, with about a sixth of the candidates.
constexpr int kSample = 512;
constexpr int kReach = 45;

// The entries at(i, j) of a matrix with `rows` rows and `columns` columns, ascending along
// each row and down each column; row i takes part from column start[i] on.
template <typename At>
class Selection {
 public:
  Selection(std::int64_t rows, std::int64_t columns, std::vector<std::int64_t> start, At at)
      : rows_(rows), columns_(columns), lo_(std::move(start)), hi_(rows, columns), at_(at) {}

  WideInt Kth(std::int64_t k) {
    std::int64_t rank = k - 1;  // among the candidates left
    std::mt19937_64 random(20261208);
    std::vector<std::int64_t> prefix(rows_ + 1);
    std::vector<WideInt> sample(kSample);
    const std::int64_t listed = std::max<std::int64_t>(rows_ + columns_, 4096);
    for (;;) {
      for (std::int64_t i = 0; i < rows_; ++i) prefix[i + 1] = prefix[i] + hi_[i] - lo_[i];
      const std::int64_t left = prefix[rows_];
      if (left <= listed) return Listed(left, rank);
      std::uniform_int_distribution<std::int64_t> pick(0, left - 1);
      for (WideInt& entry : sample) {
        const std::int64_t u = pick(random);
        const std::int64_t i =
            std::upper_bound(prefix.begin(), prefix.end(), u) - prefix.begin() - 1;
        entry = at_(i, lo_[i] + u - prefix[i]);
      }
      std::sort(sample.begin(), sample.end());
      const double place = (static_cast<double>(rank) + 0.5) / static_cast<double>(left) * kSample;
      const auto at = [&](int offset) {
        return sample[std::clamp(static_cast<int>(place) + offset, 0, kSample - 1)];
      };
      const WideInt a = at(-kReach);
      const WideInt b = at(kReach);
      const Bounds below = Count(a);
      if (rank < below.less) {
        hi_ = below.lessEnd;
        continue;
      }
      if (rank < below.notAbove) return a;
      const Bounds above = Count(b);
      if (rank < above.less) {
        lo_ = below.notAboveEnd;
        hi_ = above.lessEnd;
        rank -= below.notAbove;
      } else if (rank < above.notAbove) {
        return b;
      } else {
        lo_ = above.notAboveEnd;
        rank -= above.notAbove;
      }
    }
  }

  // The entry after v, the k-th: v again if more than k entries are not above it, otherwise
  // the smallest above it. Called before Kth narrows the candidates.
  WideInt After(WideInt v, std::int64_t k) const {
    const Bounds bounds = Count(v);
    if (bounds.notAbove > k) return v;
    bool found = false;
    WideInt smallest = 0;
    for (std::int64_t i = 0; i < rows_; ++i) {
      const std::int64_t j = bounds.notAboveEnd[i];
      if (j < hi_[i] && (!found || at_(i, j) < smallest)) {
        smallest = at_(i, j);
        found = true;
      }
    }
    return smallest;
  }

 private:
  // For each row, where the candidates below t end and where those not above t end; and how
  // many candidates there are of each.
  struct Bounds {
    std::int64_t less = 0, notAbove = 0;
    std::vector<std::int64_t> lessEnd, notAboveEnd;
  };

  Bounds Count(WideInt t) const {
    Bounds bounds;
    bounds.lessEnd.resize(rows_);
    bounds.notAboveEnd.resize(rows_);
    std::int64_t below = columns_;
    std::int64_t notAbove = columns_;
    for (std::int64_t i = 0; i < rows_; ++i) {
      while (below > 0 && at_(i, below - 1) >= t) --below;
      while (notAbove > 0 && at_(i, notAbove - 1) > t) --notAbove;
      bounds.lessEnd[i] = std::clamp(below, lo_[i], hi_[i]);
      bounds.notAboveEnd[i] = std::clamp(notAbove, lo_[i], hi_[i]);
      bounds.less += bounds.lessEnd[i] - lo_[i];
      bounds.notAbove += bounds.notAboveEnd[i] - lo_[i];
    }
    return bounds;
  }

  WideInt Listed(std::int64_t left, std::int64_t rank) const {
    std::vector<WideInt> entries;
    entries.reserve(left);
    for (std::int64_t i = 0; i < rows_; ++i) {
      for (std::int64_t j = lo_[i]; j < hi_[i]; ++j) entries.push_back(at_(i, j));
    }
    std::nth_element(entries.begin(), entries.begin() + rank, entries.end());
    return entries[rank];
  }

  std::int64_t rows_, columns_;
  std::vector<std::int64_t> lo_, hi_;
  At at_;
};

// Twice the median of the entries: the two middle ones added, or the middle one doubled.
template <typename At>
WideInt TwiceMedian(std::int64_t rows, std::int64_t columns, std::vector<std::int64_t> start, At at,
                    std::int64_t count) {
  const Selection whole(rows, columns, start, at);
  const WideInt middle = Selection(rows, columns, std::move(start), at).Kth((count + 1) / 2);
  return middle + (count % 2 == 1 ? middle : whole.After(middle, count / 2));
}

std::vector<std::int64_t> Diagonal(std::int64_t n) {
  std::vector<std::int64_t> start(n);
  for (std::int64_t i = 0; i < n; ++i) start[i] = i;
  return start;
}

// Row i of the differences is x_i less y from its largest down, so that it ascends.
auto DifferenceAt(std::span<const WideInt> x, std::span<const WideInt> y) {
  return [x, y, last = static_cast<std::int64_t>(y.size()) - 1](std::int64_t i, std::int64_t j) {
    return x[i] - y[last - j];
  };
}

auto WalshAt(std::span<const WideInt> d) {
  return [d](std::int64_t i, std::int64_t j) { return d[i] + d[j]; };
}

}  // namespace

WideInt KthDifference(std::span<const WideInt> x, std::span<const WideInt> y, std::int64_t k) {
  const auto rows = static_cast<std::int64_t>(x.size());
  const auto columns = static_cast<std::int64_t>(y.size());
  return Selection(rows, columns, std::vector<std::int64_t>(rows, 0), DifferenceAt(x, y)).Kth(k);
}

WideInt TwiceMedianDifference(std::span<const WideInt> x, std::span<const WideInt> y) {
  const auto rows = static_cast<std::int64_t>(x.size());
  const auto columns = static_cast<std::int64_t>(y.size());
  return TwiceMedian(rows, columns, std::vector<std::int64_t>(rows, 0), DifferenceAt(x, y),
                     rows * columns);
}

WideInt KthWalshSum(std::span<const WideInt> d, std::int64_t k) {
  const auto n = static_cast<std::int64_t>(d.size());
  return Selection(n, n, Diagonal(n), WalshAt(d)).Kth(k);
}

WideInt TwiceMedianWalshSum(std::span<const WideInt> d) {
  const auto n = static_cast<std::int64_t>(d.size());
  return TwiceMedian(n, n, Diagonal(n), WalshAt(d), n * (n + 1) / 2);
}

}  // namespace quillon
