// What runs on every keystroke in a summary box or a data cell.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "counts/summary_t_test.h"
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

}  // namespace
}  // namespace quillon
