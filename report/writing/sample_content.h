#pragma once
// The report's rows and sentences for the analyses of sample data, with P values and intervals
// written in the chosen style.

#include <cstddef>

#include "report/checks/checks.h"
#include "report/correlation.h"
#include "report/t_tests.h"
#include "report/writing/text.h"

namespace quillon {

// With checks, the report adds them and a sentence of guidance on what they suggest.
Report TwoSampleReport(const TwoSampleFigures& figures, PStyle style = kDefaultPStyle,
                       const TwoSampleChecks* checks = nullptr);
Report PairedReport(const PairedFigures& figures, PStyle style = kDefaultPStyle,
                    const PairedChecks* checks = nullptr);
Report CorrelationReport(const CorrelationFigures& figures, PStyle style = kDefaultPStyle,
                         const CorrelationChecks* checks = nullptr);

// A line under the table where values were typed with more than the grid's four decimals:
// how many were rounded, and the smaller unit that would keep their digits.
void NoteRoundedValues(Report& report, std::size_t count);

}  // namespace quillon
