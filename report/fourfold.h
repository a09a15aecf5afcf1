#pragma once
// The figures of the results report for the four-fold table and for paired counts.
// Cells: a, b in the first row, c, d in the second; the first column is the outcome counted.

#include <array>

#include "counts/chi_square.h"
#include "report/figure.h"
#include "report/proportions.h"

namespace quillon {

// n, the expected counts and both chi-squares are the main window's own (FourfoldChiSquare).
struct FourfoldFigures {
  std::array<double, 4> cells{};           // a, b, c, d; an empty cell counts as 0
  FourfoldChiSquareResult shown;           // as the main window shows it
  Figure n;                                // the grand total to the nearest whole number
  Figure chiSquare, chiSquareP;            // n(ad − bc)² / D, one degree of freedom
  Figure correctedChiSquare, correctedP;   // n(max(0, |ad − bc| − n/2))² / D
  Figure fisherP;                          // two-sided
  Figure oddsRatio, oddsLower, oddsUpper;  // ad / bc, 95 % by the log method
  Figure riskRatio, riskLower, riskUpper;  // (a / (a + b)) / (c / (c + d)), 95 % by the log method
  RiskDifferenceFigures risk;              // each group's risk and their difference
  NumberNeededFigures numberNeeded;        // 1 / |RD|, NNTB or NNTH as "（+）" reads
  PositiveMeans positive = PositiveMeans::Benefit;
};

// "（+）" read as a benefit unless told otherwise.
FourfoldFigures FourfoldReportFigures(const FourfoldCells& cells,
                                      PositiveMeans positive = PositiveMeans::Benefit);

// Fisher's exact two-sided P of a table of whole counts: the sum of the probabilities, with the
// margins fixed, of every table no more probable than the observed one (with a relative
// tolerance of 1e-7 for ties). A margin of 0 leaves one table possible: P = 1.
Figure FisherExactP(double a, double b, double c, double d);

// McNemar's test on the discordant cells b and c.
// The chi-square is the main window's own (PairedChiSquare).
struct McNemarFigures {
  double a = 0, b = 0, c = 0, d = 0;  // an empty cell counts as 0
  PairedChiSquareResult shown;        // as the main window shows it
  bool corrected = false;  // b + c < 40: (max(0, |b − c| − 1))² / (b + c); else (b − c)² / (b + c)
  bool noDiscordantPairs = false;  // b + c = 0: no test applies
  Figure chiSquare, p;
  Figure exactP;                   // two-sided binomial, min(1, 2 P(X ≤ min(b, c))), p = 1/2
  PairedProportionFigures paired;  // (b − c) / n, the matched odds ratio b / c, the mid-P test
};

McNemarFigures McNemarReportFigures(const FourfoldCells& cells);

}  // namespace quillon
