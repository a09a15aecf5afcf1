// What runs on every keystroke in a summary box or a data cell.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "counts/summary_t_test.h"
#include "report/effect_sizes.h"
#include "stats/number_text.h"
#include "stats/t_table.h"

namespace quillon {
namespace {

void BM_SummaryTTest(benchmark::State& state) {
  const std::array<std::string, kSummaryBoxCount> boxes = {"10.25", "2.1",  "25",
                                                           "8.4",   "1.95", "22"};
  for (auto _ : state) {
    benchmark::DoNotOptimize(SummaryTTest(boxes));
  }
}
BENCHMARK(BM_SummaryTTest);

void BM_FormatFixed4OfADouble(benchmark::State& state) {
  double value = 2.2360679774997898;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(FormatFixed4(value));
  }
}
BENCHMARK(BM_FormatFixed4OfADouble);

void BM_LookUpTCriticalHighDf(benchmark::State& state) {
  // Above every tabulated df: the scan reads every row.
  Fixed4 df = Fixed4::FromRaw(1498 * Fixed4::kScale);
  for (auto _ : state) {
    benchmark::DoNotOptimize(df);
    benchmark::DoNotOptimize(LookUpTCritical(df));
  }
}
BENCHMARK(BM_LookUpTCriticalHighDf);

// The 95 % interval of d: two inversions of the noncentral t, whose cost grows with |t| (the
// report gives none beyond |t| = 500). Arguments: t, degrees of freedom.
void BM_NoncentralTInterval(benchmark::State& state) {
  double t = static_cast<double>(state.range(0));
  const double df = static_cast<double>(state.range(1));
  for (auto _ : state) {
    benchmark::DoNotOptimize(t);
    benchmark::DoNotOptimize(NoncentralTInterval(t - 0.37, df));
  }
}
BENCHMARK(BM_NoncentralTInterval)
    ->Args({2, 18})
    ->Args({2, 65550})
    ->Args({37, 1000})
    ->Args({100, 1000})
    ->Args({500, 2})
    ->Args({500, 65550})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon
