#include "counts/summary_t_test.h"

#include <cmath>

namespace quillon {

namespace {

constexpr Fixed4 kOne = Fixed4::FromRaw(Fixed4::kScale);
constexpr Fixed4 kTwo = Fixed4::FromRaw(2 * Fixed4::kScale);

struct GroupSummary {
  Fixed4 mean;
  Fixed4 deviation;
  Fixed4 count;
};

std::optional<GroupSummary> ReadGroup(const std::string& mean, const std::string& deviation,
                                      const std::string& count) {
  const std::optional<Fixed4> x = Fixed4::Parse(mean);
  const std::optional<Fixed4> s = Fixed4::Parse(deviation);
  const std::optional<Fixed4> n = Fixed4::Parse(count);
  if (!x || !s || !n) {
    return std::nullopt;
  }
  return GroupSummary{*x, *s, *n};
}

std::optional<double> Finite(double value) {
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> Divide(double numerator, double denominator) {
  return denominator == 0 ? std::nullopt : Finite(numerator / denominator);
}

double Square(Fixed4 value) { return value.ToDouble() * value.ToDouble(); }

// S1² · (N1 − 1) + S2² · (N2 − 1) over N1 + N2 − 2, with the counts less one as Fixed4.
std::optional<double> PooledVariance(const GroupSummary& one, const GroupSummary& two, Fixed4 df) {
  const std::optional<Fixed4> oneLess = Subtract(one.count, kOne);
  const std::optional<Fixed4> twoLess = Subtract(two.count, kOne);
  if (!oneLess || !twoLess) {
    return std::nullopt;
  }
  const double sumOfSquares =
      Square(one.deviation) * oneLess->ToDouble() + Square(two.deviation) * twoLess->ToDouble();
  return Divide(sumOfSquares, df.ToDouble());
}

// ((1/N1 + 1/N2) · Sc²)^0.5
std::optional<double> StandardError(const GroupSummary& one, const GroupSummary& two,
                                    double pooledVariance) {
  const std::optional<double> oneShare = Divide(1.0, one.count.ToDouble());
  const std::optional<double> twoShare = Divide(1.0, two.count.ToDouble());
  if (!oneShare || !twoShare) {
    return std::nullopt;
  }
  const double variance = (*oneShare + *twoShare) * pooledVariance;
  return variance < 0 ? std::nullopt : Finite(std::sqrt(variance));
}

std::optional<double> TStatistic(const GroupSummary& one, const GroupSummary& two, Fixed4 df) {
  const std::optional<double> pooledVariance = PooledVariance(one, two, df);
  if (!pooledVariance) {
    return std::nullopt;
  }
  const std::optional<double> standardError = StandardError(one, two, *pooledVariance);
  const std::optional<Fixed4> difference = Subtract(one.mean, two.mean);
  if (!standardError || !difference) {
    return std::nullopt;
  }
  return Divide(std::fabs(difference->ToDouble()), *standardError);
}

std::optional<Fixed4> DegreesOfFreedom(Fixed4 oneCount, Fixed4 twoCount) {
  const std::optional<Fixed4> total = Add(oneCount, twoCount);
  return total ? Subtract(*total, kTwo) : std::nullopt;
}

}  // namespace

std::optional<SummaryTTestResult> SummaryTTest(
    const std::array<std::string, kSummaryBoxCount>& boxes) {
  // An empty box, like any text that is not a number, ends the run here.
  const std::optional<GroupSummary> one = ReadGroup(boxes[kX1], boxes[kS1], boxes[kN1]);
  const std::optional<GroupSummary> two = ReadGroup(boxes[kX2], boxes[kS2], boxes[kN2]);
  if (!one || !two) {
    return std::nullopt;
  }
  const std::optional<Fixed4> df = DegreesOfFreedom(one->count, two->count);
  if (!df) {
    return std::nullopt;
  }
  const std::optional<double> t = TStatistic(*one, *two, *df);
  if (!t) {
    return std::nullopt;
  }
  std::optional<TTestVerdict> verdict = JudgeTStatistic(*t, *df);
  if (!verdict) {
    return std::nullopt;
  }
  return SummaryTTestResult{*t, *df, std::move(*verdict)};
}

}  // namespace quillon
