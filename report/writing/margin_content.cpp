#include "report/writing/margin_content.h"

#include <cmath>
#include <cstdlib>

#include "report/writing/sentence_parts.h"

namespace quillon {

using namespace sentence_parts;

namespace {

// The difference as each design names it, in the table and in a formula.
struct Scale {
  std::string label;      // "均数之差 x̄₁ − x̄₂"
  std::string estimate;   // "x̄₁ − x̄₂", in the formulas
  std::string parameter;  // "μ₁ − μ₂", in the hypotheses
  std::string formula;    // how the estimate is computed
  std::string error;      // its standard error, in the formulas
  std::string df;         // its degrees of freedom
};

Scale ScaleOf(const MarginFigures& f) {
  switch (f.design) {
    case MarginDesign::TwoSample:
      return {"均数之差 x̄₁ − x̄₂",
              "x̄₁ − x̄₂",
              "μ₁ − μ₂",
              "x̄₁ − x̄₂",
              f.welch ? "√(S₁²/n₁ + S₂²/n₂)" : "S(x̄₁ − x̄₂)",
              f.welch ? "Welch–Satterthwaite近似" : "ν = n₁ + n₂ − 2"};
    case MarginDesign::Paired:
      return {"差值均数 d̄", "d̄", "μd", "d̄ = Σ(第一列 − 第二列) / n", "Sd/√n", "ν = n − 1"};
    case MarginDesign::Fourfold:
      return {"率差 p₁ − p₂",
              "p₁ − p₂",
              "π₁ − π₂",
              "p₁ = a/(a + b)，p₂ = c/(c + d)",
              "√[p̃₁(1 − p̃₁)/n₁ + p̃₂(1 − p̃₂)/n₂]",
              ""};
  }
  return {};
}

// "−Δ" or "Δ".
std::string SignedDelta(int sign) { return sign < 0 ? "−Δ" : "Δ"; }

// The hypotheses in symbols: "H₀：μ₁ − μ₂ ≤ −Δ；H₁：μ₁ − μ₂ > −Δ".
std::string Hypotheses(const MarginFigures& f, const std::string& parameter) {
  if (f.hypothesis == Hypothesis::Equivalence) {
    return "H₀：|" + parameter + "| ≥ Δ；H₁：−Δ < " + parameter + " < Δ";
  }
  const std::string bound = SignedDelta(f.nullSign1);
  const bool upper = f.upperTail1;
  return "H₀：" + parameter + (upper ? " ≤ " : " ≥ ") + bound + "；H₁：" + parameter +
         (upper ? " > " : " < ") + bound;
}

std::string Level(const MarginFigures& f) {
  return f.alpha ? ConfidenceText(f.confidence) : std::string("(1 − 2α)");
}

// The level a P is read against, so that a P below α never reads as α.
double AlphaOf(const MarginFigures& f) { return f.alpha ? *f.alpha : 0.05; }

std::string Symbol(const MarginFigures& f) { return f.score ? "z" : f.welch ? "t′" : "t"; }

// A one-sided test's rows: its statistic against the null given, and its P.
void AddTest(ReportSection& section, const MarginFigures& f, const Scale& scale, PStyle style,
             const Figure& statistic, const Figure& p, int sign, bool upperTail) {
  const std::string symbol = Symbol(f);
  const std::string null = SignedDelta(sign);
  section.rows.push_back(
      {symbol + "（H₀：" + scale.parameter + (upperTail ? " ≤ " : " ≥ ") + null + "）",
       NumberText(statistic),
       symbol + " = (" + scale.estimate + (sign < 0 ? " + Δ" : " − Δ") + ") / " + scale.error +
           (f.score ? "，p̃为H₀下的限制性最大似然估计" : "")});
  section.rows.push_back({"P（单侧）", PCellText(style, p, AlphaOf(f)),
                          std::string(f.score ? "标准正态分布" : "t分布") +
                              (upperTail ? "，单侧上尾" : "，单侧下尾")});
}

std::string ConclusionText(const MarginFigures& f, bool established) {
  return HypothesisName(f.hypothesis) + (established ? "成立" : "不成立");
}

// Why there is no conclusion: the first missing figure's reason.
Figure FirstMissing(const MarginFigures& f) {
  for (const Figure* figure : {&f.margin, &f.alpha, &f.difference, &f.lower, &f.upper, &f.p}) {
    if (!*figure) return *figure;
  }
  return Figure::Missing("无法判断");
}

// How the interval is read against the margin, in the formula column.
std::string Rule(const MarginFigures& f) {
  const std::string level = Level(f) + "CI";
  if (f.hypothesis == Hypothesis::Equivalence)
    return level + "完全位于(−Δ, Δ)之内，即两个单侧P均 < α";
  return level + (f.upperTail1 ? "下限 > " : "上限 < ") + SignedDelta(f.nullSign1) +
         "，即单侧P < α";
}

// The groups the difference is taken between, first minus second.
std::string Between(const MarginFigures& f, PStyle style, const ReportNames& names) {
  switch (f.design) {
    case MarginDesign::TwoSample:
      return NameOr(names.first, English(style) ? "group 1" : kFirstGroup) + " − " +
             NameOr(names.second, English(style) ? "group 2" : kSecondGroup);
    case MarginDesign::Paired:
      return PairedFirst(names) + " − " + PairedSecond(names);
    case MarginDesign::Fourfold:
      return NameOr(names.first, English(style) ? "treatment" : kTreated) + " − " +
             NameOr(names.second, English(style) ? "control" : kControl);
  }
  return {};
}

// The margin written with its sign and unit: "-5 mmHg".
std::string MarginWithUnit(const MarginFigures& f, int sign, const std::string& unit) {
  return (sign < 0 ? "-" : "") + f.marginText + unit;
}

// A bound already written (`written`, with `decimals` decimals) that reads as a margin it does not
// equal gets one more decimal, up to four more; then the nearest number of those decimals on the
// bound's side, so that no bound seems to touch the margin the conclusion was read against.
std::string BoundText(const MarginFigures& f, double bound, std::string written, int decimals) {
  for (const double null : {f.null1, f.null2}) {
    const auto touches = [&](const std::string& text) {
      return bound != null && std::strtod(text.c_str(), nullptr) == null;
    };
    for (int more = decimals + 1; touches(written) && more <= decimals + 4; ++more) {
      written = FixedText(bound, more);
    }
    if (touches(written)) {
      const double step = std::pow(10.0, -(decimals + 4));
      written = FixedText(bound > null ? null + step : null - step, decimals + 4);
    }
  }
  return written;
}

// The interval with each bound guarded against reading as the margin.
std::string MarginInterval(const MarginFigures& f, PStyle style, int decimals) {
  if (!f.lower || !f.upper) return MissingText(f.lower ? f.upper : f.lower);
  const auto written = [&](const Figure& bound) {
    return decimals == 2 ? Two(bound) : NumberText(bound);
  };
  return JoinBounds(style, BoundText(f, *f.lower, written(f.lower), decimals),
                    BoundText(f, *f.upper, written(f.upper), decimals));
}

// "95%CI：-0.80～3.20" at the interval's own level.
std::string LevelledInterval(const MarginFigures& f, PStyle style) {
  return Level(f) + IntervalPrefix(style).substr(std::string("95%").size()) +
         MarginInterval(f, style, 2);
}

// The tests in brackets: "t=4.12，ν=58，单侧P<0.001"; for equivalence both statistics and the
// larger P.
std::string TestText(const MarginFigures& f, PStyle style) {
  const std::string symbol = Symbol(f);
  const bool english = English(style);
  const bool equivalence = f.hypothesis == Hypothesis::Equivalence;
  std::string text;
  if (equivalence) {
    text = (english ? "two one-sided tests: " : "两个单侧检验：") +
           Is(style, symbol + (english ? "1" : "₁"), Two(f.statistic1)) + List(style) +
           Is(style, symbol + (english ? "2" : "₂"), Two(f.statistic2));
  } else {
    text = (english ? "one-sided " : "") + Is(style, symbol, Two(f.statistic1));
  }
  if (!f.score) text += List(style) + Is(style, english ? "df" : (f.welch ? "ν′" : "ν"), Df(f.df));
  const char* which =
      english ? (equivalence ? "larger one-sided " : "") : (equivalence ? "较大的单侧" : "单侧");
  return text + List(style) + which + PText(style, f.p, AlphaOf(f));
}

}  // namespace

std::string MarginResults(const MarginFigures& f, PStyle style, const ReportNames& names) {
  const bool english = English(style);
  const std::string hypothesis = HypothesisName(f.hypothesis);
  const std::string englishName = HypothesisEnglish(f.hypothesis);
  if (!f.established) {
    const Figure missing = FirstMissing(f);
    return english ? "No " + englishName + " test can be reported yet (" + missing.reason + ")."
                   : "尚无法给出" + hypothesis + "检验结果（" + missing.reason + "）。";
  }
  const bool rate = f.design == MarginDesign::Fourfold;
  const std::string unit = rate ? "" : UnitSuffix(names.unit);
  const std::string between = Between(f, style, names);
  const std::string outcome = Outcome(names);
  const std::string levelled = Bracketed(style, LevelledInterval(f, style));
  const bool equivalence = f.hypothesis == Hypothesis::Equivalence;
  const bool shown = *f.established;
  if (english) {
    const std::string scale =
        rate ? "the risk difference (" + between + "), an absolute difference in proportions"
        : f.design == MarginDesign::Paired
            ? "the mean paired difference" + (outcome.empty() ? std::string() : " in " + outcome) +
                  " (" + between + "), in the outcome's own unit"
            : "the difference in mean" + (outcome.empty() ? std::string() : " " + outcome) + " (" +
                  between + "), in the outcome's own unit";
    const std::string direction = equivalence                  ? ""
                                  : f.better == Better::Higher ? "; higher values are better"
                                                               : "; lower values are better";
    std::string against;
    if (equivalence) {
      against = shown ? "lay entirely within ±" + MarginWithUnit(f, 1, unit)
                      : "did not lie entirely within ±" + MarginWithUnit(f, 1, unit);
    } else {
      against = std::string(f.upperTail1 ? "its lower bound " : "its upper bound ") +
                (shown ? "" : "did not ") +
                (shown ? (f.upperTail1 ? "lay above " : "lay below ")
                       : (f.upperTail1 ? "lie above " : "lie below ")) +
                MarginWithUnit(f, f.nullSign1, unit);
    }
    std::string sentence =
        "The " + englishName + " margin was Δ = " + f.marginText + unit + " on the scale of " +
        scale + direction + ". The difference was " + Two(f.difference) + unit + levelled + "; " +
        (equivalence ? "the interval " : "") + against + ", so " + englishName +
        (shown ? " was shown" : " was not shown") + Bracketed(style, TestText(f, style)) + ".";
    return sentence;
  }
  const std::string scale =
      rate ? "率差（" + between + "，绝对差）"
           : outcome + (f.design == MarginDesign::Paired ? "差值均数（" : "均数之差（") + between +
                 "，与结局同单位）";
  const std::string direction = equivalence ? "" : "，" + BetterName(f.better);
  std::string against;
  if (equivalence) {
    against = shown ? "整个区间位于±" + MarginWithUnit(f, 1, unit) + "之内"
                    : "区间未完全位于±" + MarginWithUnit(f, 1, unit) + "之内";
  } else {
    against = std::string(f.upperTail1 ? "下限" : "上限") + (shown ? "" : "未") +
              (f.upperTail1 ? "高于" : "低于") + MarginWithUnit(f, f.nullSign1, unit);
  }
  return "本研究为" + hypothesis + "设计，" + hypothesis + "界值Δ=" + f.marginText + unit +
         "，取在" + scale + "的尺度上" + direction + "。" +
         (f.design == MarginDesign::Fourfold ? "率差"
          : f.design == MarginDesign::Paired ? "差值均数"
                                             : "均数之差") +
         "为" + Two(f.difference) + unit + levelled + "，" + against + "，" +
         ConclusionText(f, shown) + Bracketed(style, TestText(f, style)) + "。";
}

std::string MarginMethods(const MarginFigures& f, PStyle style) {
  const bool english = English(style);
  const bool equivalence = f.hypothesis == Hypothesis::Equivalence;
  const std::string alpha = Is(style, "α", f.alpha ? f.alphaText : MissingText(f.alpha));
  const std::string level = Level(f);
  if (english) {
    const std::string test =
        f.score ? "Farrington–Manning score test (variance at the maximum-likelihood rates "
                  "restricted to the null difference)"
        : f.design == MarginDesign::Paired ? "paired t test"
        : f.welch                          ? "Welch's t test"
                                           : "two-sample t test (pooled variance)";
    const std::string interval =
        f.score ? "the " + level +
                      " CI of the risk difference, obtained by inverting the same score test "
                      "(Miettinen–Nurminen type, without the N/(N − 1) factor),"
                : "the " + level + " CI (two-sided, 1 − 2α) of the difference";
    return "The " + HypothesisEnglish(f.hypothesis) + " hypothesis was tested against the margin " +
           (equivalence
                ? "with two one-sided tests (TOST) by the " + test + ", " + alpha + " on each side"
                : "with a one-sided " + test + ", " + alpha + " one-sided") +
           ", and " + interval + " was compared with the margin.";
  }
  const std::string test =
      f.score ? "Farrington–Manning score检验（方差取H₀下的限制性最大似然估计）" : f.method;
  const std::string interval =
      f.score
          ? "率差的" + level +
                "CI由同一score统计量反推（Miettinen–Nurminen型，无N/(N − 1)校正），以其与界值比较"
          : "以差值的" + level + "CI（双侧，1 − 2α）与界值比较";
  return HypothesisName(f.hypothesis) + "检验采用" +
         (equivalence ? test + "的两个单侧检验（TOST），每侧" + alpha
                      : "单侧" + test + "，单侧" + alpha) +
         "；" + interval + "。";
}

void AddMarginSection(Report& report, const MarginFigures& f, PStyle style,
                      const ReportNames& names) {
  if (!f.Shown()) return;
  const Scale scale = ScaleOf(f);
  const bool equivalence = f.hypothesis == Hypothesis::Equivalence;
  ReportSection section;
  section.heading = HypothesisName(f.hypothesis) + "检验" +
                    (equivalence ? "" : "（" + BetterName(f.better) + "）");
  section.rows.push_back(
      {"界值Δ",
       f.margin ? f.marginText + UnitSuffix(f.design == MarginDesign::Fourfold ? "" : names.unit)
                : MissingText(f.margin),
       Hypotheses(f, scale.parameter)});
  section.rows.push_back({AlphaLabel(f.hypothesis), f.alpha ? f.alphaText : MissingText(f.alpha),
                          equivalence ? "两个单侧检验（TOST）各自的检验水准" : "单侧检验水准"});
  section.rows.push_back({scale.label, NumberText(f.difference), scale.formula});
  section.rows.push_back(
      {scale.label.substr(0, scale.label.find(' ')) + "的" + Level(f) + "置信区间",
       MarginInterval(f, style, 4),
       f.score ? "由Farrington–Manning score统计量反推（Miettinen–Nurminen型score区间，无N/(N − "
                 "1)校正），双侧1 − 2α"
               : "(" + scale.estimate + ") ± t(α, ν)·" + scale.error + "，双侧1 − 2α"});
  AddTest(section, f, scale, style, f.statistic1, f.p1, f.nullSign1, f.upperTail1);
  if (equivalence) AddTest(section, f, scale, style, f.statistic2, f.p2, f.nullSign2, f.upperTail2);
  if (!f.score)
    section.rows.push_back({f.welch ? "自由度 ν′" : "自由度 ν", CountText(f.df), scale.df});
  if (equivalence) {
    section.rows.push_back({"P（TOST）", PCellText(style, f.p, AlphaOf(f)), "两个单侧P中的较大者"});
  }
  section.rows.push_back(
      {"结论", f.established ? ConclusionText(f, *f.established) : MissingText(FirstMissing(f)),
       Rule(f)});
  report.sections.push_back(std::move(section));

  const std::string space = English(style) ? " " : "";
  report.results =
      MarginResults(f, style, names) + (report.results.empty() ? "" : space + report.results);
  report.methods += (report.methods.empty() ? "" : space) + MarginMethods(f, style);
}

}  // namespace quillon
