#pragma once
// The figures of the results report for the two t tests: the two-sample test from each group's
// summary values (with the F test of equal variances and Welch's test beside the pooled one, from
// the exact sums of the values when the grid holds them) and the paired test from the exact sums
// of the complete pairs.

#include "counts/summary_t_test.h"
#include "report/effect_sizes.h"
#include "report/figure.h"
#include "stats/exact_sums.h"
#include "stats/fixed4.h"

namespace quillon {

// One group's mean and standard deviation from its exact sums, each rounded once to a double
// (no mean without values; the deviation of one value is 0).
struct GroupDescription {
  Figure mean, deviation;
};
GroupDescription DescribeGroup(const GroupSums& sums);

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
  // Welch: separate variances, Welch–Satterthwaite degrees of freedom, on the difference of the
  // means the figures beyond the pooled test start from (the exact sums' where fromValues).
  Figure welchDifference;
  Figure welchStandardError, welchT, welchDf, welchP;
  Figure welchLower, welchUpper;  // difference ± t(0.975, ν′) · Welch's standard error
  // Exactly one group without spread: the variances plainly differ, though F has no value.
  bool oneDeviationZero = false;
  // Welch's test is the one to read: F's P below 0.05, or one deviation 0.
  bool welchChosen = false;
  // Cohen's d and Hedges' g from the difference and the pooled standard deviation.
  TwoSampleEffectSizes effects;
  // Whether the figures beyond the pooled test come from the exact sums of the values in the grid
  // (true) or from the six summary values.
  bool fromValues = false;
  // Whether the pooled test too comes from the exact sums: only where a group's sum is too large
  // for the shown means, which pass through a double, to keep the data's fourth decimal.
  bool pooledFromValues = false;
};

// The figures of the pooled test are the panel's own (PoolSummaryValues); the report adds P, the
// interval, the variance ratio and Welch's test.
TwoSampleFigures TwoSampleReportFigures(const SummaryValues& values);
// The same, but every figure beyond the pooled test's (each group's mean interval, the variance
// ratio, Welch's test, d and g) comes from the exact sums of each group's values in the grid,
// not from the summaries rounded to four decimals; the pooled test keeps the panel's summaries
// but where the data are too large for them (pooledFromValues).
// Sums whose counts are not the summaries' are not used.
TwoSampleFigures TwoSampleReportFigures(const SummaryValues& values, const GroupSums& first,
                                        const GroupSums& second);

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
