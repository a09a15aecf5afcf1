// The analysis file at the largest grid, 32,776 entries of up to four decimals in both groups:
// saving (the state written as JSON, before the disk) and opening (the bytes read back into a
// state, before the windows are filled), and the two columns as CSV.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <variant>

#include "analysis_file/analysis_file.h"
#include "analysis_file/csv.h"

namespace quillon {
namespace {

AnalysisState FullGrid() {
  std::mt19937_64 random(34);
  std::uniform_int_distribution<int> tenThousandths(0, 9999999);
  AnalysisState state;
  for (auto* group : {&state.group1, &state.group2}) {
    group->resize(kMaxGridRows);
    for (std::string& entry : *group) {
      const int value = tenThousandths(random);
      entry = std::to_string(value / 10000) + "." + std::to_string(value % 10000);
    }
  }
  state.names = {{"group1", "试验组"}, {"group2", "对照组"}};
  return state;
}

void BM_WriteAnalysisAtTheLargestGrid(benchmark::State& run) {
  const AnalysisState state = FullGrid();
  for (auto _ : run) benchmark::DoNotOptimize(WriteAnalysis(state));
}
BENCHMARK(BM_WriteAnalysisAtTheLargestGrid)->Unit(benchmark::kMillisecond);

void BM_ReadAnalysisAtTheLargestGrid(benchmark::State& run) {
  const std::string bytes = WriteAnalysis(FullGrid());
  for (auto _ : run) {
    auto read = ReadAnalysis(bytes);
    if (!std::holds_alternative<AnalysisState>(read)) run.SkipWithError("the file was refused");
    benchmark::DoNotOptimize(read);
  }
  run.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_ReadAnalysisAtTheLargestGrid)->Unit(benchmark::kMillisecond);

void BM_SamplesCsvAtTheLargestGrid(benchmark::State& run) {
  const AnalysisState state = FullGrid();
  for (auto _ : run)
    benchmark::DoNotOptimize(SamplesCsv("第一组", "第二组", state.group1, state.group2));
}
BENCHMARK(BM_SamplesCsvAtTheLargestGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon
