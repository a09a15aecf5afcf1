#include "report/count_content.h"

namespace quillon {

namespace {

constexpr const char* kChiSquareP = "χ²分布，ν = 1";

// The rule the main window applies: the plain formula when every expected count is at least 5,
// the corrected one otherwise, and a warning against both when n < 40 or an expected count is
// below 1.
std::string RuleSentence(const FourfoldFigures& f) {
  if (!f.n || !f.smallestExpected) {
    return "无法应用主窗口的规则（" + (f.n ? f.smallestExpected.reason : f.n.reason) + "）。";
  }
  const double n = *f.n;
  const double smallest = *f.smallestExpected;
  const std::string facts = "主窗口的规则：n = " + CountText(f.n) + (n < 40 ? " < 40" : " ≥ 40") +
                            "，最小理论数 T = " + NumberText(f.smallestExpected) +
                            (smallest < 1   ? " < 1"
                             : smallest < 5 ? " < 5"
                                            : " ≥ 5");
  if (n < 40 || smallest < 1) {
    return facts + "，χ²检验不适用，应看Fisher确切概率法：P = " + PText(f.fisherP) + "。";
  }
  if (smallest < 5) {
    return facts + "，用连续性校正χ²检验：χ² = " + NumberText(f.correctedChiSquare) +
           "，P = " + PText(f.correctedP) + "。";
  }
  return facts + "，用未校正的Pearson χ²检验：χ² = " + NumberText(f.chiSquare) +
         "，P = " + PText(f.chiSquareP) + "。";
}

}  // namespace

Report FourfoldReport(const FourfoldFigures& f) {
  Report report;
  report.title = "四格表资料χ²检验";
  const char* cellNames[] = {"a", "b", "c", "d"};
  ReportSection expected{"理论数", {{"总例数 n", CountText(f.n), "n = a + b + c + d"}}};
  for (std::size_t i = 0; i < 4; ++i) {
    expected.rows.push_back({std::string(cellNames[i]) + " 的理论数 T", NumberText(f.expected[i]),
                             "T = n(行)·n(列) / n"});
  }
  report.sections.push_back(expected);
  report.sections.push_back(
      {"检验",
       {{"χ²（未校正）", NumberText(f.chiSquare),
         "Pearson χ² = (ad − bc)²n / [(a+b)(c+d)(a+c)(b+d)]"},
        {"P", PText(f.chiSquareP), kChiSquareP},
        {"χ²（连续性校正）", NumberText(f.correctedChiSquare),
         "χ²c = (|ad − bc| − n/2)²n / [(a+b)(c+d)(a+c)(b+d)]，|ad − bc| < n/2 时为0"},
        {"P", PText(f.correctedP), kChiSquareP},
        {"Fisher确切概率 P", PText(f.fisherP), "超几何分布，双侧（概率不大于观察表的各表之和）"}}});
  report.sections.push_back(
      {"效应量",
       {{"比值比 OR", NumberText(f.oddsRatio), "OR = ad / bc"},
        {"OR的95%置信区间", IntervalText(f.oddsLower, f.oddsUpper),
         "Woolf法 exp[ln OR ± 1.96·√(1/a + 1/b + 1/c + 1/d)]"},
        {"相对危险度 RR", NumberText(f.riskRatio), "RR = [a/(a+b)] / [c/(c+d)]"},
        {"RR的95%置信区间", IntervalText(f.riskLower, f.riskUpper),
         "exp[ln RR ± 1.96·√(1/a − 1/(a+b) + 1/c − 1/(c+d))]"}}});
  report.sentences.push_back(RuleSentence(f));
  return report;
}

Report McNemarReport(const McNemarFigures& f) {
  Report report;
  report.title = "配对资料χ²检验（McNemar检验）";
  const Figure discordant = Figure::Of(f.b + f.c);
  report.sections.push_back(
      {"不一致的对子",
       {{"b", CountText(Figure::Of(f.b)), "治疗后（+）治疗前（-）"},
        {"c", CountText(Figure::Of(f.c)), "治疗后（-）治疗前（+）"},
        {"b + c", CountText(discordant), "b + c"},
        f.corrected ? ReportRow{"χ²（b + c < 40，校正）", NumberText(f.chiSquare),
                                "χ² = (|b − c| − 1)² / (b + c)，|b − c| < 1 时为0"}
                    : ReportRow{"χ²（b + c ≥ 40，未校正）", NumberText(f.chiSquare),
                                "χ² = (b − c)² / (b + c)"},
        {"P", PText(f.p), kChiSquareP},
        {"确切概率 P", PText(f.exactP), "二项分布，双侧 2·P(X ≤ min(b, c))，p = 0.5"}}});
  report.sentences.push_back("主窗口的规则：b + c = " + CountText(discordant) +
                             (f.corrected ? " < 40，用校正χ²" : " ≥ 40，用未校正χ²") +
                             "；确切二项检验 P = " + PText(f.exactP) + "。");
  return report;
}

}  // namespace quillon
