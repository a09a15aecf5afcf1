#pragma once
// The grid's values as the report reads them, for the report and for its R script alike.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "counts/summary_t_test.h"
#include "entry/sample_lists.h"
#include "stats/fixed4.h"

namespace quillon::ui {

// A group's values, in their rows' order, the cells that hold none left out.
std::vector<Fixed4> NumbersOf(const SampleLists& lists, Group group);
// The rows where both columns hold a value.
std::vector<std::pair<Fixed4, Fixed4>> CompletePairs(const SampleLists& lists);
// Whether the summary boxes show what the grid's values give, so that the figures beyond the main
// window's may be taken from the values themselves: a box typed over says otherwise.
bool SummariesFromGrid(const std::array<std::string, kSummaryBoxCount>& boxes,
                       const SampleLists& lists);

}  // namespace quillon::ui
