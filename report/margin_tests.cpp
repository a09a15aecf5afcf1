#include "report/margin_tests.h"

#include <algorithm>
#include <boost/math/tools/toms748_solve.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <limits>
#include <numbers>

#include "stats/decimal_scan.h"

namespace quillon {

namespace {

constexpr const char* kNoSecond = "非劣效与优效只有一个单侧检验";

// A box as typed: its value, or why it has none; `text` without the blanks around it.
Figure ReadBox(const std::string& typed, const std::string& name, std::string& text) {
  text = std::string(TrimBlanks(typed));
  if (text.empty()) return Figure::Missing("请输入" + name);
  const std::optional<double> value = DecimalToDouble(text);
  if (!value || !std::isfinite(*value)) return Figure::Missing(name + "不是数字");
  return Figure::Of(*value);
}

// The hypothesis, the margin and α read, and each one-sided test's null and tail.
MarginFigures Begin(const MarginSetting& setting, MarginDesign design) {
  MarginFigures f;
  f.hypothesis = setting.hypothesis;
  f.better = setting.better;
  f.design = design;
  if (!f.Shown()) return f;
  f.margin = ReadBox(setting.margin, "界值Δ", f.marginText);
  if (f.margin) {
    const std::string reason = MarginReason(*f.margin, design == MarginDesign::Fourfold);
    if (!reason.empty()) f.margin = Figure::Missing(reason);
  }
  const bool defaultAlpha = TrimBlanks(setting.alpha).empty();
  f.alpha =
      ReadBox(defaultAlpha ? DefaultAlphaText(f.hypothesis) : setting.alpha, "α", f.alphaText);
  if (f.alpha && !(*f.alpha > 0 && *f.alpha < 0.5)) f.alpha = Figure::Missing("α须大于0且小于0.5");
  if (f.alpha) f.confidence = 1 - 2 * *f.alpha;

  const bool higher = f.better == Better::Higher;
  switch (f.hypothesis) {
    case Hypothesis::NonInferiority:  // H0 d ≤ −Δ (higher better), d ≥ Δ (lower better)
      f.nullSign1 = higher ? -1 : 1;
      f.upperTail1 = higher;
      break;
    case Hypothesis::Superiority:  // H0 d ≤ Δ (higher better), d ≥ −Δ (lower better)
      f.nullSign1 = higher ? 1 : -1;
      f.upperTail1 = higher;
      break;
    case Hypothesis::Equivalence:  // H0 d ≤ −Δ, then H0 d ≥ Δ
    case Hypothesis::Difference:
      break;
  }
  const double margin = f.margin ? *f.margin : 0;
  f.null1 = f.nullSign1 * margin;
  f.null2 = f.nullSign2 * margin;
  return f;
}

bool Equivalence(const MarginFigures& f) { return f.hypothesis == Hypothesis::Equivalence; }

// Every figure that depends on the margin missing for the reason given; with `interval`, also
// the interval, which depends on α.
void MissingTests(MarginFigures& f, const Figure& missing, bool interval) {
  f.statistic1 = f.p1 = f.p = missing;
  f.statistic2 = f.p2 = Equivalence(f) ? missing : Figure::Missing(kNoSecond);
  if (interval) f.lower = f.upper = missing;
}

// The test's P from its one or two one-sided P values, and the conclusion from the interval.
// Where a bound and its test disagree only by rounding (the bound within 10⁻⁹ of the margin),
// the bound is taken on the test's side of it, so that the conclusion always reads as P < α.
void Conclude(MarginFigures& f) {
  if (!Equivalence(f)) f.statistic2 = f.p2 = Figure::Missing(kNoSecond);
  f.p = !Equivalence(f) || !f.p1 ? f.p1 : !f.p2 ? f.p2 : Figure::Of(std::max(*f.p1, *f.p2));
  if (!f.p || !f.lower || !f.upper || !f.alpha) return;
  const auto agree = [&](const Figure& p, double null, bool upperTail) {
    const bool rejected = *p < *f.alpha;
    Figure& bound = upperTail ? f.lower : f.upper;
    const bool beyond = upperTail ? *bound > null : *bound < null;
    const double slack = 1e-9 * std::max(1.0, std::fabs(null));
    if (beyond != rejected && std::fabs(*bound - null) <= slack) {
      const double outward = upperTail == rejected ? 1 : -1;
      bound = Figure::Of(rejected ? std::nextafter(null, outward * HUGE_VAL) : null);
    }
    return upperTail ? *bound > null : *bound < null;
  };
  bool established = agree(f.p1, f.null1, f.upperTail1);
  if (Equivalence(f)) established = agree(f.p2, f.null2, f.upperTail2) && established;
  f.established = established;
}

// The t tests: d, its SE and ν as the report's test has them (`t` carries the report's reason
// where it has no t).
MarginFigures MeanMargin(MarginFigures f, const Figure& difference, const Figure& standardError,
                         const Figure& df, const Figure& t) {
  f.difference = difference;
  if (!f.Shown()) return f;
  if (!difference || !standardError || !df || !t) {
    const Figure& missing = !difference      ? difference
                            : !standardError ? standardError
                            : !df            ? df
                                             : t;
    MissingTests(f, missing, true);
    f.df = missing;
    return f;
  }
  f.df = df;
  if (!f.alpha) {
    MissingTests(f, f.alpha, true);
    return f;
  }
  const Figure critical = TCriticalUpper(*f.alpha, *df);
  if (!critical) {
    MissingTests(f, critical, true);
    return f;
  }
  f.lower = Figure::Of(*difference - *critical * *standardError);
  f.upper = Figure::Of(*difference + *critical * *standardError);
  if (!f.margin) {
    MissingTests(f, f.margin, false);
    return f;
  }
  f.statistic1 = Figure::Of((*difference - f.null1) / *standardError);
  f.p1 = f.statistic1 ? OneSidedTP(*f.statistic1, *df, f.upperTail1) : f.statistic1;
  if (Equivalence(f)) {
    f.statistic2 = Figure::Of((*difference - f.null2) / *standardError);
    f.p2 = f.statistic2 ? OneSidedTP(*f.statistic2, *df, f.upperTail2) : f.statistic2;
  }
  Conclude(f);
  return f;
}

// The rates' restricted maximum-likelihood estimates under p₁ − p₂ = δ₀: the root in [0, 1] of
// the likelihood's cubic, in the closed form of Farrington and Manning (1990).
struct Restricted {
  double p1, p2;
};
Restricted RestrictedRates(double x1, double n1, double x2, double n2, double null) {
  const double rate1 = x1 / n1;
  const double rate2 = x2 / n2;
  const double theta = n2 / n1;
  const double a = 1 + theta;
  const double b = -(1 + theta + rate1 + theta * rate2 + null * (theta + 2));
  const double c = null * null + null * (2 * rate1 + theta + 1) + rate1 + theta * rate2;
  const double d = -rate1 * null * (1 + null);
  const double v = b * b * b / (27 * a * a * a) - b * c / (6 * a * a) + d / (2 * a);
  const double u2 = std::max(0.0, b * b / (9 * a * a) - c / (3 * a));
  const double u = std::copysign(std::sqrt(u2), v);
  double p1 = -b / (3 * a);
  if (u != 0) {
    const double w = (std::numbers::pi + std::acos(std::clamp(v / (u * u * u), -1.0, 1.0))) / 3;
    p1 += 2 * u * std::cos(w);
  }
  // The trigonometric form loses digits where two roots lie close (a rate of 0 or 1 puts one at
  // the end of the range): Newton steps on the likelihood's own derivative, which has no root
  // there, restore them.
  const auto part = [](double count, double over) { return count == 0 ? 0.0 : count / over; };
  for (int step = 0; step < 3; ++step) {
    const double q1 = std::clamp(p1, std::max(0.0, null), std::min(1.0, 1 + null));
    const double q2 = q1 - null;
    const double slope =
        part(x1, q1) - part(n1 - x1, 1 - q1) + part(x2, q2) - part(n2 - x2, 1 - q2);
    const double curve = part(x1, q1 * q1) + part(n1 - x1, (1 - q1) * (1 - q1)) +
                         part(x2, q2 * q2) + part(n2 - x2, (1 - q2) * (1 - q2));
    if (!std::isfinite(slope) || !(curve > 0) || !std::isfinite(curve)) break;
    p1 = q1 + slope / curve;
  }
  p1 = std::clamp(p1, std::max(0.0, null), std::min(1.0, 1 + null));
  return {p1, p1 - null};
}

double Score(double x1, double n1, double x2, double n2, double null) {
  const double rate1 = x1 / n1;
  const double rate2 = x2 / n2;
  const double numerator = rate1 - rate2 - null;
  if (numerator == 0) return 0;
  const Restricted r = RestrictedRates(x1, n1, x2, n2, null);
  const double variance = r.p1 * (1 - r.p1) / n1 + r.p2 * (1 - r.p2) / n2;
  return variance > 0 ? numerator / std::sqrt(variance) : std::copysign(HUGE_VAL, numerator);
}

// The δ₀ at which the score statistic, decreasing in δ₀, equals `target`: between −1 and the
// estimate for the lower bound (target > 0), between the estimate and 1 for the upper bound.
// A bound at −1 or 1 where the statistic never reaches the target there.
Figure ScoreBound(double x1, double n1, double x2, double n2, double estimate, double target) {
  const bool lower = target > 0;
  const double end = lower ? -1 : 1;
  // The ends themselves make the restricted variance 0; the search stays just inside them.
  const double inside = end * (1 - 1e-12);
  const auto excess = [&](double null) { return Score(x1, n1, x2, n2, null) - target; };
  const double atEnd = excess(inside);
  if (lower ? atEnd <= 0 : atEnd >= 0) return Figure::Of(end);
  if ((lower && estimate <= inside) || (!lower && estimate >= inside)) return Figure::Of(end);
  try {
    boost::math::tools::eps_tolerance<double> tolerance(std::numeric_limits<double>::digits - 2);
    std::uintmax_t iterations = 200;
    const double from = lower ? inside : estimate;
    const double to = lower ? estimate : inside;
    const auto [left, right] = boost::math::tools::toms748_solve(excess, from, to, excess(from),
                                                                 excess(to), tolerance, iterations);
    return Figure::Of((left + right) / 2);
  } catch (const std::exception&) {
    return Figure::Missing("score区间无法求得");
  }
}

}  // namespace

Figure RateDifferenceScore(double x1, double n1, double x2, double n2, double null) {
  if (!(n1 > 0) || !(n2 > 0)) return Figure::Missing("有一组合计为0，率无定义");
  if (!(null > -1 && null < 1)) return Figure::Missing("率差的零假设值须在−1与1之间");
  return Figure::Of(Score(x1, n1, x2, n2, null));
}

MarginFigures TwoSampleMargin(const TwoSampleFigures& figures, const MarginSetting& setting) {
  MarginFigures f = Begin(setting, MarginDesign::TwoSample);
  f.welch = figures.welchChosen;
  f.method = f.welch ? "Welch校正t检验" : "两独立样本t检验（合并方差）";
  return f.welch ? MeanMargin(f, figures.welchDifference, figures.welchStandardError,
                              figures.welchDf, figures.welchT)
                 : MeanMargin(f, figures.difference, figures.standardError, figures.df, figures.t);
}

MarginFigures PairedMargin(const PairedFigures& figures, const MarginSetting& setting) {
  MarginFigures f = Begin(setting, MarginDesign::Paired);
  f.method = "配对t检验";
  return MeanMargin(f, figures.meanDifference, figures.standardError, figures.df, figures.t);
}

MarginFigures FourfoldMargin(const FourfoldFigures& figures, const MarginSetting& setting) {
  MarginFigures f = Begin(setting, MarginDesign::Fourfold);
  f.score = true;
  f.method = "Farrington–Manning score检验";
  f.difference = figures.risk.difference;
  if (!f.Shown()) return f;
  f.df = Figure::Missing("score检验的统计量为z，无自由度");
  if (!f.difference || !f.alpha) {
    const Figure missing = !f.difference ? f.difference : f.alpha;
    MissingTests(f, missing, true);
    return f;
  }
  const auto [a, b, c, d] = figures.cells;
  const double n1 = a + b;
  const double n2 = c + d;
  const Figure critical = NormalCriticalUpper(*f.alpha);
  if (!critical) {
    MissingTests(f, critical, true);
    return f;
  }
  f.lower = ScoreBound(a, n1, c, n2, *f.difference, *critical);
  f.upper = ScoreBound(a, n1, c, n2, *f.difference, -*critical);
  if (!f.margin) {
    MissingTests(f, f.margin, false);
    return f;
  }
  f.statistic1 = RateDifferenceScore(a, n1, c, n2, f.null1);
  f.p1 = f.statistic1 ? OneSidedNormalP(*f.statistic1, f.upperTail1) : f.statistic1;
  if (Equivalence(f)) {
    f.statistic2 = RateDifferenceScore(a, n1, c, n2, f.null2);
    f.p2 = f.statistic2 ? OneSidedNormalP(*f.statistic2, f.upperTail2) : f.statistic2;
  }
  Conclude(f);
  return f;
}

std::string ConfidenceText(double confidence) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", confidence * 100);
  std::string written = text;
  written.erase(written.find_last_not_of('0') + 1);
  if (written.ends_with('.')) written.pop_back();
  return written + "%";
}

}  // namespace quillon
