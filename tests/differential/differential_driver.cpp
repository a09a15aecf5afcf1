// Runs one analysis of the core over many data sets and prints, for each, the texts the window
// shows, so that a script can compare them with an independent implementation.
//
//   differential_driver two-sample|summary|paired|correlation|fourfold|mcnemar < data sets
//
// Every input line is one data set; every output line the texts for it, separated by tabs (an
// empty field is an empty label). Input lines:
//   two-sample, paired, correlation: the first column's texts, " | ", the second column's texts,
//     separated by spaces, "_" for an empty cell;
//   summary: the six summary box texts X1 S1 N1 X2 S2 N2;
//   fourfold, mcnemar: the four cell texts a b c d ("_" for an empty cell).
// Output lines, the window's texts and then the results report's exact figures (full precision,
// an empty field where the report has none):
//   two-sample:  X1 S1 N1 X2 S2 N2 (the summary boxes) c05 c01 c001 verdict-line
//                P F-P Welch-P Welch-df (P from the summaries shown, the rest from the values)
//   summary:     c05 c01 c001 verdict-line  P F-P Welch-P Welch-df
//   paired:      n mean Sd c05 c01 c001 verdict-line  P
//   correlation: n r t c05 c01 c001 verdict equation  P
//   fourfold:    a+c b+d a+b c+d total  Ta Tb Tc Td n chi-square verdict
//                chi-square-P corrected-P Fisher-P
//   mcnemar:     n chi-square verdict  chi-square-P exact-P
// and then, appended, the effect sizes and absolute effects (full precision, empty where none):
//   two-sample, summary: d d-lower d-upper J g g-lower g-upper (two-sample: from the values)
//   paired:      dz dz-lower dz-upper
//   fourfold:    risk1 risk2 RD RD-lower RD-upper NNT NNTB-end NNTH-end NNT-far-end
//   mcnemar:     difference lower upper OR OR-lower OR-upper mid-P
//
//   differential_driver assumptions < data sets
//
// checks the assumptions of the sample analyses. Each input line is "two-sample", "paired" or
// "correlation", a space, and the two columns as above; each output line the checks' exact
// figures (an empty field where there is none):
//   two-sample:  n1 W1 P1 n2 W2 P2 F P  (Shapiro–Wilk of each group, then Brown–Forsythe)
//   paired:      n W P                  (Shapiro–Wilk of the differences)
//   correlation: n W P                  (Shapiro–Wilk of the residuals of the line)
//
//   differential_driver sample-size < plans
//
// plans the sample size of one design a line: the design (two-sample, paired, correlation,
// proportions, mcnemar), "n" or "power" (what is solved for), then box=text words (alpha, power,
// dropout, mean1, mean2, sd, ratio, meandiff, sddiff, r, p1, p2, p10, p01, n, margin; "_" for an
// empty box; hypothesis=non-inferiority|superiority|equivalence and better=higher|lower for the
// plans against a margin, whose other plan is Blackwelder's). Each output line: n1 n2 total
// enrolled1 enrolled2 enrolled-total power (full precision, empty where there is none), Connor's
// power (McNemar), 1 when the plan is the continuity-corrected one, the other plan's n1 n2 power
// (two proportions), the reason when n1 has none, and Connor's n (McNemar, solving for n).
//   differential_driver ranks < data sets
//
// runs the rank tests of the report. Each input line is "two-sample", "paired" or "spearman", a
// space, and the two columns as above; each output line the exact figures (empty where none),
// the quartiles as P25 median P75 and the method by its English name ("exact P", …):
//   two-sample: n1 n2 quartiles1 quartiles2 W z P method HL lower upper U/(n1n2) r lower upper
//   paired:     n nonzero quartiles W z P method pseudomedian lower upper r lower upper
//   spearman:   n rs P method lower upper
//
//   differential_driver margin < data sets
//
// tests against a margin. Each input line is the design (two-sample, summary, paired,
// fourfold), the hypothesis (non-inferiority, superiority, equivalence), the better values
// (higher, lower), the margin and α as typed ("_" for an empty box), then the data set as above;
// each output line the six summary boxes (two-sample; empty otherwise), 1 where Welch's test is
// used, then the exact figures: difference lower upper statistic1 P1 statistic2 P2 df P, 1 or 0
// for the conclusion (empty where there is none) and the conclusion's cell in the report.
//
//   differential_driver r-script DIR < data sets
//
// writes the results report's R script of each data set. Each input line is the analysis
// (two-sample, summary, paired, methods — paired data of two methods —, correlation, fourfold,
// mcnemar; margin: a test against a margin, its line as the margin analysis's above; plan: a
// sample-size plan as below, whose script prints the window's lines that hold a figure), the style
// (0 to 3, as the window lists them), a name for the two groups ("_" for none, "\\n" for a line
// break, "\\t" for a tab), a space and the data as above. For data set k (from 0) the driver writes
// DIR/k.R, the script, and DIR/k.txt, the report's rows as "label<TAB>value" lines in order, and
// prints the number of rows.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "counts/chi_square.h"
#include "counts/summary_t_test.h"
#include "entry/group_summary.h"
#include "entry/sample_lists.h"
#include "power/sample_size.h"
#include "report/checks/checks.h"
#include "report/checks/normality.h"
#include "report/checks/variance_tests.h"
#include "report/correlation.h"
#include "report/effect_sizes.h"
#include "report/fourfold.h"
#include "report/margin_tests.h"
#include "report/proportions.h"
#include "report/ranks/ranks.h"
#include "report/t_tests.h"
#include "report/writing/count_content.h"
#include "report/writing/margin_content.h"
#include "report/writing/paper_table.h"
#include "report/writing/rank_content.h"
#include "report/writing/sample_content.h"
#include "rscript/power_script.h"
#include "rscript/report_script.h"
#include "stats/correlation.h"
#include "stats/paired_t_test.h"
#include "stats/significance.h"
#include "stats/t_table.h"

namespace {

using quillon::Group;
using quillon::SampleLists;

std::vector<std::string> Words(std::string_view text) {
  std::istringstream stream{std::string(text)};
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word == "_" ? std::string() : word);
  return words;
}

// The two columns of a data set typed into the grid, row by row.
SampleLists Columns(const std::string& line) {
  const std::size_t bar = line.find('|');
  const std::vector<std::string> first = Words(std::string_view(line).substr(0, bar));
  const std::vector<std::string> second = bar == std::string::npos
                                              ? std::vector<std::string>{}
                                              : Words(std::string_view(line).substr(bar + 1));
  SampleLists lists;
  for (std::size_t row = 0; row < first.size(); ++row) lists.SetText(Group::First, row, first[row]);
  for (std::size_t row = 0; row < second.size(); ++row) {
    lists.SetText(Group::Second, row, second[row]);
  }
  return lists;
}

void Print(const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) std::cout << (i == 0 ? "" : "\t") << fields[i];
  std::cout << '\n';
}

// A report figure with all the digits of its double; empty when the report has none.
std::string Exact(const quillon::Figure& figure) {
  if (!figure) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", *figure);
  return text;
}

void Append(std::vector<std::string>& fields, std::initializer_list<quillon::Figure> figures) {
  for (const quillon::Figure& figure : figures) fields.push_back(Exact(figure));
}

// The report's P values of the two-sample test and then its effect sizes, d and g: from the
// summary boxes as the report reads them, and, given the grid's values, the figures beyond the
// pooled test from their exact sums.
void AppendTwoSampleFigures(std::vector<std::string>& fields,
                            const std::array<std::string, quillon::kSummaryBoxCount>& boxes,
                            const SampleLists* lists = nullptr) {
  const std::optional<quillon::SummaryValues> values = quillon::ReadSummaryValues(boxes);
  if (!values) {
    fields.insert(fields.end(), 11, "");
    return;
  }
  const quillon::TwoSampleFigures f =
      lists ? quillon::TwoSampleReportFigures(*values, lists->Sums(Group::First),
                                              lists->Sums(Group::Second))
            : quillon::TwoSampleReportFigures(*values);
  const quillon::TwoSampleEffectSizes& e = f.effects;
  Append(fields, {f.p, f.fP, f.welchP, f.welchDf, e.d.estimate, e.d.lower, e.d.upper, e.correction,
                  e.g.estimate, e.g.lower, e.g.upper});
}

// ---- Effect sizes and absolute effects, appended to each analysis's fields ----

void AppendPairedEffect(std::vector<std::string>& fields, const quillon::PairSums& pairs) {
  const quillon::PairedFigures test = quillon::PairedReportFigures(pairs);
  if (!test.meanDifference || !test.deviation) {
    fields.insert(fields.end(), 3, "");
    return;
  }
  const quillon::EffectSize dz =
      quillon::PairedEffect(*test.meanDifference, *test.deviation, static_cast<double>(test.n));
  Append(fields, {dz.estimate, dz.lower, dz.upper});
}

void AppendFourfoldEffects(std::vector<std::string>& fields, const std::array<double, 4>& cells) {
  const auto [a, b, c, d] = cells;
  const quillon::RiskDifferenceFigures rd = quillon::RiskDifference(a, b, c, d);
  const quillon::NumberNeededFigures nnt = quillon::NumberNeeded(rd);
  Append(fields, {rd.risk1, rd.risk2, rd.difference, rd.lower, rd.upper, nnt.value,
                  nnt.benefitBound, nnt.harmBound, nnt.farBound});
}

void AppendPairedProportions(std::vector<std::string>& fields, const std::array<double, 4>& cells) {
  const auto [a, b, c, d] = cells;
  const quillon::PairedProportionFigures f = quillon::PairedProportions(a, b, c, d);
  Append(fields, {f.difference, f.lower, f.upper, f.oddsRatio, f.oddsLower, f.oddsUpper, f.midP});
}

std::vector<std::string> CriticalAndLine(const std::optional<quillon::TTestVerdict>& verdict) {
  if (!verdict) return {"", "", "", ""};
  return {verdict->critical.c05, verdict->critical.c01, verdict->critical.c001, verdict->line};
}

std::optional<quillon::TTestVerdict> SummaryVerdict(
    const std::array<std::string, quillon::kSummaryBoxCount>& boxes) {
  const std::optional<quillon::SummaryTTestResult> result = quillon::SummaryTTest(boxes);
  return result ? std::optional(result->verdict) : std::nullopt;
}

void TwoSample(const std::string& line) {
  const SampleLists lists = Columns(line);
  const quillon::GroupSummaryTexts one = quillon::SummarizeGroup(lists.Sums(Group::First));
  const quillon::GroupSummaryTexts two = quillon::SummarizeGroup(lists.Sums(Group::Second));
  const std::array<std::string, quillon::kSummaryBoxCount> boxes = {
      one.mean, one.deviation, one.count, two.mean, two.deviation, two.count};
  std::vector<std::string> fields(boxes.begin(), boxes.end());
  for (std::string& field : CriticalAndLine(SummaryVerdict(boxes))) fields.push_back(field);
  AppendTwoSampleFigures(fields, boxes, &lists);
  // Last, the paper's table as the report writes it: its statistic's heading, the first group's
  // x̄±s and the statistic.
  if (const std::optional<quillon::SummaryValues> values = quillon::ReadSummaryValues(boxes)) {
    const std::array<quillon::GroupDescription, 2> described = {
        quillon::DescribeGroup(lists.Sums(Group::First)),
        quillon::DescribeGroup(lists.Sums(Group::Second))};
    const quillon::PaperTable paper =
        quillon::TwoSamplePaper(quillon::TwoSampleReportFigures(*values, lists.Sums(Group::First),
                                                                lists.Sums(Group::Second)),
                                {}, quillon::PStyle::ChineseMedical, quillon::TestPath::TTest, {},
                                quillon::MeanDecimals(std::max(lists.MostDecimals(Group::First),
                                                               lists.MostDecimals(Group::Second))),
                                &described);
    fields.insert(fields.end(), {paper.header[3], paper.rows[0][2], paper.rows[0][3]});
  } else {
    fields.insert(fields.end(), 3, "");
  }
  Print(fields);
}

void Summary(const std::string& line) {
  const std::vector<std::string> words = Words(line);
  std::array<std::string, quillon::kSummaryBoxCount> boxes;
  for (std::size_t i = 0; i < boxes.size() && i < words.size(); ++i) boxes[i] = words[i];
  std::vector<std::string> fields = CriticalAndLine(SummaryVerdict(boxes));
  AppendTwoSampleFigures(fields, boxes);
  Print(fields);
}

void Paired(const std::string& line) {
  const SampleLists lists = Columns(line);
  const std::string p = Exact(quillon::PairedReportFigures(lists.Pairs()).p);
  const std::optional<quillon::PairedTTestResult> result = quillon::PairedTTest(lists.Pairs());
  std::vector<std::string> fields = {"", "", "", "", "", "", ""};
  if (result) {
    fields = {std::to_string(result->differences.n), result->meanText, result->deviationText};
    for (std::string& field : CriticalAndLine(result->verdict)) fields.push_back(field);
  }
  fields.push_back(p);
  AppendPairedEffect(fields, lists.Pairs());
  Print(fields);
}

void Correlation(const std::string& line) {
  const SampleLists lists = Columns(line);
  const quillon::CorrelationResult result = quillon::CorrelationRegression(lists.Pairs());
  const quillon::TCriticalValues critical = result.critical.value_or(quillon::TCriticalValues{});
  Print({result.n, result.r, result.t, critical.c05, critical.c01, critical.c001, result.verdict,
         result.equation, Exact(quillon::CorrelationReportFigures(lists.Pairs()).p)});
}

quillon::FourfoldCells Cells(const std::string& line) {
  const std::vector<std::string> words = Words(line);
  std::array<std::string, 4> texts;
  for (std::size_t i = 0; i < texts.size() && i < words.size(); ++i) texts[i] = words[i];
  return quillon::ReadFourfoldCells(texts);
}

// The cells as numbers, an empty cell as 0.
std::array<double, 4> CellValues(const quillon::FourfoldCells& cells) {
  std::array<double, 4> values{};
  for (std::size_t k = 0; k < values.size(); ++k) {
    values[k] = cells[k].value_or(quillon::Fixed4{}).ToDouble();
  }
  return values;
}

void Fourfold(const std::string& line) {
  const quillon::FourfoldCells cells = Cells(line);
  const quillon::FourfoldTotals totals = quillon::TotalFourfoldTable(cells);
  const quillon::FourfoldChiSquareResult result = quillon::FourfoldChiSquare(cells);
  std::vector<std::string> fields(totals.margins.begin(), totals.margins.end());
  fields.push_back(totals.grandTotal);
  fields.insert(fields.end(), result.expected.begin(), result.expected.end());
  fields.insert(fields.end(), {result.n, result.chiSquare, result.verdict});
  const quillon::FourfoldFigures figures = quillon::FourfoldReportFigures(cells);
  fields.insert(fields.end(),
                {Exact(figures.chiSquareP), Exact(figures.correctedP), Exact(figures.fisherP)});
  AppendFourfoldEffects(fields, figures.cells);
  Print(fields);
}

void McNemar(const std::string& line) {
  const quillon::FourfoldCells cells = Cells(line);
  const quillon::PairedChiSquareResult result = quillon::PairedChiSquare(cells);
  const quillon::McNemarFigures figures = quillon::McNemarReportFigures(cells);
  std::vector<std::string> fields = {result.n, result.chiSquare, result.verdict, Exact(figures.p),
                                     Exact(figures.exactP)};
  AppendPairedProportions(fields, CellValues(cells));
  Print(fields);
}

std::vector<quillon::Fixed4> GroupValues(const SampleLists& lists, Group group) {
  std::vector<quillon::Fixed4> values;
  for (std::size_t row = 0; row < lists.Size(group); ++row) {
    if (const std::optional<quillon::Fixed4> value = lists.Value(group, row)) {
      values.push_back(*value);
    }
  }
  return values;
}

std::vector<std::pair<quillon::Fixed4, quillon::Fixed4>> CompletePairs(const SampleLists& lists) {
  std::vector<std::pair<quillon::Fixed4, quillon::Fixed4>> pairs;
  for (std::size_t row = 0; row < lists.LongerSize(); ++row) {
    const std::optional<quillon::Fixed4> x = lists.Value(Group::First, row);
    const std::optional<quillon::Fixed4> y = lists.Value(Group::Second, row);
    if (x && y) pairs.emplace_back(*x, *y);
  }
  return pairs;
}

std::vector<std::string> Normality(const quillon::NormalityFigures& figures) {
  return {std::to_string(figures.n), Exact(figures.w), Exact(figures.p)};
}

void Assumptions(const std::string& line) {
  const std::size_t space = line.find(' ');
  const std::string kind = line.substr(0, space);
  const SampleLists lists = Columns(space == std::string::npos ? "" : line.substr(space + 1));
  if (kind == "two-sample") {
    const std::vector<quillon::Fixed4> first = GroupValues(lists, Group::First);
    const std::vector<quillon::Fixed4> second = GroupValues(lists, Group::Second);
    std::vector<std::string> fields = Normality(quillon::ShapiroWilk(first));
    for (std::string& field : Normality(quillon::ShapiroWilk(second))) fields.push_back(field);
    const quillon::BrownForsytheFigures spread = quillon::BrownForsythe(first, second);
    fields.push_back(Exact(spread.f));
    fields.push_back(Exact(spread.p));
    Print(fields);
  } else if (kind == "paired") {
    Print(Normality(quillon::DifferenceNormality(CompletePairs(lists))));
  } else {
    const std::vector<std::pair<quillon::Fixed4, quillon::Fixed4>> pairs = CompletePairs(lists);
    const quillon::CorrelationResult fit = quillon::CorrelationRegression(lists.Pairs());
    Print(Normality(
        quillon::ResidualNormality(quillon::RegressionResiduals(pairs, fit), lists.Pairs())));
  }
}

// ---- Sample size and power ----

struct PlanInput {
  quillon::PowerDesign design;
  quillon::SampleSizeBoxes boxes;
  quillon::SolveFor solve;
};

PlanInput ReadPlan(const std::vector<std::string>& words) {
  const std::map<std::string, quillon::PowerDesign> designs = {
      {"two-sample", quillon::PowerDesign::TwoSample},
      {"paired", quillon::PowerDesign::Paired},
      {"correlation", quillon::PowerDesign::Correlation},
      {"proportions", quillon::PowerDesign::TwoProportions},
      {"mcnemar", quillon::PowerDesign::McNemar}};
  quillon::SampleSizeBoxes boxes;
  const std::map<std::string, std::string*> named = {{"alpha", &boxes.alpha},
                                                     {"power", &boxes.power},
                                                     {"dropout", &boxes.dropout},
                                                     {"mean1", &boxes.mean1},
                                                     {"mean2", &boxes.mean2},
                                                     {"sd", &boxes.sd},
                                                     {"ratio", &boxes.ratio},
                                                     {"meandiff", &boxes.meanDiff},
                                                     {"sddiff", &boxes.sdDiff},
                                                     {"r", &boxes.r},
                                                     {"p1", &boxes.p1},
                                                     {"p2", &boxes.p2},
                                                     {"p10", &boxes.p10},
                                                     {"p01", &boxes.p01},
                                                     {"n", &boxes.n}};
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::size_t equals = words[i].find('=');
    const std::string key = words[i].substr(0, equals);
    const std::string value = words[i].substr(equals + 1);
    if (key == "hypothesis") {
      // By its English name: non-inferiority, superiority, equivalence.
      for (const quillon::Hypothesis h : quillon::kHypotheses) {
        if (quillon::HypothesisEnglish(h) == value) boxes.hypothesis = h;
      }
    } else if (key == "better") {
      boxes.better = value == "lower" ? quillon::Better::Lower : quillon::Better::Higher;
    } else if (key == "margin") {
      boxes.margin = value == "_" ? std::string() : value;
    } else {
      *named.at(key) = value == "_" ? std::string() : value;
    }
  }
  const quillon::SolveFor solve =
      words.at(1) == "n" ? quillon::SolveFor::SampleSize : quillon::SolveFor::Power;
  return {designs.at(words.at(0)), boxes, solve};
}

void SampleSize(const std::string& line) {
  const PlanInput in = ReadPlan(Words(line));
  const quillon::SampleSizeResult r = quillon::ComputeSampleSize(in.design, in.boxes, in.solve);
  const quillon::SamplePlan& plan = r.plan;
  std::vector<std::string> fields;
  Append(fields, {plan.n1, plan.n2, plan.total, plan.enrolled1, plan.enrolled2, plan.enrolledTotal,
                  plan.power, r.approximatePower});
  fields.push_back(r.continuityCorrected ? "1" : "0");
  if (r.other) {
    Append(fields, {r.other->n1, r.other->n2, r.other->power});
  } else {
    fields.insert(fields.end(), 3, "");
  }
  fields.push_back(plan.n1 ? "" : plan.n1.reason);
  Append(fields, {r.approximateN});
  Print(fields);
}

// ---- The rank tests ----

void Append(std::vector<std::string>& fields, const quillon::Quartiles& q) {
  Append(fields, {q.p25, q.median, q.p75});
}

void Ranks(const std::string& line) {
  const std::size_t space = line.find(' ');
  const std::string kind = line.substr(0, space);
  const SampleLists lists = Columns(space == std::string::npos ? "" : line.substr(space + 1));
  if (kind == "two-sample") {
    const quillon::RankSumFigures f = quillon::RankSumReportFigures(
        GroupValues(lists, Group::First), GroupValues(lists, Group::Second));
    std::vector<std::string> fields = {std::to_string(f.n1), std::to_string(f.n2)};
    Append(fields, f.first);
    Append(fields, f.second);
    Append(fields, {f.w, f.z, f.p});
    fields.push_back(f.p ? quillon::RankPName(f.method).english : "");
    Append(fields, {f.shift, f.shiftLower, f.shiftUpper, f.superiority, f.rankBiserial.estimate,
                    f.rankBiserial.lower, f.rankBiserial.upper});
    Print(fields);
  } else if (kind == "paired") {
    const quillon::SignedRankFigures f = quillon::SignedRankReportFigures(CompletePairs(lists));
    std::vector<std::string> fields = {std::to_string(f.n), std::to_string(f.nonzero)};
    Append(fields, f.differences);
    Append(fields, {f.v, f.z, f.p});
    fields.push_back(f.p ? quillon::RankPName(f.method).english : "");
    Append(fields, {f.pseudomedian, f.lower, f.upper, f.rankBiserial.estimate, f.rankBiserial.lower,
                    f.rankBiserial.upper});
    Print(fields);
  } else {
    const quillon::SpearmanFigures f = quillon::SpearmanReportFigures(CompletePairs(lists));
    std::vector<std::string> fields = {std::to_string(f.n)};
    Append(fields, {f.rs, f.p});
    fields.push_back(f.p ? quillon::RankPName(f.method).english : "");
    Append(fields, {f.lower, f.upper});
    Print(fields);
  }
}

// ---- Tests against a margin ----

void Margin(const std::string& line) {
  std::istringstream stream(line);
  std::string design, hypothesis, better, margin, alpha, data;
  stream >> design >> hypothesis >> better >> margin >> alpha;
  std::getline(stream, data);
  const std::map<std::string, quillon::Hypothesis> hypotheses = {
      {"non-inferiority", quillon::Hypothesis::NonInferiority},
      {"superiority", quillon::Hypothesis::Superiority},
      {"equivalence", quillon::Hypothesis::Equivalence}};
  const quillon::MarginSetting setting{
      hypotheses.at(hypothesis),
      better == "lower" ? quillon::Better::Lower : quillon::Better::Higher,
      margin == "_" ? "" : margin, alpha == "_" ? "" : alpha};
  std::array<std::string, quillon::kSummaryBoxCount> boxes;
  std::vector<std::string> fields(boxes.size());
  std::optional<quillon::MarginFigures> f;
  if (design == "two-sample" || design == "summary") {
    const SampleLists lists = Columns(data);
    if (design == "two-sample") {
      const quillon::GroupSummaryTexts one = quillon::SummarizeGroup(lists.Sums(Group::First));
      const quillon::GroupSummaryTexts two = quillon::SummarizeGroup(lists.Sums(Group::Second));
      boxes = {one.mean, one.deviation, one.count, two.mean, two.deviation, two.count};
      fields.assign(boxes.begin(), boxes.end());
    } else {
      const std::vector<std::string> words = Words(data);
      for (std::size_t i = 0; i < boxes.size() && i < words.size(); ++i) boxes[i] = words[i];
    }
    if (const std::optional<quillon::SummaryValues> values = quillon::ReadSummaryValues(boxes)) {
      f = quillon::TwoSampleMargin(
          design == "summary" ? quillon::TwoSampleReportFigures(*values)
                              : quillon::TwoSampleReportFigures(*values, lists.Sums(Group::First),
                                                                lists.Sums(Group::Second)),
          setting);
    }
  } else if (design == "paired") {
    f = quillon::PairedMargin(quillon::PairedReportFigures(Columns(data).Pairs()), setting);
  } else {
    f = quillon::FourfoldMargin(quillon::FourfoldReportFigures(Cells(data)), setting);
  }
  if (!f) {
    fields.insert(fields.end(), 13, "");
    Print(fields);
    return;
  }
  fields.push_back(f->welch ? "1" : "0");
  Append(fields, {f->difference, f->lower, f->upper, f->statistic1, f->p1, f->statistic2, f->p2,
                  f->df, f->p});
  fields.push_back(!f->established ? "" : *f->established ? "1" : "0");
  quillon::Report report;
  quillon::AddMarginSection(report, *f, quillon::PStyle::ChineseMedical, {});
  fields.push_back(report.sections.at(0).rows.back().value);
  Print(fields);
}

// ---- The results report's R script ----

std::string TypedName(std::string text) {
  if (text == "_") return {};
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"\\n", "\n"}, {"\\t", "\t"}}) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
      text.replace(at, from.size(), to);
      at += to.size();
    }
  }
  return text;
}

// The report and its script as the report window makes them for the data set.
std::pair<quillon::Report, std::string> ReportAndScript(
    const std::string& kind, quillon::PStyle style, const quillon::ReportNames& names,
    const std::string& data, const quillon::MarginSetting& setting = {}) {
  const quillon::ScriptHeader header{"3.0", "2026-12-09"};
  const auto path = quillon::TestPath::TTest;
  if (kind == "two-sample" || kind == "summary") {
    std::vector<quillon::Fixed4> first, second;
    std::array<std::string, quillon::kSummaryBoxCount> boxes;
    SampleLists lists;
    if (kind == "two-sample") {
      lists = Columns(data);
      first = GroupValues(lists, Group::First);
      second = GroupValues(lists, Group::Second);
      const quillon::GroupSummaryTexts one = quillon::SummarizeGroup(lists.Sums(Group::First));
      const quillon::GroupSummaryTexts two = quillon::SummarizeGroup(lists.Sums(Group::Second));
      boxes = {one.mean, one.deviation, one.count, two.mean, two.deviation, two.count};
    } else {
      const std::vector<std::string> words = Words(data);
      for (std::size_t i = 0; i < boxes.size() && i < words.size(); ++i) boxes[i] = words[i];
    }
    const std::optional<quillon::SummaryValues> values = quillon::ReadSummaryValues(boxes);
    if (!values) {
      const quillon::Report report{
          "两样本均数t检验", {}, {"两组的均数、标准差和例数尚未填全。"}, {}, {}, {}};
      return {report, quillon::TwoSampleScript(report, style, header, {}, {}, {}, {})};
    }
    const quillon::TwoSampleFigures figures =
        kind == "two-sample" ? quillon::TwoSampleReportFigures(*values, lists.Sums(Group::First),
                                                               lists.Sums(Group::Second))
                             : quillon::TwoSampleReportFigures(*values);
    const quillon::TwoSampleChecks checks = quillon::CheckTwoSample(first, second);
    const quillon::RankSumFigures ranks = quillon::RankSumReportFigures(first, second);
    quillon::Report report = quillon::TwoSampleReport(figures, ranks, style, &checks, path, names);
    const quillon::MarginFigures margin = quillon::TwoSampleMargin(figures, setting);
    quillon::AddMarginSection(report, margin, style, names);
    return {report, quillon::TwoSampleScript(report, style, header, figures, ranks, first, second,
                                             &margin)};
  }
  if (kind == "paired" || kind == "methods" || kind == "correlation") {
    const SampleLists lists = Columns(data);
    const std::vector<std::pair<quillon::Fixed4, quillon::Fixed4>> pairs = CompletePairs(lists);
    if (kind == "correlation") {
      const quillon::CorrelationFigures figures = quillon::CorrelationReportFigures(lists.Pairs());
      const quillon::CorrelationChecks checks =
          quillon::CheckCorrelation(pairs, lists.Pairs(), figures);
      const quillon::SpearmanFigures ranks = quillon::SpearmanReportFigures(pairs);
      const quillon::Report report =
          quillon::CorrelationReport(figures, ranks, style, &checks, path, names);
      return {report, quillon::CorrelationScript(report, style, header, figures, ranks, pairs)};
    }
    quillon::ReportNames meant = names;
    meant.meaning = kind == "methods" ? quillon::PairedMeaning::TwoMethods
                                      : quillon::PairedMeaning::BeforeAfter;
    const quillon::PairedFigures figures = quillon::PairedReportFigures(lists.Pairs());
    const quillon::PairedChecks checks = quillon::CheckPaired(pairs, figures);
    const quillon::SignedRankFigures ranks = quillon::SignedRankReportFigures(pairs);
    quillon::Report report = quillon::PairedReport(figures, ranks, style, &checks, path, meant);
    const quillon::MarginFigures margin = quillon::PairedMargin(figures, setting);
    quillon::AddMarginSection(report, margin, style, meant);
    return {report, quillon::PairedScript(report, style, header, ranks, pairs, &margin)};
  }
  const quillon::FourfoldCells cells = Cells(data);
  if (kind == "fourfold") {
    const quillon::FourfoldFigures figures = quillon::FourfoldReportFigures(cells);
    quillon::Report report = quillon::FourfoldReport(figures, style, names);
    const quillon::MarginFigures margin = quillon::FourfoldMargin(figures, setting);
    quillon::AddMarginSection(report, margin, style, names);
    return {report, quillon::FourfoldScript(report, style, header, figures, &margin)};
  }
  const quillon::McNemarFigures figures = quillon::McNemarReportFigures(cells);
  const quillon::Report report = quillon::McNemarReport(figures, style, names);
  return {report, quillon::McNemarScript(report, style, header, figures)};
}

void RScripts(const std::filesystem::path& folder, const std::string& line, std::size_t index) {
  std::istringstream stream(line);
  std::string kind, style, name;
  stream >> kind >> style >> name;
  std::string data;
  std::getline(stream, data);
  if (kind == "plan") {
    // The sample-size window's lines that hold a figure: a digit or "—" after the "：", and
    // Connor's line.
    const PlanInput in = ReadPlan(Words(data));
    const quillon::SampleSizeResult result =
        quillon::ComputeSampleSize(in.design, in.boxes, in.solve);
    std::ofstream(folder / (std::to_string(index) + ".R"), std::ios::binary)
        << quillon::SampleSizeScript(in.design, in.boxes, in.solve, result, {"3.0", "2026-12-09"});
    std::ofstream rows(folder / (std::to_string(index) + ".txt"), std::ios::binary);
    std::size_t count = 0;
    for (const std::string& shown : result.lines) {
      const std::size_t colon = shown.find("：");
      if (colon == std::string::npos || shown.starts_with("方法：")) continue;
      const std::string after = shown.substr(colon + std::string("：").size());
      if (!shown.starts_with("Connor法近似：") && !after.starts_with("—") &&
          after.find_first_of("0123456789") != 0) {
        continue;
      }
      rows << shown << '\n';
      ++count;
    }
    std::cout << count << '\n';
    return;
  }
  quillon::ReportNames names;
  names.first = TypedName(name);
  quillon::MarginSetting setting;
  if (kind == "margin") {
    // The design, the hypothesis, the better values, the margin and α, then the data.
    std::istringstream margin(data);
    std::string hypothesis, better, value, alpha;
    margin >> kind >> hypothesis >> better >> value >> alpha;
    std::getline(margin, data);
    const std::map<std::string, quillon::Hypothesis> hypotheses = {
        {"non-inferiority", quillon::Hypothesis::NonInferiority},
        {"superiority", quillon::Hypothesis::Superiority},
        {"equivalence", quillon::Hypothesis::Equivalence}};
    setting = {hypotheses.at(hypothesis),
               better == "lower" ? quillon::Better::Lower : quillon::Better::Higher,
               value == "_" ? "" : value, alpha == "_" ? "" : alpha};
  }
  const auto [report, script] =
      ReportAndScript(kind, quillon::kPStyles.at(std::stoul(style)), names, data, setting);
  std::ofstream(folder / (std::to_string(index) + ".R"), std::ios::binary) << script;
  std::ofstream rows(folder / (std::to_string(index) + ".txt"), std::ios::binary);
  std::size_t count = 0;
  for (const quillon::ReportSection& section : report.sections) {
    for (const quillon::ReportRow& row : section.rows) {
      rows << row.label << '\t' << row.value << '\n';
      ++count;
    }
  }
  std::cout << count << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  const std::map<std::string, std::function<void(const std::string&)>> analyses = {
      {"two-sample", TwoSample},    {"summary", Summary},        {"paired", Paired},
      {"correlation", Correlation}, {"fourfold", Fourfold},      {"mcnemar", McNemar},
      {"assumptions", Assumptions}, {"sample-size", SampleSize}, {"ranks", Ranks},
      {"margin", Margin},
  };
  if (argc == 3 && std::string_view(argv[1]) == "r-script") {
    std::size_t index = 0;
    for (std::string line; std::getline(std::cin, line);) RScripts(argv[2], line, index++);
    return 0;
  }
  const auto analysis = argc == 2 ? analyses.find(argv[1]) : analyses.end();
  if (analysis == analyses.end()) {
    std::cerr << "usage: differential_driver "
                 "two-sample|summary|paired|correlation|fourfold|mcnemar|assumptions|sample-size|"
                 "ranks|margin < data\n       differential_driver r-script DIR < data\n";
    return 2;
  }
  std::ios::sync_with_stdio(false);
  for (std::string line; std::getline(std::cin, line);) analysis->second(line);
  return 0;
}
