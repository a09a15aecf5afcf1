// The report's text: number forms, the sentences that read the figures, and the two renderings.

#include <gtest/gtest.h>

#include "report/tests/figure_matchers.h"
#include "report/writing/count_content.h"
#include "report/writing/margin_content.h"
#include "report/writing/paper_table.h"
#include "report/writing/rank_content.h"
#include "report/writing/sample_content.h"
#include "report/writing/sentences.h"

namespace quillon {
namespace {

using testing::Summary;
using testing::Table;

const ReportRow* FindRow(const Report& report, const std::string& label) {
  for (const ReportSection& section : report.sections) {
    for (const ReportRow& row : section.rows) {
      if (row.label == label) return &row;
    }
  }
  return nullptr;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(ReportText, NumberForms) {
  EXPECT_EQ(NumberText(Figure::Of(2.11603684)), "2.1160");
  EXPECT_EQ(NumberText(Figure::Of(-0.00001)), "-1.0000E-05");
  EXPECT_EQ(NumberText(Figure::Of(-0.00000)), "0.0000");
  EXPECT_EQ(NumberText(Figure::Of(3e12)), "3.0000E+12");
  EXPECT_EQ(CountText(Figure::Of(20)), "20");
  EXPECT_EQ(CountText(Figure::Of(19.98812497745225)), "19.9881");
  // P in the table's value column and in sentences, in the chosen style.
  EXPECT_EQ(PCellText(PStyle::ChineseMedical, Figure::Of(0.04708049613562498)), "0.047");
  EXPECT_EQ(PCellText(PStyle::Ama, Figure::Of(2.1916175985314586e-05)), "< .001");
  EXPECT_EQ(PText(PStyle::Apa, Figure::Of(0.23)), "p = .230");
  EXPECT_EQ(PText(PStyle::ChineseMedical, Figure::Missing("自由度须大于0")),
            "P —（自由度须大于0）");
  EXPECT_EQ(IntervalText(PStyle::Nejm, Figure::Of(0.0156), Figure::Missing("x")), "—（x）");
  EXPECT_EQ(IntervalText(PStyle::ChineseMedical, Figure::Of(0.015633), Figure::Of(2.18436)),
            "0.0156～2.1844");
  EXPECT_EQ(IntervalText(PStyle::Apa, Figure::Of(-0.015633), Figure::Of(2.18436)),
            "[-0.0156, 2.1844]");
}

TEST(ReportText, VarianceSentenceFollowsTheFTest) {
  const Report equal =
      TwoSampleReport(TwoSampleReportFigures(Summary({"5.2", "1.3", "12", "4.1", "1.1", "10"})));
  ASSERT_EQ(equal.sentences.size(), 1u);
  EXPECT_EQ(equal.sentences[0],
            "教科书的合并方差t检验假定两组总体方差相等；方差齐性F检验 P=0.626，"
            "未发现方差不齐，可用合并方差t检验。");
  const Report unequal =
      TwoSampleReport(TwoSampleReportFigures(Summary({"10", "4", "8", "12", "1", "15"})));
  EXPECT_EQ(unequal.sentences[0],
            "教科书的合并方差t检验假定两组总体方差相等；方差齐性F检验 P<0.001，"
            "提示方差不齐，宜用Welch校正t检验（t′ = -1.3912，ν′ = 7.4703，P=0.204）。");
  const Report flat =
      TwoSampleReport(TwoSampleReportFigures(Summary({"3", "0", "5", "2", "0", "6"})));
  EXPECT_NE(flat.sentences[0].find("无法判断"), std::string::npos);
  EXPECT_EQ(FindRow(flat, "t")->value, "—（两组标准差均为0，合并标准误为0）");
}

TEST(ReportText, CountRulesNameTheTestTheyPointTo) {
  EXPECT_EQ(FourfoldReport(FourfoldReportFigures(Table(20, 10, 10, 20))).sentences[0],
            "主窗口的规则：n = 60 ≥ 40，最小理论数 T(a) = 15.0000 ≥ 5，用未校正的Pearson χ²检验："
            "χ² = 6.6667，P=0.010。");
  EXPECT_EQ(FourfoldReport(FourfoldReportFigures(Table(30, 10, 2, 8))).sentences[0],
            "主窗口的规则：n = 50 ≥ 40，最小理论数 T(d) = 3.6000 < 5，用连续性校正χ²检验："
            "χ² = 8.2520，P=0.004。");
  const Report sparse = FourfoldReport(FourfoldReportFigures(Table(1573, 3, 4, 0)));
  EXPECT_EQ(sparse.sentences[0],
            "主窗口的规则：n = 1580 ≥ 40，最小理论数 T(d) = 0.0076 < 1，χ²检验不适用，"
            "应看Fisher确切概率法：P>0.999。");
  EXPECT_EQ(FindRow(sparse, "比值比 OR")->value, "—（有格子为0，比值比或其对数的标准误无定义）");
  EXPECT_NE(
      FourfoldReport(FourfoldReportFigures(Table(10, 5, 4, 12))).sentences[0].find("n = 31 < 40"),
      std::string::npos);

  const Report paired = McNemarReport(McNemarReportFigures(Table(0, 12, 4, 0)));
  EXPECT_EQ(FindRow(paired, "χ²（b + c < 40，校正）")->value, "3.0625");
  EXPECT_EQ(paired.sentences[0],
            "主窗口的规则：b + c = 16 < 40，用校正χ²，χ² = 3.0625；确切二项检验 P=0.077。");
}

// d's interval: R, uniroot on pt(2.450269, 18, ncp) = 0.975 and 0.025, over √5: 0.1370, 2.0286.
TEST(ReportText, ResultsAndMethodsSentencesInEachStyle) {
  const TwoSampleFigures f =
      TwoSampleReportFigures(Summary({"13.1", "2.829", "10", "10.0", "2.829", "10"}));
  const Report chinese = TwoSampleReport(f, PStyle::ChineseMedical);
  EXPECT_EQ(chinese.results,
            "两组均数差异有统计学意义（t=2.45，ν=18，P=0.025），均数差3.10（95%CI：0.44～5.76），"
            "d=1.10（95%CI：0.14～2.03）。");
  EXPECT_EQ(chinese.methods,
            "统计方法：两组均数比较采用两独立样本t检验（合并方差），效应量为Cohen d及其95%CI"
            "（非中心t分布法）；双侧检验，检验水准α=0.05；统计分析使用Quillon 3.0。");
  EXPECT_EQ(TwoSampleReport(f, PStyle::Ama).results,
            "The difference between the two means was statistically significant (t = 2.45, "
            "df = 18, P = .02); mean difference, 3.10 (95% CI, 0.44-5.76); Cohen d = 1.10 "
            "(95% CI, 0.14-2.03).");
  // The table and the copy carry both sentences.
  EXPECT_NE(ReportPlainText(chinese).find(chinese.results + "\n" + chinese.methods + "\n"),
            std::string::npos);
  // The four-fold sentence names the test the main window's rule chose.
  const Report fisher = FourfoldReport(FourfoldReportFigures(Table(1573, 3, 4, 0)), PStyle::Nejm);
  EXPECT_NE(fisher.results.find("(Fisher exact test, P>0.99)"), std::string::npos)
      << fisher.results;
  EXPECT_NE(fisher.methods.find("the Fisher exact test"), std::string::npos);
}

// Every interval in a sentence reads as its P does. Welch (R: diff ± qt(0.975, ν′)·SE′):
// 1.5 − 0 over SDs 1, 3 and n 40, 5: t′ = 1.110, ν′ = 4.112, P = 0.328, −2.21 to 5.21.
// Pooled 5.1874 − 4.1: P = 0.0494, 0.00303 to 2.17, d's interval (uniroot on pt) 0.00224 to 1.77.
// Four-fold (6, 14, 1, 19): chisq.test P = 0.096, Newcombe RD interval (statsmodels, "newcomb")
// 0.0081 to 0.473.
TEST(ReportText, SentencesNeverContradictThemselves) {
  const std::string few = TwoSampleResults(
      TwoSampleReportFigures(Summary({"1.5", "1", "40", "0", "3", "5"})), PStyle::ChineseMedical);
  EXPECT_EQ(few,
            "两组均数差异无统计学意义（t′=1.11，ν′=4.11，P=0.328），均数差1.50"
            "（95%CI：-2.21～5.21），d=1.14。");
  const std::string edge =
      TwoSampleResults(TwoSampleReportFigures(Summary({"5.1874", "1.3", "12", "4.1", "1.1", "10"})),
                       PStyle::ChineseMedical);
  EXPECT_NE(edge.find("P=0.049），均数差1.09（95%CI：0.003～2.17），d=0.90（95%CI：0.002～1.77）"),
            std::string::npos)
      << edge;
  EXPECT_NE(FourfoldResults(FourfoldReportFigures(Table(6, 14, 1, 19)), PStyle::ChineseMedical)
                .find("P=0.096），试验组0.30，对照组0.05，率差0.25（95%CI：0.01～0.47；Newcombe法，"
                      "与检验结论不一致时以检验为准）"),
            std::string::npos);
}

TEST(ReportText, CorrelationWordingAndWhatThePositiveColumnMeans) {
  PairSums weak;
  for (const auto& [x, y] : {std::pair{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}}) {
    weak.Add(*Fixed4::FromDouble(x), *Fixed4::FromDouble(y));
  }
  // stats.pearsonr: r = 0.775, P = 0.124.
  EXPECT_TRUE(CorrelationReport(CorrelationReportFigures(weak))
                  .results.starts_with("尚不能认为X与Y之间有直线相关关系（r=0.77，"));
  const Report harm =
      FourfoldReport(FourfoldReportFigures(Table(56, 14, 48, 32), PositiveMeans::Harm));
  EXPECT_EQ(harm.sections.back().heading, "率与绝对效应（以（+）为不良事件）");
  EXPECT_NE(harm.results.find("NNTH 5.0"), std::string::npos);
  EXPECT_NE(harm.methods.find("NNT按Altman法（以（+）为不良事件）"), std::string::npos);
}

TEST(ReportText, HtmlIsAThreeLineTable) {
  Report report;
  report.title = "A <b> & c";
  report.sections = {{"S1", {{"x̄₁", "1.0000", "Σx/n"}, {"t", "2", "a<b"}}},
                     {"S2", {{"P", "—（reason）", "f(x) in 95%CI, 1.2E-05, ad − bc"}}}};
  report.sentences = {"句子：χ² = 3.0，ν = 1，P < 0.05。"};
  const std::string html = ReportHtml(report);
  EXPECT_NE(html.find("A &lt;b&gt; &amp; c"), std::string::npos);
  EXPECT_EQ(Count(html, "<table"), 1u);
  EXPECT_EQ(Count(html, "<tr>"), 6u);  // header, two headings, three rows
  // Heavy rules above and below the header cells' row and under the last row's cells, a thin
  // rule under the header; nothing else, no vertical rules.
  EXPECT_EQ(Count(html, "border-top:1.5pt solid"), 3u);
  EXPECT_EQ(Count(html, "border-bottom:0.75pt solid"), 3u);
  EXPECT_EQ(Count(html, "border-bottom:1.5pt solid"), 3u);
  EXPECT_EQ(Count(html.substr(html.rfind("<tr>")), "border-bottom:1.5pt solid"), 3u);
  EXPECT_EQ(Count(html, "border-left"), 0u);
  EXPECT_EQ(Count(html, "align=\"right\""), 4u);  // the value column, its heading included
  // Symbols in italics; words, abbreviations and exponents not.
  EXPECT_NE(html.find("<i>x̄₁</i>"), std::string::npos);
  EXPECT_NE(html.find("><i>t</i></td>"), std::string::npos);
  EXPECT_NE(html.find("<i>a</i>&lt;<i>b</i>"), std::string::npos);
  EXPECT_NE(html.find("<i>f</i>(<i>x</i>) in 95%CI, 1.2E-05, <i>ad</i> − <i>bc</i>"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("<p>句子：<i>χ²</i> = 3.0，<i>ν</i> = 1，<i>P</i> &lt; 0.05。</p>"),
            std::string::npos);

  EXPECT_EQ(ReportPlainText(report),
            "A <b> & c\n\n【S1】\nx̄₁\t1.0000\tΣx/n\nt\t2\ta<b\n\n【S2】\nP\t—（reason）\t"
            "f(x) in 95%CI, 1.2E-05, ad − bc\n\n句子：χ² = 3.0，ν = 1，P < 0.05。\n");
}

TEST(ReportText, EveryAnalysisRendersItsMissingFiguresWithReasons) {
  PairSums none;
  for (const Report& report : {PairedReport(PairedReportFigures(none)),
                               CorrelationReport(CorrelationReportFigures(none))}) {
    const std::string text = ReportPlainText(report);
    EXPECT_NE(text.find("—（"), std::string::npos) << text;
    EXPECT_EQ(text.find("nan"), std::string::npos) << text;
  }
  PairSums line;
  line.Add(Fixed4::FromRaw(10000), Fixed4::FromRaw(30000));
  line.Add(Fixed4::FromRaw(20000), Fixed4::FromRaw(50000));
  line.Add(Fixed4::FromRaw(30000), Fixed4::FromRaw(80000));
  EXPECT_EQ(CorrelationReport(CorrelationReportFigures(line)).sentences,
            std::vector<std::string>{"回归方程：Ŷ = 0.3333 + 2.5000X。"});
}

// The paper's table of each design, checked by hand (and by scipy): the same rounding as the
// sentences, the headings of the style, the names where given and the defaults where not.
struct PaperCase {
  const char* what;
  PaperTable table;
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  std::string caption;
};

std::vector<Fixed4> Values(std::initializer_list<double> values) {
  std::vector<Fixed4> fixed;
  for (const double value : values) fixed.push_back(*Fixed4::FromDouble(value));
  return fixed;
}

TEST(ReportText, PaperTableOfEachDesignAndStyle) {
  const TwoSampleFigures pooled =
      TwoSampleReportFigures(Summary({"13.1", "2.829", "10", "10.0", "2.829", "10"}));
  const TwoSampleFigures welch = TwoSampleReportFigures(Summary({"1.5", "1", "40", "0", "3", "5"}));
  const std::vector<Fixed4> high = Values({3, 7, 8, 9, 10}), low = Values({1, 2, 4, 5, 6});
  const RankSumFigures ranks = RankSumReportFigures(high, low);
  ReportNames named;
  named.first = "试验组";
  named.second = "对照组";
  named.outcome = "收缩压";
  named.unit = "mmHg";
  // Pairs 10 12 14 16 / 9 10 13 13: d = 1 2 1 3, t = 3.656 (ttest_rel), P = 0.035.
  PairSums pairSums;
  std::vector<std::pair<Fixed4, Fixed4>> pairs;
  for (const auto& [x, y] : {std::pair{10, 9}, {12, 10}, {14, 13}, {16, 13}}) {
    pairs.emplace_back(*Fixed4::FromDouble(x), *Fixed4::FromDouble(y));
    pairSums.Add(pairs.back().first, pairs.back().second);
  }
  const PairedColumns columns{Figure::Of(13),
                              Figure::Of(2.5820),
                              Figure::Of(11.25),
                              Figure::Of(2.0616),
                              QuartilesOf(Values({10, 12, 14, 16})),
                              QuartilesOf(Values({9, 10, 13, 13}))};
  const PairedFigures paired = PairedReportFigures(pairSums);
  PairSums weak;
  for (const auto& [x, y] : {std::pair{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}}) {
    weak.Add(*Fixed4::FromDouble(x), *Fixed4::FromDouble(y));
  }
  std::vector<std::pair<Fixed4, Fixed4>> weakPairs;
  const CorrelationFigures correlation = CorrelationReportFigures(weak);
  const SpearmanFigures spearman = SpearmanReportFigures(weakPairs);
  const PaperCase cases[] = {
      {"pooled t, named",
       TwoSamplePaper(pooled, ranks, PStyle::ChineseMedical, TestPath::TTest, named, 2),
       {"组别", "n", "x̄±s", "t", "P"},
       {{"试验组", "10", "13.10±2.83", "2.45", "0.025"}, {"对照组", "10", "10.00±2.83", "", ""}},
       "表1  试验组与对照组收缩压（mmHg）的比较"},
      {"Welch, AMA",
       TwoSamplePaper(welch, ranks, PStyle::Ama, TestPath::TTest, {}, 1),
       {"Group", "n", "Mean ± SD", "t′", "P"},
       {{"Group 1", "40", "1.5 ± 1.0", "1.11", ".33"}, {"Group 2", "5", "0.0 ± 3.0", "", ""}},
       "Table 1. Comparison between group 1 and group 2"},
      // U = 22, exact P = 0.056; quartiles by type 6.
      {"rank sum",
       TwoSamplePaper(pooled, ranks, PStyle::ChineseMedical, TestPath::RankTest, {}, 2),
       {"组别", "n", "M(P₂₅, P₇₅)", "U", "P"},
       {{"第1组", "10", "8.00（5.00，9.50）", "22", "0.056"},
        {"第2组", "10", "4.00（1.50，5.50）", "", ""}},
       "表1  第1组与第2组的比较"},
      {"paired t",
       PairedPaper(paired, SignedRankReportFigures(pairs), columns, PStyle::ChineseMedical,
                   TestPath::TTest, {}, 1),
       {"指标", "处理前 x̄±s", "处理后 x̄±s", "差值 x̄±s", "t", "P"},
       {{"测量值", "13.0±2.6", "11.3±2.1", "1.8±1.0", "3.66", "0.035"}},
       "表1  处理前与处理后的比较（n=4）"},
      // r = 0.775, P = 0.124 (pearsonr); Fisher z interval −0.34 to 0.98; b = 6/10, a = 4 − 3b.
      {"correlation",
       CorrelationPaper(correlation, spearman, PStyle::ChineseMedical, TestPath::TTest, {}),
       {"n", "r（95%CI）", "P", "回归方程"},
       {{"5", "0.77（95%CI：-0.34～0.98）", "0.124", "Ŷ = 2.2000 + 0.6000X"}},
       "表1  X与Y的相关与回归"},
      // Expected 3.5 < 5: the corrected χ² = 40(100 − 20)²/92400 = 2.77, P = 0.096.
      {"four-fold",
       FourfoldPaper(FourfoldReportFigures(Table(6, 14, 1, 19)), PStyle::ChineseMedical, {}),
       {"组别", "n", "（+） n（%）", "χ²c", "P"},
       {{"试验组", "20", "6（30.0）", "2.77", "0.096"}, {"对照组", "20", "1（5.0）", "", ""}},
       "表1  试验组与对照组（+）率的比较"},
      // b + c = 20 < 40: (|5 − 15| − 1)²/20 = 4.05, P = 0.044.
      {"McNemar",
       McNemarPaper(McNemarReportFigures(Table(10, 5, 15, 20)), PStyle::Nejm, {}),
       {"After \\ Before", "(+)", "(−)", "Total", "χ²", "P"},
       {{"(+)", "10", "5", "15", "4.05", "0.04"},
        {"(−)", "15", "20", "35", "", ""},
        {"Total", "25", "25", "50", "", ""}},
       "Table 1. Paired results, After and Before"},
  };
  for (const PaperCase& c : cases) {
    EXPECT_EQ(c.table.header, c.header) << c.what;
    EXPECT_EQ(c.table.rows, c.rows) << c.what;
    EXPECT_EQ(c.table.caption, c.caption) << c.what;
  }
  // The sentences round as the table does, and the HTML sets the subscripts as subscripts.
  const Report report =
      TwoSampleReport(pooled, ranks, PStyle::ChineseMedical, nullptr, TestPath::RankTest, named);
  EXPECT_NE(report.results.find("M(P25, P75)试验组8.00（5.00，9.50），对照组4.00（1.50，5.50）"),
            std::string::npos)
      << report.results;
  EXPECT_NE(PaperCellHtml("M(P₂₅, P₇₅)").find("<i>P<sub>25</sub></i>"), std::string::npos);
  EXPECT_EQ(PaperCellHtml("a<b₁"), "<i>a</i>&lt;<i>b<sub>1</sub></i>");
}

// Names go everywhere the defaults went, and before-and-after pairs read as a change.
TEST(ReportText, NamedSentencesTellTheDirection) {
  PairSums sums;
  for (const auto& [x, y] : {std::pair{150, 140}, {160, 148}, {155, 150}, {170, 152}}) {
    sums.Add(*Fixed4::FromDouble(x), *Fixed4::FromDouble(y));
  }
  ReportNames names;
  names.first = "治疗前";
  names.second = "治疗后";
  names.outcome = "收缩压";
  names.unit = "mmHg";
  const Report lower =
      PairedReport(PairedReportFigures(sums), PStyle::ChineseMedical, nullptr, names);
  EXPECT_TRUE(lower.results.starts_with("治疗后收缩压较治疗前降低，差异有统计学意义"))
      << lower.results;
  EXPECT_NE(lower.results.find("差值（治疗前 − 治疗后）均数11.25 mmHg"), std::string::npos);
  EXPECT_EQ(lower.sections.front().heading, "差值 d = 治疗前 − 治疗后");
  std::vector<std::pair<Fixed4, Fixed4>> ranked;
  for (int k = 1; k <= 10; ++k) {
    ranked.emplace_back(*Fixed4::FromDouble(k), *Fixed4::FromDouble(k == 1 ? 2 : k == 2 ? 1 : k));
  }
  names.first = "年龄";
  names.second = "血压";
  EXPECT_TRUE(CorrelationResults(CorrelationFigures{}, SpearmanReportFigures(ranked),
                                 PStyle::ChineseMedical, TestPath::RankTest, names)
                  .starts_with("年龄与血压呈正相关（rs=0.99"));
}

TEST(ReportText, MarginSectionGoesAfterTheTableAndItsSentencesAroundTodays) {
  const TwoSampleFigures f =
      TwoSampleReportFigures(Summary({"5.2", "1.3", "12", "4.1", "1.1", "10"}));
  ReportNames names;
  names.first = "新药";
  names.second = "对照药";
  names.outcome = "收缩压";
  names.unit = "mmHg";
  const Report today = TwoSampleReport(f, PStyle::Ama, nullptr, names);
  Report report = today;
  AddMarginSection(report, TwoSampleMargin(f, {}), PStyle::Ama, names);
  EXPECT_EQ(report, today);  // a difference adds nothing

  AddMarginSection(report, TwoSampleMargin(f, {Hypothesis::Equivalence, Better::Higher, "2", ""}),
                   PStyle::Ama, names);
  ASSERT_EQ(report.sections.size(), today.sections.size() + 1);
  EXPECT_EQ(report.sections.back().heading, "等效检验");
  const ReportRow* interval = FindRow(report, "均数之差的90%置信区间");
  ASSERT_NE(interval, nullptr);
  EXPECT_EQ(interval->value, "0.2034-1.9966");
  EXPECT_EQ(FindRow(report, "结论")->value, "等效成立");
  // The margin's sentence first, with its scale, the interval against ±Δ and the conclusion; the
  // upper bound 1.9966 would read as the margin at two decimals.
  EXPECT_EQ(report.results.find("The equivalence margin was Δ = 2 mmHg"), 0u);
  EXPECT_NE(report.results.find("(90% CI, 0.20-1.997); the interval lay entirely within ±2 mmHg, "
                                "so equivalence was shown"),
            std::string::npos);
  EXPECT_EQ(report.results.substr(report.results.size() - today.results.size()), today.results);
  EXPECT_EQ(report.methods.find(today.methods), 0u);
  EXPECT_NE(report.methods.find("two one-sided tests (TOST)"), std::string::npos);
}

}  // namespace
}  // namespace quillon
