#include "report/checks/normality.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <string>

namespace quillon {

namespace {

// Differences of two 64-bit values, and of two pairs' differences, need 65 bits.
__extension__ using Int128 = __int128;

// Royston's polynomials: the two largest weights in 1/√n, and the mean and log standard
// deviation of the normalising transformation of W, in n (4 to 11) or log n (12 and over).
constexpr double kLargestWeight[] = {0.0, 0.221157, -0.147981, -2.071190, 4.434685, -2.706056};
constexpr double kSecondWeight[] = {0.0, 0.042981, -0.293762, -1.752461, 5.682633, -3.582633};
constexpr double kSmallMean[] = {0.544, -0.39978, 0.025054, -6.714e-4};
constexpr double kSmallLogDeviation[] = {1.3822, -0.77857, 0.062767, -0.0020322};
constexpr double kSmallBound[] = {-2.273, 0.459};
constexpr double kLargeMean[] = {-1.5861, -0.31082, -0.083751, 0.0038915};
constexpr double kLargeLogDeviation[] = {-0.4803, -0.082676, 0.0030302};

template <std::size_t N>
double Polynomial(const double (&coefficients)[N], double x) {
  double value = 0;
  for (std::size_t i = N; i-- > 0;) value = value * x + coefficients[i];
  return value;
}

// The weights a_1 … a_[n/2] of the differences x_(n+1−i) − x_(i) of n ≥ 4 ordered values, from
// the expected normal order statistics m_i = Φ⁻¹((i − 3/8) / (n + 1/4)); their squares, each
// counted for both ends, sum to 1.
std::vector<double> ComputeWeights(int n) {
  const int half = n / 2;
  std::vector<double> weights(half);
  const boost::math::normal normal;
  std::vector<double> m(half);  // the smaller half: all negative
  double sumOfSquares = 0;
  for (int i = 0; i < half; ++i) {
    m[i] = boost::math::quantile(normal, (i + 1 - 0.375) / (n + 0.25));
    sumOfSquares += m[i] * m[i];
  }
  sumOfSquares *= 2;
  const double root = std::sqrt(sumOfSquares);
  const double u = 1 / std::sqrt(static_cast<double>(n));
  weights[0] = Polynomial(kLargestWeight, u) - m[0] / root;
  int first = 1;
  double rest = sumOfSquares - 2 * m[0] * m[0];
  double restWeight = 1 - 2 * weights[0] * weights[0];
  if (n > 5) {
    weights[1] = Polynomial(kSecondWeight, u) - m[1] / root;
    first = 2;
    rest -= 2 * m[1] * m[1];
    restWeight -= 2 * weights[1] * weights[1];
  }
  const double factor = std::sqrt(rest / restWeight);
  for (int i = first; i < half; ++i) weights[i] = -m[i] / factor;
  return weights;
}

// The weights for n values, kept for the few sizes in use: the quantiles are the costly part.
std::shared_ptr<const std::vector<double>> Weights(int n) {
  static std::mutex mutex;
  static std::map<int, std::shared_ptr<const std::vector<double>>> cache;
  const std::lock_guard lock(mutex);
  if (const auto found = cache.find(n); found != cache.end()) return found->second;
  if (cache.size() >= 8) cache.clear();
  auto weights = std::make_shared<const std::vector<double>>(ComputeWeights(n));
  cache.emplace(n, weights);
  return weights;
}

// Three values with gaps g₁ and g₂ between them: W = 3/4 (1 + t), t = g₁g₂ / (g₁² + g₁g₂ + g₂²),
// and P has the exact distribution 6/π (asin √W − asin √(3/4)), which is
// 6/π asin(√3 t / (√(1 + t) + √(1 − 3t))): no difference of nearly equal numbers near W = 3/4,
// where two of the values are equal and P is 0.
NormalityFigures TestThree(const std::vector<double>& x) {
  const double g1 = x[1] - x[0];
  const double g2 = x[2] - x[1];
  const double t = g1 * g2 / (g1 * g1 + g1 * g2 + g2 * g2);
  const double p = 6 / std::numbers::pi *
                   std::asin(std::sqrt(3.0) * t / (std::sqrt(1 + t) + std::sqrt(1 - 3 * t)));
  return {3, Figure::Of(0.75 * (1 + t)), Figure::Of(std::min(1.0, p))};
}

// P of W for 4 or more values by Royston's normalising transformation of 1 − W.
double ShapiroWilkP(double w, int n) {
  if (w >= 1) return 1;
  double y = std::log1p(-w);
  double mean = 0, deviation = 0;
  if (n <= 11) {
    const double bound = Polynomial(kSmallBound, n);
    // The transformation is bounded: beyond it W lies below anything the approximation reaches.
    if (y >= bound) return 0;
    y = -std::log(bound - y);
    mean = Polynomial(kSmallMean, n);
    deviation = std::exp(Polynomial(kSmallLogDeviation, n));
  } else {
    const double logN = std::log(static_cast<double>(n));
    mean = Polynomial(kLargeMean, logN);
    deviation = std::exp(Polynomial(kLargeLogDeviation, logN));
  }
  return boost::math::cdf(boost::math::complement(boost::math::normal(mean, deviation), y));
}

// The test on sorted values that are not all equal, their count within range.
NormalityFigures Test(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  if (n == 3) return TestThree(x);
  const std::shared_ptr<const std::vector<double>> weights = Weights(n);
  double mean = 0;
  for (double value : x) mean += value;
  mean /= n;
  double spread = 0;
  for (double value : x) spread += (value - mean) * (value - mean);
  double weighted = 0;
  for (std::size_t i = 0; i < weights->size(); ++i) {
    weighted += (*weights)[i] * (x[n - 1 - i] - x[i]);
  }
  const double w = std::min(1.0, weighted * weighted / spread);
  return {n, Figure::Of(w), Figure::Of(ShapiroWilkP(w, n))};
}

// Why there is no test for this many values, if there is none.
std::optional<std::string> CountReason(std::size_t count) {
  if (count < kNormalityMinimum) return "n < 3，至少需要3个数值";
  if (count > kNormalityMaximum) return "n > 5000，超出Shapiro–Wilk检验的适用范围";
  return std::nullopt;
}

NormalityFigures Missing(std::size_t count, const std::string& reason) {
  const Figure missing = Figure::Missing(reason);
  return {static_cast<std::int64_t>(count), missing, missing};
}

// Exact whole numbers: sorted, then taken less their median, exactly, before they become
// doubles, so that a large common offset costs no digits of the spread.
template <typename Integer>
NormalityFigures TestWholeNumbers(std::vector<Integer> values) {
  if (const auto reason = CountReason(values.size())) return Missing(values.size(), *reason);
  std::sort(values.begin(), values.end());
  if (values.front() == values.back())
    return Missing(values.size(), "数值全部相同，无法检验正态性");
  const Int128 median = values[values.size() / 2];
  std::vector<double> centred(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    centred[i] = static_cast<double>(static_cast<Int128>(values[i]) - median);
  }
  return Test(centred);
}

}  // namespace

NormalityFigures ShapiroWilk(std::span<const Fixed4> values) {
  std::vector<std::int64_t> raw(values.size());
  std::transform(values.begin(), values.end(), raw.begin(), [](Fixed4 x) { return x.raw(); });
  return TestWholeNumbers(std::move(raw));
}

NormalityFigures DifferenceNormality(std::span<const std::pair<Fixed4, Fixed4>> pairs) {
  std::vector<Int128> differences(pairs.size());
  std::transform(pairs.begin(), pairs.end(), differences.begin(), [](const auto& pair) {
    return static_cast<Int128>(pair.first.raw()) - pair.second.raw();
  });
  return TestWholeNumbers(std::move(differences));
}

std::vector<ResidualPoint> RegressionResiduals(std::span<const std::pair<Fixed4, Fixed4>> pairs,
                                               const CorrelationResult& line) {
  if (!line.slope || !line.intercept || pairs.empty()) return {};
  const double slope = *line.slope;
  const double intercept = line.intercept->ToDouble();
  // Each residual is taken about the first pair, from exact differences of the whole numbers, so
  // that a large offset of X or Y costs no digits; the first pair's own residual, added back, is
  // the only term that carries the offsets' rounding, the same for every point.
  const std::int64_t x0 = pairs.front().first.raw();
  const std::int64_t y0 = pairs.front().second.raw();
  const double scale = Fixed4::kScale;
  const double first = (static_cast<double>(static_cast<Int128>(y0) - line.intercept->raw()) -
                        slope * static_cast<double>(x0)) /
                       scale;
  std::vector<ResidualPoint> points(pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const auto [x, y] = pairs[i];
    const double dx = static_cast<double>(static_cast<Int128>(x.raw()) - x0);
    const double dy = static_cast<double>(static_cast<Int128>(y.raw()) - y0);
    points[i] = {intercept + slope * x.ToDouble(), (dy - slope * dx) / scale + first};
  }
  return points;
}

NormalityFigures ResidualNormality(std::span<const ResidualPoint> points, const PairSums& sums) {
  const auto count = static_cast<std::size_t>(sums.count);
  if (const auto reason = CountReason(count)) return Missing(count, *reason);
  const Int256 sxx = sums.CentredXX();
  if (sxx == 0) return Missing(count, "X全部相同，没有回归直线");
  const Int512 sxy = Widen(sums.CentredXY());
  if (Widen(sxx) * Widen(sums.CentredYY()) == sxy * sxy) {
    return Missing(count, "各点都在回归直线上，残差全部为0");
  }
  // The line's intercept can leave the range of the values even where the sums give a line.
  if (points.size() != count) return Missing(count, "回归直线超出数值范围，没有残差");
  std::vector<double> residuals(points.size());
  std::transform(points.begin(), points.end(), residuals.begin(),
                 [](const ResidualPoint& point) { return point.residual; });
  std::sort(residuals.begin(), residuals.end());
  if (residuals.front() == residuals.back()) {
    return Missing(points.size(), "数值全部相同，无法检验正态性");
  }
  const double median = residuals[residuals.size() / 2];
  for (double& residual : residuals) residual -= median;
  return Test(residuals);
}

}  // namespace quillon
