// The sample-size window's one computation, as it runs on every keystroke in its boxes: the n
// or the power, the texts, the sentence and the power curve's points.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "power/sample_size.h"

namespace quillon {
namespace {

struct Case {
  PowerDesign design;
  SolveFor solve;
  SampleSizeBoxes boxes;
};

// Each design at an ordinary n, at about 100,000 (solving for it) and at a typed 100,000; McNemar
// at the extremes of its exact search too.
std::vector<std::pair<std::string, Case>> Cases() {
  std::vector<std::pair<std::string, Case>> cases;
  const auto add = [&](std::string name, PowerDesign design, SolveFor solve,
                       std::vector<std::pair<std::string SampleSizeBoxes::*, std::string>> texts,
                       Hypothesis hypothesis = Hypothesis::Difference) {
    texts.emplace_back(&SampleSizeBoxes::dropout, "10");
    SampleSizeBoxes boxes;
    for (auto& [box, text] : texts) boxes.*box = text;
    boxes.hypothesis = hypothesis;
    cases.push_back({std::move(name), {design, solve, std::move(boxes)}});
  };
  using B = SampleSizeBoxes;
  const auto n = SolveFor::SampleSize;
  const auto power = SolveFor::Power;
  add("TwoSample/64", PowerDesign::TwoSample, n,
      {{&B::mean1, "5"}, {&B::mean2, "0"}, {&B::sd, "10"}});
  add("TwoSample/100000", PowerDesign::TwoSample, n,
      {{&B::mean1, "0.0114"}, {&B::mean2, "0"}, {&B::sd, "1"}, {&B::ratio, "1.5"}});
  add("TwoSample/typed100000", PowerDesign::TwoSample, power,
      {{&B::mean1, "0.0125"}, {&B::mean2, "0"}, {&B::sd, "1"}, {&B::n, "100000"}});
  add("Paired/100000", PowerDesign::Paired, n, {{&B::meanDiff, "0.00886"}, {&B::sdDiff, "1"}});
  add("Correlation/100000", PowerDesign::Correlation, n, {{&B::r, "0.00886"}});
  add("Proportions/100000", PowerDesign::TwoProportions, n, {{&B::p1, "0.5"}, {&B::p2, "0.5063"}});
  add("McNemar/120", PowerDesign::McNemar, n, {{&B::p10, "0.25"}, {&B::p01, "0.1"}});
  add("McNemar/100000", PowerDesign::McNemar, n, {{&B::p10, "0.2055"}, {&B::p01, "0.2"}});
  add("McNemar/typed100000", PowerDesign::McNemar, power,
      {{&B::p10, "0.102"}, {&B::p01, "0.1"}, {&B::n, "100000"}});
  // Near the largest n, and with every pair discordant, where the exact power's saw teeth are
  // checked over the most pairs.
  add("McNemar/9000000", PowerDesign::McNemar, n, {{&B::p10, "0.2006"}, {&B::p01, "0.2"}});
  add("McNemar/sawteeth", PowerDesign::McNemar, n, {{&B::p10, "0.5005"}, {&B::p01, "0.4995"}});
  // Against a margin at about 100,000 a group: the equivalence plan's Owen's Q is integrated at
  // every step of the search and every point of the curve.
  add("Equivalence/100000", PowerDesign::TwoSample, n,
      {{&B::mean1, "0"}, {&B::mean2, "0"}, {&B::sd, "1"}, {&B::margin, "0.0127"}},
      Hypothesis::Equivalence);
  add("Equivalence/typed100000", PowerDesign::TwoSample, power,
      {{&B::mean1, "0.001"},
       {&B::mean2, "0"},
       {&B::sd, "1"},
       {&B::margin, "0.0127"},
       {&B::n, "100000"}},
      Hypothesis::Equivalence);
  add("NonInferiority/100000", PowerDesign::TwoSample, n,
      {{&B::mean1, "0"},
       {&B::mean2, "0"},
       {&B::sd, "1"},
       {&B::margin, "0.0125"},
       {&B::alpha, "0.025"}},
      Hypothesis::NonInferiority);
  add("ProportionsEquivalence/100000", PowerDesign::TwoProportions, n,
      {{&B::p1, "0.5"}, {&B::p2, "0.5"}, {&B::margin, "0.0067"}}, Hypothesis::Equivalence);
  return cases;
}

void BM_SampleSize(benchmark::State& state, const Case& plan) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeSampleSize(plan.design, plan.boxes, plan.solve));
  }
  const SampleSizeResult result = ComputeSampleSize(plan.design, plan.boxes, plan.solve);
  state.counters["n"] = result.plan.n1 ? *result.plan.n1 : -1;
}

const bool kRegistered = [] {
  for (auto& [name, plan] : Cases()) {
    benchmark::RegisterBenchmark(("BM_SampleSize/" + name).c_str(), BM_SampleSize, plan)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
}  // namespace quillon
