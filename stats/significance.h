#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "stats/fixed4.h"
#include "stats/t_table.h"

namespace quillon {

enum class Significance { NotSignificant, P05, P01, P001 };

// "P > 0.05", "P < 0.05", "P < 0.01", "P < 0.001".
std::string_view VerdictText(Significance level);

// The level of a statistic against the critical values c05 < c01 < c001; a statistic equal to
// a critical value belongs to the more significant level.
Significance SignificanceLevel(double statistic, double c05, double c01, double c001);

// The level of a statistic against the critical values read back from the texts of a table row.
Significance SignificanceLevel(double statistic, const TCriticalValues& critical);

// The outcome of a t test as shown: the critical values of its row, the level and the verdict
// line "T = 2.2361  P < 0.05".
struct TTestVerdict {
  TCriticalValues critical;
  Significance level = Significance::NotSignificant;
  std::string line;
};

// Judges t (at full precision) against the table row for df, comparing with the critical values
// read back from their texts; nothing when df has no row.
std::optional<TTestVerdict> JudgeTStatistic(double t, Fixed4 df);

}  // namespace quillon
