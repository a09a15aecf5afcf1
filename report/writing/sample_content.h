#pragma once
// The report's rows and sentences for the analyses of sample data, with P values and intervals
// written in the chosen style.

#include <cstddef>
#include <string>

#include "report/checks/checks.h"
#include "report/correlation.h"
#include "report/t_tests.h"
#include "report/writing/names.h"
#include "report/writing/text.h"

namespace quillon {

// With checks, the report adds them and a sentence of guidance on what they suggest.
// The names the user gave go into the rows' labels and the sentences; paired data read as
// before and after leave out the agreement of two methods.
Report TwoSampleReport(const TwoSampleFigures& figures, PStyle style = kDefaultPStyle,
                       const TwoSampleChecks* checks = nullptr, const ReportNames& names = {});
Report PairedReport(const PairedFigures& figures, PStyle style = kDefaultPStyle,
                    const PairedChecks* checks = nullptr, const ReportNames& names = {});
Report CorrelationReport(const CorrelationFigures& figures, PStyle style = kDefaultPStyle,
                         const CorrelationChecks* checks = nullptr, const ReportNames& names = {});

// The least-squares line as the main window's equation writes it, "Ŷ = 1.2345 + 0.5000X";
// empty where there is none.
std::string RegressionEquation(const CorrelationFigures& f);
// A line under the table where values were typed with more than the grid's four decimals:
// how many were rounded, and the smaller unit that would keep their digits.
void NoteRoundedValues(Report& report, std::size_t count);

}  // namespace quillon
