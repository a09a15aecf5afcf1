// The report's figures for the four-fold table and for paired counts, against reference values
// computed once with SciPy 1.10 (the call is given beside each block).

#include "report/fourfold.h"

#include <gtest/gtest.h>

#include "report/tests/figure_matchers.h"
#include "report/writing/count_content.h"
#include "stats/number_text.h"

namespace quillon {
namespace {

using testing::IsMissingBecause;
using testing::Matches;
using testing::Table;

// t = [[a, b], [c, d]]: stats.chi2_contingency(t, correction=False / True),
// stats.fisher_exact(t), contingency.odds_ratio(t, kind='sample').confidence_interval(0.95),
// contingency.relative_risk(a, a + b, c, c + d).confidence_interval(0.95).
struct FourfoldReference {
  std::array<double, 4> cells;
  std::array<double, 4> expected;
  double chiSquare, p, corrected, correctedP, fisher;
};

TEST(FourfoldReportFigures, ChiSquareTestsAndFisherAgainstReference) {
  const FourfoldReference references[] = {
      {{20, 10, 10, 20},
       {15, 15, 15, 15},
       6.666666666666667,
       0.009823274507519235,
       5.4,
       0.02013675155034633,
       0.01938318826178997},
      {{30, 10, 2, 8},
       {25.6, 14.4, 6.4, 3.6},
       10.503472222222223,
       0.0011915043302341602,
       8.251953125,
       0.004070817705246994,
       0.0022685879037093867},
      {{1573, 3, 4, 0},
       {1573.0075949367088, 2.992405063291139, 3.992405063291139, 0.007594936708860759},
       0.007628698067718375,
       0.9303993377521388,
       0,
       1,
       1},
      {{10, 5, 4, 12},
       {6.774193548387097, 8.225806451612904, 7.225806451612903, 8.774193548387096},
       5.427170868347339,
       0.019825772694524763,
       3.8751356792717093,
       0.04900634866838931,
       0.03195238826540324},
      // |ad − bc| below n/2: the corrected difference stops at 0.
      {{5, 5, 4, 4}, {5, 5, 4, 4}, 0, 1, 0, 1, 1},
      {{3, 1, 1, 3},
       {2, 2, 2, 2},
       2,
       0.15729920705028105,
       0.5,
       0.47950012218695337,
       0.48571428571428565},
      {{5000, 4800, 4900, 5100},
       {4900, 4900, 5000, 5000},
       8.081632653061224,
       0.004471614157309256,
       8.001018367346939,
       0.004675104911528613,
       0.004673887051894189},
      {{0, 7, 5, 2},
       {2.5, 4.5, 2.5, 4.5},
       7.777777777777779,
       0.00528928214229387,
       4.977777777777778,
       0.025674942578765007,
       0.02097902097902098},
  };
  for (const FourfoldReference& reference : references) {
    const auto [a, b, c, d] = reference.cells;
    SCOPED_TRACE(::testing::Message() << a << " " << b << " " << c << " " << d);
    const FourfoldFigures f = FourfoldReportFigures(Table(a, b, c, d));
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(f.shown.expected[i], FormatFixed4(reference.expected[i]));
    }
    EXPECT_TRUE(Matches(f.chiSquare, reference.chiSquare));
    EXPECT_TRUE(Matches(f.chiSquareP, reference.p));
    EXPECT_TRUE(Matches(f.correctedChiSquare, reference.corrected));
    EXPECT_TRUE(Matches(f.correctedP, reference.correctedP));
    EXPECT_TRUE(Matches(f.fisherP, reference.fisher));
    // The table read the other way round, or transposed, has the same P values.
    EXPECT_TRUE(Matches(FisherExactP(d, c, b, a), reference.fisher));
    EXPECT_TRUE(Matches(FisherExactP(a, c, b, d), reference.fisher));
  }
}

TEST(FourfoldReportFigures, OddsRatioAndRelativeRisk) {
  const FourfoldFigures f = FourfoldReportFigures(Table(30, 10, 2, 8));
  EXPECT_TRUE(Matches(f.oddsRatio, 12));
  EXPECT_TRUE(Matches(f.oddsLower, 2.177384132659521));
  EXPECT_TRUE(Matches(f.oddsUpper, 66.1344031308404));
  EXPECT_TRUE(Matches(f.riskRatio, 3.75));
  EXPECT_TRUE(Matches(f.riskLower, 1.0717790586277427));
  EXPECT_TRUE(Matches(f.riskUpper, 13.120707935836126));
  EXPECT_EQ(f.shown.expected[f.shown.smallestExpected], "3.6000");

  const FourfoldFigures sparse = FourfoldReportFigures(Table(1573, 3, 4, 0));
  EXPECT_TRUE(IsMissingBecause(sparse.oddsRatio, "有格子为0"));
  EXPECT_TRUE(Matches(sparse.riskRatio, 0.9980964467005076));
  EXPECT_TRUE(Matches(sparse.riskLower, 0.9959467823426671));
  EXPECT_TRUE(Matches(sparse.riskUpper, 1.000250750921575));
}

TEST(FourfoldReportFigures, IncompleteAndUnusableTables) {
  const FourfoldFigures empty = FourfoldReportFigures(Table(0, 0, 0, 0));
  EXPECT_TRUE(IsMissingBecause(empty.chiSquare, "四格均为0"));
  const FourfoldFigures oneRow = FourfoldReportFigures(Table(5, 3, 0, 0));
  EXPECT_TRUE(Matches(oneRow.n, 8));
  EXPECT_TRUE(IsMissingBecause(oneRow.chiSquare, "合计为0"));
  // A margin of 0 leaves only the observed table: fisher.test(matrix(c(5, 0, 3, 0), 2)) gives 1.
  EXPECT_TRUE(Matches(oneRow.fisherP, 1));
  // b = d = 0: both risks are 1, RR = 1 and its interval has no width.
  const FourfoldFigures allEvents = FourfoldReportFigures(Table(5, 0, 3, 0));
  EXPECT_TRUE(Matches(allEvents.riskRatio, 1));
  EXPECT_TRUE(IsMissingBecause(allEvents.riskLower, "b与d均为0"));

  // Fractional counts: the chi-square formulas apply, the exact test does not.
  const FourfoldFigures fractional = FourfoldReportFigures(Table(20.5, 10, 10, 20));
  EXPECT_TRUE(fractional.chiSquare);
  EXPECT_TRUE(IsMissingBecause(fractional.fisherP, "整数"));
  EXPECT_TRUE(IsMissingBecause(FourfoldReportFigures(Table(20, -1, 10, 20)).chiSquare, "非负"));
}

TEST(FourfoldReport, RuleSentenceTellsTheMainWindowsRule) {
  // T(d) = 7 · 2857 / 20000 = 0.99995, which the main window shows, and compares, as 1.0000.
  const std::string rule =
      FourfoldReport(FourfoldReportFigures(Table(17143, 2850, 0, 7))).sentences.at(0);
  EXPECT_NE(rule.find("n = 20000 ≥ 40，最小理论数 T(d) = 1.0000 < 5，用连续性校正χ²"),
            std::string::npos)
      << rule;
  // Where the corrected difference is negative, the sentence quotes the main window's value and
  // says that the textbook's is 0.
  const std::string squared =
      FourfoldReport(FourfoldReportFigures(Table(1, 19, 1, 19))).sentences.at(0);
  EXPECT_NE(squared.find("χ² = 0.5263（主窗口将"), std::string::npos) << squared;
}

TEST(McNemarReportFigures, RuleOfFortyAndExactBinomial) {
  // χ² by the b + c rule; stats.chi2.sf(χ², 1); stats.binomtest(min(b, c), b + c, 0.5).pvalue
  struct Reference {
    double b, c;
    bool corrected;
    double chiSquare, p, exact;
  };
  const Reference references[] = {
      {30, 10, false, 10, 0.001565402258002549, 0.0022214337732293643},
      {25, 15, false, 2.5, 0.11384629800665763, 0.1538599441628321},
      {12, 4, true, 3.0625, 0.08011831372763421, 0.076812744140625},
      {5, 5, true, 0, 1, 1},
      {0, 6, true, 4.166666666666667, 0.041226833337163815, 0.03125},
  };
  for (const Reference& reference : references) {
    SCOPED_TRACE(::testing::Message() << reference.b << " " << reference.c);
    const McNemarFigures f = McNemarReportFigures(Table(0, reference.b, reference.c, 0));
    EXPECT_EQ(f.corrected, reference.corrected);
    EXPECT_TRUE(Matches(f.chiSquare, reference.chiSquare));
    EXPECT_TRUE(Matches(f.p, reference.p));
    EXPECT_TRUE(Matches(f.exactP, reference.exact));
  }
  EXPECT_TRUE(IsMissingBecause(McNemarReportFigures(Table(3, 0, 0, 3)).chiSquare, "b + c = 0"));
  // No discordant pairs: no line of the report names a test or the rule of 40.
  for (const FourfoldCells& none : {Table(10, 0, 0, 10), Table(0, 0, 0, 0)}) {
    const Report report = McNemarReport(McNemarReportFigures(none));
    for (const std::string& text : {report.sentences.at(0), report.results, report.methods}) {
      EXPECT_NE(text.find("b + c = 0"), std::string::npos) << text;
      EXPECT_EQ(text.find("40"), std::string::npos) << text;
      EXPECT_EQ(text.find("McNemar"), std::string::npos) << text;
    }
  }
  // c = 0: the matched OR's interval keeps its lower bound, binom.test(30, 30): 7.6428.
  const Report allB = McNemarReport(McNemarReportFigures(Table(0, 30, 0, 0)));
  EXPECT_NE(ReportPlainText(allB).find("7.6428～∞"), std::string::npos);
  EXPECT_NE(allB.results.find("配对OR ∞（95%CI：7.64～∞）"), std::string::npos) << allB.results;
  EXPECT_TRUE(IsMissingBecause(McNemarReportFigures(Table(0, 2.5, 4, 0)).exactP, "整数"));
}

}  // namespace
}  // namespace quillon
