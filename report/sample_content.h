#pragma once
// The report's rows and sentences for the analyses of sample data, with P values and intervals
// written in the chosen style.

#include "report/correlation.h"
#include "report/t_tests.h"
#include "report/text.h"

namespace quillon {

Report TwoSampleReport(const TwoSampleFigures& figures, PStyle style = kDefaultPStyle);
Report PairedReport(const PairedFigures& figures, PStyle style = kDefaultPStyle);
Report CorrelationReport(const CorrelationFigures& figures, PStyle style = kDefaultPStyle);

}  // namespace quillon
