#pragma once
// The plans of two samples, pairs and two proportions against a margin: non-inferiority,
// superiority by the margin and equivalence, each with the method's name in Chinese and English.

#include <cstdint>
#include <functional>
#include <optional>

#include "power/plan_method.h"
#include "power/sample_size.h"
#include "power/sample_size_inputs.h"

namespace quillon {

struct MarginPlanning {
  PlanMethod method;                // the plan's
  std::optional<PlanMethod> other;  // two proportions: Blackwelder's unpooled z beside it
};

// `secondGroup` gives group 2's n from group 1's (two samples and two proportions).
MarginPlanning MarginMethods(PowerDesign design, const SampleSizeInputs& in,
                             const std::function<std::int64_t(std::int64_t)>& secondGroup);

}  // namespace quillon
