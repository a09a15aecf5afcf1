#include "report/writing/paper_table.h"

#include <algorithm>

#include "report/writing/sample_content.h"
#include "report/writing/sentences.h"

namespace quillon {

namespace {

bool English(PStyle style) { return style != PStyle::ChineseMedical; }

constexpr const char* kNone = "—";

std::string Statistic(const Figure& figure) { return figure ? StatisticText(figure) : kNone; }

std::string P(PStyle style, const Figure& p) { return p ? PCellText(style, p) : kNone; }

std::string Count(const Figure& figure) { return figure ? CountText(figure) : kNone; }

// "120.5±15.3"; "120.5 ± 15.3" in English.
std::string MeanSd(PStyle style, const Figure& mean, const Figure& deviation, int decimals) {
  if (!mean || !deviation) return kNone;
  return FixedText(*mean, decimals) + (English(style) ? " ± " : "±") +
         FixedText(*deviation, decimals);
}

std::string Quartile(PStyle style, const Quartiles& q, int decimals) {
  return q.median ? MedianAndQuartiles(style, q, decimals) : kNone;
}

std::string MeanSdHeading(PStyle style) { return English(style) ? "Mean ± SD" : "x̄±s"; }
std::string MedianHeading(PStyle style) {
  return English(style) ? "Median (P₂₅, P₇₅)" : "M(P₂₅, P₇₅)";
}

// "表1  试验组与对照组收缩压（mmHg）的比较"; "Table 1. Systolic pressure (mmHg) by group".
std::string Caption(PStyle style, const std::string& chinese, const std::string& english) {
  return English(style) ? "Table 1. " + english : "表1  " + chinese;
}

std::string GroupsChinese(const ReportNames& names, const char* first, const char* second) {
  return NameOr(names.first, first) + "与" + NameOr(names.second, second);
}

std::string GroupsEnglish(const ReportNames& names, const char* first, const char* second) {
  return NameOr(names.first, first) + " and " + NameOr(names.second, second);
}

}  // namespace

int MeanDecimals(int mostTyped) { return std::min(mostTyped + 1, 4); }

PaperTable TwoSamplePaper(const TwoSampleFigures& f, const RankSumFigures& ranks, PStyle style,
                          TestPath path, const ReportNames& names, int decimals,
                          const std::array<GroupDescription, 2>* described) {
  const bool english = English(style);
  const std::string outcome = OutcomeWithUnit(names.outcome, names.unit, english);
  PaperTable table;
  table.caption =
      Caption(style, GroupsChinese(names, kFirstGroup, kSecondGroup) + outcome + "的比较",
              (outcome.empty() ? std::string("Comparison") : "Comparison of " + outcome) +
                  " between " + GroupsEnglish(names, "group 1", "group 2"));
  const std::string group = english ? "Group" : "组别";
  const std::string first = NameOr(names.first, english ? "Group 1" : kFirstGroup);
  const std::string second = NameOr(names.second, english ? "Group 2" : kSecondGroup);
  const SummaryValues& v = f.input;
  const Figure n1 = Figure::Of(v.count1.ToDouble());
  const Figure n2 = Figure::Of(v.count2.ToDouble());
  if (path == TestPath::RankTest) {
    const auto [symbol, value] = RankStatistic("U", ranks.w, ranks.z);
    const int location = LocationDecimals(ranks);
    table.header = {group, "n", MedianHeading(style), symbol, "P"};
    table.rows = {{first, Count(n1), Quartile(style, ranks.first, location),
                   ranks.p ? value : kNone, P(style, ranks.p)},
                  {second, Count(n2), Quartile(style, ranks.second, location), "", ""}};
    return table;
  }
  const bool welch = f.welchChosen;
  table.header = {group, "n", MeanSdHeading(style), welch ? "t′" : "t", "P"};
  const std::array<GroupDescription, 2> typed = {
      GroupDescription{Figure::Of(v.mean1.ToDouble()), Figure::Of(v.deviation1.ToDouble())},
      GroupDescription{Figure::Of(v.mean2.ToDouble()), Figure::Of(v.deviation2.ToDouble())}};
  const std::array<GroupDescription, 2>& shown = described != nullptr ? *described : typed;
  table.rows = {
      {first, Count(n1), MeanSd(style, shown[0].mean, shown[0].deviation, decimals),
       Statistic(welch ? f.welchT : f.t), P(style, welch ? f.welchP : f.p)},
      {second, Count(n2), MeanSd(style, shown[1].mean, shown[1].deviation, decimals), "", ""}};
  return table;
}

PaperTable PairedPaper(const PairedFigures& f, const SignedRankFigures& ranks,
                       const PairedColumns& columns, PStyle style, TestPath path,
                       const ReportNames& names, int decimals) {
  const bool english = English(style);
  const bool twoMethods = names.meaning == PairedMeaning::TwoMethods;
  const std::string first = NameOr(names.first, twoMethods ? kX : english ? "Before" : kBefore);
  const std::string second = NameOr(names.second, twoMethods ? kY : english ? "After" : kAfter);
  const std::string outcome = OutcomeWithUnit(names.outcome, names.unit, english);
  const std::string pairs = std::to_string(f.n);
  PaperTable table;
  table.caption = Caption(style, first + "与" + second + outcome + "的比较（n=" + pairs + "）",
                          (outcome.empty() ? std::string("Values") : outcome) + ", " + first +
                              " and " + second + " (n = " + pairs + ")");
  const std::string measure = NameOr(names.outcome, english ? "Value" : "测量值");
  const std::string difference = english ? "Difference" : "差值";
  if (path == TestPath::RankTest) {
    const auto [symbol, value] = RankStatistic("T", ranks.v, ranks.z);
    const int location = LocationDecimals(ranks);
    const std::string median = " " + MedianHeading(style);
    table.header = {english ? "Outcome" : "指标", first + median, second + median,
                    difference + median,          symbol,         "P"};
    table.rows = {{measure, Quartile(style, columns.first, location),
                   Quartile(style, columns.second, location),
                   Quartile(style, ranks.differences, location), ranks.p ? value : kNone,
                   P(style, ranks.p)}};
    return table;
  }
  const std::string mean = " " + MeanSdHeading(style);
  table.header = {
      english ? "Outcome" : "指标", first + mean, second + mean, difference + mean, "t", "P"};
  table.rows = {{measure, MeanSd(style, columns.mean1, columns.deviation1, decimals),
                 MeanSd(style, columns.mean2, columns.deviation2, decimals),
                 MeanSd(style, f.meanDifference, f.deviation, decimals), Statistic(f.t),
                 P(style, f.p)}};
  return table;
}

PaperTable CorrelationPaper(const CorrelationFigures& f, const SpearmanFigures& ranks, PStyle style,
                            TestPath path, const ReportNames& names) {
  const bool english = English(style);
  const std::string x = NameOr(names.first, kX);
  const std::string y = NameOr(names.second, kY);
  const std::string xShown = OutcomeWithUnit(x, names.firstUnit, english);
  const std::string yShown = OutcomeWithUnit(y, names.secondUnit, english);
  PaperTable table;
  const bool rank = path == TestPath::RankTest;
  table.caption = Caption(style, xShown + "与" + yShown + (rank ? "的秩相关" : "的相关与回归"),
                          (rank ? "Rank correlation of " : "Correlation and regression of ") +
                              xShown + " and " + yShown);
  const Figure n = Figure::Of(static_cast<double>(f.n));
  if (rank) {
    table.header = {"n", english ? "rₛ (95% CI)" : "rₛ（95%CI）", "P"};
    table.rows = {{Count(n),
                   ranks.rs ? EstimateText(style, ranks.rs, ranks.lower, ranks.upper,
                                           IntervalNull::Correlation)
                            : kNone,
                   P(style, ranks.p)}};
    return table;
  }
  const std::string equation = RegressionEquation(f);
  table.header = {"n", english ? "r (95% CI)" : "r（95%CI）", "P",
                  english ? "Regression equation" : "回归方程"};
  table.rows = {
      {Count(n),
       f.r ? EstimateText(style, f.r, f.rLower, f.rUpper, IntervalNull::Correlation) : kNone,
       P(style, f.p), equation.empty() ? kNone : equation}};
  if (x != kX || y != kY)
    table.note = (english ? "X: " : "X：") + x + (english ? "; Y: " : "；Y：") + y;
  return table;
}

namespace {

// "30 (75.0)": a count and its percentage of the row.
std::string CountAndPercent(PStyle style, double count, const Figure& rate) {
  const std::string whole = CountText(Figure::Of(count));
  if (!rate) return whole;
  return whole + (English(style) ? " (" : "（") + FixedText(*rate * 100, 1) +
         (English(style) ? ")" : "）");
}

}  // namespace

PaperTable FourfoldPaper(const FourfoldFigures& f, PStyle style, const ReportNames& names) {
  const bool english = English(style);
  const std::string positive = NameOr(names.positive, kPositive);
  const std::string first = NameOr(names.first, english ? "Treatment" : kTreated);
  const std::string second = NameOr(names.second, english ? "Control" : kControl);
  PaperTable table;
  const std::string outcome = NameOr(names.outcome, "");
  table.caption = Caption(
      style, first + "与" + second + (outcome.empty() ? positive + "率" : outcome) + "的比较",
      (outcome.empty() ? "Proportion with " + positive : outcome) + ", " + first + " and " +
          second);
  const FourfoldVariant variant = VariantOf(f);
  const Figure& p = variant == FourfoldVariant::Fisher  ? f.fisherP
                    : variant == FourfoldVariant::Yates ? f.correctedP
                                                        : f.chiSquareP;
  const std::string statistic =
      variant == FourfoldVariant::Fisher ? (english ? "Fisher exact test" : "Fisher确切概率法")
      : variant == FourfoldVariant::Yates ? Statistic(f.correctedChiSquare)
                                          : Statistic(f.chiSquare);
  const auto& c = f.cells;
  table.header = {english ? "Group" : "组别", "n", positive + (english ? " n (%)" : " n（%）"),
                  variant == FourfoldVariant::Yates ? "χ²c" : "χ²", "P"};
  table.rows = {{first, CountText(Figure::Of(c[0] + c[1])),
                 CountAndPercent(style, c[0], f.risk.risk1), statistic, P(style, p)},
                {second, CountText(Figure::Of(c[2] + c[3])),
                 CountAndPercent(style, c[2], f.risk.risk2), "", ""}};
  if (variant == FourfoldVariant::Yates) {
    table.note = english ? "χ²c: continuity-corrected χ²." : "注：χ²c为连续性校正χ²值。";
  }
  return table;
}

PaperTable McNemarPaper(const McNemarFigures& f, PStyle style, const ReportNames& names) {
  const bool english = English(style);
  const std::string later = NameOr(names.first, english ? "After" : kLater);
  const std::string earlier = NameOr(names.second, english ? "Before" : kEarlier);
  const std::string positive = NameOr(names.positive, english ? "(+)" : kPositive);
  const std::string negative = NameOr(names.negative, english ? "(−)" : kNegative);
  const std::string total = english ? "Total" : "合计";
  auto count = [](double value) { return CountText(Figure::Of(value)); };
  PaperTable table;
  const std::string outcome = NameOr(names.outcome, "");
  table.caption = Caption(
      style, later + "与" + earlier + (outcome.empty() ? "结果" : outcome) + "的比较（配对）",
      (outcome.empty() ? std::string("Paired results") : outcome) + ", " + later + " and " +
          earlier);
  table.header = {later + " \\ " + earlier, positive, negative, total, "χ²", "P"};
  table.rows = {
      {positive, count(f.a), count(f.b), count(f.a + f.b), Statistic(f.chiSquare), P(style, f.p)},
      {negative, count(f.c), count(f.d), count(f.c + f.d), "", ""},
      {total, count(f.a + f.c), count(f.b + f.d), count(f.a + f.b + f.c + f.d), "", ""}};
  if (f.corrected) {
    table.note = english ? "χ² with continuity correction (b + c < 40)."
                         : "注：b + c < 40，χ²为连续性校正值。";
  }
  return table;
}

}  // namespace quillon
