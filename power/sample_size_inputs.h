#pragma once
// The sample-size boxes read and checked: every value with the decimals it was typed with, or the
// reason, in Chinese, why the figures cannot be computed.

#include <boost/multiprecision/cpp_int.hpp>
#include <optional>
#include <string>
#include <variant>

#include "power/sample_size.h"

namespace quillon {

// A value as typed: its double, and its text as a plain decimal for the sentences ("0.05" for a
// typed ".05"; a power typed in percent as its proportion, "0.90" for "90%").
struct TypedValue {
  double value = 0;
  int decimals = 0;
  std::string text;
};

// What the protocol sentence names, without the blanks around; empty where not given. The groups
// only in the designs with two groups.
struct ProtocolNames {
  std::string outcome, unit, group1, group2, source;
  bool Any() const {
    return !(outcome.empty() && unit.empty() && group1.empty() && group2.empty() && source.empty());
  }
};

// Everything a design needs, checked. `effect` and `spread` are the difference and its SD (two
// samples: |mean1 − mean2| with the decimals of the finer mean, and the common SD; pairs: the mean
// and SD of the differences); `first` and `second` the two means of two samples, the two
// proportions (p1 and p2, p10 and p01); `r` the correlation; `ratio` k; `n` the typed n when
// solving for power. Against a margin, `difference` is the signed expected difference (group 1
// minus group 2, or the pairs' mean difference) with the decimals of the finer value, and
// `margin` the margin Δ.
struct SampleSizeInputs {
  TypedValue alpha, power, dropout;
  TypedValue effect, spread;
  TypedValue first, second;
  TypedValue r;
  TypedValue ratio{1, 0, "1"};
  std::int64_t n = 0;
  ProtocolNames names;
  Hypothesis hypothesis = Hypothesis::Difference;
  Better better = Better::Higher;
  TypedValue difference, margin;
};

// A typed value exactly, as the quotient of two integers: "0.05" is 5 / 100.
struct ExactDecimal {
  boost::multiprecision::cpp_int numerator;
  boost::multiprecision::cpp_int denominator;
};
ExactDecimal ExactValue(const TypedValue& typed);

// A typed proportion in percent with the decimals it still needs: 0.80 → "80", 0.825 → "82.5".
std::string PercentText(const TypedValue& proportion);

// Whether a typed ratio k is exactly 1 ("1", "1.000").
bool EqualGroups(const TypedValue& ratio);

// The least n of a design: 2 per group or 2 pairs for the t tests, 4 for a correlation, 1 else.
std::int64_t LeastSampleSize(PowerDesign design);

// The checked inputs, or the first reason found.
std::variant<SampleSizeInputs, std::string> ReadSampleSizeInputs(PowerDesign design,
                                                                 const SampleSizeBoxes& boxes,
                                                                 SolveFor solve);

}  // namespace quillon
