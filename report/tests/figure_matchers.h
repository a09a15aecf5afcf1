#pragma once
// Comparing report figures with reference values computed once with SciPy.

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <string>

#include "counts/chi_square.h"
#include "report/figure.h"
#include "report/t_tests.h"

namespace quillon::testing {

// Agreement to 1e-10 relative, or 1e-15 absolute for values near zero.
inline ::testing::AssertionResult Matches(const Figure& figure, double expected) {
  if (!figure) return ::testing::AssertionFailure() << "no value: " << figure.reason;
  const double difference = std::fabs(*figure - expected);
  if (difference <= 1e-15 || difference <= 1e-10 * std::fabs(expected)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << std::setprecision(17) << "value " << *figure << ", expected " << expected;
}

inline ::testing::AssertionResult IsMissingBecause(const Figure& figure,
                                                   const std::string& fragment) {
  if (figure) return ::testing::AssertionFailure() << "has value " << *figure;
  if (figure.reason.find(fragment) == std::string::npos) {
    return ::testing::AssertionFailure() << "reason \"" << figure.reason << "\"";
  }
  return ::testing::AssertionSuccess();
}

// The summary values of six box texts that are all numbers.
inline SummaryValues Summary(const std::array<std::string, 6>& boxes) {
  return ReadSummaryValues(boxes).value();
}

// The four-fold cells a, b, c, d of values with at most four decimals.
inline FourfoldCells Table(double a, double b, double c, double d) {
  return {Fixed4::FromDouble(a), Fixed4::FromDouble(b), Fixed4::FromDouble(c),
          Fixed4::FromDouble(d)};
}

}  // namespace quillon::testing
