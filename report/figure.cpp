#include "report/figure.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <exception>

namespace quillon {

namespace {

constexpr const char* kNotFinite = "结果不是有限数";
constexpr const char* kNoDistribution = "分布函数无法计算";

// Runs one evaluation of a distribution; Boost.Math reports a domain or range error by throwing.
template <typename Evaluate>
Figure Evaluated(Evaluate evaluate) {
  try {
    return Figure::Of(evaluate());
  } catch (const std::exception&) {
    return Figure::Missing(kNoDistribution);
  }
}

}  // namespace

Figure Figure::Of(double value) {
  return std::isfinite(value) ? Figure{value, {}} : Missing(kNotFinite);
}

Figure Figure::Missing(std::string reason) { return Figure{std::nullopt, std::move(reason)}; }

Figure MissingFrom(const Figure& first, const Figure& second) {
  return Figure::Missing(!first ? first.reason : second.reason);
}

Figure TwoSidedTP(double t, double df) {
  if (!(df > 0)) return Figure::Missing("自由度须大于0");
  if (!std::isfinite(t)) return Figure::Missing(kNotFinite);
  return Evaluated([&] {
    const boost::math::students_t distribution(df);
    return 2 * boost::math::cdf(boost::math::complement(distribution, std::fabs(t)));
  });
}

Figure TCritical95(double df) {
  if (!(df > 0)) return Figure::Missing("自由度须大于0");
  return Evaluated([&] {
    return boost::math::quantile(boost::math::complement(boost::math::students_t(df), 0.025));
  });
}

Figure OneSidedTP(double t, double df, bool upperTail) {
  if (!(df > 0)) return Figure::Missing("自由度须大于0");
  if (!std::isfinite(t)) return Figure::Missing(kNotFinite);
  return Evaluated([&] {
    const boost::math::students_t distribution(df);
    return upperTail ? boost::math::cdf(boost::math::complement(distribution, t))
                     : boost::math::cdf(distribution, t);
  });
}

Figure TCriticalUpper(double tail, double df) {
  if (!(df > 0)) return Figure::Missing("自由度须大于0");
  return Evaluated([&] {
    return boost::math::quantile(boost::math::complement(boost::math::students_t(df), tail));
  });
}

Figure OneSidedNormalP(double z, bool upperTail) {
  if (!std::isfinite(z)) return Figure::Missing(kNotFinite);
  return Evaluated([&] {
    const boost::math::normal distribution;
    return upperTail ? boost::math::cdf(boost::math::complement(distribution, z))
                     : boost::math::cdf(distribution, z);
  });
}

Figure NormalCriticalUpper(double tail) {
  return Evaluated(
      [&] { return boost::math::quantile(boost::math::complement(boost::math::normal(), tail)); });
}

Figure ChiSquareP(double chiSquare, double df) {
  if (!std::isfinite(chiSquare) || chiSquare < 0) return Figure::Missing(kNotFinite);
  return Evaluated([&] {
    return boost::math::cdf(boost::math::complement(boost::math::chi_squared(df), chiSquare));
  });
}

Figure FUpperP(double f, double df1, double df2) {
  if (!(df1 > 0) || !(df2 > 0)) return Figure::Missing("自由度须大于0");
  if (!std::isfinite(f) || f < 0) return Figure::Missing(kNotFinite);
  return Evaluated([&] {
    return boost::math::cdf(boost::math::complement(boost::math::fisher_f(df1, df2), f));
  });
}

Figure FTwoSidedP(double f, double df1, double df2) {
  if (!(df1 > 0) || !(df2 > 0)) return Figure::Missing("自由度须大于0");
  if (!std::isfinite(f) || f < 0) return Figure::Missing(kNotFinite);
  return Evaluated([&] {
    const boost::math::fisher_f distribution(df1, df2);
    const double lower = boost::math::cdf(distribution, f);
    const double upper = boost::math::cdf(boost::math::complement(distribution, f));
    return std::min(1.0, 2 * std::min(lower, upper));
  });
}

double NormalCritical95() {
  static const double critical =
      boost::math::quantile(boost::math::complement(boost::math::normal(), 0.025));
  return critical;
}

bool IsWhole(double value) { return std::isfinite(value) && std::floor(value) == value; }

}  // namespace quillon
