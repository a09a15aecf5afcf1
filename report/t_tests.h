#pragma once
// The figures of the results report for the two t tests: the two-sample test from each group's
// summary values (with the F test of equal variances and Welch's test beside the pooled one) and
// the paired test from the exact sums of the complete pairs.

#include <array>
#include <optional>
#include <string>

#include "report/figure.h"
#include "stats/exact_sums.h"
#include "stats/fixed4.h"

namespace quillon {

// Each group's mean, standard deviation and count, as the two-sample panel holds them. The
// means stay exact: their difference is taken before anything is rounded to a double.
struct SummaryValues {
  Fixed4 mean1, deviation1, count1;
  Fixed4 mean2, deviation2, count2;
};

// The values of the six summary boxes (mean, standard deviation and count of the first group,
// then of the second); nothing when a box is empty or not a number.
std::optional<SummaryValues> ReadSummaryValues(const std::array<std::string, 6>& boxes);

struct TwoSampleFigures {
  SummaryValues input;
  Figure pooledVariance;  // Sc² = (S1²(n1 − 1) + S2²(n2 − 1)) / (n1 + n2 − 2)
  Figure difference;      // mean1 − mean2
  Figure standardError;   // √(Sc²(1/n1 + 1/n2))
  Figure t;               // difference / standardError, signed
  Figure df;              // n1 + n2 − 2
  Figure p;               // two-sided
  Figure lower, upper;    // 95 % confidence interval of the difference
  // Equal variances: the larger variance over the smaller, two-sided P.
  Figure f, fDf1, fDf2, fP;
  // Welch: separate variances, Welch–Satterthwaite degrees of freedom.
  Figure welchStandardError, welchT, welchDf, welchP;
};

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
};

PairedFigures PairedReportFigures(const PairSums& pairs);

}  // namespace quillon
