#pragma once
// The report's rows and sentences for the analyses of count data.

#include "report/fourfold.h"
#include "report/text.h"

namespace quillon {

Report FourfoldReport(const FourfoldFigures& figures);
Report McNemarReport(const McNemarFigures& figures);

}  // namespace quillon
