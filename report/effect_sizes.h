#pragma once
// Standardised mean differences with their 95 % intervals: Cohen's d and Hedges' g for two
// independent groups, dz for paired data. The intervals invert the noncentral t distribution:
// the noncentrality λ whose distribution puts the observed t at its 97.5th and 2.5th
// percentiles, rescaled to the effect size's own units.

#include "report/figure.h"

namespace quillon {

struct EffectSize {
  Figure estimate, lower, upper;
};

// The 95 % interval of the noncentrality of Student's t: P(T ≤ t; df, lower) = 0.975 and
// P(T ≤ t; df, upper) = 0.025. Beyond |t| = kLargestNoncentralT the distribution costs too much
// to evaluate on every keystroke (its series grows with λ), and both bounds carry a reason.
struct NoncentralInterval {
  Figure lower, upper;
};
inline constexpr double kLargestNoncentralT = 500;
NoncentralInterval NoncentralTInterval(double t, double df);

// The small-sample correction of d, J(ν) = Γ(ν/2) / (√(ν/2) · Γ((ν − 1)/2)), for ν ≥ 2.
Figure HedgesCorrection(double df);

struct TwoSampleEffectSizes {
  EffectSize d;  // difference / pooled SD
  Figure correction;
  EffectSize g;  // J(ν) · d, its bounds J(ν) times d's
};

// From the difference of the means (first − second), the pooled standard deviation and the two
// counts, as the two-sample test has them; ν = n1 + n2 − 2, t = d · √(n1 n2 / (n1 + n2)).
TwoSampleEffectSizes TwoSampleEffects(double difference, double pooledDeviation, double n1,
                                      double n2);

// dz = mean difference / SD of the differences over n complete pairs; t = dz · √n, ν = n − 1.
EffectSize PairedEffect(double meanDifference, double deviation, double n);

}  // namespace quillon
