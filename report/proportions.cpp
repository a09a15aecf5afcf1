#include "report/proportions.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <cmath>
#include <cstdio>
#include <exception>

namespace quillon {

namespace {

constexpr const char* kNegative = "计数须为非负的有限数";

bool Usable(double cell) { return std::isfinite(cell) && cell >= 0; }

void SetAll(std::initializer_list<Figure*> figures, const Figure& missing) {
  for (Figure* figure : figures) *figure = missing;
}

// One decimal, as the number needed to treat is printed.
std::string OneDecimal(const Figure& figure) {
  if (!figure) return "∞";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", *figure);
  return text;
}

}  // namespace

ScoreInterval WilsonInterval(double x, double n) {
  const double z = NormalCritical95();
  const double z2 = z * z;
  const double centre = (2 * x + z2) / (2 * (n + z2));
  const double half = z * std::sqrt(z2 + 4 * x * (n - x) / n) / (2 * (n + z2));
  // At x = 0 and x = n the bound is 0 or 1 exactly; the two terms cancel only up to rounding.
  return {x == 0 ? 0.0 : centre - half, x == n ? 1.0 : centre + half};
}

RiskDifferenceFigures RiskDifference(double a, double b, double c, double d) {
  RiskDifferenceFigures figures;
  auto all = {&figures.risk1, &figures.risk2, &figures.difference, &figures.lower, &figures.upper};
  if (!Usable(a) || !Usable(b) || !Usable(c) || !Usable(d)) {
    SetAll(all, Figure::Missing(kNegative));
    return figures;
  }
  const double n1 = a + b;
  const double n2 = c + d;
  if (n1 > 0) figures.risk1 = Figure::Of(a / n1);
  if (n2 > 0) figures.risk2 = Figure::Of(c / n2);
  if (n1 == 0 || n2 == 0) {
    const Figure missing =
        Figure::Missing(n1 == 0 ? "试验组合计为0，率无定义" : "对照组合计为0，率无定义");
    if (n1 == 0) figures.risk1 = missing;
    if (n2 == 0) figures.risk2 = missing;
    SetAll({&figures.difference, &figures.lower, &figures.upper}, missing);
    return figures;
  }
  const double p1 = a / n1;
  const double p2 = c / n2;
  const ScoreInterval one = WilsonInterval(a, n1);
  const ScoreInterval two = WilsonInterval(c, n2);
  const double difference = p1 - p2;
  figures.difference = Figure::Of(difference);
  figures.lower = Figure::Of(difference - std::hypot(p1 - one.lower, two.upper - p2));
  figures.upper = Figure::Of(difference + std::hypot(one.upper - p1, p2 - two.lower));
  return figures;
}

std::string PositiveMeansText(PositiveMeans positive) {
  return positive == PositiveMeans::Harm ? "以（+）为不良事件" : "以（+）为有效";
}

NumberNeededFigures NumberNeeded(const RiskDifferenceFigures& rd, PositiveMeans positive) {
  NumberNeededFigures figures;
  if (!rd.difference || !rd.lower || !rd.upper) {
    const Figure missing = Figure::Missing(
        !rd.difference ? rd.difference.reason : (!rd.lower ? rd.lower.reason : rd.upper.reason));
    SetAll({&figures.value, &figures.benefitBound, &figures.harmBound, &figures.farBound}, missing);
    return figures;
  }
  // Measured towards benefit: with "（+）" a harm, fewer events in the first group is a benefit.
  const double sign = positive == PositiveMeans::Harm ? -1 : 1;
  const double difference = sign * *rd.difference;
  const double lower = std::min(sign * *rd.lower, sign * *rd.upper);
  const double upper = std::max(sign * *rd.lower, sign * *rd.upper);
  const Figure infinite = Figure::Missing("率差为0，需治疗人数为无穷大");
  auto inverse = [&](double value) {
    return value == 0 ? infinite : Figure::Of(1 / std::fabs(value));
  };
  figures.value = inverse(difference);
  figures.benefit = difference >= 0;
  figures.crossesZero = lower < 0 && upper > 0;
  figures.benefitBound =
      upper > 0 ? Figure::Of(1 / upper) : Figure::Missing("率差的区间不含获益一侧的值，无NNTB端");
  figures.harmBound =
      lower < 0 ? Figure::Of(1 / -lower) : Figure::Missing("率差的区间不含受害一侧的值，无NNTH端");
  if (figures.crossesZero) {
    figures.farBound = Figure::Missing("率差的区间含0，区间经过无穷大");
  } else {
    figures.farBound = inverse(lower >= 0 ? lower : upper);
  }
  return figures;
}

NumberNeededText NumberNeededTexts(const NumberNeededFigures& figures) {
  NumberNeededText text;
  const std::string kind = figures.benefit ? "NNTB " : "NNTH ";
  if (!figures.benefitBound && !figures.harmBound) {
    // Neither end: the RD itself or its interval is missing.
    text.estimate = text.interval = "—（" + figures.benefitBound.reason + "）";
    return text;
  }
  // RD = 0 points neither way: "NNT ∞".
  text.estimate = figures.value ? kind + OneDecimal(figures.value) : "NNT ∞";
  if (figures.crossesZero) {
    text.interval = "NNTB " + OneDecimal(figures.benefitBound) + " 至 ∞ 至 NNTH " +
                    OneDecimal(figures.harmBound);
  } else {
    // The RD interval lies on one side of 0: its end nearer 0 is the NNT's far end.
    const Figure& near = figures.benefitBound ? figures.benefitBound : figures.harmBound;
    const std::string side = figures.benefitBound ? "NNTB " : "NNTH ";
    text.interval = side + OneDecimal(near) + " 至 " + OneDecimal(figures.farBound);
  }
  return text;
}

PairedProportionFigures PairedProportions(double a, double b, double c, double d) {
  PairedProportionFigures figures;
  if (!Usable(a) || !Usable(b) || !Usable(c) || !Usable(d)) {
    SetAll({&figures.difference, &figures.lower, &figures.upper, &figures.oddsRatio,
            &figures.oddsLower, &figures.oddsUpper, &figures.midP},
           Figure::Missing(kNegative));
    return figures;
  }
  const double n = a + b + c + d;
  if (n == 0) {
    SetAll({&figures.difference, &figures.lower, &figures.upper}, Figure::Missing("四格均为0"));
  } else {
    // The two margins' proportions, p1 = (a + b) / n and p2 = (a + c) / n, each with its Wilson
    // interval; their correlation φ corrected by n/2 towards 0 when positive.
    const double p1 = (a + b) / n;
    const double p2 = (a + c) / n;
    const ScoreInterval one = WilsonInterval(a + b, n);
    const ScoreInterval two = WilsonInterval(a + c, n);
    const double margins = (a + b) * (c + d) * (a + c) * (b + d);
    const double cross = a * d - b * c;
    const double corrected = cross > n / 2 ? cross - n / 2 : (cross < 0 ? cross : 0.0);
    const double phi = margins == 0 ? 0.0 : corrected / std::sqrt(margins);
    const double difference = (b - c) / n;
    const double down1 = p1 - one.lower, up1 = one.upper - p1;
    const double down2 = p2 - two.lower, up2 = two.upper - p2;
    figures.difference = Figure::Of(difference);
    figures.lower = Figure::Of(
        difference - std::sqrt(std::max(0.0, down1 * down1 - 2 * phi * down1 * up2 + up2 * up2)));
    figures.upper = Figure::Of(
        difference + std::sqrt(std::max(0.0, up1 * up1 - 2 * phi * up1 * down2 + down2 * down2)));
  }

  const double discordant = b + c;
  auto exact = {&figures.oddsRatio, &figures.oddsLower, &figures.oddsUpper, &figures.midP};
  if (discordant == 0) {
    SetAll(exact, Figure::Missing("b + c = 0，没有不一致的对子"));
    return figures;
  }
  figures.oddsRatio = c == 0 ? Figure::Missing("c为0，配对比值比为无穷大") : Figure::Of(b / c);
  if (!IsWhole(b) || !IsWhole(c)) {
    const Figure missing = Figure::Missing("确切法要求b与c均为整数");
    SetAll({&figures.oddsLower, &figures.oddsUpper, &figures.midP}, missing);
    return figures;
  }
  try {
    using boost::math::binomial_distribution;
    // Clopper–Pearson bounds of p = b / (b + c), each with 2.5 % in its tail; OR = p / (1 − p).
    const double low = binomial_distribution<double>::find_lower_bound_on_p(discordant, b, 0.025);
    const double high = binomial_distribution<double>::find_upper_bound_on_p(discordant, b, 0.025);
    figures.oddsLower = Figure::Of(low / (1 - low));
    figures.oddsUpper =
        high < 1 ? Figure::Of(high / (1 - high)) : Figure::Missing("c为0，上限为无穷大");
    figures.oddsUnbounded = !(high < 1) && figures.oddsLower;
    const binomial_distribution<double> distribution(discordant, 0.5);
    const double k = std::min(b, c);
    const double p =
        2 * (boost::math::cdf(distribution, k) - 0.5 * boost::math::pdf(distribution, k));
    figures.midP = Figure::Of(std::min(1.0, p));
  } catch (const std::exception&) {
    SetAll({&figures.oddsLower, &figures.oddsUpper, &figures.midP},
           Figure::Missing("二项分布无法计算"));
  }
  return figures;
}

}  // namespace quillon
