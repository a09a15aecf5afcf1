#pragma once
// The report's rows and sentences for the analyses of sample data.

#include "report/correlation.h"
#include "report/t_tests.h"
#include "report/text.h"

namespace quillon {

Report TwoSampleReport(const TwoSampleFigures& figures);
Report PairedReport(const PairedFigures& figures);
Report CorrelationReport(const CorrelationFigures& figures);

}  // namespace quillon
