// The sample-size computation under any box texts: the first byte picks the design, what is
// solved for, the style, the hypothesis and the direction; the rest, split at "|", fills the boxes
// in the order alpha, power, dropout, then the design's own boxes, n and the margin.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "power/sample_size.h"

namespace {

using namespace quillon;
using fuzz::Require;

std::vector<std::string SampleSizeBoxes::*> BoxOrder(PowerDesign design) {
  using B = SampleSizeBoxes;
  std::vector<std::string B::*> order = {&B::alpha, &B::power, &B::dropout};
  switch (design) {
    case PowerDesign::TwoSample:
      order.insert(order.end(), {&B::mean1, &B::mean2, &B::sd, &B::ratio});
      break;
    case PowerDesign::Paired:
      order.insert(order.end(), {&B::meanDiff, &B::sdDiff});
      break;
    case PowerDesign::Correlation:
      order.push_back(&B::r);
      break;
    case PowerDesign::TwoProportions:
      order.insert(order.end(), {&B::p1, &B::p2, &B::ratio});
      break;
    case PowerDesign::McNemar:
      order.insert(order.end(), {&B::p10, &B::p01});
      break;
  }
  order.insert(order.end(), {&B::n, &B::margin});
  return order;
}

void RequireShown(const Figure& figure, std::string_view input) {
  Require(figure ? std::isfinite(*figure) && figure.reason.empty() : !figure.reason.empty(),
          "a figure is a finite number or has a reason", input);
}

// The power the n was solved by, at n: the plan's own for the t tests, the correlation and
// McNemar's exact test, the plan of the same method for two proportions.
std::optional<double> SolvedByPower(PowerDesign design, const SampleSizeResult& planned,
                                    SampleSizeBoxes boxes, std::int64_t n) {
  boxes.n = std::to_string(n);
  const SampleSizeResult at = ComputeSampleSize(design, boxes, SolveFor::Power);
  if (at.method == planned.method) return at.plan.power.value;
  return at.other ? at.other->power.value : std::nullopt;
}

// The power box's target: a proportion, or a percentage above 1 or with "%".
double TargetPower(std::string text) {
  text.erase(0, text.find_first_not_of(" \t"));
  const bool percent = text.find('%') != std::string::npos;
  const double value = std::stod(text);
  return percent || value > 1 ? value / 100 : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input = fuzz::AsText(data, size);
  const PowerDesign design = kPowerDesigns[data[0] % kPowerDesigns.size()];
  const SolveFor solve = (data[0] / 5) % 2 == 0 ? SolveFor::SampleSize : SolveFor::Power;
  const auto style = static_cast<PStyle>((data[0] / 10) % 4);
  SampleSizeBoxes boxes;
  boxes.hypothesis = kHypotheses[(data[0] / 40) % kHypotheses.size()];
  boxes.better = kBetters[(data[0] / 3) % kBetters.size()];
  const std::vector<std::string SampleSizeBoxes::*> order = BoxOrder(design);
  std::string_view rest = input.substr(1);
  for (std::size_t k = 0; k < order.size() && !rest.empty(); ++k) {
    const std::size_t bar = rest.find('|');
    boxes.*order[k] = std::string(rest.substr(0, bar));
    rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
  }

  const SampleSizeResult result = ComputeSampleSize(design, boxes, solve, style);
  for (const SamplePlan* plan : {&result.plan, result.other ? &*result.other : nullptr}) {
    if (plan == nullptr) continue;
    for (const Figure* figure : {&plan->n1, &plan->n2, &plan->total, &plan->enrolled1,
                                 &plan->enrolled2, &plan->enrolledTotal, &plan->power}) {
      RequireShown(*figure, input);
    }
  }
  RequireShown(result.approximatePower, input);
  Require(!result.lines.empty() && !result.sentence.empty(), "there are texts to show", input);
  for (const std::string& line : result.lines) {
    Require(line.find("nan") == std::string::npos && line.find("inf") == std::string::npos,
            "no line shows nan or inf", input);
  }
  for (const PowerCurvePoint& point : result.curve.points) {
    Require(point.power >= 0 && point.power <= 1, "the curve's powers are probabilities", input);
  }
  Require(!result.plan.power || result.curve.marked.has_value(),
          "the curve marks the plan's n where its power is known", input);

  for (const Figure* count : {&result.plan.total, &result.plan.enrolledTotal}) {
    Require(!*count || **count <= 10'000'000, "no count above 10,000,000", input);
  }

  if (solve == SolveFor::SampleSize && result.plan.n1) {
    const double target = TargetPower(boxes.power);
    const auto n = static_cast<std::int64_t>(*result.plan.n1);
    const std::optional<double> reached = SolvedByPower(design, result, boxes, n);
    Require(reached && *reached >= target, "the n reaches the power it was solved for", input);
    const bool searched = design == PowerDesign::TwoSample || design == PowerDesign::Paired ||
                          design == PowerDesign::McNemar || HasMargin(boxes.hypothesis);
    if (searched && n > (design == PowerDesign::McNemar ? 1 : 2)) {
      // Where Boost.Math cannot evaluate the noncentral t at n − 1 (an α of 1e-8 with a shift
      // of 10^8), the search counts that n as not reaching the power.
      const std::optional<double> below = SolvedByPower(design, result, boxes, n - 1);
      Require(!below || *below < target, "n − 1 does not reach the power", input);
    }
  }
  return 0;
}
