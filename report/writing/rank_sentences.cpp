// The sentences of the rank tests (Wilcoxon rank-sum, Wilcoxon signed-rank, Spearman), and the
// figures the paper's table writes as they do.

#include <cmath>
#include <initializer_list>

#include "report/writing/sentence_parts.h"
#include "report/writing/sentences.h"

namespace quillon {

using namespace sentence_parts;

namespace {

// How many decimals the rank path's location figures take in a sentence: two, as papers give
// them, or as many more (up to the grid's four) as the smallest of them needs to show two
// significant digits, so that 0.0005 is not "0.00".
int DecimalsFor(std::initializer_list<const Figure*> figures) {
  double smallest = 0;
  for (const Figure* figure : figures) {
    if (*figure && **figure != 0 && (smallest == 0 || std::fabs(**figure) < smallest)) {
      smallest = std::fabs(**figure);
    }
  }
  int decimals = 2;
  while (decimals < 4 && smallest != 0 && smallest < std::pow(10.0, 1 - decimals)) ++decimals;
  return decimals;
}

std::string Fixed(const Figure& figure, int decimals) {
  return figure ? FixedText(*figure, decimals) : MissingText(figure);
}

// "U=22，P=0.056", "Z=-1.60，P=0.111".
std::string RankTest(PStyle style, const std::string& exactSymbol, const Figure& statistic,
                     const Figure& z, const Figure& p) {
  const auto [symbol, value] = RankStatistic(exactSymbol, statistic, z);
  return Is(style, symbol, value) + List(style) + PText(style, p);
}

// An interval read against the rank test's P, guarded and checked as the t path's are; none in
// the sentence where the table gives its reason.
std::string RankInterval(PStyle style, const Figure& p, const Figure& lower, const Figure& upper,
                         IntervalNull null, int decimals, const std::string& chinese,
                         const std::string& english) {
  if (!lower || !upper) return {};
  return Bracketed(style, FormatInterval(style, lower, upper, decimals, null) +
                              IntervalNote(style, p, lower, upper, null, chinese, english));
}

std::string RankBiserial(PStyle style, const EffectSize& r, const Figure& p) {
  if (!r.estimate) return {};
  return (English(style) ? "; rank-biserial " : "，秩双列相关") + Is(style, "r", Two(r.estimate)) +
         RankInterval(style, p, r.lower, r.upper, IntervalNull::Correlation, 2, "Fisher z变换",
                      "Fisher z transformation");
}

}  // namespace

// M (P25, P75): "8.00（5.00，9.50）" in Chinese, "8.00 (5.00, 9.50)" in English.
std::string MedianAndQuartiles(PStyle style, const Quartiles& q, int decimals) {
  return Fixed(q.median, decimals) +
         Bracketed(style, Fixed(q.p25, decimals) + List(style) + Fixed(q.p75, decimals));
}

int LocationDecimals(const RankSumFigures& ranks) {
  return DecimalsFor({&ranks.first.median, &ranks.first.p25, &ranks.first.p75, &ranks.second.median,
                      &ranks.second.p25, &ranks.second.p75, &ranks.shift, &ranks.shiftLower,
                      &ranks.shiftUpper});
}

int LocationDecimals(const SignedRankFigures& ranks) {
  return DecimalsFor({&ranks.differences.median, &ranks.differences.p25, &ranks.differences.p75,
                      &ranks.pseudomedian, &ranks.lower, &ranks.upper});
}

std::pair<std::string, std::string> RankStatistic(const std::string& exactSymbol,
                                                  const Figure& statistic, const Figure& z) {
  // U and T are whole, but with ties they may end in .5.
  return z ? std::pair<std::string, std::string>{"Z", Two(z)}
           : std::pair<std::string, std::string>{exactSymbol, Df(statistic)};
}

std::string TwoSampleResults(const TwoSampleFigures& f, const RankSumFigures& ranks, PStyle style,
                             TestPath path, const ReportNames& names) {
  if (path == TestPath::TTest) return TwoSampleResults(f, style, names);
  if (!ranks.p) return NoTest(style, ranks.p);
  const std::string test = RankTest(style, "U", ranks.w, ranks.z, ranks.p);
  const int decimals = LocationDecimals(ranks);
  const std::string shift =
      Fixed(ranks.shift, decimals) + UnitSuffix(names.unit) +
      RankInterval(style, ranks.p, ranks.shiftLower, ranks.shiftUpper, IntervalNull::Zero, decimals,
                   "Hodges–Lehmann法", "Hodges–Lehmann method");
  if (English(style)) {
    return Finding(style, ranks.p, "", "The difference between the two distributions") +
           Bracketed(style, test) + "; median (P25, P75), " + NameOr(names.first, "group 1") + " " +
           MedianAndQuartiles(style, ranks.first, decimals) + ", " +
           NameOr(names.second, "group 2") + " " +
           MedianAndQuartiles(style, ranks.second, decimals) + "; Hodges–Lehmann shift, " + shift +
           RankBiserial(style, ranks.rankBiserial, ranks.p) + ".";
  }
  return Finding(style, ranks.p, Groups(style, names) + Outcome(names) + "分布", "") +
         Bracketed(style, test) + "，M(P25, P75)" + NameOr(names.first, kFirstGroup) +
         MedianAndQuartiles(style, ranks.first, decimals) + "，" +
         NameOr(names.second, kSecondGroup) + MedianAndQuartiles(style, ranks.second, decimals) +
         "，位置差的Hodges–Lehmann估计" + shift + RankBiserial(style, ranks.rankBiserial, ranks.p) +
         "。";
}

std::string TwoSampleMethods(const TwoSampleFigures& f, const RankSumFigures& ranks, PStyle style,
                             TestPath path) {
  if (path == TestPath::TTest) return TwoSampleMethods(f, style);
  if (English(style)) {
    return "Methods: the two groups were compared with the Wilcoxon rank-sum test (" +
           std::string(RankPName(ranks.method).english) +
           "); medians (P25, P75) by quantile definition 6; the Hodges–Lehmann shift with its "
           "95% CI; the effect size is the rank-biserial correlation with its 95% CI (Fisher z)." +
           Closing(style);
  }
  return std::string("统计方法：两组比较采用Wilcoxon秩和检验（") + RankPName(ranks.method).chinese +
         "），以M(P25, P75)描述（四分位数按第6种定义），位置差用Hodges–Lehmann估计及其95%CI，"
         "效应量为秩双列相关r及其95%CI（Fisher z变换）；" +
         Closing(style);
}

std::string PairedResults(const PairedFigures& f, const SignedRankFigures& ranks, PStyle style,
                          TestPath path, const ReportNames& names) {
  if (path == TestPath::TTest) return PairedResults(f, style, names);
  if (!ranks.p) return NoTest(style, ranks.p);
  const std::string test = RankTest(style, "T", ranks.v, ranks.z, ranks.p);
  const int decimals = LocationDecimals(ranks);
  const std::string median =
      Fixed(ranks.pseudomedian, decimals) + UnitSuffix(names.unit) +
      RankInterval(style, ranks.p, ranks.lower, ranks.upper, IntervalNull::Zero, decimals,
                   "Hodges–Lehmann法", "Hodges–Lehmann method");
  if (names.meaning == PairedMeaning::BeforeAfter) {
    if (English(style)) {
      return Finding(style, ranks.p, "", Change(style, names, ranks.pseudomedian)) +
             Bracketed(style, test) + "; median (P25, P75) of the differences (" +
             PairedFirst(names) + " − " + PairedSecond(names) + "), " +
             MedianAndQuartiles(style, ranks.differences, decimals) +
             "; Hodges–Lehmann pseudomedian, " + median +
             RankBiserial(style, ranks.rankBiserial, ranks.p) + ".";
    }
    return Finding(style, ranks.p, Change(style, names, ranks.pseudomedian), "") +
           Bracketed(style, test) + "，" + DifferenceName(style, names, "M(P25, P75)为", "") +
           MedianAndQuartiles(style, ranks.differences, decimals) + "，Hodges–Lehmann伪中位数" +
           median + RankBiserial(style, ranks.rankBiserial, ranks.p) + "。";
  }
  if (English(style)) {
    return Finding(style, ranks.p, "", "The paired differences' shift from 0") +
           Bracketed(style, test) + "; median (P25, P75) of the differences, " +
           MedianAndQuartiles(style, ranks.differences, decimals) +
           "; Hodges–Lehmann pseudomedian, " + median +
           RankBiserial(style, ranks.rankBiserial, ranks.p) + ".";
  }
  return Finding(style, ranks.p, "配对差值与0的", "") + Bracketed(style, test) +
         "，差值M(P25, P75)为" + MedianAndQuartiles(style, ranks.differences, decimals) +
         "，Hodges–Lehmann伪中位数" + median + RankBiserial(style, ranks.rankBiserial, ranks.p) +
         "。";
}

std::string PairedMethods(const SignedRankFigures& ranks, PStyle style, TestPath path) {
  if (path == TestPath::TTest) return PairedMethods(style);
  if (English(style)) {
    return "Methods: paired data were compared with the Wilcoxon signed-rank test (" +
           std::string(RankPName(ranks.method).english) +
           "; pairs with a difference of 0 left out); the Hodges–Lehmann pseudomedian with its "
           "95% CI; the effect size is the matched-pairs rank-biserial correlation with its 95% "
           "CI (Fisher z)." +
           Closing(style);
  }
  return std::string("统计方法：配对资料比较采用Wilcoxon符号秩检验（") +
         RankPName(ranks.method).chinese +
         "，差值为0的对子不参与检验），以M(P25, P75)描述差值，伪中位数用Hodges–Lehmann估计及其"
         "95%CI，效应量为配对秩双列相关r及其95%CI（Fisher z变换）；" +
         Closing(style);
}

std::string CorrelationResults(const CorrelationFigures& f, const SpearmanFigures& ranks,
                               PStyle style, TestPath path, const ReportNames& names) {
  if (path == TestPath::TTest) return CorrelationResults(f, style, names);
  const std::string x = NameOr(names.first, kX);
  const std::string y = NameOr(names.second, kY);
  if (!ranks.p) return NoTest(style, ranks.p);
  std::string test = Is(style, "rs", Two(ranks.rs));
  if (ranks.lower && ranks.upper) {
    test += List(style) +
            FormatInterval(style, ranks.lower, ranks.upper, 2, IntervalNull::Correlation) +
            IntervalNote(style, ranks.p, ranks.lower, ranks.upper, IntervalNull::Correlation,
                         "Fisher z变换", "Fisher z transformation");
  }
  test += List(style) + PText(style, ranks.p);
  // A correlation is not a difference: its direction where it is found ("X与Y呈正相关"), or
  // that it cannot be said.
  const bool found = *ranks.p < kAlpha && ranks.rs && *ranks.rs != 0;
  const bool positive = found && *ranks.rs > 0;
  if (English(style)) {
    if (found) {
      return std::string(positive ? "There was a positive" : "There was a negative") +
             " rank correlation between " + x + " and " + y + Bracketed(style, test) + ".";
    }
    return Finding(style, ranks.p, "", "The rank correlation between " + x + " and " + y) +
           Bracketed(style, test) + ".";
  }
  const std::string finding = found ? x + "与" + y + (positive ? "呈正相关" : "呈负相关")
                                    : "尚不能认为" + x + "与" + y + "之间存在秩相关";
  return finding + Bracketed(style, test) + "。";
}

std::string CorrelationMethods(const SpearmanFigures& ranks, PStyle style, TestPath path) {
  if (path == TestPath::TTest) return CorrelationMethods(style);
  if (English(style)) {
    return "Methods: Spearman rank correlation (" + std::string(RankPName(ranks.method).english) +
           "); the 95% CI of rs by the Fisher z transformation with the Bonett–Wright standard "
           "error." +
           Closing(style);
  }
  return std::string("统计方法：采用Spearman秩相关（") + RankPName(ranks.method).chinese +
         "），rs的95%CI用Fisher z变换（Bonett–Wright标准误）；" + Closing(style);
}

}  // namespace quillon
