#pragma once
// The figures of the results report for the two t tests: the two-sample test from each group's
// summary values (with the F test of equal variances and Welch's test beside the pooled one) and
// the paired test from the exact sums of the complete pairs.

#include "counts/summary_t_test.h"
#include "report/effect_sizes.h"
#include "report/figure.h"
#include "stats/exact_sums.h"
#include "stats/fixed4.h"

namespace quillon {

struct TwoSampleFigures {
  SummaryValues input;
  // Each group's mean with its 95 % interval, x̄ ± t(0.975, n − 1) · S / √n.
  Figure mean1Lower, mean1Upper, mean2Lower, mean2Upper;
  Figure pooledVariance;  // Sc² = (S1²(n1 − 1) + S2²(n2 − 1)) / (n1 + n2 − 2)
  Figure difference;      // mean1 − mean2
  Figure standardError;   // √(Sc²(1/n1 + 1/n2))
  Figure t;               // difference / standardError, signed
  Figure df;              // n1 + n2 − 2
  Figure p;               // two-sided
  Figure lower, upper;    // 95 % confidence interval of the difference
  // Equal variances: S1² / S2² with (n1 − 1, n2 − 1) degrees of freedom, two-sided P
  // 2·min(lower tail, upper tail).
  Figure f, fDf1, fDf2, fP;
  // Welch: separate variances, Welch–Satterthwaite degrees of freedom.
  Figure welchStandardError, welchT, welchDf, welchP;
  // Cohen's d and Hedges' g from the difference and the pooled standard deviation.
  TwoSampleEffectSizes effects;
};

// The figures of the pooled test are the panel's own (PoolSummaryValues); the report adds P, the
// interval, the variance ratio and Welch's test.
TwoSampleFigures TwoSampleReportFigures(const SummaryValues& values);

// d = first − second over the complete pairs.
struct PairedFigures {
  std::int64_t n = 0;
  Figure meanDifference;
  Figure deviation;
  Figure standardError;  // deviation / √n
  Figure t;              // meanDifference / standardError, signed
  Figure df;             // n − 1
  Figure p;              // two-sided
  Figure lower, upper;   // 95 % confidence interval of the mean difference
  EffectSize dz;         // meanDifference / deviation
};

// The mean difference, Sd and t are the panel's own (DescribeDifferences).
PairedFigures PairedReportFigures(const PairSums& pairs);

}  // namespace quillon
