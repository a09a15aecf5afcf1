#pragma once
// The report's rows and sentences for the analyses of count data, with P values and intervals
// written in the chosen style.

#include "report/fourfold.h"
#include "report/writing/names.h"
#include "report/writing/text.h"

namespace quillon {

Report FourfoldReport(const FourfoldFigures& figures, PStyle style = kDefaultPStyle,
                      const ReportNames& names = {});
Report McNemarReport(const McNemarFigures& figures, PStyle style = kDefaultPStyle,
                     const ReportNames& names = {});

}  // namespace quillon
