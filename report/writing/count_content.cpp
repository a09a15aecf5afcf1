#include "report/writing/count_content.h"

#include "report/writing/sentences.h"

namespace quillon {

namespace {

constexpr const char* kChiSquareP = "χ²分布，ν = 1";

// The rule the main window applies, told with the main window's own n and expected counts: the
// plain formula when every expected count is at least 5, the corrected one otherwise, and a
// warning against both when n < 40 or an expected count is below 1.
std::string RuleSentence(const FourfoldFigures& f, PStyle style) {
  const FourfoldChiSquareResult& shown = f.shown;
  if (!f.n) return "无法应用主窗口的规则（" + f.n.reason + "）。";
  if (shown.wholeN == 0) return "无法应用主窗口的规则（n = 0，没有理论数）。";
  const char* cellNames[] = {"a", "b", "c", "d"};
  const std::string facts =
      "主窗口的规则：n = " + shown.n + (shown.wholeN < 40 ? " < 40" : " ≥ 40") + "，最小理论数 T(" +
      cellNames[shown.smallestExpected] + ") = " + shown.expected[shown.smallestExpected] +
      (!shown.allExpectedAtLeast1   ? " < 1"
       : !shown.allExpectedAtLeast5 ? " < 5"
                                    : " ≥ 5");
  if (shown.warned) {
    return facts + "，χ²检验不适用，应看Fisher确切概率法：" + PText(style, f.fisherP) + "。";
  }
  if (!shown.shownChiSquare) return facts + "；有行合计或列合计为0，χ²无法计算。";
  if (!shown.allExpectedAtLeast5) {
    std::string sentence = facts + "，用连续性校正χ²检验：χ² = " + shown.chiSquare;
    if (*shown.shownChiSquare != *shown.yates) {
      sentence += "（主窗口将 |ad − bc| − n/2 < 0 照样平方；按教科书取0，χ² = " +
                  NumberText(f.correctedChiSquare) + "）";
    }
    return sentence + "，" + PText(style, f.correctedP) + "。";
  }
  return facts + "，用未校正的Pearson χ²检验：χ² = " + shown.chiSquare + "，" +
         PText(style, f.chiSquareP) + "。";
}

// The main window's rule of 40 discordant pairs, with the exact test beside it; no rule and no
// test without discordant pairs.
std::string McNemarRuleSentence(const McNemarFigures& f, PStyle style) {
  if (f.noDiscordantPairs) return "主窗口的规则：b + c = 0，没有不一致的对子，不作检验。";
  std::string rule = "主窗口的规则：b + c = " + CountText(Figure::Of(f.b + f.c)) +
                     (f.corrected ? " < 40，用校正χ²" : " ≥ 40，用未校正χ²");
  if (!f.shown.chiSquare.empty()) {
    rule += "，χ² = " + f.shown.chiSquare;
    if (f.shown.shownChiSquare != f.shown.textbookChiSquare) {
      rule += "（主窗口将 |b − c| − 1 < 0 照样平方；按教科书取0）";
    }
  }
  return rule + "；确切二项检验 " + PText(style, f.exactP) + "。";
}

}  // namespace

Report FourfoldReport(const FourfoldFigures& f, PStyle style, const ReportNames& names) {
  const std::string positive = NameOr(names.positive, kPositive);
  Report report;
  report.title = "四格表资料χ²检验";
  const char* cellNames[] = {"a", "b", "c", "d"};
  ReportSection expected{"理论数", {{"总例数 n", CountText(f.n), "n = a + b + c + d"}}};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string& shown = f.shown.expected[i];
    expected.rows.push_back({std::string(cellNames[i]) + " 的理论数 T",
                             shown.empty() ? MissingText(Figure::Missing("n = 0")) : shown,
                             "T = n(行)·n(列) / n"});
  }
  report.sections.push_back(expected);
  report.sections.push_back(
      {"检验",
       {{"χ²（未校正）", NumberText(f.chiSquare),
         "Pearson χ² = (ad − bc)²n / [(a+b)(c+d)(a+c)(b+d)]"},
        {"P", PCellText(style, f.chiSquareP), kChiSquareP},
        {"χ²（连续性校正）", NumberText(f.correctedChiSquare),
         "χ²c = (|ad − bc| − n/2)²n / [(a+b)(c+d)(a+c)(b+d)]，|ad − bc| < n/2 时为0"},
        {"P", PCellText(style, f.correctedP), kChiSquareP},
        {"Fisher确切概率 P", PCellText(style, f.fisherP),
         "超几何分布，双侧（概率不大于观察表的各表之和）"}}});
  report.sections.push_back(
      {"效应量",
       {{"比值比 OR", NumberText(f.oddsRatio), "OR = ad / bc"},
        {"OR的95%置信区间", IntervalText(style, f.oddsLower, f.oddsUpper, IntervalNull::One),
         "Woolf法 exp[ln OR ± 1.96·√(1/a + 1/b + 1/c + 1/d)]"},
        {"相对危险度 RR", NumberText(f.riskRatio), "RR = [a/(a+b)] / [c/(c+d)]"},
        {"RR的95%置信区间", IntervalText(style, f.riskLower, f.riskUpper, IntervalNull::One),
         "exp[ln RR ± 1.96·√(1/a − 1/(a+b) + 1/c − 1/(c+d))]"}}});
  const RiskDifferenceFigures& r = f.risk;
  const NumberNeededText nnt = NumberNeededTexts(f.numberNeeded);
  report.sections.push_back(
      {"率与绝对效应（" + PositiveMeansText(f.positive) + "）",
       {{NameOr(names.first, kTreated) + positive + "率 p₁", NumberText(r.risk1),
         "p₁ = a / (a + b)"},
        {NameOr(names.second, kControl) + positive + "率 p₂", NumberText(r.risk2),
         "p₂ = c / (c + d)"},
        {"率差 RD", NumberText(r.difference), "RD = p₁ − p₂"},
        {"RD的95%置信区间", IntervalText(style, r.lower, r.upper, IntervalNull::Zero),
         "Newcombe混合score法（两组Wilson区间合成）"},
        {"需治疗人数 NNT", r.difference ? nnt.estimate : MissingText(r.difference),
         f.positive == PositiveMeans::Harm
             ? "NNT = 1 / |RD|；RD < 0为NNTB（获益），RD > 0为NNTH（受害）"
             : "NNT = 1 / |RD|；RD > 0为NNTB（获益），RD < 0为NNTH（受害）"},
        {"NNT的95%置信区间",
         r.lower && r.upper ? nnt.interval : MissingText(r.lower ? r.upper : r.lower),
         "RD置信区间两端取倒数；跨0时经∞（Altman法）"}}});
  report.sentences.push_back(RuleSentence(f, style));
  report.results = FourfoldResults(f, style, names);
  report.methods = FourfoldMethods(f, style);
  return report;
}

Report McNemarReport(const McNemarFigures& f, PStyle style, const ReportNames& names) {
  const std::string later = NameOr(names.first, kLater);
  const std::string earlier = NameOr(names.second, kEarlier);
  const std::string positive = NameOr(names.positive, kPositive);
  const std::string negative = NameOr(names.negative, kNegative);
  Report report;
  report.title = "配对资料χ²检验（McNemar检验）";
  const Figure discordant = Figure::Of(f.b + f.c);
  report.sections.push_back(
      {"不一致的对子",
       {{"b", CountText(Figure::Of(f.b)), later + positive + earlier + negative},
        {"c", CountText(Figure::Of(f.c)), later + negative + earlier + positive},
        {"b + c", CountText(discordant), "b + c"},
        f.noDiscordantPairs ? ReportRow{"χ²", NumberText(f.chiSquare), "b + c = 0，不作检验"}
        : f.corrected       ? ReportRow{"χ²（b + c < 40，校正）", NumberText(f.chiSquare),
                                  "χ² = (|b − c| − 1)² / (b + c)，|b − c| < 1 时为0"}
                      : ReportRow{"χ²（b + c ≥ 40，未校正）", NumberText(f.chiSquare),
                                  "χ² = (b − c)² / (b + c)"},
        {"P", PCellText(style, f.p), kChiSquareP},
        {"确切概率 P", PCellText(style, f.exactP), "二项分布，双侧 2·P(X ≤ min(b, c))，p = 0.5"},
        {"mid-P", PCellText(style, f.paired.midP), "2·[P(X ≤ min(b, c)) − ½P(X = min(b, c))]"}}});
  const PairedProportionFigures& paired = f.paired;
  report.sections.push_back(
      {"配对率差与配对比值比",
       {{"配对率差", NumberText(paired.difference), "(b − c) / n，n = a + b + c + d"},
        {"配对率差的95%置信区间",
         IntervalText(style, paired.lower, paired.upper, IntervalNull::Zero),
         "Newcombe配对score法（方法10）"},
        {"配对比值比 OR", NumberText(paired.oddsRatio), "OR = b / c"},
        {"配对OR的95%置信区间",
         paired.oddsUnbounded
             ? JoinBounds(style,
                          UnboundedLowerText(paired.oddsLower, 4, NumberText(paired.oddsLower)),
                          "∞")
             : IntervalText(style, paired.oddsLower, paired.oddsUpper, IntervalNull::One),
         "b / (b + c)的Clopper–Pearson确切区间换算 p / (1 − p)"}}});
  report.sentences.push_back(McNemarRuleSentence(f, style));
  report.results = McNemarResults(f, style);
  report.methods = McNemarMethods(f, style);
  return report;
}

}  // namespace quillon
