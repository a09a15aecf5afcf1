#include "report/correlation.h"

#include <cmath>

namespace quillon {

namespace {

void SetAll(std::initializer_list<Figure*> figures, const Figure& value) {
  for (Figure* figure : figures) *figure = value;
}

// estimate ± t(0.975, n − 2) · standard error; none when the error is 0.
void SetInterval(const Figure& estimate, const Figure& error, const Figure& critical, Figure& lower,
                 Figure& upper) {
  if (!estimate || !error || !critical) {
    lower = upper = MissingFrom(estimate, error ? critical : error);
    return;
  }
  if (*error == 0) {
    lower = upper = Figure::Missing("所有点都在回归直线上，标准误为0");
    return;
  }
  lower = Figure::Of(*estimate - *critical * *error);
  upper = Figure::Of(*estimate + *critical * *error);
}

void SetCorrelation(CorrelationFigures& figures, const CorrelationResult& shown) {
  const std::int64_t n = figures.n;
  if (!shown.rValue) {
    SetAll(
        {&figures.r, &figures.rLower, &figures.rUpper, &figures.t, &figures.p, &figures.rSquared},
        Figure::Missing("Y全部相同，r无定义"));
    return;
  }
  const bool perfect = !shown.tValue;
  figures.r = Figure::Of(*shown.rValue);
  figures.rSquared = perfect ? Figure::Of(1.0) : Figure::Of(*figures.r * *figures.r);
  if (n < 3) {
    figures.t = figures.p = figures.df;
  } else if (perfect) {
    // Every point on the line: t is infinite and its P exactly 0.
    figures.t = Figure::Missing("|r| = 1，完全相关，t无穷大");
    figures.p = Figure::Of(0.0);
  } else {
    figures.t = Figure::Of(*shown.tValue);
    figures.p = TwoSidedTP(*figures.t, *figures.df);
  }
  if (n < 4) {
    figures.rLower = figures.rUpper = Figure::Missing("n < 4，Fisher z的标准误1/√(n − 3)无定义");
  } else if (perfect) {
    figures.rLower = figures.rUpper = Figure::Missing("|r| = 1，Fisher z无穷大");
  } else {
    const double z = std::atanh(*figures.r);
    const double margin = NormalCritical95() / std::sqrt(static_cast<double>(n - 3));
    figures.rLower = Figure::Of(std::tanh(z - margin));
    figures.rUpper = Figure::Of(std::tanh(z + margin));
  }
}

}  // namespace

CorrelationFigures CorrelationReportFigures(const PairSums& pairs) {
  CorrelationFigures figures;
  const std::int64_t n = pairs.count;
  figures.n = n;
  std::initializer_list<Figure*> all = {&figures.r,
                                        &figures.rLower,
                                        &figures.rUpper,
                                        &figures.t,
                                        &figures.df,
                                        &figures.p,
                                        &figures.rSquared,
                                        &figures.intercept,
                                        &figures.interceptError,
                                        &figures.interceptLower,
                                        &figures.interceptUpper,
                                        &figures.slope,
                                        &figures.slopeError,
                                        &figures.slopeLower,
                                        &figures.slopeUpper};
  if (n < 2) {
    SetAll(all, Figure::Missing("至少需要2对数据"));
    return figures;
  }
  figures.shown = CorrelationRegression(pairs);
  const CorrelationResult& shown = figures.shown;
  if (!shown.slope || !shown.interceptValue) {
    SetAll(all, Figure::Missing("X全部相同，r与回归直线无定义"));
    return figures;
  }
  const double nd = static_cast<double>(n);
  figures.df = n > 2 ? Figure::Of(nd - 2) : Figure::Missing("n = 2，自由度n − 2为0");
  SetCorrelation(figures, shown);
  figures.slope = Figure::Of(*shown.slope);
  figures.intercept = Figure::Of(*shown.interceptValue);
  if (n < 3) {
    SetAll({&figures.interceptError, &figures.interceptLower, &figures.interceptUpper,
            &figures.slopeError, &figures.slopeLower, &figures.slopeUpper},
           figures.df);
    return figures;
  }
  const Int256 sxx = pairs.CentredXX();
  const Int256 syy = pairs.CentredYY();
  const Int256 sxy = pairs.CentredXY();
  const Int512 unexplained = Widen(sxx) * Widen(syy) - Widen(sxy) * Widen(sxy);
  // Residual mean square over Sxx: (Syy − Sxy²/Sxx) / (n − 2) / Sxx, which in the centred sums is
  // (Sxx·Syy − Sxy²) / (n − 2) / Sxx² with every factor n and 10^-8 cancelling.
  const double centredX = ToDouble(sxx);
  const double residual = std::sqrt(ToDouble(unexplained) / (nd - 2));
  figures.slopeError = Figure::Of(residual / centredX);
  // SE(a) = SE(b) · √(Σx² / n), with Σx² in 10^-8.
  figures.interceptError =
      Figure::Of(residual / centredX * std::sqrt(ToDouble(pairs.sumXX) / nd) / Fixed4::kScale);
  const Figure critical = TCritical95(nd - 2);
  SetInterval(figures.slope, figures.slopeError, critical, figures.slopeLower, figures.slopeUpper);
  SetInterval(figures.intercept, figures.interceptError, critical, figures.interceptLower,
              figures.interceptUpper);
  return figures;
}

}  // namespace quillon
