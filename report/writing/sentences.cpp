#include "report/writing/sentences.h"

#include <cmath>
#include <initializer_list>

#include "report/writing/text.h"

namespace quillon {

namespace {

constexpr double kAlpha = 0.05;
constexpr const char* kProgram = "Quillon 3.0";

bool English(PStyle style) { return style != PStyle::ChineseMedical; }

// "t=2.45" in the Chinese journals' style, "t = 2.45" in the English ones.
std::string Is(PStyle style, const std::string& symbol, const std::string& value) {
  return symbol + (English(style) ? " = " : "=") + value;
}

// Two decimals, as papers give statistics and estimates.
std::string Two(const Figure& figure) {
  return figure ? FixedText(*figure, 2) : MissingText(figure);
}

// Degrees of freedom: whole numbers as they are, Welch's with two decimals.
std::string Df(const Figure& figure) {
  if (figure && IsWhole(*figure)) return CountText(figure);
  return Two(figure);
}

std::string Interval(PStyle style, const Figure& lower, const Figure& upper,
                     IntervalNull null = IntervalNull::None) {
  return FormatInterval(style, lower, upper, 2, null);
}

// "（…）" in Chinese, " (…)" in English.
std::string Bracketed(PStyle style, const std::string& text) {
  return English(style) ? " (" + text + ")" : "（" + text + "）";
}

std::string List(PStyle style) { return English(style) ? ", " : "，"; }

// The verdict's words, from the exact P.
std::string Finding(PStyle style, const Figure& p, const std::string& chinese,
                    const std::string& english) {
  const bool significant = *p < kAlpha;
  if (English(style)) {
    return english +
           (significant ? " was statistically significant" : " was not statistically significant");
  }
  return chinese + (significant ? "差异有统计学意义" : "差异无统计学意义");
}

std::string NoTest(PStyle style, const Figure& missing) {
  return English(style) ? "No test can be reported yet (" + missing.reason + ")."
                        : "尚无法给出检验结果（" + missing.reason + "）。";
}

std::string Closing(PStyle style) {
  return English(style)
             ? " All tests were two-sided at α = 0.05; analyses used " + std::string(kProgram) + "."
             : "双侧检验，检验水准α=0.05；统计分析使用" + std::string(kProgram) + "。";
}

bool UsesWelch(const TwoSampleFigures& f) { return f.welchChosen; }

// The value an interval is read against: 0 for a difference and for r, 1 for a ratio.
double NullOf(IntervalNull null) { return null == IntervalNull::One ? 1 : 0; }

// An interval of another method than the test's P, in brackets: as it is where it reads as the
// test does (it excludes the null exactly when P < 0.05); otherwise with its method named and
// the test given the last word, so that the sentence never says two things at once.
std::string IntervalNote(PStyle style, const Figure& p, const Figure& lower, const Figure& upper,
                         IntervalNull null, const std::string& chinese,
                         const std::string& english) {
  if (!p || !lower || !upper) return {};
  const double value = NullOf(null);
  const bool excludes = *lower > value || *upper < value;
  if (excludes == (*p < kAlpha)) return {};
  return English(style)
             ? ", by the " + english + "; where it disagrees with the test, the test prevails"
             : "；" + chinese + "，与检验结论不一致时以检验为准";
}

// An interval in brackets; none where a bound is missing: the table gives the reason, a
// sentence is not the place for it.
std::string SentenceInterval(PStyle style, const Figure& lower, const Figure& upper,
                             IntervalNull null) {
  if (!lower || !upper) return {};
  return Bracketed(style, Interval(style, lower, upper, null));
}

std::string CheckedInterval(PStyle style, const Figure& p, const Figure& lower, const Figure& upper,
                            IntervalNull null, const std::string& chinese,
                            const std::string& english) {
  if (!lower || !upper) return {};
  return Bracketed(style, Interval(style, lower, upper, null) +
                              IntervalNote(style, p, lower, upper, null, chinese, english));
}

// "两组" where the groups have no names of their own, "试验组与对照组" where they have; in English
// "the two groups" or "the treatment group and the control group".
std::string Groups(PStyle style, const ReportNames& names) {
  const bool named = !NameOr(names.first, "").empty() || !NameOr(names.second, "").empty();
  if (English(style)) {
    return named ? NameOr(names.first, "group 1") + " and " + NameOr(names.second, "group 2")
                 : "the two groups";
  }
  return named ? NameOr(names.first, kFirstGroup) + "与" + NameOr(names.second, kSecondGroup)
               : "两组";
}

std::string Outcome(const ReportNames& names) { return NameOr(names.outcome, ""); }

// The paired data's names where they mean before and after, or two methods.
std::string PairedFirst(const ReportNames& names) {
  return NameOr(names.first, names.meaning == PairedMeaning::BeforeAfter ? kBefore : kX);
}
std::string PairedSecond(const ReportNames& names) {
  return NameOr(names.second, names.meaning == PairedMeaning::BeforeAfter ? kAfter : kY);
}

// The direction of a change from before to after, read from the estimate of before − after:
// "处理后收缩压较处理前降低，" / "The decrease in systolic pressure from before to after"; the
// two times side by side where there is no direction to tell.
std::string Change(PStyle style, const ReportNames& names, const Figure& beforeLessAfter) {
  const std::string before = PairedFirst(names);
  const std::string after = PairedSecond(names);
  const std::string outcome = Outcome(names);
  const int sign = !beforeLessAfter ? 0 : *beforeLessAfter > 0 ? 1 : *beforeLessAfter < 0 ? -1 : 0;
  if (English(style)) {
    const std::string of = outcome.empty() ? "" : " in " + outcome;
    if (sign == 0) return "The difference" + of + " between " + before + " and " + after;
    return std::string(sign > 0 ? "The decrease" : "The increase") + of + " from " + before +
           " to " + after;
  }
  if (sign == 0) return before + "与" + after + outcome + "的";
  return after + outcome + "较" + before + (sign > 0 ? "降低，" : "升高，");
}

// "差值均数" or, named, "差值（处理前 − 处理后）均数".
std::string DifferenceName(PStyle style, const ReportNames& names, const char* chinese,
                           const char* english) {
  if (English(style)) {
    return std::string(english) + " (" + PairedFirst(names) + " − " + PairedSecond(names) + ")";
  }
  return std::string("差值（") + PairedFirst(names) + " − " + PairedSecond(names) + "）" + chinese;
}

}  // namespace

std::string StatisticText(const Figure& figure) { return Two(figure); }

std::string EstimateText(PStyle style, const Figure& estimate, const Figure& lower,
                         const Figure& upper, IntervalNull null) {
  return Two(estimate) + SentenceInterval(style, lower, upper, null);
}

std::string TwoSampleResults(const TwoSampleFigures& f, PStyle style, const ReportNames& names) {
  const bool welch = UsesWelch(f);
  const Figure& t = welch ? f.welchT : f.t;
  const Figure& df = welch ? f.welchDf : f.df;
  const Figure& p = welch ? f.welchP : f.p;
  if (!p) return NoTest(style, p);
  const std::string test = Is(style, welch ? "t′" : "t", Two(t)) + List(style) +
                           Is(style, English(style) ? "df" : (welch ? "ν′" : "ν"), Df(df)) +
                           List(style) + PText(style, p);
  // Welch's interval of the difference goes with Welch's P; d, whose interval rests on the
  // pooled t, is given without it (the table has it).
  const std::string interval =
      welch ? SentenceInterval(style, f.welchLower, f.welchUpper, IntervalNull::Zero)
            : SentenceInterval(style, f.lower, f.upper, IntervalNull::Zero);
  const std::string effect =
      !f.effects.d.estimate ? std::string()
      : welch               ? Is(style, "d", Two(f.effects.d.estimate))
                            : Is(style, "d", Two(f.effects.d.estimate)) +
                    CheckedInterval(style, p, f.effects.d.lower, f.effects.d.upper,
                                    IntervalNull::Zero, "非中心t分布法", "noncentral t method");
  const std::string unit = UnitSuffix(names.unit);
  if (English(style)) {
    const std::string subject = Outcome(names).empty() && Groups(style, names) == "the two groups"
                                    ? "The difference between the two means"
                                    : "The difference in mean " +
                                          (Outcome(names).empty() ? "value" : Outcome(names)) +
                                          " between " + Groups(style, names);
    return Finding(style, p, "", subject) + Bracketed(style, test) + "; mean difference, " +
           Two(f.difference) + unit + interval + (effect.empty() ? "" : "; Cohen " + effect) + ".";
  }
  return Finding(style, p, Groups(style, names) + Outcome(names) + "均数", "") +
         Bracketed(style, test) + "，均数差" + Two(f.difference) + unit + interval +
         (effect.empty() ? "" : "，" + effect) + "。";
}

std::string TwoSampleMethods(const TwoSampleFigures& f, PStyle style) {
  const bool welch = UsesWelch(f);
  if (English(style)) {
    return std::string("Methods: the two means were compared with ") +
           (!welch               ? "the two-sample t test (pooled variance)"
            : f.oneDeviationZero ? "Welch's t test (one group had no spread, so the variances "
                                   "plainly differ)"
                                 : "Welch's t test (unequal variances)") +
           "; the effect size is Cohen d with its 95% CI (noncentral t)." + Closing(style);
  }
  return std::string("统计方法：两组均数比较采用") +
         (!welch               ? "两独立样本t检验（合并方差）"
          : f.oneDeviationZero ? "Welch校正t检验（t′检验；一组标准差为0，方差明显不齐）"
                               : "Welch校正t检验（t′检验，方差不齐）") +
         "，效应量为Cohen d及其95%CI（非中心t分布法）；" + Closing(style);
}

std::string PairedResults(const PairedFigures& f, PStyle style, const ReportNames& names) {
  if (!f.p) return NoTest(style, f.p);
  const std::string test = Is(style, "t", Two(f.t)) + List(style) +
                           Is(style, English(style) ? "df" : "ν", Df(f.df)) + List(style) +
                           PText(style, f.p);
  const std::string effect =
      f.dz.estimate ? Is(style, "dz", Two(f.dz.estimate)) +
                          SentenceInterval(style, f.dz.lower, f.dz.upper, IntervalNull::Zero)
                    : std::string();
  const std::string interval = SentenceInterval(style, f.lower, f.upper, IntervalNull::Zero);
  const std::string unit = UnitSuffix(names.unit);
  if (names.meaning == PairedMeaning::BeforeAfter) {
    const std::string difference = DifferenceName(style, names, "均数", "mean difference");
    if (English(style)) {
      return Finding(style, f.p, "", Change(style, names, f.meanDifference)) +
             Bracketed(style, test) + "; " + difference + ", " + Two(f.meanDifference) + unit +
             interval + (effect.empty() ? "" : "; " + effect) + ".";
    }
    return Finding(style, f.p, Change(style, names, f.meanDifference), "") +
           Bracketed(style, test) + "，" + difference + Two(f.meanDifference) + unit + interval +
           (effect.empty() ? "" : "，" + effect) + "。";
  }
  if (English(style)) {
    return Finding(style, f.p, "", "The mean paired difference") + Bracketed(style, test) +
           "; mean difference, " + Two(f.meanDifference) + unit + interval +
           (effect.empty() ? "" : "; " + effect) + ".";
  }
  return Finding(style, f.p, "配对差值均数与0的", "") + Bracketed(style, test) + "，差值均数" +
         Two(f.meanDifference) + unit + interval + (effect.empty() ? "" : "，" + effect) + "。";
}

std::string PairedMethods(PStyle style) {
  if (English(style)) {
    return "Methods: paired data were compared with the paired t test; the effect size is dz with "
           "its 95% CI (noncentral t)." +
           Closing(style);
  }
  return "统计方法：配对资料比较采用配对t检验，效应量为dz及其95%CI（非中心t分布法）；" +
         Closing(style);
}

std::string CorrelationResults(const CorrelationFigures& f, PStyle style,
                               const ReportNames& names) {
  const std::string x = NameOr(names.first, kX);
  const std::string y = NameOr(names.second, kY);
  if (!f.p) return NoTest(style, f.p);
  // A perfect correlation has P = 0 and no t, and neither r nor the slope an interval.
  std::string r = Is(style, "r", Two(f.r));
  if (f.rLower && f.rUpper) {
    r += List(style) + Interval(style, f.rLower, f.rUpper, IntervalNull::Correlation) +
         IntervalNote(style, f.p, f.rLower, f.rUpper, IntervalNull::Correlation, "Fisher z变换",
                      "Fisher z transformation");
  }
  if (f.t) {
    r += (English(style) ? "; " : "，") + Is(style, "t", Two(f.t)) + List(style) +
         Is(style, English(style) ? "df" : "ν", Df(f.df));
  }
  r += List(style) + PText(style, f.p);
  std::string slope = Two(f.slope);
  if (f.slopeLower && f.slopeUpper) {
    slope += SentenceInterval(style, f.slopeLower, f.slopeUpper, IntervalNull::Zero);
  }
  if (English(style)) {
    return Finding(style, f.p, "", "The linear correlation between " + x + " and " + y) +
           Bracketed(style, r) + "; slope of " + y + " on " + x + ", " + slope + ".";
  }
  const std::string finding =
      (*f.p < kAlpha ? "" : "尚不能认为") + x + "与" + y + "之间有直线相关关系";
  return finding + Bracketed(style, r) + "，" + y + "对" + x + "的回归斜率" + slope + "。";
}

std::string CorrelationMethods(PStyle style) {
  if (English(style)) {
    return "Methods: Pearson correlation and least-squares linear regression; the 95% CI of r "
           "by the Fisher z transformation." +
           Closing(style);
  }
  return "统计方法：采用Pearson积差相关与最小二乘直线回归，r的95%CI用Fisher z变换；" +
         Closing(style);
}

FourfoldVariant VariantOf(const FourfoldFigures& f) {
  if (f.shown.warned) return FourfoldVariant::Fisher;
  return f.shown.allExpectedAtLeast5 ? FourfoldVariant::Pearson : FourfoldVariant::Yates;
}

namespace {

// ", RR = 0.47 (95% CI, 0.27-0.62)" and so on, for each ratio that has a value; its interval,
// of another method than the test's, checked against the test's P.
std::string Ratio(PStyle style, const std::string& name, const Figure& value, const Figure& lower,
                  const Figure& upper, const Figure& p, const std::string& chinese,
                  const std::string& english) {
  if (!value) return {};
  return List(style) + Is(style, name, Two(value)) +
         CheckedInterval(style, p, lower, upper, IntervalNull::One, chinese, english);
}

}  // namespace

std::string FourfoldResults(const FourfoldFigures& f, PStyle style, const ReportNames& names) {
  const FourfoldVariant variant = VariantOf(f);
  const Figure& p = variant == FourfoldVariant::Fisher  ? f.fisherP
                    : variant == FourfoldVariant::Yates ? f.correctedP
                                                        : f.chiSquareP;
  if (!p) return NoTest(style, p);
  std::string test;
  if (variant == FourfoldVariant::Fisher) {
    test = (English(style) ? "Fisher exact test, " : "Fisher确切概率法，") + PText(style, p);
  } else {
    const Figure& chiSquare =
        variant == FourfoldVariant::Yates ? f.correctedChiSquare : f.chiSquare;
    test = Is(style, "χ²", Two(chiSquare)) + List(style) +
           Is(style, English(style) ? "df" : "ν", "1") + List(style) + PText(style, p);
  }
  const RiskDifferenceFigures& r = f.risk;
  std::string estimates;
  if (r.difference) {
    estimates += List(style) + (English(style) ? "risk difference " : "率差") + Two(r.difference) +
                 CheckedInterval(style, p, r.lower, r.upper, IntervalNull::Zero, "Newcombe法",
                                 "Newcombe method");
  }
  estimates += Ratio(style, "RR", f.riskRatio, f.riskLower, f.riskUpper, p, "对数法", "log method");
  estimates +=
      Ratio(style, "OR", f.oddsRatio, f.oddsLower, f.oddsUpper, p, "Woolf法", "Woolf method");
  if (r.difference && r.lower && r.upper) {
    const NumberNeededText nnt = NumberNeededTexts(f.numberNeeded);
    std::string interval = nnt.interval;
    if (English(style)) {
      for (std::size_t at = interval.find(" 至 "); at != std::string::npos;
           at = interval.find(" 至 ")) {
        interval.replace(at, std::string(" 至 ").size(), " to ");
      }
    }
    estimates +=
        List(style) + nnt.estimate +
        Bracketed(style, interval + IntervalNote(style, p, r.lower, r.upper, IntervalNull::Zero,
                                                 "由率差的Newcombe区间换算",
                                                 "Newcombe interval of the risk "
                                                 "difference"));
  }
  // The two rates where both have one (a group with no subjects has none: the table says why).
  const bool rates = r.risk1 && r.risk2;
  if (English(style)) {
    const std::string positive = NameOr(names.positive, "(+)");
    return Finding(style, p, "",
                   "The difference in the proportion with " + positive + " between the groups") +
           Bracketed(style, test) + (rates ? ": " + Two(r.risk1) + " vs " + Two(r.risk2) : "") +
           estimates + ".";
  }
  return Finding(style, p, "两组" + NameOr(names.positive, kPositive) + "率", "") +
         Bracketed(style, test) +
         (rates ? "，" + NameOr(names.first, kTreated) + Two(r.risk1) + "，" +
                      NameOr(names.second, kControl) + Two(r.risk2)
                : "") +
         estimates + "。";
}

std::string FourfoldMethods(const FourfoldFigures& f, PStyle style) {
  const FourfoldVariant variant = VariantOf(f);
  if (English(style)) {
    const char* test = variant == FourfoldVariant::Fisher  ? "the Fisher exact test"
                       : variant == FourfoldVariant::Yates ? "the continuity-corrected χ² test"
                                                           : "the Pearson χ² test";
    return std::string("Methods: the proportions were compared with ") + test +
           " (chosen by the n ≥ 40 and expected-count rule); the 95% CI of the risk difference "
           "by Newcombe's hybrid score method and the NNT as Altman describes, with (+) read as " +
           (f.positive == PositiveMeans::Harm ? "an adverse event." : "a benefit.") +
           Closing(style);
  }
  const char* test = variant == FourfoldVariant::Fisher  ? "Fisher确切概率法"
                     : variant == FourfoldVariant::Yates ? "连续性校正χ²检验"
                                                         : "Pearson χ²检验";
  return std::string("统计方法：两组率比较采用") + test +
         "（按n与理论数的规则选择），率差的95%CI用Newcombe混合score法，NNT按Altman法（" +
         PositiveMeansText(f.positive) + "）；" + Closing(style);
}

std::string McNemarResults(const McNemarFigures& f, PStyle style) {
  if (!f.p) return NoTest(style, f.p);
  const std::string test = Is(style, "χ²", Two(f.chiSquare)) + List(style) +
                           Is(style, English(style) ? "df" : "ν", "1") + List(style) +
                           PText(style, f.p);
  const PairedProportionFigures& paired = f.paired;
  std::string estimates;
  if (paired.difference) {
    estimates += List(style) + (English(style) ? "paired difference " : "配对率差") +
                 Two(paired.difference) +
                 CheckedInterval(style, f.p, paired.lower, paired.upper, IntervalNull::Zero,
                                 "Newcombe法", "Newcombe method");
  }
  if (paired.oddsRatio) {
    estimates += List(style) + (English(style) ? "matched OR " : "配对OR ") +
                 Two(paired.oddsRatio) +
                 CheckedInterval(style, f.p, paired.oddsLower, paired.oddsUpper, IntervalNull::One,
                                 "Clopper–Pearson确切法", "exact Clopper–Pearson method");
  } else if (paired.oddsUnbounded) {
    // c = 0: the ratio is infinite, its interval open above.
    estimates +=
        List(style) + (English(style) ? "matched OR " : "配对OR ") + "∞" +
        Bracketed(style, IntervalPrefix(style) +
                             JoinBounds(style,
                                        UnboundedLowerText(paired.oddsLower, 2,
                                                           FixedText(*paired.oddsLower, 2)),
                                        "∞"));
  }
  // The exact test where it has a P (it needs whole counts; the table says why otherwise).
  if (English(style)) {
    return Finding(style, f.p, "", "The difference between the paired proportions") +
           Bracketed(style, test) + estimates +
           (f.exactP ? "; exact test, " + PText(style, f.exactP) : std::string()) + ".";
  }
  return Finding(style, f.p, "配对的两种结果阳性率", "") + Bracketed(style, test) + estimates +
         (f.exactP ? "；确切概率法" + PText(style, f.exactP) : std::string()) + "。";
}

std::string McNemarMethods(const McNemarFigures& f, PStyle style) {
  if (f.noDiscordantPairs) {
    return English(style) ? "Methods: there were no discordant pairs (b + c = 0), so the paired "
                            "proportions are equal and no test applies; analyses used " +
                                std::string(kProgram) + "."
                          : "统计方法：没有不一致的对子（b + c = 0），配对的两种结果阳性率相同，"
                            "不作检验；统计分析使用" +
                                std::string(kProgram) + "。";
  }
  if (English(style)) {
    return std::string("Methods: paired proportions were compared with McNemar's χ² test") +
           (f.corrected ? " with continuity correction (b + c < 40)" : " (b + c ≥ 40)") +
           ", with the exact binomial test beside it; the 95% CI of the paired difference by "
           "Newcombe's score method." +
           Closing(style);
  }
  return std::string("统计方法：配对资料率的比较采用McNemar χ²检验") +
         (f.corrected ? "（b + c < 40，连续性校正）" : "（b + c ≥ 40）") +
         "，并给出确切二项检验，配对率差的95%CI用Newcombe配对score法；" + Closing(style);
}

// ---- The rank tests ----

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
