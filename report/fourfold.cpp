#include "report/fourfold.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/hypergeometric.hpp>
#include <cmath>
#include <exception>
#include <limits>

namespace quillon {

namespace {

constexpr double kTieTolerance = 1 + 1e-7;

bool AnyNegative(std::initializer_list<double> cells) {
  return std::any_of(cells.begin(), cells.end(), [](double cell) { return !(cell >= 0); });
}

bool AllWhole(std::initializer_list<double> cells) {
  return std::all_of(cells.begin(), cells.end(), [](double cell) {
    return IsWhole(cell) && cell <= std::numeric_limits<unsigned>::max();
  });
}

// The smallest x > from (from < x ≤ to) whose probability is at most limit, where the
// probability does not rise from from + 1 on; to + 1 when there is none.
template <typename Probability>
unsigned FirstAtMostAbove(Probability probability, unsigned from, unsigned to, double limit) {
  unsigned low = from + 1;
  unsigned high = to + 1;
  while (low < high) {
    const unsigned middle = low + (high - low) / 2;
    if (probability(middle) <= limit)
      high = middle;
    else
      low = middle + 1;
  }
  return low;
}

// The largest x < from (to ≤ x < from) whose probability is at most limit, where the
// probability does not fall up to from − 1; found tells whether there is one.
template <typename Probability>
unsigned LastAtMostBelow(Probability probability, unsigned to, unsigned from, double limit,
                         bool& found) {
  unsigned low = to;  // candidates are low .. from − 1
  unsigned high = from;
  found = false;
  while (low < high) {
    const unsigned middle = low + (high - low) / 2;
    if (probability(middle) <= limit) {
      found = true;
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low - 1;
}

// ratio with its 95 % interval exp(ln ratio ± 1.96 · logError); a log error of 0 would give an
// interval of no width, which is no interval: none, for the reason given.
void SetRatioInterval(double ratio, double logError, Figure& estimate, Figure& lower, Figure& upper,
                      const char* zeroErrorReason) {
  estimate = Figure::Of(ratio);
  if (logError == 0) {
    lower = upper = Figure::Missing(zeroErrorReason);
    return;
  }
  const double margin = NormalCritical95() * logError;
  lower = Figure::Of(std::exp(std::log(ratio) - margin));
  upper = Figure::Of(std::exp(std::log(ratio) + margin));
}

}  // namespace

Figure FisherExactP(double a, double b, double c, double d) {
  if (AnyNegative({a, b, c, d})) return Figure::Missing("计数不能为负");
  if (!AllWhole({a, b, c, d})) return Figure::Missing("确切概率法要求各格均为整数");
  const double total = a + b + c + d;
  if (total > std::numeric_limits<unsigned>::max()) return Figure::Missing("计数过大");
  if (total == 0) return Figure::Missing("四格均为0");
  if (a + b == 0 || c + d == 0 || a + c == 0 || b + d == 0) return Figure::Of(1.0);
  const auto ua = static_cast<unsigned>(a);
  const auto firstColumn = static_cast<unsigned>(a + c);
  const auto firstRow = static_cast<unsigned>(a + b);
  const auto all = static_cast<unsigned>(total);
  try {
    // a follows the hypergeometric distribution of the first column's count in the first row.
    const boost::math::hypergeometric_distribution<double> distribution(firstColumn, firstRow, all);
    const auto [lowest, highest] = boost::math::support(distribution);
    const auto low = static_cast<unsigned>(lowest);
    const auto high = static_cast<unsigned>(highest);
    auto probability = [&](unsigned x) { return boost::math::pdf(distribution, x); };
    const double limit = probability(ua) * kTieTolerance;
    // The mode; the observed table at the mode leaves every table at most as probable.
    const auto mode = static_cast<unsigned>(
        std::floor((static_cast<double>(firstRow) + 1) * (static_cast<double>(firstColumn) + 1) /
                   (static_cast<double>(all) + 2)));
    const unsigned peak = std::clamp(mode, low, high);
    if (ua == peak) return Figure::Of(1.0);
    double p = 0;
    if (ua < peak) {
      p = boost::math::cdf(distribution, ua);
      const unsigned start = FirstAtMostAbove(probability, peak - 1, high, limit);
      if (start <= high) {
        p += boost::math::cdf(boost::math::complement(distribution, start - 1));
      }
    } else {
      p = boost::math::cdf(boost::math::complement(distribution, ua - 1));
      bool found = false;
      const unsigned end = LastAtMostBelow(probability, low, peak, limit, found);
      if (found) p += boost::math::cdf(distribution, end);
    }
    return Figure::Of(std::min(1.0, p));
  } catch (const std::exception&) {
    return Figure::Missing("超几何分布无法计算");
  }
}

FourfoldFigures FourfoldReportFigures(const FourfoldCells& cells, PositiveMeans positive) {
  FourfoldFigures figures;
  figures.positive = positive;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    figures.cells[k] = cells[k].value_or(Fixed4{}).ToDouble();
  }
  const auto [a, b, c, d] = figures.cells;
  figures.shown = FourfoldChiSquare(cells);
  figures.risk = RiskDifference(a, b, c, d);
  figures.numberNeeded = NumberNeeded(figures.risk, positive);
  const FourfoldChiSquareResult& shown = figures.shown;
  std::initializer_list<Figure*> all = {
      &figures.n,          &figures.chiSquare, &figures.chiSquareP, &figures.correctedChiSquare,
      &figures.correctedP, &figures.fisherP,   &figures.oddsRatio,  &figures.oddsLower,
      &figures.oddsUpper,  &figures.riskRatio, &figures.riskLower,  &figures.riskUpper};
  if (AnyNegative({a, b, c, d})) {
    for (Figure* figure : all) *figure = Figure::Missing("计数须为非负的有限数");
    return figures;
  }
  figures.n = Figure::Of(static_cast<double>(shown.wholeN));
  if (!shown.pearson || !shown.yates) {
    const Figure missing =
        Figure::Missing(a + b + c + d == 0 ? "四格均为0" : "有行合计或列合计为0");
    for (Figure* figure : all) {
      if (figure != &figures.n) *figure = missing;
    }
    // With a margin of 0 only the observed table is possible.
    if (a + b + c + d > 0) figures.fisherP = FisherExactP(a, b, c, d);
  } else {
    figures.chiSquare = Figure::Of(*shown.pearson);
    figures.chiSquareP = figures.chiSquare ? ChiSquareP(*figures.chiSquare, 1) : figures.chiSquare;
    figures.correctedChiSquare = Figure::Of(*shown.yates);
    figures.correctedP = figures.correctedChiSquare ? ChiSquareP(*figures.correctedChiSquare, 1)
                                                    : figures.correctedChiSquare;
    figures.fisherP = FisherExactP(a, b, c, d);
  }
  if (a == 0 || b == 0 || c == 0 || d == 0) {
    figures.oddsRatio = figures.oddsLower = figures.oddsUpper =
        Figure::Missing("有格子为0，比值比或其对数的标准误无定义");
  } else {
    SetRatioInterval(a * d / (b * c), std::sqrt(1 / a + 1 / b + 1 / c + 1 / d), figures.oddsRatio,
                     figures.oddsLower, figures.oddsUpper, "ln OR的标准误为0");
  }
  if (a == 0 || c == 0) {
    figures.riskRatio = figures.riskLower = figures.riskUpper =
        Figure::Missing("a或c为0，相对危险度或其对数的标准误无定义");
  } else {
    const double row1 = a + b;
    const double row2 = c + d;
    SetRatioInterval(a / row1 / (c / row2), std::sqrt(1 / a - 1 / row1 + 1 / c - 1 / row2),
                     figures.riskRatio, figures.riskLower, figures.riskUpper,
                     "b与d均为0，两组（+）率均为1，ln RR的标准误为0");
  }
  return figures;
}

McNemarFigures McNemarReportFigures(const FourfoldCells& cells) {
  McNemarFigures figures;
  const double b = cells[1].value_or(Fixed4{}).ToDouble();
  const double c = cells[2].value_or(Fixed4{}).ToDouble();
  figures.a = cells[0].value_or(Fixed4{}).ToDouble();
  figures.b = b;
  figures.c = c;
  figures.d = cells[3].value_or(Fixed4{}).ToDouble();
  figures.shown = PairedChiSquare(cells);
  figures.paired = PairedProportions(figures.a, b, c, figures.d);
  if (AnyNegative({b, c})) {
    figures.chiSquare = figures.p = figures.exactP = Figure::Missing("计数须为非负的有限数");
    return figures;
  }
  figures.corrected = figures.shown.corrected;
  if (!figures.shown.textbookChiSquare) {
    figures.noDiscordantPairs = true;
    figures.chiSquare = figures.p = figures.exactP = Figure::Missing("b + c = 0，没有不一致的对子");
    return figures;
  }
  figures.chiSquare = Figure::Of(*figures.shown.textbookChiSquare);
  figures.p = figures.chiSquare ? ChiSquareP(*figures.chiSquare, 1) : figures.chiSquare;
  if (!AllWhole({b, c})) {
    figures.exactP = Figure::Missing("确切概率法要求b与c均为整数");
    return figures;
  }
  const double discordant = b + c;
  try {
    const boost::math::binomial_distribution<double> distribution(discordant, 0.5);
    figures.exactP = Figure::Of(std::min(1.0, 2 * boost::math::cdf(distribution, std::min(b, c))));
  } catch (const std::exception&) {
    figures.exactP = Figure::Missing("二项分布无法计算");
  }
  return figures;
}

}  // namespace quillon
