#include "report/writing/rank_content.h"

#include <initializer_list>
#include <string>

#include "report/writing/sample_content.h"
#include "report/writing/sentences.h"

namespace quillon {

namespace {

constexpr const char* kType6 = "四分位数按第6种定义（SPSS、Minitab同，R的type = 6）";
constexpr const char* kHodgesLehmannExact = "按统计量精确分布的2.5%分位数取次序统计量（同R）";
constexpr const char* kHodgesLehmannUntied =
    "按无结时统计量精确分布的2.5%分位数取次序统计量（同R的exact = TRUE）";
constexpr const char* kHodgesLehmannNormal = "正态近似（连续性与结校正）反推（同R）";

// "1.4150 (0.8225, 1.7025)", or the reason there is none.
std::string QuartilesText(const Quartiles& q) {
  if (!q.median) return MissingText(q.median);
  return NumberText(q.median) + " (" + NumberText(q.p25) + ", " + NumberText(q.p75) + ")";
}

const char* IntervalMethod(RankP method) {
  switch (method) {
    case RankP::Exact:
      return kHodgesLehmannExact;
    case RankP::ExactGivenTies:
      return kHodgesLehmannUntied;
    default:
      return kHodgesLehmannNormal;
  }
}

// The rank test's section goes after the test's own rows, before the checks.
void InsertBeforeChecks(Report& report, bool checked, ReportSection section) {
  report.sections.insert(report.sections.end() - (checked ? 1 : 0), std::move(section));
}

// Where a normality test finds a departure, the rank test is the one to report.
void RankGuidance(Report& report, std::initializer_list<const NormalityFigures*> tested,
                  const std::string& test, TestPath path) {
  for (const NormalityFigures* figures : tested) {
    if (figures->p && *figures->p < 0.05) {
      report.sentences.push_back("资料可能偏离正态分布（见上方Shapiro–Wilk检验），宜报告" + test +
                                 (path == TestPath::RankTest
                                      ? "的结果；下方的结果与方法句即按" + test + "写成。"
                                      : "的结果（表中" + test +
                                            "一节）；选择秩检验后，"
                                            "结果与方法句随之改写，报告不会自行改换检验。"));
      return;
    }
  }
}

}  // namespace

ReportSection RankSumSection(const RankSumFigures& f, PStyle style, const ReportNames& names) {
  return {
      "Wilcoxon秩和检验（Mann–Whitney U检验）",
      {{NameOr(names.first, kFirstGroup) + " 中位数 M (P25, P75)", QuartilesText(f.first), kType6},
       {NameOr(names.second, kSecondGroup) + " 中位数 M (P25, P75)", QuartilesText(f.second),
        kType6},
       {"U", CountText(f.w), "U = R₁ − n₁(n₁ + 1)/2，第1组的U（R记为W）；U₂ = n₁n₂ − U"},
       {"Z", NumberText(f.z), "Z = (U − n₁n₂/2 ∓ 0.5) / σ，σ含结校正"},
       {"P", PCellText(style, f.p), f.p ? RankPName(f.method).chinese : "双侧"},
       {"位置差 Hodges–Lehmann估计", NumberText(f.shift), "全部n₁n₂个差值 xᵢ − yⱼ 的中位数"},
       {"位置差的95%置信区间", IntervalText(style, f.shiftLower, f.shiftUpper),
        IntervalMethod(f.method)},
       {"优势概率 U/(n₁n₂)", NumberText(f.superiority), "P(X > Y) + P(X = Y)/2"},
       {"秩双列相关 r", NumberText(f.rankBiserial.estimate), "r = 2U/(n₁n₂) − 1"},
       {"r的95%置信区间", IntervalText(style, f.rankBiserial.lower, f.rankBiserial.upper),
        "Fisher z变换，SE = √[(n₁ + n₂ + 1)/(3n₁n₂)]（同R的effectsize包）"}}};
}

ReportSection SignedRankSection(const SignedRankFigures& f, PStyle style) {
  return {
      "Wilcoxon符号秩检验",
      {{"差值 中位数 M (P25, P75)", QuartilesText(f.differences), kType6},
       {"非零差值的对子数 n", CountText(Figure::Of(static_cast<double>(f.nonzero))),
        "差值为0的对子不参与检验"},
       {"T₊（正秩和）", CountText(f.v), "|d|的秩中差值为正者之和（R记为V）"},
       {"Z", NumberText(f.z), "Z = (T₊ − n(n + 1)/4 ∓ 0.5) / σ，σ含结校正"},
       {"P", PCellText(style, f.p), f.p ? RankPName(f.method).chinese : "双侧"},
       {"伪中位数 Hodges–Lehmann估计", NumberText(f.pseudomedian),
        "Walsh平均 (dᵢ + dⱼ)/2（i ≤ j）的中位数"},
       {"伪中位数的95%置信区间", IntervalText(style, f.lower, f.upper), IntervalMethod(f.method)},
       {"配对秩双列相关 r", NumberText(f.rankBiserial.estimate), "r = (T₊ − T₋) / [n(n + 1)/2]"},
       {"r的95%置信区间", IntervalText(style, f.rankBiserial.lower, f.rankBiserial.upper),
        "Fisher z变换，SE = √[(2n³ + 3n² + n)/6] / [n(n + 1)/2]（同R的effectsize包）"}}};
}

ReportSection SpearmanSection(const SpearmanFigures& f, PStyle style) {
  return {"Spearman秩相关",
          {{"秩相关系数 rs", NumberText(f.rs), "两变量的秩（相同值取平均秩）的Pearson相关"},
           {"P", PCellText(style, f.p), f.p ? RankPName(f.method).chinese : "双侧"},
           {"rs的95%置信区间", IntervalText(style, f.lower, f.upper),
            "Fisher z变换，SE = √[(1 + rs²/2)/(n − 3)]（Bonett–Wright）"}}};
}

Report TwoSampleReport(const TwoSampleFigures& figures, const RankSumFigures& ranks, PStyle style,
                       const TwoSampleChecks* checks, TestPath path, const ReportNames& names) {
  Report report = TwoSampleReport(figures, style, checks, names);
  if (path == TestPath::RankTest) report.title = "两样本比较的Wilcoxon秩和检验";
  InsertBeforeChecks(report, checks != nullptr, RankSumSection(ranks, style, names));
  if (checks != nullptr) {
    RankGuidance(report, {&checks->first, &checks->second}, "Wilcoxon秩和检验", path);
  }
  report.results = TwoSampleResults(figures, ranks, style, path, names);
  report.methods = TwoSampleMethods(figures, ranks, style, path);
  return report;
}

Report PairedReport(const PairedFigures& figures, const SignedRankFigures& ranks, PStyle style,
                    const PairedChecks* checks, TestPath path, const ReportNames& names) {
  Report report = PairedReport(figures, style, checks, names);
  if (path == TestPath::RankTest) report.title = "配对资料Wilcoxon符号秩检验";
  InsertBeforeChecks(report, checks != nullptr, SignedRankSection(ranks, style));
  if (checks != nullptr) {
    RankGuidance(report, {&checks->differences}, "Wilcoxon符号秩检验", path);
  }
  report.results = PairedResults(figures, ranks, style, path, names);
  report.methods = PairedMethods(ranks, style, path);
  return report;
}

Report CorrelationReport(const CorrelationFigures& figures, const SpearmanFigures& ranks,
                         PStyle style, const CorrelationChecks* checks, TestPath path,
                         const ReportNames& names) {
  Report report = CorrelationReport(figures, style, checks, names);
  if (path == TestPath::RankTest) report.title = "Spearman秩相关与直线回归";
  InsertBeforeChecks(report, checks != nullptr, SpearmanSection(ranks, style));
  if (checks != nullptr) RankGuidance(report, {&checks->residuals}, "Spearman秩相关", path);
  report.results = CorrelationResults(figures, ranks, style, path, names);
  report.methods = CorrelationMethods(ranks, style, path);
  return report;
}

}  // namespace quillon
