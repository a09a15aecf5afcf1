#pragma once
// How P values and 95 % intervals are written, in the style of the journal the user picks.
//
//   中华医学会系列杂志  P=0.025   P<0.001   P>0.999   95%CI：a～b
//   AMA / JAMA          P = .03   P < .001  P > .99   95% CI, a-b (a to b when a bound is negative)
//   NEJM                P=0.03    P<0.001   P>0.99    95% CI, a to b
//   APA 7               p = .025  p < .001  p > .999  95% CI [a, b]
//
// The symbol is always italic; it is returned apart from the rest so that HTML can set it in
// italics and plain text keeps it as it is.

#include <array>
#include <string>

#include "report/figure.h"

namespace quillon {

enum class PStyle { ChineseMedical, Ama, Nejm, Apa };
// Every style, in the order the windows list them.
inline constexpr std::array<PStyle, 4> kPStyles = {PStyle::ChineseMedical, PStyle::Ama,
                                                   PStyle::Nejm, PStyle::Apa};

inline constexpr PStyle kDefaultPStyle = PStyle::ChineseMedical;

// A text for HTML: &, <, > and " written as their entities.
std::string HtmlEscaped(const std::string& text);

struct StyledP {
  std::string symbol;  // "P" or "p", italic
  std::string rest;    // the relation and the number: "=0.025", " < .001"
  std::string Plain() const { return symbol + rest; }
  std::string Html() const;  // "<i>P</i>=0.025", the rest escaped
};

// A P value in the style; a missing P gives the symbol with "—（reason）".
//  - Decimals: 中华 and APA three; AMA and NEJM two from 0.01 up, three below, and three where
//    two would read 0.05 (0.0504 → "0.050").
//  - Below 0.001: "<0.001" (".001" without the leading zero).
//  - A P that rounds to 1 at the style's decimals (P = 1 too) is "> 0.999" or "> .99": a
//    rounded 1.000 would read as certainty.
//  - A P below 0.05 that rounds up to 0.05 gets one more decimal, then another (0.0499 →
//    "0.0499", 0.04996 → "0.04996"); if it still rounds to 0.05, it shows the largest number of
//    those decimals below 0.05 ("0.04999"), so that no P below 0.05 ever reads as 0.05. A test
//    at another level (a one-sided 0.025) guards that level the same way.
//  - Never 0.000: from 0.001 up the rounding cannot reach 0.
StyledP FormatP(PStyle style, const Figure& p, double level = 0.05);

// A number with fixed decimals, rounded half away from zero from the shortest decimal that reads
// back as the value (so 3.875 → "3.88", 1.005 → "1.01"), a minus as "-", never "-0.00".
std::string FixedText(double value, int decimals);

// Two bounds already written, joined as the style joins them: "a～b", "a-b" (AMA, "a to b" when a
// bound is negative), "a to b" (NEJM), "[a, b]" (APA).
std::string JoinBounds(PStyle style, const std::string& lower, const std::string& upper);

// The values an interval's bounds must not seem to reach when the interval lies clear of them:
// the null value of a difference (0) or of a ratio (1); for a correlation coefficient 0 and ±1.
enum class IntervalNull { None, Zero, One, Correlation };

// A bound already written (`written`, with `decimals` decimals) that reads as a guarded value the
// interval [lower, upper] excludes gets one more decimal, then another (0.003 for 0.0030, 0.996
// for 0.9956); if it still reads as that value, the nearest number of those decimals on the
// bound's side (0.00001 → 0.001 at two decimals), so that no interval reads as touching its null.
std::string GuardedBound(double bound, double lower, double upper, int decimals, IntervalNull null,
                         const std::string& written);

// The lower bound of a ratio's interval that is open above (its upper bound infinite), guarded
// against reading as 1 as GuardedBound does.
std::string UnboundedLowerText(const Figure& lower, int decimals, const std::string& written);

// What comes before the bounds: "95%CI：", "95% CI, ", "95% CI ".
std::string IntervalPrefix(PStyle style);

// "95%CI：a～b", "95% CI, a-b", "95% CI, a to b", "95% CI [a, b]"; the bounds with the given
// decimals (guarded as GuardedBound says), a minus as "-", never "-0.00"; a missing bound gives
// "—（reason）".
std::string FormatInterval(PStyle style, const Figure& lower, const Figure& upper, int decimals,
                           IntervalNull null = IntervalNull::None);

// The style's name as the report window lists it.
std::string PStyleName(PStyle style);

}  // namespace quillon
