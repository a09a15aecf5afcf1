#pragma once
// The reports of the sample analyses with their rank tests: the rows of the t test (or of
// Pearson's correlation) as they are, then the rank test's rows, then the checks; the results
// and methods sentences, and the title, follow the path chosen. Where Shapiro–Wilk finds a
// departure from normality, a line names the rank test as the one to report; the path never changes
// by itself.

#include "report/checks/checks.h"
#include "report/ranks/ranks.h"
#include "report/test_path.h"
#include "report/writing/names.h"
#include "report/writing/text.h"

namespace quillon {

Report TwoSampleReport(const TwoSampleFigures& figures, const RankSumFigures& ranks, PStyle style,
                       const TwoSampleChecks* checks, TestPath path, const ReportNames& names = {});
Report PairedReport(const PairedFigures& figures, const SignedRankFigures& ranks, PStyle style,
                    const PairedChecks* checks, TestPath path, const ReportNames& names = {});
Report CorrelationReport(const CorrelationFigures& figures, const SpearmanFigures& ranks,
                         PStyle style, const CorrelationChecks* checks, TestPath path,
                         const ReportNames& names = {});

// The rank tests' sections alone.
ReportSection RankSumSection(const RankSumFigures& f, PStyle style, const ReportNames& names = {});
ReportSection SignedRankSection(const SignedRankFigures& f, PStyle style);
ReportSection SpearmanSection(const SpearmanFigures& f, PStyle style);

}  // namespace quillon
