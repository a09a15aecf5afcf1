#pragma once
// The sentences a paper takes from the report: the results sentence (the statistic with its
// degrees of freedom, the exact P, the estimate and the effect size with their 95 % intervals)
// and the methods sentence (the test's variant, two-sided, α = 0.05, the program). In Chinese
// for the Chinese journals' style, in English for the others; the numbers are the table's.

#include <string>
#include <utility>

#include "report/correlation.h"
#include "report/fourfold.h"
#include "report/p_style.h"
#include "report/ranks/ranks.h"
#include "report/t_tests.h"
#include "report/test_path.h"
#include "report/writing/names.h"

namespace quillon {

// The two-sample sentences name Welch's test where the variance ratio's P is below 0.05 or one
// group has no spread (TwoSampleFigures::welchChosen), the pooled test otherwise; with Welch's
// test they quote Welch's interval of the difference and d without its (pooled) interval.
std::string TwoSampleResults(const TwoSampleFigures& f, PStyle style,
                             const ReportNames& names = {});
std::string TwoSampleMethods(const TwoSampleFigures& f, PStyle style);

std::string PairedResults(const PairedFigures& f, PStyle style, const ReportNames& names = {});
std::string PairedMethods(PStyle style);

std::string CorrelationResults(const CorrelationFigures& f, PStyle style,
                               const ReportNames& names = {});
std::string CorrelationMethods(PStyle style);

// The test the four-fold sentences report, by the main window's rule: Pearson's χ², the
// continuity-corrected χ², or Fisher's exact test where the rule warns against χ².
enum class FourfoldVariant { Pearson, Yates, Fisher };
FourfoldVariant VariantOf(const FourfoldFigures& f);

// The four-fold sentences follow the main window's rule: Pearson's χ², the continuity-corrected
// χ², or Fisher's exact test where the rule warns against χ².
std::string FourfoldResults(const FourfoldFigures& f, PStyle style, const ReportNames& names = {});
std::string FourfoldMethods(const FourfoldFigures& f, PStyle style);

// McNemar's χ², corrected below 40 discordant pairs as in the main window, with the exact test.
std::string McNemarResults(const McNemarFigures& f, PStyle style);
std::string McNemarMethods(const McNemarFigures& f, PStyle style);

// The sentences of the path chosen: the t test's above, or the rank test's (Wilcoxon rank-sum,
// Wilcoxon signed-rank, Spearman) with the medians and quartiles, the Hodges–Lehmann estimate and
// the rank-biserial correlation.
std::string TwoSampleResults(const TwoSampleFigures& f, const RankSumFigures& ranks, PStyle style,
                             TestPath path = TestPath::TTest, const ReportNames& names = {});
std::string TwoSampleMethods(const TwoSampleFigures& f, const RankSumFigures& ranks, PStyle style,
                             TestPath path = TestPath::TTest);
std::string PairedResults(const PairedFigures& f, const SignedRankFigures& ranks, PStyle style,
                          TestPath path = TestPath::TTest, const ReportNames& names = {});
std::string PairedMethods(const SignedRankFigures& ranks, PStyle style,
                          TestPath path = TestPath::TTest);
std::string CorrelationResults(const CorrelationFigures& f, const SpearmanFigures& ranks,
                               PStyle style, TestPath path = TestPath::TTest,
                               const ReportNames& names = {});
std::string CorrelationMethods(const SpearmanFigures& ranks, PStyle style,
                               TestPath path = TestPath::TTest);

// The figures as the sentences and the paper's table write them, so that both round alike: a
// statistic or an estimate with two decimals; an estimate with its interval in brackets; the
// median with its quartiles; the rank path's decimals for its location figures.
std::string StatisticText(const Figure& figure);
std::string EstimateText(PStyle style, const Figure& estimate, const Figure& lower,
                         const Figure& upper, IntervalNull null);
std::string MedianAndQuartiles(PStyle style, const Quartiles& q, int decimals);
int LocationDecimals(const RankSumFigures& ranks);
int LocationDecimals(const SignedRankFigures& ranks);
// A rank test's statistic as journals print it: U (or T) where P is exact, Z where it is
// approximate; the symbol and its value.
std::pair<std::string, std::string> RankStatistic(const std::string& exactSymbol,
                                                  const Figure& statistic, const Figure& z);

}  // namespace quillon
