#include "power/margin_methods.h"

#include <algorithm>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <cmath>
#include <limits>
#include <numbers>

#include "power/distributions.h"
#include "power/power_methods.h"
#include "report/margin_tests.h"

namespace quillon {

namespace {

using namespace power_detail;

double TUpper(double df, double alpha) {
  return boost::math::quantile(boost::math::complement(StudentsT(df), alpha));
}

double Phi(double z) { return 0.5 * std::erfc(-z / std::numbers::sqrt2); }

// A noncentrality this many critical values above 0 leaves the t below the critical value with a
// chance below double's resolution (see power_methods.cpp).
constexpr double kCertainReach = 80;
// The χ variable with ν degrees of freedom is a 1-Lipschitz function of a normal vector: it
// strays t from its mean with a chance below 2·exp(−t²/2), under 10⁻¹⁷ at t = 9. Its mean lies
// between √(ν − 1) and √ν.
constexpr double kChiReach = 9;
// The quadrature's tolerance (relative to the integral) and its deepest bisection.
constexpr double kTolerance = 1e-12;
constexpr unsigned kDepth = 12;

}  // namespace

double OneSidedTPower(double df, double noncentrality, double alpha) {
  return Guarded([&] {
    const double critical = TUpper(df, alpha);
    if (noncentrality > kCertainReach * std::max(1.0, critical)) return 1.0;
    if (noncentrality < -kCertainReach * std::max(1.0, std::abs(critical))) return 0.0;
    // The series may land a rounding below 0 far in the lower tail.
    return std::clamp(
        boost::math::cdf(boost::math::complement(NoncentralT(df, noncentrality), critical)), 0.0,
        1.0);
  });
}

double EquivalenceTPower(double df, double difference, double margin, double standardError,
                         double alpha) {
  return Guarded([&] {
    const double critical = TUpper(df, alpha);
    const double slope = critical / std::sqrt(df);
    const double upper = (margin - difference) / standardError;
    const double lower = (-margin - difference) / standardError;
    // Beyond R the interval d̂ ± t·ŜE is wider than ±Δ: the two tests cannot both reject.
    const double reach = (upper - lower) / (2 * slope);
    const double centre = std::sqrt(df);
    const double from = std::max(0.0, centre - 1 - kChiReach);
    const double to = std::min(reach, centre + kChiReach);
    if (!(to > from)) return 0.0;
    // log fν(u) = (1 − ν/2)·ln 2 + (ν − 1)·ln u − u²/2 − ln Γ(ν/2), written about the mode
    // m = √(ν − 1) so that the terms that vary with u stay small: (ν − 1)·ln(1 + (u − m)/m) −
    // (u − m)(u + m)/2 plus the value at m. Otherwise (ν − 1)·ln u rounds to 10⁻¹⁰ of itself
    // at ν = 200,000, and the quadrature cannot converge below that noise.
    const double mode = std::sqrt(df - 1);
    const double atMode = (1 - df / 2) * std::numbers::ln2 - std::lgamma(df / 2) +
                          (df > 1 ? (df - 1) * std::log(mode) : 0.0) - mode * mode / 2;
    const auto integrand = [&](double u) {
      const double away = u - mode;
      const double logDensity =
          atMode + (df > 1 ? (df - 1) * std::log1p(away / mode) : 0.0) - away * (u + mode) / 2;
      return (Phi(upper - slope * u) - Phi(lower + slope * u)) * std::exp(logDensity);
    };
    const double power = boost::math::quadrature::gauss_kronrod<double, 31>::integrate(
        integrand, from, to, kDepth, kTolerance);
    return std::clamp(power, 0.0, 1.0);
  });
}

namespace {

struct Spreads {
  double null;
  double alternative;
};

// The spreads of p̂1 − p̂2 for n1 = 1 and n2 = k.
Spreads ShiftedSpreads(double p1, double p2, double ratio, double nullDifference,
                       NullSpread spread) {
  const auto of = [ratio](double q1, double q2) {
    return std::sqrt(q1 * (1 - q1) + q2 * (1 - q2) / ratio);
  };
  const double alternative = of(p1, p2);
  if (spread == NullSpread::Unpooled) return {alternative, alternative};
  const RestrictedRates restricted =
      RestrictedRateEstimates(p1, 1, p2 * ratio, ratio, nullDifference);
  return {of(restricted.p1, restricted.p2), alternative};
}

}  // namespace

double ShiftedProportionPower(double p1, double p2, double n1, double n2, double nullDifference,
                              double direction, double alpha, NullSpread spread) {
  const Spreads s = ShiftedSpreads(p1, p2, n2 / n1, nullDifference, spread);
  return Phi(
      (direction * (p1 - p2 - nullDifference) * std::sqrt(n1) - NormalUpper(alpha) * s.null) /
      s.alternative);
}

double ShiftedProportionSampleSize(double p1, double p2, double ratio, double nullDifference,
                                   double alpha, double power, NullSpread spread) {
  const Spreads s = ShiftedSpreads(p1, p2, ratio, nullDifference, spread);
  const double root = NormalUpper(alpha) * s.null + NormalUpper(1 - power) * s.alternative;
  const double shift = p1 - p2 - nullDifference;
  return root * root / (shift * shift);
}

double EquivalenceProportionPower(double p1, double p2, double n1, double n2, double margin,
                                  double alpha, NullSpread spread) {
  const double aboveLower = ShiftedProportionPower(p1, p2, n1, n2, -margin, 1, alpha, spread);
  const double belowUpper = ShiftedProportionPower(p1, p2, n1, n2, margin, -1, alpha, spread);
  return std::max(0.0, aboveLower + belowUpper - 1);
}

}  // namespace quillon
