#pragma once
// Absolute effects of a binary outcome, with their 95 % intervals.
//
// Four-fold table: the rows are the groups (a, b the first group, "试验组"; c, d the second,
// "对照组"), the first column "（+）" is the event. By default the event is read as the favourable
// response (the textbooks' 有效), so a positive risk difference is a benefit of the first group;
// read as an adverse event (不良事件), a positive risk difference is a harm.
// Paired table (McNemar): a, d concordant, b, c discordant pairs, n = a + b + c + d.

#include <string>

#include "report/figure.h"

namespace quillon {

// Wilson's score interval of the proportion x / n.
struct ScoreInterval {
  double lower, upper;
};
ScoreInterval WilsonInterval(double x, double n);

struct RiskDifferenceFigures {
  Figure risk1, risk2;  // a / (a + b), c / (c + d)
  Figure difference;    // risk1 − risk2
  Figure lower, upper;  // Newcombe's hybrid score interval from the two Wilson intervals
};
RiskDifferenceFigures RiskDifference(double a, double b, double c, double d);

// What the event "（+）" of the four-fold table stands for.
enum class PositiveMeans { Benefit, Harm };

// "以（+）为有效", "以（+）为不良事件"
std::string PositiveMeansText(PositiveMeans positive);

// The number needed to treat, 1 / |RD|, with the interval taken from the RD interval. Benefit
// (NNTB) when the RD lies on the side of benefit (RD > 0 when "（+）" is a benefit, RD < 0 when it
// is a harm), harm (NNTH) on the other side. When the RD interval holds 0, the NNT interval runs
// from the NNTB end through infinity to the NNTH end; a bound of RD at exactly 0 is an NNT bound
// at infinity (no value).
struct NumberNeededFigures {
  Figure value;              // 1 / |RD|; none when RD is 0 (infinite)
  bool benefit = true;       // RD on the side of benefit, or 0
  bool crossesZero = false;  // lower < 0 < upper
  Figure benefitBound;       // 1 / |the RD bound on the side of benefit|: the NNTB end
  Figure harmBound;          // 1 / |the RD bound on the side of harm|: the NNTH end
  Figure farBound;           // without a crossing: the far end (1 / |bound nearer 0|)
};
NumberNeededFigures NumberNeeded(const RiskDifferenceFigures& difference,
                                 PositiveMeans positive = PositiveMeans::Benefit);

// As printed, one decimal: "NNTB 6.3" ("NNT ∞" when RD = 0) and "NNTB 4.2 至 22.1",
// "NNTB 4.2 至 ∞ 至 NNTH 12.5".
struct NumberNeededText {
  std::string estimate;
  std::string interval;
};
NumberNeededText NumberNeededTexts(const NumberNeededFigures& figures);

struct PairedProportionFigures {
  Figure difference;            // (b − c) / n
  Figure lower, upper;          // Newcombe's score interval for paired data
  Figure oddsRatio;             // b / c
  Figure oddsLower, oddsUpper;  // from the Clopper–Pearson interval of b / (b + c)
  bool oddsUnbounded = false;   // c = 0 < b: the interval runs from oddsLower to infinity
  Figure midP;                  // 2·[P(X ≤ min) − ½ P(X = min)], X ~ Bin(b + c, ½)
};
PairedProportionFigures PairedProportions(double a, double b, double c, double d);

}  // namespace quillon
