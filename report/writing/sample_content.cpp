#include "report/writing/sample_content.h"

#include "report/writing/sentences.h"
#include "stats/number_text.h"

namespace quillon {

namespace {

constexpr const char* kTwoSidedT = "t分布，双侧";
constexpr const char* kNoncentral = "非中心t分布反推";
constexpr const char* kShapiroWilk = "Shapiro–Wilk检验（Royston法，3 ≤ n ≤ 5000）";
constexpr const char* kShapiroWilkP = "Royston正态近似";
constexpr const char* kLimitInterval = "界限 ± t(0.05/2, n − 1)·√(3Sd²/n)（Bland–Altman 1999）";

bool NonNormal(const NormalityFigures& figures) { return figures.p && *figures.p < 0.05; }

// One short sentence on what the normality tests find; the main window's test is not changed.
std::string NormalityGuidance(
    PStyle style, std::initializer_list<std::pair<std::string, const NormalityFigures*>> tested) {
  std::string small;
  std::string missing;
  for (const auto& [name, figures] : tested) {
    if (!figures->p) {
      if (missing.empty())
        missing = std::string(name) + "无正态性检验（" + figures->p.reason + "）";
    } else if (*figures->p < 0.05) {
      small +=
          (small.empty() ? "" : "、") + std::string(name) + "（" + PText(style, figures->p) + "）";
    }
  }
  if (!small.empty()) {
    // What follows from it, the rank test, is said once, in the rank test's line.
    return "正态性：Shapiro–Wilk检验提示" + small + "可能偏离正态分布；主窗口的结果不变。";
  }
  if (!missing.empty()) return "正态性：" + missing + "。";
  return "正态性：Shapiro–Wilk检验未发现偏离正态分布。";
}

// The intercept as the main window's equation shows it: rounded exactly to four decimals.
std::string InterceptText(const CorrelationFigures& f) {
  if (!f.intercept) return MissingText(f.intercept);
  if (!f.shown.intercept) return NumberText(f.intercept);
  return FormatFixed4(f.shown.intercept->ToPlainText());
}

// The variance checks' finding, with its recommendation only where the data give no reason to
// doubt normality: otherwise the one recommendation is the rank test's, with that reason.
std::string VarianceSentence(const TwoSampleFigures& f, PStyle style, bool nonNormal) {
  const std::string premise = "教科书的合并方差t检验假定两组总体方差相等；";
  const std::string welch = "宜用Welch校正t检验（t′ = " + NumberText(f.welchT) +
                            "，ν′ = " + CountText(f.welchDf) + "，" + PText(style, f.welchP) +
                            "）。";
  if (f.oneDeviationZero && f.welchChosen) {
    return premise +
           "一组标准差为0而另一组不为0，方差明显不齐（方差比为0或无穷大，F检验无法进行），" +
           (nonNormal ? "Welch校正t检验见上表。" : welch);
  }
  if (!f.fP) {
    return premise + "方差齐性F检验无法进行（" + f.fP.reason + "），无法判断方差是否不齐。";
  }
  const std::string test = premise + "方差齐性F检验 " + PText(style, f.fP);
  if (*f.fP >= 0.05) {
    return test + (nonNormal ? "，未发现方差不齐。" : "，未发现方差不齐，可用合并方差t检验。");
  }
  return test +
         (nonNormal ? "，提示方差不齐（Welch校正t检验见上表）。" : "，提示方差不齐，" + welch);
}

}  // namespace

std::string RegressionEquation(const CorrelationFigures& f) {
  if (!f.intercept || !f.slope) return {};
  const std::string slope = NumberText(f.slope);
  return "Ŷ = " + InterceptText(f) +
         (slope.starts_with('-') ? " − " + slope.substr(1) : " + " + slope) + "X";
}

Report TwoSampleReport(const TwoSampleFigures& f, PStyle style, const TwoSampleChecks* checks,
                       const ReportNames& names) {
  const SummaryValues& v = f.input;
  const std::string first = NameOr(names.first, kFirstGroup);
  const std::string second = NameOr(names.second, kSecondGroup);
  Report report;
  report.title = "两样本均数t检验";
  report.sections.push_back(
      {"各组描述",
       {{first + " 均数 x̄₁", NumberText(Figure::Of(v.mean1.ToDouble())), "样本均数"},
        {first + " 标准差 S₁", NumberText(Figure::Of(v.deviation1.ToDouble())), "样本标准差"},
        {first + " 例数 n₁", CountText(Figure::Of(v.count1.ToDouble())), "例数"},
        {first + " 均数的95%置信区间", IntervalText(style, f.mean1Lower, f.mean1Upper),
         "x̄₁ ± t(0.05/2, n₁ − 1)·S₁/√n₁"},
        {second + " 均数 x̄₂", NumberText(Figure::Of(v.mean2.ToDouble())), "样本均数"},
        {second + " 标准差 S₂", NumberText(Figure::Of(v.deviation2.ToDouble())), "样本标准差"},
        {second + " 例数 n₂", CountText(Figure::Of(v.count2.ToDouble())), "例数"},
        {second + " 均数的95%置信区间", IntervalText(style, f.mean2Lower, f.mean2Upper),
         "x̄₂ ± t(0.05/2, n₂ − 1)·S₂/√n₂"},
        {"计算依据", f.fromValues ? "各组原始数据" : "汇总值",
         f.pooledFromValues ? "数值过大，主窗口的均数已失去第4位小数，故全部检验（含合并方差t检验）"
                              "用各组原始数据的"
                              "精确和"
         : f.fromValues     ? "合并方差t检验用主窗口显示的汇总值；均数的置信区间、方差齐性检验、"
                              "Welch校正t检验与效应量用各组原始数据的精确和"
                            : "六个汇总值（均数、标准差、例数）"}}});
  report.sections.push_back(
      {"合并方差t检验",
       {{"均数之差 x̄₁ − x̄₂", NumberText(f.difference), "x̄₁ − x̄₂"},
        {"合并方差 Sc²", NumberText(f.pooledVariance),
         "Sc² = [S₁²(n₁ − 1) + S₂²(n₂ − 1)] / (n₁ + n₂ − 2)"},
        {"标准误 S(x̄₁ − x̄₂)", NumberText(f.standardError), "√[Sc²(1/n₁ + 1/n₂)]"},
        {"t", NumberText(f.t), "t = (x̄₁ − x̄₂) / S(x̄₁ − x̄₂)"},
        {"自由度 ν", CountText(f.df), "ν = n₁ + n₂ − 2"},
        {"P", PCellText(style, f.p), kTwoSidedT},
        {"均数之差的95%置信区间", IntervalText(style, f.lower, f.upper, IntervalNull::Zero),
         "(x̄₁ − x̄₂) ± t(0.05/2, ν)·S(x̄₁ − x̄₂)"}}});
  report.sections.push_back(
      {"方差齐性检验",
       {{"F", NumberText(f.f), "F = S₁² / S₂²"},
        {"自由度 ν₁, ν₂",
         f.fDf1 && f.fDf2 ? CountText(f.fDf1) + ", " + CountText(f.fDf2) : MissingText(f.fDf1),
         "ν₁ = n₁ − 1，ν₂ = n₂ − 1"},
        {"P", PCellText(style, f.fP), "F分布，双侧 2·min[P(F ≤ F值), P(F ≥ F值)]"}}});
  report.sections.push_back({"Welch校正t检验（t′检验）",
                             {{"标准误", NumberText(f.welchStandardError), "√(S₁²/n₁ + S₂²/n₂)"},
                              {"t′", NumberText(f.welchT), "t′ = (x̄₁ − x̄₂) / √(S₁²/n₁ + S₂²/n₂)"},
                              {"自由度 ν′", CountText(f.welchDf), "Welch–Satterthwaite近似"},
                              {"P", PCellText(style, f.welchP), kTwoSidedT},
                              {"均数之差的95%置信区间",
                               IntervalText(style, f.welchLower, f.welchUpper, IntervalNull::Zero),
                               "(x̄₁ − x̄₂) ± t(0.05/2, ν′)·√(S₁²/n₁ + S₂²/n₂)"}}});
  const TwoSampleEffectSizes& e = f.effects;
  report.sections.push_back(
      {"效应量",
       {{"Cohen效应量 d", NumberText(e.d.estimate), "d = (x̄₁ − x̄₂) / Sc"},
        {"d的95%置信区间", IntervalText(style, e.d.lower, e.d.upper, IntervalNull::Zero),
         kNoncentral},
        {"Hedges效应量 g", NumberText(e.g.estimate),
         "g = J(ν)·d，J(ν) = Γ(ν/2) / [√(ν/2)·Γ((ν − 1)/2)]"},
        {"g的95%置信区间", IntervalText(style, e.g.lower, e.g.upper, IntervalNull::Zero),
         "d的区间乘J(ν)"}}});
  const bool nonNormal =
      checks != nullptr && (NonNormal(checks->first) || NonNormal(checks->second));
  report.sentences.push_back(VarianceSentence(f, style, nonNormal));
  if (checks != nullptr) {
    const BrownForsytheFigures& spread = checks->spread;
    report.sections.push_back(
        {"正态性与方差齐性（指导，不改变主窗口的检验）",
         {{first + " Shapiro–Wilk W", NumberText(checks->first.w), kShapiroWilk},
          {"P", PCellText(style, checks->first.p), kShapiroWilkP},
          {second + " Shapiro–Wilk W", NumberText(checks->second.w), kShapiroWilk},
          {"P", PCellText(style, checks->second.p), kShapiroWilkP},
          {"Brown–Forsythe F", NumberText(spread.f),
           "各值与本组中位数之差的绝对值作单因素方差分析"},
          {"自由度 ν₁, ν₂",
           spread.df1 && spread.df2 ? CountText(spread.df1) + ", " + CountText(spread.df2)
                                    : MissingText(spread.df1),
           "ν₁ = 1，ν₂ = n₁ + n₂ − 2"},
          {"P", PCellText(style, spread.p), "F分布，上侧"}}});
    report.sentences.push_back(
        NormalityGuidance(style, {{first, &checks->first}, {second, &checks->second}}));
    if (spread.p && *spread.p < 0.05) {
      report.sentences.push_back("Brown–Forsythe检验提示方差不齐（" + PText(style, spread.p) +
                                 (nonNormal ? "）。" : "），宜参考上方Welch校正t检验的结果。"));
    }
  }
  report.results = TwoSampleResults(f, style, names);
  report.methods = TwoSampleMethods(f, style);
  return report;
}

Report PairedReport(const PairedFigures& f, PStyle style, const PairedChecks* checks,
                    const ReportNames& names) {
  const bool twoMethods = names.meaning == PairedMeaning::TwoMethods;
  const std::string first = NameOr(names.first, twoMethods ? kX : kBefore);
  const std::string second = NameOr(names.second, twoMethods ? kY : kAfter);
  Report report;
  report.title = "配对资料t检验";
  report.sections.push_back(
      {"差值 d = " + first + " − " + second,
       {{"对子数 n", CountText(Figure::Of(static_cast<double>(f.n))),
         first + "与" + second + "均有数值的行"},
        {"差值均数 d̄", NumberText(f.meanDifference), "d̄ = Σd / n"},
        {"差值标准差 Sd", NumberText(f.deviation), "Sd = √[(Σd² − (Σd)²/n) / (n − 1)]"},
        {"标准误 S(d̄)", NumberText(f.standardError), "S(d̄) = Sd / √n"},
        {"t", NumberText(f.t), "t = d̄ / S(d̄)"},
        {"自由度 ν", CountText(f.df), "ν = n − 1"},
        {"P", PCellText(style, f.p), kTwoSidedT},
        {"差值均数的95%置信区间", IntervalText(style, f.lower, f.upper, IntervalNull::Zero),
         "d̄ ± t(0.05/2, ν)·S(d̄)"}}});
  report.sections.push_back(
      {"效应量",
       {{"标准化差值 dz", NumberText(f.dz.estimate), "dz = d̄ / Sd"},
        {"dz的95%置信区间", IntervalText(style, f.dz.lower, f.dz.upper, IntervalNull::Zero),
         kNoncentral}}});
  if (checks != nullptr && !twoMethods) {
    report.sections.push_back(
        {"差值的正态性（指导，不改变主窗口的检验）",
         {{"差值 Shapiro–Wilk W", NumberText(checks->differences.w), kShapiroWilk},
          {"P", PCellText(style, checks->differences.p), kShapiroWilkP}}});
    report.sentences.push_back(NormalityGuidance(style, {{"差值", &checks->differences}}));
  } else if (checks != nullptr) {
    const AgreementFigures& a = checks->agreement;
    report.sections.push_back(
        {"差值的正态性与两种测量的一致性（Bland–Altman）",
         {{"差值 Shapiro–Wilk W", NumberText(checks->differences.w), kShapiroWilk},
          {"P", PCellText(style, checks->differences.p), kShapiroWilkP},
          {"偏倚（差值均数）", NumberText(a.bias), "d̄"},
          {"偏倚的95%置信区间", IntervalText(style, a.biasLower, a.biasUpper, IntervalNull::Zero),
           "d̄ ± t(0.05/2, n − 1)·Sd/√n"},
          {"95%一致性界限下限", NumberText(a.lowerLimit), "d̄ − 1.96Sd"},
          {"下限的95%置信区间", IntervalText(style, a.lowerLimitLower, a.lowerLimitUpper),
           kLimitInterval},
          {"95%一致性界限上限", NumberText(a.upperLimit), "d̄ + 1.96Sd"},
          {"上限的95%置信区间", IntervalText(style, a.upperLimitLower, a.upperLimitUpper),
           kLimitInterval}}});
    report.sentences.push_back(NormalityGuidance(style, {{"差值", &checks->differences}}));
  }
  report.results = PairedResults(f, style, names);
  report.methods = PairedMethods(style);
  return report;
}

Report CorrelationReport(const CorrelationFigures& f, PStyle style, const CorrelationChecks* checks,
                         const ReportNames& names) {
  const std::string x = NameOr(names.first, kX);
  const std::string y = NameOr(names.second, kY);
  Report report;
  report.title = "直线相关与回归";
  report.sections.push_back(
      {"相关",
       {{"对子数 n", CountText(Figure::Of(static_cast<double>(f.n))),
         x + "与" + y + "均有数值的行"},
        {"相关系数 r", NumberText(f.r), "Pearson积差相关 r = lxy / √(lxx·lyy)"},
        {"r的95%置信区间", IntervalText(style, f.rLower, f.rUpper, IntervalNull::Correlation),
         "Fisher z变换 tanh(z ± 1.96/√(n − 3))"},
        {"t", NumberText(f.t), "t = r√[(n − 2) / (1 − r²)]"},
        {"自由度 ν", CountText(f.df), "ν = n − 2"},
        {"P", PCellText(style, f.p), kTwoSidedT},
        {"决定系数 r²", NumberText(f.rSquared), "r²"}}});
  report.sections.push_back(
      {"回归（" + y + "对" + x + "）",
       {{"截距 a", InterceptText(f), "a = ȳ − b·x̄"},
        {"截距的标准误 Sa", NumberText(f.interceptError), "Sa = S(y·x)·√(1/n + x̄²/lxx)"},
        {"截距的95%置信区间",
         IntervalText(style, f.interceptLower, f.interceptUpper, IntervalNull::Zero),
         "a ± t(0.05/2, n − 2)·Sa"},
        {"斜率 b", NumberText(f.slope), "最小二乘法 b = lxy / lxx"},
        {"斜率的标准误 Sb", NumberText(f.slopeError), "Sb = S(y·x) / √lxx"},
        {"斜率的95%置信区间", IntervalText(style, f.slopeLower, f.slopeUpper, IntervalNull::Zero),
         "b ± t(0.05/2, n − 2)·Sb"}}});
  if (const std::string equation = RegressionEquation(f); !equation.empty()) {
    report.sentences.push_back("回归方程：" + equation + "。");
  }
  if (checks != nullptr) {
    report.sections.push_back(
        {"残差的正态性（指导，不改变主窗口的检验）",
         {{"残差 Shapiro–Wilk W", NumberText(checks->residuals.w), kShapiroWilk},
          {"P", PCellText(style, checks->residuals.p), kShapiroWilkP}}});
    report.sentences.push_back(NormalityGuidance(style, {{"残差", &checks->residuals}}));
  }
  report.results = CorrelationResults(f, style, names);
  report.methods = CorrelationMethods(style);
  return report;
}

void NoteRoundedValues(Report& report, std::size_t count) {
  if (count == 0) return;
  report.sentences.push_back("有" + std::to_string(count) +
                             "个数值的小数超过4位，已舍入到4位小数（数据表保留4位小数）；"
                             "数值很小时，宜改用更小的单位后再输入（如以µmol/L代替mol/L、"
                             "以mg代替g），以免有效数字丢失。");
}

}  // namespace quillon
