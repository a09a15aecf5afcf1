// The rank tests of the report at the largest grid, 32,776 values in each column: what a
// keystroke costs with the report open. Skewed values with four decimals (few ties), and values
// of one decimal (many ties, where P takes the normal approximation with the tie correction).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "report/ranks/ranks.h"

namespace quillon {
namespace {

constexpr std::size_t kRows = 32776;

// Log-normal values rounded to `decimals`, shifted by `shift`.
std::vector<Fixed4> Skewed(std::uint64_t seed, int decimals, double shift,
                           std::size_t rows = kRows) {
  std::mt19937_64 random(seed);
  std::lognormal_distribution<double> value(1.0, 0.8);
  const double unit = std::pow(10.0, decimals);
  std::vector<Fixed4> values(rows);
  for (Fixed4& v : values)
    v = *Fixed4::FromDouble(std::round((value(random) + shift) * unit) / unit);
  return values;
}

std::vector<std::pair<Fixed4, Fixed4>> Paired(const std::vector<Fixed4>& x,
                                              const std::vector<Fixed4>& y) {
  std::vector<std::pair<Fixed4, Fixed4>> pairs;
  for (std::size_t i = 0; i < x.size(); ++i) pairs.emplace_back(x[i], y[i]);
  return pairs;
}

// A keystroke: one value of the first column typed anew, alternately two values apart, so that
// every run sees changed data (and the pivots kept from the run before help as they would).
Fixed4 Typed(Fixed4 value, std::int64_t run) {
  return Fixed4::FromRaw(value.raw() + (run % 2 == 0 ? 0 : 2 * Fixed4::kScale));
}

// Arguments: decimals of the values (4: few ties, 1: many); whether each run is a keystroke
// (1) or the data are new to the selection (0, as after a paste or an import: here the second
// group moves by a whole unit each run, so that the pivots kept from the run before miss).
void BM_RankSumAtTheLargestGrid(benchmark::State& state) {
  const int decimals = static_cast<int>(state.range(0));
  std::vector<Fixed4> x = Skewed(1, decimals, 0.3);
  std::vector<Fixed4> y = Skewed(2, decimals, 0);
  const Fixed4 typed = x[100];
  std::int64_t run = 0;
  for (auto _ : state) {
    ++run;
    if (state.range(1) == 1) {
      x[100] = Typed(typed, run);
    } else {
      for (Fixed4& value : y) value = Fixed4::FromRaw(value.raw() + Fixed4::kScale);
    }
    benchmark::DoNotOptimize(RankSumReportFigures(x, y));
  }
}
BENCHMARK(BM_RankSumAtTheLargestGrid)
    ->Args({4, 1})
    ->Args({1, 1})
    ->Args({4, 0})
    ->Unit(benchmark::kMillisecond);

void BM_SignedRankAtTheLargestGrid(benchmark::State& state) {
  const int decimals = static_cast<int>(state.range(0));
  auto pairs = Paired(Skewed(3, decimals, 0.2), Skewed(4, decimals, 0));
  const Fixed4 typed = pairs[100].first;
  std::int64_t run = 0;
  for (auto _ : state) {
    ++run;
    if (state.range(1) == 1) {
      pairs[100].first = Typed(typed, run);
    } else {
      for (auto& pair : pairs) pair.second = Fixed4::FromRaw(pair.second.raw() + Fixed4::kScale);
    }
    benchmark::DoNotOptimize(SignedRankReportFigures(pairs));
  }
}
BENCHMARK(BM_SignedRankAtTheLargestGrid)
    ->Args({4, 1})
    ->Args({1, 1})
    ->Args({4, 0})
    ->Unit(benchmark::kMillisecond);

void BM_SpearmanAtTheLargestGrid(benchmark::State& state) {
  const int decimals = static_cast<int>(state.range(0));
  const auto pairs = Paired(Skewed(5, decimals, 0), Skewed(6, decimals, 0));
  for (auto _ : state) benchmark::DoNotOptimize(SpearmanReportFigures(pairs));
}
BENCHMARK(BM_SpearmanAtTheLargestGrid)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

// The largest groups whose P is exact (49 values each, 49 nonzero differences), with values of
// one decimal: many ties, so P comes from the distribution of the mean ranks given the ties,
// counted anew at every keystroke.
void BM_RankSumExactGivenTies(benchmark::State& state) {
  std::vector<Fixed4> x = Skewed(7, 1, 0.3, 49);
  const std::vector<Fixed4> y = Skewed(8, 1, 0, 49);
  const Fixed4 typed = x[10];
  std::int64_t run = 0;
  for (auto _ : state) {
    x[10] = Typed(typed, ++run);
    benchmark::DoNotOptimize(RankSumReportFigures(x, y));
  }
}
BENCHMARK(BM_RankSumExactGivenTies)->Unit(benchmark::kMillisecond);

void BM_SignedRankExactGivenTies(benchmark::State& state) {
  auto pairs = Paired(Skewed(9, 1, 0.5, 49), Skewed(10, 1, 0, 49));
  const Fixed4 typed = pairs[10].first;
  std::int64_t run = 0;
  for (auto _ : state) {
    pairs[10].first = Typed(typed, ++run);
    benchmark::DoNotOptimize(SignedRankReportFigures(pairs));
  }
}
BENCHMARK(BM_SignedRankExactGivenTies)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon
