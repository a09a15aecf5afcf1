// The checks of the tests' assumptions, as they run on every keystroke in a data cell.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "report/checks/normality.h"
#include "report/checks/variance_tests.h"
#include "stats/correlation.h"

namespace quillon {
namespace {

// Values near 10^6 with four decimals and ties, from a fixed seed.
std::vector<Fixed4> RandomValues(std::size_t count, unsigned seed) {
  std::mt19937_64 engine(seed);
  std::normal_distribution<double> normal(1e6, 25);
  std::vector<Fixed4> values;
  for (std::size_t i = 0; i < count; ++i) {
    values.push_back(Fixed4::FromDouble(std::round(normal(engine) * 100) / 100).value());
  }
  return values;
}

// The largest group the test takes, its weights already at hand (the same size as last time).
void BM_ShapiroWilk5000(benchmark::State& state) {
  const std::vector<Fixed4> values = RandomValues(5000, 1);
  for (auto _ : state) benchmark::DoNotOptimize(ShapiroWilk(values));
}
BENCHMARK(BM_ShapiroWilk5000)->Unit(benchmark::kMicrosecond);

// A value typed or removed: a new size each time, so its weights are computed anew.
void BM_ShapiroWilkNewSize(benchmark::State& state) {
  const std::vector<Fixed4> values = RandomValues(5000, 2);
  std::size_t step = 0;
  for (auto _ : state) {
    const std::span<const Fixed4> group(values.data(), values.size() - step++ % 32);
    benchmark::DoNotOptimize(ShapiroWilk(group));
  }
}
BENCHMARK(BM_ShapiroWilkNewSize)->Unit(benchmark::kMicrosecond);

// The residuals of 5,000 pairs about their line, then the test on them.
void BM_ResidualNormality5000(benchmark::State& state) {
  const std::vector<Fixed4> x = RandomValues(5000, 3);
  const std::vector<Fixed4> noise = RandomValues(5000, 4);
  std::vector<std::pair<Fixed4, Fixed4>> pairs;
  PairSums sums;
  for (std::size_t i = 0; i < x.size(); ++i) {
    pairs.emplace_back(x[i], noise[i]);
    sums.Add(x[i], noise[i]);
  }
  const CorrelationResult line = CorrelationRegression(sums);
  for (auto _ : state) {
    const std::vector<ResidualPoint> points = RegressionResiduals(pairs, line);
    benchmark::DoNotOptimize(ResidualNormality(points, sums));
  }
}
BENCHMARK(BM_ResidualNormality5000)->Unit(benchmark::kMicrosecond);

// Two full grids' groups.
void BM_BrownForsythe32776(benchmark::State& state) {
  const std::vector<Fixed4> first = RandomValues(32776, 5);
  const std::vector<Fixed4> second = RandomValues(32776, 6);
  for (auto _ : state) benchmark::DoNotOptimize(BrownForsythe(first, second));
}
BENCHMARK(BM_BrownForsythe32776)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon
