// The confidence band of the regression line against R 4.2:
// predict(lm(y ~ x), data.frame(x = ...), interval = "confidence"), printed with digits = 17.

#include "report/checks/regression_band.h"

#include <gtest/gtest.h>

#include "report/tests/figure_matchers.h"

namespace quillon {
namespace {

using testing::Matches;

PairSums Pairs(const std::vector<double>& xs, const std::vector<double>& ys, double offset = 0) {
  PairSums sums;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    sums.Add(*Fixed4::FromDouble(xs[i] + offset), *Fixed4::FromDouble(ys[i] + offset));
  }
  return sums;
}

struct Expected {
  double x, fit, lower, upper;
};

TEST(ConfidenceBand, AgreesWithRAndKeepsItsWidthFarFromZero) {
  const std::vector<double> xs = {1.5, 2.25, 3.1, 4.8, 5.05, 6.7, 7.2, 8.4, 9.1, 10.3};
  const std::vector<double> ys = {3.2, 3.9, 5.1, 5.0, 7.4, 8.3, 8.1, 9.6, 9.2, 11.8};
  const std::vector<Expected> ten = {
      {0, 1.9111080782639984, 0.73241159317548976, 3.0898045633525069},
      {1.5, 3.2592823732304370, 2.31790626391278476, 4.2006584825480893},
      {5.835, 7.1555060856834451, 6.64017200883133363, 7.6708401625355567},
      {10.3, 11.1685715703668773, 10.20889272698271988, 12.1282504137510347},
      {14, 14.4940681646174259, 12.92578248481646952, 16.0623538444183822}};
  const std::vector<Expected> four = {{-1, 11.9, 7.7173435014795491, 16.0826564985204499},
                                      {2.5, 5.25, 3.9772581585915416, 6.5227418414084584},
                                      {6, -1.4, -5.5826564985204499, 2.7826564985204527}};
  // The same ten pairs moved by 10^6 along both axes: the band moves with them, as wide as before.
  constexpr double kFar = 1e6;
  for (const auto& [sums, expected, offset] :
       {std::tuple{Pairs(xs, ys), ten, 0.0},
        std::tuple{Pairs({1, 2, 3, 4}, {8, 6, 5, 2}), four, 0.0},
        std::tuple{Pairs(xs, ys, kFar), ten, kFar}}) {
    std::vector<double> at;
    for (const Expected& e : expected) at.push_back(e.x + offset);
    const RegressionBand band = ConfidenceBand(sums, at);
    ASSERT_EQ(band.points.size(), expected.size()) << band.reason;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const BandPoint& p = band.points[i];
      SCOPED_TRACE(::testing::Message() << "x = " << p.x);
      EXPECT_EQ(p.x, at[i]);
      if (offset == 0) {
        EXPECT_TRUE(Matches(Figure::Of(p.fitted), expected[i].fit));
        EXPECT_TRUE(Matches(Figure::Of(p.lower), expected[i].lower));
        EXPECT_TRUE(Matches(Figure::Of(p.upper), expected[i].upper));
      } else {
        EXPECT_NEAR(p.fitted - offset, expected[i].fit, 1e-8);
        EXPECT_NEAR(p.upper - p.fitted, expected[i].upper - expected[i].fit, 1e-8);
        EXPECT_NEAR(p.fitted - p.lower, expected[i].fit - expected[i].lower, 1e-8);
      }
    }
  }

  // No band without a line or without a residual standard deviation (two pairs); points exactly on
  // a line have a band of no width.
  EXPECT_NE(ConfidenceBand(Pairs({1, 2}, {5, 3}), {1}).reason.find("n = 2"), std::string::npos);
  EXPECT_NE(ConfidenceBand(Pairs({2, 2, 2}, {1, 5, 3}), {1}).reason.find("X全部相同"),
            std::string::npos);
  const RegressionBand exact = ConfidenceBand(Pairs({1, 2, 3}, {3, 5, 7}), {0, 4});
  ASSERT_EQ(exact.points.size(), 2u);
  EXPECT_EQ(exact.points[1].lower, 9);
  EXPECT_EQ(exact.points[1].upper, 9);
}

}  // namespace
}  // namespace quillon
