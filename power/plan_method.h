#pragma once
// One way of planning a design, as the sample-size computation uses it: the power at group 1's n
// (or the pairs) that the n is solved by and the curve drawn with, and the closed-form n where
// there is one; or, for a power with saw teeth, the window its steadiness is checked over (see
// LeastLastingSampleSize).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quillon {

struct PlanMethod {
  std::string name;
  std::string englishName;
  std::function<double(std::int64_t)> power;
  std::optional<double> formula;  // unrounded; the t tests search instead
  double guess = 0;
  std::function<std::int64_t(std::int64_t)> sawtooth;
};

}  // namespace quillon
