// The rank tests of the report at the largest grid, 32,776 values in each column: what a
// keystroke costs with the report open. Skewed values with four decimals (few ties), and values
// of one decimal (many ties, where P takes the normal approximation with the tie correction).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "report/ranks.h"

namespace quillon {
namespace {

constexpr std::size_t kRows = 32776;

// Log-normal values rounded to `decimals`, shifted by `shift`.
std::vector<Fixed4> Skewed(std::uint64_t seed, int decimals, double shift) {
  std::mt19937_64 random(seed);
  std::lognormal_distribution<double> value(1.0, 0.8);
  const double unit = std::pow(10.0, decimals);
  std::vector<Fixed4> values(kRows);
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

// Argument: decimals of the values (4: few ties, 1: many).
void BM_RankSumAtTheLargestGrid(benchmark::State& state) {
  const int decimals = static_cast<int>(state.range(0));
  const std::vector<Fixed4> x = Skewed(1, decimals, 0.3);
  const std::vector<Fixed4> y = Skewed(2, decimals, 0);
  for (auto _ : state) benchmark::DoNotOptimize(RankSumReportFigures(x, y));
}
BENCHMARK(BM_RankSumAtTheLargestGrid)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SignedRankAtTheLargestGrid(benchmark::State& state) {
  const int decimals = static_cast<int>(state.range(0));
  const auto pairs = Paired(Skewed(3, decimals, 0.2), Skewed(4, decimals, 0));
  for (auto _ : state) benchmark::DoNotOptimize(SignedRankReportFigures(pairs));
}
BENCHMARK(BM_SignedRankAtTheLargestGrid)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SpearmanAtTheLargestGrid(benchmark::State& state) {
  const int decimals = static_cast<int>(state.range(0));
  const auto pairs = Paired(Skewed(5, decimals, 0), Skewed(6, decimals, 0));
  for (auto _ : state) benchmark::DoNotOptimize(SpearmanReportFigures(pairs));
}
BENCHMARK(BM_SpearmanAtTheLargestGrid)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon
