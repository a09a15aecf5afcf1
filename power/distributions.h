#pragma once
// The distributions the power computations share, in double, and the guard that turns Boost.Math's
// errors into NaN.

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <exception>
#include <limits>

namespace quillon::power_detail {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Boost.Math computes in double, not in the x87 long double it promotes double to by default:
// several times faster, and a power needs far less than double's 16 digits (R's pnt works in
// double too).
using InDouble = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
using StudentsT = boost::math::students_t_distribution<double, InDouble>;
using NoncentralT = boost::math::non_central_t_distribution<double, InDouble>;
using Binomial = boost::math::binomial_distribution<double, InDouble>;

// Runs one evaluation of the distributions; Boost.Math reports a domain or range error by
// throwing, which here becomes NaN for the caller to explain.
template <typename Evaluate>
double Guarded(Evaluate evaluate) {
  try {
    return evaluate();
  } catch (const std::exception&) {
    return kNaN;
  }
}

}  // namespace quillon::power_detail
