#pragma once
// Tests of equal variances from the values themselves, beside the variance-ratio F test that the
// two-sample report takes from the summaries.

#include <span>

#include "report/figure.h"
#include "stats/fixed4.h"

namespace quillon {

// The Brown–Forsythe test: Levene's one-way analysis of variance on each value's absolute
// deviation from its group's median. F has 1 and N − 2 degrees of freedom; P is its upper tail.
struct BrownForsytheFigures {
  Figure f, df1, df2, p;
};

BrownForsytheFigures BrownForsythe(std::span<const Fixed4> first, std::span<const Fixed4> second);

}  // namespace quillon
