#pragma once
// The figures of the results report for correlation and regression, from the exact sums of the
// complete pairs: r with its Fisher z interval and t test, and the least-squares line of Y on X
// with the standard errors and intervals of its two coefficients.

#include "report/figure.h"
#include "stats/correlation.h"
#include "stats/exact_sums.h"

namespace quillon {

// r, t, the slope and the intercept are the panel's own (CorrelationRegression).
struct CorrelationFigures {
  std::int64_t n = 0;
  CorrelationResult shown;  // as the panel shows it
  Figure r;
  Figure rLower, rUpper;  // 95 %, tanh(atanh r ± z(0.975) / √(n − 3))
  Figure t;               // r √((n − 2) / (1 − r²)), signed
  Figure df;              // n − 2
  Figure p;               // two-sided; 0 when |r| = 1 (t infinite)
  Figure rSquared;
  Figure intercept, interceptError, interceptLower, interceptUpper;
  Figure slope, slopeError, slopeLower, slopeUpper;
};

CorrelationFigures CorrelationReportFigures(const PairSums& pairs);

}  // namespace quillon
