// P values and intervals in each journal style.

#include "report/p_style.h"

#include <gtest/gtest.h>

#include <array>

namespace quillon {
namespace {

constexpr std::array<PStyle, 4> kStyles = {PStyle::ChineseMedical, PStyle::Ama, PStyle::Nejm,
                                           PStyle::Apa};

TEST(PStyle, PValuesInEveryStyle) {
  struct Row {
    double p;
    std::array<const char*, 4> texts;  // 中华, AMA, NEJM, APA
  };
  const Row rows[] = {
      {0.0004, {"P<0.001", "P < .001", "P<0.001", "p < .001"}},
      {0.00099, {"P<0.001", "P < .001", "P<0.001", "p < .001"}},
      {0.0072, {"P=0.007", "P = .007", "P=0.007", "p = .007"}},
      // Below 0.05, never shown as 0.05.
      {0.0499, {"P=0.0499", "P = .0499", "P=0.0499", "p = .0499"}},
      // Two more decimals at most; AMA and NEJM take three where two would read 0.05.
      {0.04996, {"P=0.04996", "P = .04996", "P=0.04996", "p = .04996"}},
      {0.0499996, {"P=0.04999", "P = .04999", "P=0.04999", "p = .04999"}},
      {0.05, {"P=0.050", "P = .050", "P=0.050", "p = .050"}},
      {0.0504, {"P=0.050", "P = .050", "P=0.050", "p = .050"}},
      {0.0549, {"P=0.055", "P = .055", "P=0.055", "p = .055"}},
      {0.0551, {"P=0.055", "P = .06", "P=0.06", "p = .055"}},
      {0.0101, {"P=0.010", "P = .01", "P=0.01", "p = .010"}},
      {0.23, {"P=0.230", "P = .23", "P=0.23", "p = .230"}},
      {0.996, {"P=0.996", "P > .99", "P>0.99", "p = .996"}},
      {0.99999, {"P>0.999", "P > .99", "P>0.99", "p > .999"}},
      {1, {"P>0.999", "P > .99", "P>0.99", "p > .999"}},
  };
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < kStyles.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << row.p << " in " << PStyleName(kStyles[i]));
      const StyledP styled = FormatP(kStyles[i], Figure::Of(row.p));
      EXPECT_EQ(styled.Plain(), row.texts[i]);
      EXPECT_EQ(styled.symbol, i == 3 ? "p" : "P");
    }
  }
  EXPECT_EQ(FormatP(PStyle::Ama, Figure::Of(0.0004)).Html(), "<i>P</i> &lt; .001");
  EXPECT_EQ(FormatP(PStyle::Nejm, Figure::Missing("自由度须大于0")).Plain(),
            "P=—（自由度须大于0）");
  // A one-sided test at 0.025 guards its own level the same way.
  EXPECT_EQ(FormatP(PStyle::ChineseMedical, Figure::Of(0.02496), 0.025).Plain(), "P=0.02496");
  EXPECT_EQ(FormatP(PStyle::Apa, Figure::Of(0.02496), 0.025).Plain(), "p = .02496");
  EXPECT_EQ(FormatP(PStyle::ChineseMedical, Figure::Of(0.0251), 0.025).Plain(), "P=0.025");
}

TEST(PStyle, IntervalsInEveryStyle) {
  struct Row {
    double lower, upper;
    std::array<const char*, 4> texts;
    IntervalNull null = IntervalNull::None;
  };
  const Row rows[] = {
      {0.44,
       5.76,
       {"95%CI：0.44～5.76", "95% CI, 0.44-5.76", "95% CI, 0.44 to 5.76", "95% CI [0.44, 5.76]"}},
      {-1.234,
       0.5,
       {"95%CI：-1.23～0.50", "95% CI, -1.23 to 0.50", "95% CI, -1.23 to 0.50",
        "95% CI [-1.23, 0.50]"}},
      // A bound that rounds to zero loses its minus.
      {-0.001,
       2,
       {"95%CI：0.00～2.00", "95% CI, 0.00-2.00", "95% CI, 0.00 to 2.00", "95% CI [0.00, 2.00]"},
       IntervalNull::Zero},
      // A bound that would read as the null the interval excludes gets one or two more
      // decimals, then the nearest number of them on its side; so does r's bound near ±1.
      {0.0030333,
       2.1718,
       {"95%CI：0.003～2.17", "95% CI, 0.003-2.17", "95% CI, 0.003 to 2.17",
        "95% CI [0.003, 2.17]"},
       IntervalNull::Zero},
      {-2,
       -0.00001,
       {"95%CI：-2.00～-0.0001", "95% CI, -2.00 to -0.0001", "95% CI, -2.00 to -0.0001",
        "95% CI [-2.00, -0.0001]"},
       IntervalNull::Zero},
      {0.5,
       0.9956,
       {"95%CI：0.50～0.996", "95% CI, 0.50-0.996", "95% CI, 0.50 to 0.996",
        "95% CI [0.50, 0.996]"},
       IntervalNull::Correlation},
  };
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < kStyles.size(); ++i) {
      EXPECT_EQ(
          FormatInterval(kStyles[i], Figure::Of(row.lower), Figure::Of(row.upper), 2, row.null),
          row.texts[i]);
    }
  }
  EXPECT_EQ(FormatInterval(PStyle::Apa, Figure::Of(1), Figure::Missing("上限为无穷大"), 2),
            "95% CI —（上限为无穷大）");
}

}  // namespace
}  // namespace quillon
