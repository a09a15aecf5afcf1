#pragma once
// The protocol sentence of a sample-size plan: what was assumed, how many are needed and enrolled,
// and the method; in Chinese for the Chinese journals' style, in English for the others. A plan
// that names nothing gives the short form (α and power, the effect, the counts); one that names
// the outcome, its unit, the groups or the source of the estimates gives the named form: the
// outcome, the estimates (after their source), α, power, allocation and the counts, each name
// left out where it was not given.

#include <string>

#include "power/sample_size.h"
#include "power/sample_size_inputs.h"
#include "report/p_style.h"

namespace quillon {

struct ProtocolFacts {
  PowerDesign design = PowerDesign::TwoSample;
  SolveFor solve = SolveFor::SampleSize;
  const SampleSizeInputs* inputs = nullptr;
  const SamplePlan* plan = nullptr;  // its n1 has a value
  std::string method;
  std::string methodEnglish;
  // What the method's name leaves to say, in Chinese and in English (McNemar: the rule the n was
  // chosen by and Connor's approximation beside it); may be empty.
  std::string note;
  std::string noteEnglish;
};

std::string ProtocolSentence(const ProtocolFacts& facts, PStyle style);

}  // namespace quillon
