#pragma once
// The R code of each section of the report, by analysis; for the script writers of rscript/.

#include <string>
#include <utility>
#include <vector>

#include "report/hypothesis.h"
#include "report/margin_tests.h"
#include "report/ranks/ranks.h"
#include "rscript/script_writer.h"

namespace quillon::rscript {

using SectionCodes = std::vector<std::pair<std::string, SectionCode>>;

// Codes that give a section's rows in order, each row's value expression with its setup.
RowCode Value(std::string expression, std::vector<std::string> setup = {});
// A row whose value is a text, not a figure ("各组原始数据"): printed as the report has it.
RowCode Text(const ReportRow& row);

// `.chi_density(u, df)`: the chi variable's density, computed so that large df keep their digits.
extern const char* const kChiDensity;
// The noncentral t interval of an effect size, by uniroot on pt(t, df, ncp); needs kChiDensity.
extern const char* const kNoncentralInterval;
// `.restricted(x1, n1, x2, n2, d0)`: the two rates' maximum likelihood estimates restricted to
// p1 − p2 = d0 (Farrington and Manning).
extern const char* const kRestrictedRates;

// The rank sections: x and y hold the two groups (or, paired, the two columns).
SectionCodes RankSumCodes(const RankSumFigures& ranks);
SectionCodes SignedRankCodes(const SignedRankFigures& ranks);
SectionCodes SpearmanCodes(const SpearmanFigures& ranks);
// The section of a test against a margin; for the t tests the R expressions of the difference,
// its standard error and its degrees of freedom, computed by `setup`.
SectionCodes MarginCodes(const MarginFigures& margin, const std::string& difference,
                         const std::string& error, const std::string& df,
                         const std::vector<std::string>& setup);
// Where only summary values were typed: the rank section says there is nothing to rank.
SectionCodes NothingToRank();

}  // namespace quillon::rscript
