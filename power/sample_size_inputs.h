#pragma once
// The sample-size boxes read and checked: every value with the decimals it was typed with, or the
// reason, in Chinese, why the figures cannot be computed.

#include <optional>
#include <string>
#include <variant>

#include "power/sample_size.h"

namespace quillon {

// A value as typed: its double and its text, trimmed, for the sentences.
struct TypedValue {
  double value = 0;
  int decimals = 0;
  std::string text;
};

// Everything a design needs, checked. `effect` and `spread` are the difference and its SD (two
// samples: |mean1 − mean2| with the decimals of the finer mean, and the common SD; pairs: the mean
// and SD of the differences); `first` and `second` the two proportions (p1 and p2, p10 and p01);
// `r` the correlation; `ratio` k; `n` the typed n when solving for power.
struct SampleSizeInputs {
  TypedValue alpha, power, dropout;
  TypedValue effect, spread;
  TypedValue first, second;
  TypedValue r;
  TypedValue ratio{1, 0, "1"};
  std::int64_t n = 0;
};

// The least n of a design: 2 per group or 2 pairs for the t tests, 4 for a correlation, 1 else.
std::int64_t LeastSampleSize(PowerDesign design);

// The checked inputs, or the first reason found.
std::variant<SampleSizeInputs, std::string> ReadSampleSizeInputs(PowerDesign design,
                                                                 const SampleSizeBoxes& boxes,
                                                                 SolveFor solve);

}  // namespace quillon
