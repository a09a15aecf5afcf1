#pragma once
// The sample-size window's plan as an R script: the values the window read, each design's power
// and sample-size formulas (power.t.test(strict = TRUE) for the t tests), and every line of the
// result that holds a figure printed as the window writes it: the sizes, the numbers after
// dropout and the power reached.

#include <string>

#include "power/sample_size.h"
#include "rscript/report_script.h"

namespace quillon {

std::string SampleSizeScript(PowerDesign design, const SampleSizeBoxes& boxes, SolveFor solve,
                             const SampleSizeResult& result, const ScriptHeader& header);

}  // namespace quillon
