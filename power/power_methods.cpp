#include "power/power_methods.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <limits>

#include "power/distributions.h"

namespace quillon {

using namespace power_detail;

namespace {

double NormalCdf(double z) {
  return Guarded([&] { return boost::math::cdf(boost::math::normal(), z); });
}

// Beyond this many critical values (and this far from 0) the noncentral t lies above the critical
// value with a probability 1 to double precision: T ≤ c needs Z ≤ −λ/2 or c·√(χ²/ν) ≥ λ/2, each
// beyond 37 standard deviations. Boost.Math's series cannot take such λ when it is very large.
constexpr double kCertainReach = 80;

// Both tails of the noncentral t beyond ±t(1 − α/2, ν).
double NoncentralTPower(double df, double noncentrality, double alpha) {
  return Guarded([&] {
    const double critical =
        boost::math::quantile(boost::math::complement(StudentsT(df), alpha / 2));
    const double shift = std::abs(noncentrality);
    if (shift > kCertainReach * std::max(1.0, critical)) return 1.0;
    const NoncentralT shifted(df, shift);
    const double power = boost::math::cdf(boost::math::complement(shifted, critical)) +
                         boost::math::cdf(shifted, -critical);
    return std::min(1.0, power);
  });
}

}  // namespace

double NormalUpper(double p) {
  // A p below the smallest normal double (an α typed as 1e-320) overflows.
  return Guarded(
      [&] { return boost::math::quantile(boost::math::complement(boost::math::normal(), p)); });
}

double TwoSampleTPower(double delta, double sd, double n1, double n2, double alpha) {
  if (n1 < 1 || n2 < 1 || n1 + n2 < 3) return kNaN;
  return NoncentralTPower(n1 + n2 - 2, delta / (sd * std::sqrt(1 / n1 + 1 / n2)), alpha);
}

double PairedTPower(double delta, double sdDiff, double n, double alpha) {
  if (n < 2) return kNaN;
  return NoncentralTPower(n - 1, delta / (sdDiff / std::sqrt(n)), alpha);
}

double NormalApproximateN(double standardized, double factor, double alpha, double power) {
  const double z = NormalUpper(alpha / 2) + NormalUpper(1 - power);
  return z * z * factor / (standardized * standardized);
}

std::optional<std::int64_t> SmallestSampleSize(const std::function<double(std::int64_t)>& power,
                                               double target, double guess, std::int64_t least) {
  const auto reaches = [&](std::int64_t n) { return power(n) >= target; };
  const double bounded = std::isfinite(guess) ? std::ceil(guess) : 0.0;
  const std::int64_t start = static_cast<std::int64_t>(
      std::clamp(bounded, static_cast<double>(least), static_cast<double>(kLargestSampleSize)));
  // A bracket: `below` does not reach the target (least − 1 stands for "nothing below"),
  // `above` does.
  std::int64_t below = least - 1;
  std::int64_t above = start;
  if (reaches(start)) {
    for (std::int64_t step = 1; above > least; step *= 2) {
      const std::int64_t lower = std::max(least, start - step);
      if (!reaches(lower)) {
        below = lower;
        break;
      }
      above = lower;
    }
  } else {
    below = start;
    for (std::int64_t step = 1;; step *= 2) {
      if (below >= kLargestSampleSize) return std::nullopt;
      const std::int64_t higher = std::min(kLargestSampleSize, start + step);
      if (reaches(higher)) {
        above = higher;
        break;
      }
      below = higher;
    }
  }
  while (above - below > 1) {
    const std::int64_t middle = below + (above - below) / 2;
    (reaches(middle) ? above : below) = middle;
  }
  return above;
}

std::optional<std::int64_t> LeastLastingSampleSize(
    const std::function<double(std::int64_t)>& power, double target, double guess,
    std::int64_t least, const std::function<std::int64_t(std::int64_t)>& window) {
  std::optional<std::int64_t> from = SmallestSampleSize(power, target, guess, least);
  std::int64_t checked = 0;
  while (from) {
    const std::int64_t end = std::min(kLargestSampleSize, *from + window(*from));
    std::int64_t n = *from + 1;
    for (; n <= end && checked < kLargestCheck; ++n, ++checked) {
      if (!(power(n) >= target)) break;
    }
    if (n > end || checked >= kLargestCheck) return from;
    // n falls short: the next crossing above it.
    from = SmallestSampleSize(power, target, static_cast<double>(n + 1), n + 1);
  }
  return std::nullopt;
}

double FisherZSampleSize(double rho, double alpha, double power) {
  const double c = std::atanh(rho);
  const double z = NormalUpper(alpha / 2) + NormalUpper(1 - power);
  return z * z / (c * c) + 3;
}

double FisherZPower(double rho, double n, double alpha) {
  if (n <= 3) return kNaN;
  const double shift = std::abs(std::atanh(rho)) * std::sqrt(n - 3);
  const double z = NormalUpper(alpha / 2);
  return NormalCdf(shift - z) + NormalCdf(-shift - z);
}

namespace {

// The spread of the difference of two proportions in one group-1 subject's worth of data: under
// H0 with the pooled proportion, and under H1; both for n1 = 1 and n2 = k.
struct ProportionSpread {
  double null;
  double alternative;
};

ProportionSpread Spread(double p1, double p2, double ratio) {
  const double pooled = (p1 + ratio * p2) / (1 + ratio);
  return {std::sqrt(pooled * (1 - pooled) * (1 + 1 / ratio)),
          std::sqrt(p1 * (1 - p1) + p2 * (1 - p2) / ratio)};
}

}  // namespace

double TwoProportionSampleSize(double p1, double p2, double ratio, double alpha, double power) {
  const ProportionSpread spread = Spread(p1, p2, ratio);
  const double root =
      NormalUpper(alpha / 2) * spread.null + NormalUpper(1 - power) * spread.alternative;
  return root * root / ((p1 - p2) * (p1 - p2));
}

double ContinuityCorrectedSampleSize(double n, double p1, double p2, double ratio) {
  const double root = 1 + std::sqrt(1 + 2 * (ratio + 1) / (ratio * n * std::abs(p1 - p2)));
  return n / 4 * root * root;
}

double TwoProportionPower(double p1, double p2, double n1, double n2, double alpha,
                          bool corrected) {
  // The spreads at n1 = 1 scaled to the actual n1 and n2 = k·n1.
  const double ratio = n2 / n1;
  const ProportionSpread spread = Spread(p1, p2, ratio);
  const double difference = std::abs(p1 - p2) - (corrected ? (1 / n1 + 1 / n2) / 2 : 0.0);
  return NormalCdf((difference * std::sqrt(n1) - NormalUpper(alpha / 2) * spread.null) /
                   spread.alternative);
}

double ConnorSampleSize(double p10, double p01, double alpha, double power) {
  const double psi = p10 + p01;
  const double delta = p10 - p01;
  const double root = NormalUpper(alpha / 2) * std::sqrt(psi) +
                      NormalUpper(1 - power) * std::sqrt(psi - delta * delta);
  return root * root / (delta * delta);
}

double ConnorPower(double p10, double p01, double n, double alpha) {
  const double psi = p10 + p01;
  const double delta = p10 - p01;
  return NormalCdf((std::abs(delta) * std::sqrt(n) - NormalUpper(alpha / 2) * std::sqrt(psi)) /
                   std::sqrt(psi - delta * delta));
}

namespace {

// The lower tail F = P(X ≤ c) and the probability f = P(X = c) of X ~ Binomial(m, p), carried
// from one m to the next and from one c to the next by the ratios of neighbouring binomial
// probabilities; started, and now and then started again, from Boost.Math's values.
struct BinomialTail {
  double p = 0;
  double lower = 0;
  double at = 0;

  void Start(std::int64_t m, std::int64_t c) {
    const Binomial distribution(static_cast<double>(m), p);
    lower = boost::math::cdf(distribution, static_cast<double>(c));
    at = boost::math::pdf(distribution, static_cast<double>(c));
  }
  // From m trials to m + 1 at the same c; `grow` is (m + 1) / (m + 1 − c), the same for every p.
  void NextTrial(double grow) {
    lower -= p * at;
    at *= grow * (1 - p);
  }
  // The probability at c + 1 of m trials, without taking it; `ratio` is (m − c) / (c + 1).
  double AtNext(double ratio) const { return at * ratio * p / (1 - p); }
  void NextCount(double ratio) {
    at = AtNext(ratio);
    lower += at;
  }
};

// The two-sided binomial test of b ~ Binomial(m, ½) rejects at b ≤ c or b ≥ m − c, c being the
// largest count with 2·P(b ≤ c) ≤ α (−1 when there is none).
std::int64_t CriticalCount(std::int64_t m, double alpha) {
  const Binomial fair(static_cast<double>(m), 0.5);
  const auto rejects = [&](std::int64_t c) {
    return c >= 0 && 2 * boost::math::cdf(fair, static_cast<double>(c)) <= alpha;
  };
  const double half = static_cast<double>(m) / 2;
  std::int64_t c =
      static_cast<std::int64_t>(std::floor(half - NormalUpper(alpha / 2) * std::sqrt(half / 2)));
  c = std::clamp<std::int64_t>(c, -1, m);
  while (c >= 0 && !rejects(c)) --c;
  while (c < m && rejects(c + 1)) ++c;
  return c;
}

// Binomial(n, ψ) beyond this many standard deviations (and a margin for skewed cases) holds less
// than a double can add to the power.
constexpr double kReach = 8.5;
constexpr double kMargin = 20;
// Steps of the ratio recurrences before Boost.Math's values are taken again.
constexpr std::int64_t kRestart = 8192;

}  // namespace

double ExactMcNemarPower(double p10, double p01, std::int64_t n, double alpha) {
  return Guarded([&] {
    const double psi = p10 + p01;
    const double share = p10 / psi;
    const double nd = static_cast<double>(n);
    const double spread = std::sqrt(nd * psi * std::max(0.0, 1 - psi));
    // Every pair is discordant when ψ = 1.
    const std::int64_t first = psi >= 1
                                   ? n
                                   : static_cast<std::int64_t>(std::max(
                                         0.0, std::floor(nd * psi - kReach * spread - kMargin)));
    const std::int64_t last =
        static_cast<std::int64_t>(std::min(nd, std::ceil(nd * psi + kReach * spread + kMargin)));
    const Binomial discordant(nd, std::min(1.0, psi));
    // Tails of b for the null (½), of b (share) and of m − b (1 − share).
    BinomialTail fair{0.5};
    BinomialTail towards{share};
    BinomialTail away{1 - share};
    double weight = 0;
    std::int64_t critical = -1;
    std::int64_t sinceStart = kRestart;
    double power = 0;
    for (std::int64_t m = first; m <= last; ++m) {
      if (critical < 0 || sinceStart >= kRestart) {
        weight = boost::math::pdf(discordant, static_cast<double>(m));
        critical = CriticalCount(m, alpha);
        if (critical >= 0) {
          for (BinomialTail* tail : {&fair, &towards, &away}) tail->Start(m, critical);
        }
        sinceStart = 0;
      }
      if (critical >= 0) power += weight * (towards.lower + away.lower);
      if (m == last) break;
      // On to m + 1 discordant pairs.
      ++sinceStart;
      weight *= (nd - static_cast<double>(m)) / static_cast<double>(m + 1) * psi / (1 - psi);
      if (critical < 0) continue;
      const double grow = static_cast<double>(m + 1) / static_cast<double>(m + 1 - critical);
      for (BinomialTail* tail : {&fair, &towards, &away}) tail->NextTrial(grow);
      for (;;) {
        const double ratio =
            static_cast<double>(m + 1 - critical) / static_cast<double>(critical + 1);
        if (!(critical + 1 < m + 1 && 2 * (fair.lower + fair.AtNext(ratio)) <= alpha)) break;
        for (BinomialTail* tail : {&fair, &towards, &away}) tail->NextCount(ratio);
        ++critical;
      }
    }
    return std::clamp(power, 0.0, 1.0);
  });
}

std::int64_t McNemarSawtoothWindow(double p10, double p01, std::int64_t n) {
  // Below this the parity's share of the power is smaller than a step of its rise.
  constexpr double kWashedOut = 1e-3;
  constexpr std::int64_t kFewPairs = 4;
  const double psi = p10 + p01;
  const auto nd = static_cast<double>(n);
  if (std::pow(std::abs(1 - 2 * psi), nd) < kWashedOut) return kFewPairs;
  return static_cast<std::int64_t>(std::ceil((2 * std::sqrt(nd * psi) + 8) / psi));
}

}  // namespace quillon
