#pragma once
// The report's section for a test against a margin: its rows, and its sentences as the CONSORT
// extension for non-inferiority and equivalence trials asks (the margin and its scale, the
// interval against it, the conclusion), the results sentence before the report's own and the
// methods sentence after it. A difference adds nothing.

#include "report/margin_tests.h"
#include "report/writing/names.h"
#include "report/writing/text.h"

namespace quillon {

void AddMarginSection(Report& report, const MarginFigures& figures, PStyle style,
                      const ReportNames& names);

// The section's sentences alone.
std::string MarginResults(const MarginFigures& figures, PStyle style, const ReportNames& names);
std::string MarginMethods(const MarginFigures& figures, PStyle style);

}  // namespace quillon
