#include "stats/correlation.h"

#include <cmath>

#include "stats/number_text.h"

namespace quillon {

namespace {

// a = (Σy − b·Σx) / n with b = Sxy / Sxx, rounded exactly to four decimals.
std::optional<Fixed4> Intercept(const Int512& numerator, std::int64_t n, const Int256& sxx) {
  const Int512 raw = DivideHalfEven(numerator, n * Widen(sxx));
  if (raw > INT64_MAX || raw < INT64_MIN) {
    return std::nullopt;
  }
  return Fixed4::FromRaw(raw.convert_to<std::int64_t>());
}

std::string SignedSlopeText(double slope) {
  std::string text = FormatFixed4(slope);
  return text.starts_with('-') ? text : "+" + text;
}

}  // namespace

CorrelationResult CorrelationRegression(const PairSums& pairs) {
  CorrelationResult result;
  const std::int64_t n = pairs.count;
  if (n < 2) {
    return result;
  }
  // Two pairs have a line and r = ±1 but no test: the panel shows nothing for them.
  const bool shown = n > 2;
  if (shown) result.n = std::to_string(n);

  const Int256 sxx = pairs.CentredXX();
  const Int256 syy = pairs.CentredYY();
  const Int256 sxy = pairs.CentredXY();
  if (sxx == 0) {
    return result;  // all X equal: neither r nor the slope exists
  }

  const double slope = ToDouble(sxy) / ToDouble(sxx);
  result.slope = slope;
  // a = (Σy·Sxx − Σx·Sxy) / (n·Sxx), the numerator exact, in 10^-4.
  const Int512 interceptNumerator = Widen(pairs.sumY) * Widen(sxx) - Widen(pairs.sumX) * Widen(sxy);
  result.intercept = Intercept(interceptNumerator, n, sxx);
  result.interceptValue =
      ToDouble(interceptNumerator) / ToDouble(sxx) / static_cast<double>(n) / Fixed4::kScale;
  if (shown && result.intercept) {
    result.equation =
        "Y=" + FormatFixed4(result.intercept->ToPlainText()) + SignedSlopeText(slope) + "X";
  }
  if (syy == 0) {
    return result;  // all Y equal: the line is flat, r does not exist
  }

  // Sxx·Syy − Sxy² = (1 − r²)·Sxx·Syy, exact: zero exactly for r = ±1.
  const Int512 unexplained = Widen(sxx) * Widen(syy) - Widen(sxy) * Widen(sxy);
  const double r = ToDouble(sxy) / std::sqrt(ToDouble(sxx)) / std::sqrt(ToDouble(syy));
  result.rValue = r;
  if (unexplained == 0) {
    const bool positive = sxy > 0;
    result.rValue = positive ? 1.0 : -1.0;
    if (shown) {
      result.critical = LookUpTCritical(Fixed4::FromInteger(n - 2).value_or(Fixed4{}));
      result.r = positive ? "1.0000" : "-1.0000";
      result.verdict = positive ? kPerfectPositive : kPerfectNegative;
    }
    return result;
  }
  result.critical = LookUpTCritical(Fixed4::FromInteger(n - 2).value_or(Fixed4{}));
  result.r = FormatFixed4(r);
  // |r|·√((n − 2) / (1 − r²)) = √(Sxy²·(n − 2) / (Sxx·Syy − Sxy²)), taken exactly: near-perfect
  // correlations give t of many digits.
  const Int512 wideSxy = Widen(sxy);
  const double t = SquareRootOfRatio(wideSxy * wideSxy * (n - 2), unexplained);
  result.tValue = sxy < 0 ? -t : t;
  result.t = FormatFixed4(t);
  if (result.critical) {
    result.verdict = VerdictText(SignificanceLevel(t, *result.critical));
  }
  return result;
}

}  // namespace quillon
