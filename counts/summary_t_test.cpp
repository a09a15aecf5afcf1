#include "counts/summary_t_test.h"

#include <cmath>

namespace quillon {

namespace {

constexpr Fixed4 kOne = Fixed4::FromRaw(Fixed4::kScale);
constexpr Fixed4 kTwo = Fixed4::FromRaw(2 * Fixed4::kScale);

std::optional<double> Finite(double value) {
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> Divide(double numerator, double denominator) {
  return denominator == 0 ? std::nullopt : Finite(numerator / denominator);
}

double Square(Fixed4 value) { return value.ToDouble() * value.ToDouble(); }

// S1² · (N1 − 1) + S2² · (N2 − 1) over N1 + N2 − 2, with the counts less one as Fixed4.
std::optional<double> PooledVariance(const SummaryValues& v, Fixed4 df) {
  const std::optional<Fixed4> oneLess = Subtract(v.count1, kOne);
  const std::optional<Fixed4> twoLess = Subtract(v.count2, kOne);
  if (!oneLess || !twoLess) return std::nullopt;
  const double sumOfSquares =
      Square(v.deviation1) * oneLess->ToDouble() + Square(v.deviation2) * twoLess->ToDouble();
  return Divide(sumOfSquares, df.ToDouble());
}

// ((1/N1 + 1/N2) · Sc²)^0.5
std::optional<double> StandardError(const SummaryValues& v, double pooledVariance) {
  const std::optional<double> oneShare = Divide(1.0, v.count1.ToDouble());
  const std::optional<double> twoShare = Divide(1.0, v.count2.ToDouble());
  if (!oneShare || !twoShare) return std::nullopt;
  const double variance = (*oneShare + *twoShare) * pooledVariance;
  return variance < 0 ? std::nullopt : Finite(std::sqrt(variance));
}

}  // namespace

std::optional<SummaryValues> ReadSummaryValues(
    const std::array<std::string, kSummaryBoxCount>& boxes) {
  std::array<Fixed4, kSummaryBoxCount> values;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const std::optional<Fixed4> value = Fixed4::Parse(boxes[i]);
    if (!value) return std::nullopt;
    values[i] = *value;
  }
  return SummaryValues{values[kX1], values[kS1], values[kN1],
                       values[kX2], values[kS2], values[kN2]};
}

std::optional<PooledTTest> PoolSummaryValues(const SummaryValues& values) {
  const std::optional<Fixed4> total = Add(values.count1, values.count2);
  const std::optional<Fixed4> df = total ? Subtract(*total, kTwo) : std::nullopt;
  if (!df) return std::nullopt;
  PooledTTest test;
  test.df = *df;
  test.difference = Subtract(values.mean1, values.mean2);
  test.pooledVariance = PooledVariance(values, *df);
  if (test.pooledVariance) test.standardError = StandardError(values, *test.pooledVariance);
  if (test.difference && test.standardError) {
    test.t = Divide(test.difference->ToDouble(), *test.standardError);
  }
  return test;
}

std::optional<SummaryTTestResult> SummaryTTest(
    const std::array<std::string, kSummaryBoxCount>& boxes) {
  // An empty box, like any text that is not a number, ends the run here.
  const std::optional<SummaryValues> values = ReadSummaryValues(boxes);
  const std::optional<PooledTTest> test = values ? PoolSummaryValues(*values) : std::nullopt;
  if (!test || !test->t) return std::nullopt;
  const double t = std::fabs(*test->t);
  std::optional<TTestVerdict> verdict = JudgeTStatistic(t, test->df);
  if (!verdict) return std::nullopt;
  return SummaryTTestResult{t, test->df, std::move(*verdict)};
}

}  // namespace quillon
