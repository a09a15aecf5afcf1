#include "stats/significance.h"

#include "stats/number_text.h"

namespace quillon {

std::string_view VerdictText(Significance level) {
  switch (level) {
    case Significance::NotSignificant:
      return "P > 0.05";
    case Significance::P05:
      return "P < 0.05";
    case Significance::P01:
      return "P < 0.01";
    case Significance::P001:
      return "P < 0.001";
  }
  return {};
}

Significance SignificanceLevel(double statistic, double c05, double c01, double c001) {
  if (statistic >= c05 && statistic < c01) {
    return Significance::P05;
  }
  if (statistic >= c01 && statistic < c001) {
    return Significance::P01;
  }
  if (statistic >= c001) {
    return Significance::P001;
  }
  return Significance::NotSignificant;
}

Significance SignificanceLevel(double statistic, const TCriticalValues& critical) {
  return SignificanceLevel(statistic, LeadingNumber(critical.c05), LeadingNumber(critical.c01),
                           LeadingNumber(critical.c001));
}

std::optional<TTestVerdict> JudgeTStatistic(double t, Fixed4 df) {
  std::optional<TCriticalValues> critical = LookUpTCritical(df);
  if (!critical) {
    return std::nullopt;
  }
  const Significance level = SignificanceLevel(t, *critical);
  std::string line = "T = " + FormatFixed4(t) + "  " + std::string(VerdictText(level));
  return TTestVerdict{std::move(*critical), level, std::move(line)};
}

}  // namespace quillon
