#include "report/writing/sentences.h"

#include "report/writing/sentence_parts.h"
#include "report/writing/text.h"

namespace quillon {

using namespace sentence_parts;

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

}  // namespace quillon
