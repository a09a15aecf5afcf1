#pragma once
// The report's rows and sentences for the analyses of sample data.

#include "stats/report_correlation.h"
#include "stats/report_t_tests.h"
#include "stats/report_text.h"

namespace quillon {

Report TwoSampleReport(const TwoSampleFigures& figures);
Report PairedReport(const PairedFigures& figures);
Report CorrelationReport(const CorrelationFigures& figures);

}  // namespace quillon
