#pragma once
// One computed figure of the results report: its value, or the reason it has none. The report
// shows "—" with that reason instead of a number that would only look real.

#include <optional>
#include <string>

namespace quillon {

struct Figure {
  std::optional<double> value;
  std::string reason;  // set exactly when there is no value

  // The value when it is finite; otherwise no value, with a reason saying so.
  static Figure Of(double value);
  static Figure Missing(std::string reason);

  explicit operator bool() const { return value.has_value(); }
  double operator*() const { return *value; }
};

// A missing figure that carries over the reason of the first of two missing inputs.
Figure MissingFrom(const Figure& first, const Figure& second);

// Two-sided P of Student's t with df degrees of freedom (df may be fractional, above 0).
Figure TwoSidedTP(double t, double df);
// The two-sided 95 % critical value of Student's t, t(0.975, df).
Figure TCritical95(double df);
// One-sided P of Student's t: P(T ≥ t) for the upper tail, P(T ≤ t) for the lower one.
Figure OneSidedTP(double t, double df, bool upperTail);
// The critical value cut off by an upper tail of the given size, t(1 − tail, df).
Figure TCriticalUpper(double tail, double df);
// The same for the standard normal distribution: P(Z ≥ z) or P(Z ≤ z), and z(1 − tail).
Figure OneSidedNormalP(double z, bool upperTail);
Figure NormalCriticalUpper(double tail);
// Upper-tail P of the chi-square distribution with df degrees of freedom.
Figure ChiSquareP(double chiSquare, double df);
// Upper-tail P of Fisher's F with (df1, df2) degrees of freedom.
Figure FUpperP(double f, double df1, double df2);
// Two-sided P of Fisher's F with (df1, df2) degrees of freedom: 2·min(lower tail, upper tail).
Figure FTwoSidedP(double f, double df1, double df2);
// The two-sided 95 % critical value of the standard normal distribution, z(0.975).
double NormalCritical95();

// Whether a value is a whole number (also when negative).
bool IsWhole(double value);

}  // namespace quillon
