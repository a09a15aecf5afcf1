#include "report/writing/sentence_parts.h"

namespace quillon::sentence_parts {

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

std::string Interval(PStyle style, const Figure& lower, const Figure& upper, IntervalNull null) {
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

}  // namespace quillon::sentence_parts
