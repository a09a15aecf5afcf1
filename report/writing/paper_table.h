#pragma once
// The paper's table of each design, as Chinese journals print it at the head of the results:
//   two samples   组别 · n · x̄±s · t (t′) · P, or M(P₂₅, P₇₅) · U or Z · P on the rank path;
//   paired        指标 · 处理前 x̄±s · 处理后 x̄±s · 差值 x̄±s · t · P, or the medians and T or Z;
//   correlation   n · r (95%CI) · P · the regression equation, or n · rₛ (95%CI) · P;
//   four-fold     组别 · n · the (+) result n (%) · χ² or Fisher's exact test · P;
//   McNemar       the paired 2×2 table with its margins · χ² · P.
// The English styles give English headings. Every statistic, estimate, median and P is written
// by the function that writes it in the sentences, so that the two never round differently;
// means and standard deviations take the decimals given (one more than the data, at most four).

#include <array>
#include <cstdint>
#include <string>

#include "report/correlation.h"
#include "report/fourfold.h"
#include "report/ranks/ranks.h"
#include "report/t_tests.h"
#include "report/test_path.h"
#include "report/writing/names.h"
#include "report/writing/text.h"

namespace quillon {

// The decimals of the means and standard deviations: one more than the most any value was
// typed with ("1.0" counts one; Fixed4::TypedDecimals), at most the grid's four.
int MeanDecimals(int mostTyped);

// The two columns of paired data, over the complete pairs: each one's mean and standard
// deviation, and its quartiles (needed on the rank path alone).
struct PairedColumns {
  Figure mean1, deviation1, mean2, deviation2;
  Quartiles first, second;
};

// The means and SDs are the described groups' where the grid's values give them (from the exact
// sums, rounded once), the summary values' otherwise.
PaperTable TwoSamplePaper(const TwoSampleFigures& f, const RankSumFigures& ranks, PStyle style,
                          TestPath path, const ReportNames& names, int decimals,
                          const std::array<GroupDescription, 2>* described = nullptr);
PaperTable PairedPaper(const PairedFigures& f, const SignedRankFigures& ranks,
                       const PairedColumns& columns, PStyle style, TestPath path,
                       const ReportNames& names, int decimals);
PaperTable CorrelationPaper(const CorrelationFigures& f, const SpearmanFigures& ranks, PStyle style,
                            TestPath path, const ReportNames& names);
PaperTable FourfoldPaper(const FourfoldFigures& f, PStyle style, const ReportNames& names);
PaperTable McNemarPaper(const McNemarFigures& f, PStyle style, const ReportNames& names);

}  // namespace quillon
