#include "report/t_tests.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// The 95 % interval estimate ± t(0.975, df) · standard error.
void SetInterval(const Figure& estimate, const Figure& standardError, const Figure& df,
                 Figure& lower, Figure& upper) {
  if (!estimate || !standardError || !df) {
    lower = upper = MissingFrom(estimate, standardError ? df : standardError);
    return;
  }
  const Figure critical = TCritical95(*df);
  if (!critical) {
    lower = upper = critical;
    return;
  }
  lower = Figure::Of(*estimate - *critical * *standardError);
  upper = Figure::Of(*estimate + *critical * *standardError);
}

// t = estimate / standard error and its two-sided P.
void SetTest(const Figure& estimate, const Figure& standardError, const Figure& df, Figure& t,
             Figure& p, const char* zeroErrorReason) {
  if (!estimate || !standardError || !df) {
    t = p = MissingFrom(estimate, standardError ? df : standardError);
    return;
  }
  if (*standardError == 0) {
    t = p = Figure::Missing(zeroErrorReason);
    return;
  }
  t = Figure::Of(*estimate / *standardError);
  p = t ? TwoSidedTP(*t, *df) : t;
}

const char* InvalidGroup(Fixed4 deviation, Fixed4 count) {
  if (deviation < Fixed4{}) return "标准差不能为负";
  if (count.raw() % Fixed4::kScale != 0 || count < Fixed4::FromRaw(Fixed4::kScale)) {
    return "例数须为不小于1的整数";
  }
  return nullptr;
}

// The deviations and counts as doubles, for the formulas of the variances.
struct Spread {
  double deviation1, count1, deviation2, count2;
};

Spread SpreadOf(const SummaryValues& values) {
  return {values.deviation1.ToDouble(), values.count1.ToDouble(), values.deviation2.ToDouble(),
          values.count2.ToDouble()};
}

void SetVarianceTests(TwoSampleFigures& figures) {
  const Spread v = SpreadOf(figures.input);
  if (v.count1 < 2 || v.count2 < 2) {
    figures.f = figures.fDf1 = figures.fDf2 = figures.fP = figures.welchStandardError =
        figures.welchT = figures.welchDf = figures.welchP = Figure::Missing("每组至少需要2例");
    return;
  }
  const double variance1 = v.deviation1 * v.deviation1;
  const double variance2 = v.deviation2 * v.deviation2;
  const bool firstLarger = variance1 >= variance2;
  const double larger = firstLarger ? variance1 : variance2;
  const double smaller = firstLarger ? variance2 : variance1;
  if (smaller == 0) {
    figures.f = figures.fDf1 = figures.fDf2 = figures.fP =
        Figure::Missing(larger == 0 ? "两组方差均为0" : "一组方差为0，方差比无穷大");
  } else {
    figures.f = Figure::Of(larger / smaller);
    figures.fDf1 = Figure::Of((firstLarger ? v.count1 : v.count2) - 1);
    figures.fDf2 = Figure::Of((firstLarger ? v.count2 : v.count1) - 1);
    const Figure upperTail =
        figures.f ? FUpperP(*figures.f, *figures.fDf1, *figures.fDf2) : figures.f;
    figures.fP = upperTail ? Figure::Of(std::min(1.0, 2 * *upperTail)) : upperTail;
  }

  const double share1 = variance1 / v.count1;
  const double share2 = variance2 / v.count2;
  figures.welchStandardError = Figure::Of(std::sqrt(share1 + share2));
  if (share1 + share2 == 0) {
    figures.welchDf = Figure::Missing("两组标准差均为0");
  } else {
    figures.welchDf =
        Figure::Of((share1 + share2) * (share1 + share2) /
                   (share1 * share1 / (v.count1 - 1) + share2 * share2 / (v.count2 - 1)));
  }
  SetTest(figures.difference, figures.welchStandardError, figures.welchDf, figures.welchT,
          figures.welchP, "两组标准差均为0，标准误为0");
}

}  // namespace

std::optional<SummaryValues> ReadSummaryValues(const std::array<std::string, 6>& boxes) {
  std::array<Fixed4, 6> values;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const std::optional<Fixed4> value = Fixed4::Parse(boxes[i]);
    if (!value) return std::nullopt;
    values[i] = *value;
  }
  return SummaryValues{values[0], values[1], values[2], values[3], values[4], values[5]};
}

TwoSampleFigures TwoSampleReportFigures(const SummaryValues& input) {
  TwoSampleFigures figures;
  figures.input = input;
  const char* invalid = InvalidGroup(input.deviation1, input.count1);
  if (!invalid) invalid = InvalidGroup(input.deviation2, input.count2);
  if (invalid) {
    const Figure missing = Figure::Missing(invalid);
    for (Figure* figure :
         {&figures.pooledVariance, &figures.difference, &figures.standardError, &figures.t,
          &figures.df, &figures.p, &figures.lower, &figures.upper, &figures.f, &figures.fDf1,
          &figures.fDf2, &figures.fP, &figures.welchStandardError, &figures.welchT,
          &figures.welchDf, &figures.welchP}) {
      *figure = missing;
    }
    return figures;
  }

  const Spread values = SpreadOf(input);
  // The exact difference of the means: as doubles, two large means close together would lose
  // most of the digits of their difference.
  const std::optional<Fixed4> difference = Subtract(input.mean1, input.mean2);
  figures.difference =
      difference ? Figure::Of(difference->ToDouble()) : Figure::Missing("均数之差超出范围");
  const double df = values.count1 + values.count2 - 2;
  if (df < 1) {
    figures.df = figures.pooledVariance = figures.standardError =
        Figure::Missing("n₁ + n₂ − 2 = 0，自由度为0");
  } else {
    figures.df = Figure::Of(df);
    figures.pooledVariance =
        Figure::Of((values.deviation1 * values.deviation1 * (values.count1 - 1) +
                    values.deviation2 * values.deviation2 * (values.count2 - 1)) /
                   df);
    figures.standardError = figures.pooledVariance
                                ? Figure::Of(std::sqrt(*figures.pooledVariance *
                                                       (1 / values.count1 + 1 / values.count2)))
                                : figures.pooledVariance;
  }
  SetTest(figures.difference, figures.standardError, figures.df, figures.t, figures.p,
          "两组标准差均为0，合并标准误为0");
  SetInterval(figures.difference, figures.standardError, figures.df, figures.lower, figures.upper);
  SetVarianceTests(figures);
  return figures;
}

PairedFigures PairedReportFigures(const PairSums& pairs) {
  PairedFigures figures;
  const std::int64_t n = pairs.count;
  figures.n = n;
  if (n < 2) {
    figures.meanDifference = n == 1 ? Figure::Of(ToDouble(pairs.sumX - pairs.sumY) / Fixed4::kScale)
                                    : Figure::Missing("没有完整的数据对");
    figures.deviation = figures.standardError = figures.t = figures.df = figures.p = figures.lower =
        figures.upper = Figure::Missing("至少需要2对数据");
    return figures;
  }
  const double scale = Fixed4::kScale;
  const double nd = static_cast<double>(n);
  // n·Σd² − (Σd)² = n(n − 1) times the variance of the differences, exact (in 10^-8).
  const Int256 centred = pairs.CentredXX() + pairs.CentredYY() - 2 * pairs.CentredXY();
  figures.meanDifference = Figure::Of(ToDouble(pairs.sumX - pairs.sumY) / nd / scale);
  figures.deviation = Figure::Of(std::sqrt(ToDouble(centred) / (nd * (nd - 1))) / scale);
  figures.standardError = Figure::Of(std::sqrt(ToDouble(centred) / (nd - 1)) / nd / scale);
  figures.df = Figure::Of(nd - 1);
  SetTest(figures.meanDifference, figures.standardError, figures.df, figures.t, figures.p,
          "差值全部相同，标准差为0");
  SetInterval(figures.meanDifference, figures.standardError, figures.df, figures.lower,
              figures.upper);
  return figures;
}

}  // namespace quillon
