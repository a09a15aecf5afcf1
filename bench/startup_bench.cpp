// Start-up measured from outside, on a real X server: each run starts a fresh process, which
// quits once its main window has been painted (QUILLON_EXIT_AFTER_FIRST_PAINT), and the
// benchmark reads what the process cost from wait4: processor time (user + system) and peak
// resident memory. The program is paired with the bare window (bare_window.cpp: the same size,
// about 150 plain widgets), one of each per iteration in alternating order, so that both see the
// same load on the machine; the counters give the medians and the medians of the pairs' ratios.
//
// Needs DISPLAY, for instance: xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/startup_bench

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Cost {
  double processorMs = 0;
  double elapsedMs = 0;
  double peakMiB = 0;
};

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// Starts `program` and waits for it; false when it could not start or did not end well.
bool RunToFirstPaint(const char* program, Cost& cost) {
  std::vector<std::string> settings = {"QUILLON_EXIT_AFTER_FIRST_PAINT=1", "QT_QPA_PLATFORM=xcb"};
  std::vector<char*> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text = *variable;
    if (text.starts_with("QT_QPA_PLATFORM=")) continue;
    environment.push_back(*variable);
  }
  for (std::string& setting : settings) environment.push_back(setting.data());
  environment.push_back(nullptr);
  char* arguments[] = {const_cast<char*>(program), nullptr};

  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, program, nullptr, nullptr, arguments, environment.data()) != 0) {
    return false;
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return false;
  const auto end = std::chrono::steady_clock::now();
  cost.processorMs = (Seconds(usage.ru_utime) + Seconds(usage.ru_stime)) * 1e3;
  cost.elapsedMs = std::chrono::duration<double, std::milli>(end - start).count();
  cost.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (values.size() % 2 == 1) return *middle;
  return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
  if (std::getenv("DISPLAY") == nullptr) {
    state.SkipWithError("needs an X server: run under xvfb-run");
    return;
  }
  // Loads the libraries and the fonts into the page cache before anything is counted.
  Cost warm;
  if (!RunToFirstPaint(QUILLON_PROGRAM, warm) || !RunToFirstPaint(BARE_WINDOW_PROGRAM, warm)) {
    state.SkipWithError("a program did not start or did not quit after its first paint");
    return;
  }
  std::vector<Cost> program;
  std::vector<Cost> bare;
  bool ok = true;
  for (auto _ : state) {
    Cost quillon;
    Cost window;
    if (program.size() % 2 == 0) {
      ok =
          RunToFirstPaint(QUILLON_PROGRAM, quillon) && RunToFirstPaint(BARE_WINDOW_PROGRAM, window);
    } else {
      ok =
          RunToFirstPaint(BARE_WINDOW_PROGRAM, window) && RunToFirstPaint(QUILLON_PROGRAM, quillon);
    }
    if (!ok) break;
    program.push_back(quillon);
    bare.push_back(window);
  }
  if (!ok) {
    state.SkipWithError("a program did not start or did not quit after its first paint");
    return;
  }

  auto column = [](const std::vector<Cost>& runs, double Cost::*field) {
    std::vector<double> values;
    for (const Cost& run : runs) values.push_back(run.*field);
    return values;
  };
  auto ratios = [&](double Cost::*field) {
    std::vector<double> values;
    for (std::size_t i = 0; i < program.size(); ++i) {
      values.push_back(program[i].*field / std::max(bare[i].*field, 1e-9));
    }
    return Median(values);
  };
  state.counters["cpu_ms"] = Median(column(program, &Cost::processorMs));
  state.counters["bare_cpu_ms"] = Median(column(bare, &Cost::processorMs));
  state.counters["cpu_ratio"] = ratios(&Cost::processorMs);
  state.counters["wall_ms"] = Median(column(program, &Cost::elapsedMs));
  state.counters["bare_wall_ms"] = Median(column(bare, &Cost::elapsedMs));
  state.counters["wall_ratio"] = ratios(&Cost::elapsedMs);
  state.counters["rss_MiB"] = Median(column(program, &Cost::peakMiB));
  state.counters["bare_rss_MiB"] = Median(column(bare, &Cost::peakMiB));
  state.counters["rss_ratio"] = ratios(&Cost::peakMiB);
}
// Each iteration is one run of each program.
BENCHMARK(BM_StartUpToFirstPaint)->Iterations(15)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
