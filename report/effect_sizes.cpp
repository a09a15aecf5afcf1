#include "report/effect_sizes.h"

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <cstdint>
#include <exception>
#include <utility>

namespace quillon {

namespace {

// Evaluated in double: the default promotion to long double costs three times as much and buys
// digits far beyond what the report shows.
using DoublePolicy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
using NoncentralT = boost::math::non_central_t_distribution<double, DoublePolicy>;

constexpr double kUpperTail = 0.025;
constexpr double kLowerTail = 0.975;

// The λ with P(T ≤ t; df, λ) = target. The probability falls as λ rises. The search starts from
// the normal approximation of the noncentral t, mean λ and variance 1 + λ²/(2 df), and widens
// its bracket by doubling steps of that spread until the root lies inside it.
double SolveNoncentrality(double t, double df, double target) {
  const double spread = std::sqrt(1 + t * t / (2 * df));
  const double z = NormalCritical95();
  const double guess = target > 0.5 ? t - z * spread : t + z * spread;
  auto excess = [&](double lambda) {
    return boost::math::cdf(NoncentralT(df, lambda), t) - target;
  };
  double step = 0.25 * spread;
  double low = guess - step;
  double high = guess + step;
  double atLow = excess(low);
  double atHigh = excess(high);
  for (int widening = 0; atLow < 0 && widening < 60; ++widening) {
    high = low;
    atHigh = atLow;
    step *= 2;
    low -= step;
    atLow = excess(low);
  }
  for (int widening = 0; atHigh > 0 && widening < 60; ++widening) {
    low = high;
    atLow = atHigh;
    step *= 2;
    high += step;
    atHigh = excess(high);
  }
  if (atLow < 0 || atHigh > 0) throw std::domain_error("no bracket");
  if (atLow == 0) return low;
  if (atHigh == 0) return high;
  std::uintmax_t iterations = 100;
  const auto [first, second] = boost::math::tools::toms748_solve(
      excess, low, high, atLow, atHigh, boost::math::tools::eps_tolerance<double>(44), iterations);
  return (first + second) / 2;
}

EffectSize Scaled(double estimate, const NoncentralInterval& interval, double scale) {
  EffectSize effect{Figure::Of(estimate), interval.lower, interval.upper};
  if (interval.lower) effect.lower = Figure::Of(*interval.lower / scale);
  if (interval.upper) effect.upper = Figure::Of(*interval.upper / scale);
  return effect;
}

EffectSize AllMissing(const char* reason) {
  const Figure missing = Figure::Missing(reason);
  return {missing, missing, missing};
}

}  // namespace

NoncentralInterval NoncentralTInterval(double t, double df) {
  if (!(df > 0)) return {Figure::Missing("自由度须大于0"), Figure::Missing("自由度须大于0")};
  if (!std::isfinite(t)) return {Figure::Missing("t不是有限数"), Figure::Missing("t不是有限数")};
  if (std::fabs(t) > kLargestNoncentralT) {
    const Figure missing = Figure::Missing("|t|大于500，非中心t分布的区间不予计算");
    return {missing, missing};
  }
  NoncentralInterval interval;
  for (auto [bound, target] :
       {std::pair{&interval.lower, kLowerTail}, {&interval.upper, kUpperTail}}) {
    try {
      *bound = Figure::Of(SolveNoncentrality(t, df, target));
    } catch (const std::exception&) {
      *bound = Figure::Missing("非中心t分布无法计算");
    }
  }
  return interval;
}

Figure HedgesCorrection(double df) {
  if (!(df >= 2)) return Figure::Missing("自由度小于2，校正系数J无定义");
  // Γ((ν − 1)/2) / Γ(ν/2) as one ratio: the two gammas apart overflow beyond ν ≈ 340.
  try {
    return Figure::Of(1 / (std::sqrt(df / 2) * boost::math::tgamma_delta_ratio((df - 1) / 2, 0.5)));
  } catch (const std::exception&) {
    return Figure::Missing("伽马函数无法计算");
  }
}

TwoSampleEffectSizes TwoSampleEffects(double difference, double pooledDeviation, double n1,
                                      double n2) {
  TwoSampleEffectSizes effects;
  const char* invalid = nullptr;
  if (!IsWhole(n1) || !IsWhole(n2) || n1 < 1 || n2 < 1) {
    invalid = "例数须为不小于1的整数";
  } else if (n1 + n2 < 3) {
    invalid = "n₁ + n₂ − 2 = 0，自由度为0";
  } else if (!std::isfinite(difference) || !std::isfinite(pooledDeviation)) {
    invalid = "均数差或合并标准差不是有限数";
  } else if (!(pooledDeviation > 0)) {
    invalid = "合并标准差为0，效应量无定义";
  }
  if (invalid) {
    effects.d = effects.g = AllMissing(invalid);
    effects.correction = Figure::Missing(invalid);
    return effects;
  }
  const double df = n1 + n2 - 2;
  const double d = difference / pooledDeviation;
  const double scale = std::sqrt(n1 * n2 / (n1 + n2));
  effects.d = Scaled(d, NoncentralTInterval(d * scale, df), scale);
  effects.correction = HedgesCorrection(df);
  if (!effects.correction) {
    effects.g = AllMissing(effects.correction.reason.c_str());
    return effects;
  }
  const double j = *effects.correction;
  effects.g = effects.d;
  for (Figure* figure : {&effects.g.estimate, &effects.g.lower, &effects.g.upper}) {
    if (*figure) *figure = Figure::Of(j * **figure);
  }
  return effects;
}

EffectSize PairedEffect(double meanDifference, double deviation, double n) {
  if (!IsWhole(n) || n < 2) return AllMissing("至少需要2对数据");
  if (!std::isfinite(meanDifference) || !std::isfinite(deviation)) {
    return AllMissing("均数差或标准差不是有限数");
  }
  if (!(deviation > 0)) return AllMissing("差值全部相同，标准差为0，效应量无定义");
  const double dz = meanDifference / deviation;
  const double scale = std::sqrt(n);
  return Scaled(dz, NoncentralTInterval(dz * scale, n - 1), scale);
}

}  // namespace quillon
