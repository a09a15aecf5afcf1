#include "report/t_tests.h"

#include <cmath>

#include "stats/paired_t_test.h"

namespace quillon {

namespace {

// The 95 % interval estimate ± t(0.975, df) · standard error; none when the error is 0.
void SetInterval(const Figure& estimate, const Figure& standardError, const Figure& df,
                 Figure& lower, Figure& upper, const char* zeroErrorReason) {
  if (!estimate || !standardError || !df) {
    lower = upper = MissingFrom(estimate, standardError ? df : standardError);
    return;
  }
  if (*standardError == 0) {
    lower = upper = Figure::Missing(zeroErrorReason);
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

Figure FigureOf(const std::optional<double>& value, const char* reason) {
  return value ? Figure::Of(*value) : Figure::Missing(reason);
}

// What the figures beyond the pooled test start from: each group's count, mean and variance, the
// difference of the means and the pooled variance, from the summaries or from the exact sums.
struct Moments {
  double n1 = 0, n2 = 0;
  double mean1 = 0, mean2 = 0;
  double variance1 = 0, variance2 = 0;
  Figure difference, pooledVariance;
};

Moments SummaryMoments(const TwoSampleFigures& figures) {
  const SummaryValues& v = figures.input;
  const double deviation1 = v.deviation1.ToDouble();
  const double deviation2 = v.deviation2.ToDouble();
  return {v.count1.ToDouble(), v.count2.ToDouble(),     v.mean1.ToDouble(),
          v.mean2.ToDouble(),  deviation1 * deviation1, deviation2 * deviation2,
          figures.difference,  figures.pooledVariance};
}

// From n, Σx and Σx² of each group, exact: the difference of the means from n₂Σx₁ − n₁Σx₂, each
// variance from nΣx² − (Σx)², each rounded once to a double.
constexpr double kSquareScale = static_cast<double>(Fixed4::kScale) * Fixed4::kScale;

// n(n − 1) S² of a group, so (n − 1) S² = centred / n.
double Centred(const GroupSums& sums) { return ToDouble(CentredSumOfSquares(sums)) / kSquareScale; }
double MeanOf(const GroupSums& sums) {
  return ToDouble(sums.sum) / static_cast<double>(sums.count) / Fixed4::kScale;
}
double VarianceOf(const GroupSums& sums) {
  const double n = static_cast<double>(sums.count);
  return n > 1 ? Centred(sums) / (n * (n - 1)) : 0;
}

Moments ExactMoments(const GroupSums& first, const GroupSums& second) {
  Moments m;
  m.n1 = static_cast<double>(first.count);
  m.n2 = static_cast<double>(second.count);
  m.mean1 = MeanOf(first);
  m.mean2 = MeanOf(second);
  const double centred1 = Centred(first);
  const double centred2 = Centred(second);
  m.variance1 = VarianceOf(first);
  m.variance2 = VarianceOf(second);
  const Int512 crossed = Widen(first.sum) * Int512(second.count) - Widen(second.sum) * first.count;
  m.difference = Figure::Of(ToDouble(crossed) / (m.n1 * m.n2) / Fixed4::kScale);
  if (m.n1 + m.n2 > 2) {
    m.pooledVariance = Figure::Of((centred1 / m.n1 + centred2 / m.n2) / (m.n1 + m.n2 - 2));
  } else {
    m.pooledVariance = Figure::Missing("n₁ + n₂ − 2 = 0，自由度为0");
  }
  return m;
}

// Whether a group's sum, in ten-thousandths, is past what a double holds exactly (2⁵³).
bool BeyondDouble(const GroupSums& sums) {
  const Int256 limit = Int256(1) << 53;
  return sums.sum >= limit || sums.sum <= -limit;
}

// A group's mean ± t(0.975, n − 1) · S / √n.
void SetMeanInterval(double mean, double variance, double n, Figure& lower, Figure& upper) {
  if (n < 2) {
    lower = upper = Figure::Missing("该组至少需要2例");
    return;
  }
  SetInterval(Figure::Of(mean), Figure::Of(std::sqrt(variance / n)), Figure::Of(n - 1), lower,
              upper, "标准差为0，标准误为0");
}

void SetVarianceTests(TwoSampleFigures& figures, const Moments& m) {
  figures.welchDifference = m.difference;
  const double count1 = m.n1;
  const double count2 = m.n2;
  if (count1 < 2 || count2 < 2) {
    figures.f = figures.fDf1 = figures.fDf2 = figures.fP = figures.welchStandardError =
        figures.welchT = figures.welchDf = figures.welchP = figures.welchLower =
            figures.welchUpper = Figure::Missing("每组至少需要2例");
    return;
  }
  const double variance1 = m.variance1;
  const double variance2 = m.variance2;
  figures.oneDeviationZero = (variance1 == 0) != (variance2 == 0);
  if (variance1 == 0 || variance2 == 0) {
    figures.f = figures.fDf1 = figures.fDf2 = figures.fP =
        Figure::Missing(variance1 == variance2
                            ? "两组方差均为0"
                            : "一组方差为0，方差比为0或无穷大；方差明显不齐，改用Welch校正t检验");
  } else {
    figures.f = Figure::Of(variance1 / variance2);
    figures.fDf1 = Figure::Of(count1 - 1);
    figures.fDf2 = Figure::Of(count2 - 1);
    figures.fP = figures.f ? FTwoSidedP(*figures.f, count1 - 1, count2 - 1) : figures.f;
  }

  const double share1 = variance1 / count1;
  const double share2 = variance2 / count2;
  figures.welchStandardError = Figure::Of(std::sqrt(share1 + share2));
  if (share1 + share2 == 0) {
    figures.welchDf = Figure::Missing("两组标准差均为0");
  } else {
    figures.welchDf = Figure::Of((share1 + share2) * (share1 + share2) /
                                 (share1 * share1 / (count1 - 1) + share2 * share2 / (count2 - 1)));
  }
  constexpr const char* kZeroError = "两组标准差均为0，标准误为0";
  SetTest(m.difference, figures.welchStandardError, figures.welchDf, figures.welchT, figures.welchP,
          kZeroError);
  SetInterval(m.difference, figures.welchStandardError, figures.welchDf, figures.welchLower,
              figures.welchUpper, kZeroError);
  figures.welchChosen =
      figures.welchP && ((figures.fP && *figures.fP < 0.05) || figures.oneDeviationZero);
}

// The figures beyond the pooled test's, from the moments given.
void SetBeyondPooled(TwoSampleFigures& figures, const Moments& m) {
  SetMeanInterval(m.mean1, m.variance1, m.n1, figures.mean1Lower, figures.mean1Upper);
  SetMeanInterval(m.mean2, m.variance2, m.n2, figures.mean2Lower, figures.mean2Upper);
  SetVarianceTests(figures, m);
  if (m.difference && m.pooledVariance) {
    figures.effects = TwoSampleEffects(*m.difference, std::sqrt(*m.pooledVariance), m.n1, m.n2);
  } else {
    const Figure missing = MissingFrom(m.difference, m.pooledVariance);
    figures.effects = {{missing, missing, missing}, missing, {missing, missing, missing}};
  }
}

}  // namespace

TwoSampleFigures TwoSampleReportFigures(const SummaryValues& input) {
  TwoSampleFigures figures;
  figures.input = input;
  const char* invalid = InvalidGroup(input.deviation1, input.count1);
  if (!invalid) invalid = InvalidGroup(input.deviation2, input.count2);
  const std::optional<PooledTTest> pooled = invalid ? std::nullopt : PoolSummaryValues(input);
  if (!pooled) {
    const Figure missing = Figure::Missing(invalid ? invalid : "例数超出范围");
    for (Figure* figure : {&figures.mean1Lower,
                           &figures.mean1Upper,
                           &figures.mean2Lower,
                           &figures.mean2Upper,
                           &figures.pooledVariance,
                           &figures.difference,
                           &figures.standardError,
                           &figures.t,
                           &figures.df,
                           &figures.p,
                           &figures.lower,
                           &figures.upper,
                           &figures.f,
                           &figures.fDf1,
                           &figures.fDf2,
                           &figures.fP,
                           &figures.welchDifference,
                           &figures.welchStandardError,
                           &figures.welchT,
                           &figures.welchDf,
                           &figures.welchP,
                           &figures.welchLower,
                           &figures.welchUpper}) {
      *figure = missing;
    }
    figures.effects = {{missing, missing, missing}, missing, {missing, missing, missing}};
    return figures;
  }

  // The exact difference of the means: as doubles, two large means close together would lose
  // most of the digits of their difference.
  figures.difference = pooled->difference ? Figure::Of(pooled->difference->ToDouble())
                                          : Figure::Missing("均数之差超出范围");
  constexpr const char* kZeroError = "两组标准差均为0，合并标准误为0";
  if (pooled->df < Fixed4::FromRaw(Fixed4::kScale)) {
    figures.df = figures.pooledVariance = figures.standardError =
        Figure::Missing("n₁ + n₂ − 2 = 0，自由度为0");
  } else {
    figures.df = Figure::Of(pooled->df.ToDouble());
    figures.pooledVariance = FigureOf(pooled->pooledVariance, "合并方差无法计算");
    figures.standardError = FigureOf(pooled->standardError, "合并标准误无法计算");
  }
  if (figures.standardError && *figures.standardError == 0) {
    figures.t = figures.p = Figure::Missing(kZeroError);
  } else if (!figures.difference || !figures.standardError) {
    figures.t = figures.p = MissingFrom(figures.difference, figures.standardError);
  } else {
    figures.t = FigureOf(pooled->t, "t无法计算");
    figures.p = figures.t ? TwoSidedTP(*figures.t, *figures.df) : figures.t;
  }
  SetInterval(figures.difference, figures.standardError, figures.df, figures.lower, figures.upper,
              kZeroError);
  SetBeyondPooled(figures, SummaryMoments(figures));
  return figures;
}

GroupDescription DescribeGroup(const GroupSums& sums) {
  if (sums.count == 0) return {Figure::Missing("没有数值"), Figure::Missing("没有数值")};
  return {Figure::Of(MeanOf(sums)), Figure::Of(std::sqrt(VarianceOf(sums)))};
}

TwoSampleFigures TwoSampleReportFigures(const SummaryValues& input, const GroupSums& first,
                                        const GroupSums& second) {
  TwoSampleFigures figures = TwoSampleReportFigures(input);
  const bool sameCounts = Fixed4::FromRaw(first.count * Fixed4::kScale) == input.count1 &&
                          Fixed4::FromRaw(second.count * Fixed4::kScale) == input.count2;
  if (!figures.df || !sameCounts || first.count < 1 || second.count < 1) return figures;
  figures.fromValues = true;
  const Moments exact = ExactMoments(first, second);
  SetBeyondPooled(figures, exact);
  if (BeyondDouble(first) || BeyondDouble(second)) {
    // A group's sum past 2⁵³ ten-thousandths: the shown means, taken through a double, have lost
    // their last decimals (values near 5·10¹² that differ in the fourth decimal have equal
    // means), so the pooled test too is taken from the exact sums.
    figures.pooledFromValues = true;
    figures.difference = exact.difference;
    figures.pooledVariance = exact.pooledVariance;
    figures.standardError =
        exact.pooledVariance
            ? Figure::Of(std::sqrt(*exact.pooledVariance * (1 / exact.n1 + 1 / exact.n2)))
            : exact.pooledVariance;
    constexpr const char* kZeroError = "两组标准差均为0，合并标准误为0";
    SetTest(figures.difference, figures.standardError, figures.df, figures.t, figures.p,
            kZeroError);
    SetInterval(figures.difference, figures.standardError, figures.df, figures.lower, figures.upper,
                kZeroError);
  }
  return figures;
}

PairedFigures PairedReportFigures(const PairSums& pairs) {
  PairedFigures figures;
  figures.n = pairs.count;
  const std::optional<PairedDifferences> differences = DescribeDifferences(pairs);
  if (!differences || !differences->deviation) {
    figures.meanDifference =
        differences ? Figure::Of(differences->mean) : Figure::Missing("没有完整的数据对");
    figures.deviation = figures.standardError = figures.t = figures.df = figures.p = figures.lower =
        figures.upper = figures.dz.estimate = figures.dz.lower = figures.dz.upper =
            Figure::Missing("至少需要2对数据");
    return figures;
  }
  constexpr const char* kEqual = "差值全部相同，标准差为0";
  const double n = static_cast<double>(differences->n);
  figures.meanDifference = Figure::Of(differences->mean);
  figures.deviation = Figure::Of(*differences->deviation);
  figures.standardError = Figure::Of(*differences->deviation / std::sqrt(n));
  figures.df = Figure::Of(n - 1);
  figures.t = FigureOf(differences->t, kEqual);
  figures.p = figures.t ? TwoSidedTP(*figures.t, *figures.df) : figures.t;
  SetInterval(figures.meanDifference, figures.standardError, figures.df, figures.lower,
              figures.upper, kEqual);
  figures.dz = PairedEffect(*figures.meanDifference, *figures.deviation, n);
  return figures;
}

}  // namespace quillon
