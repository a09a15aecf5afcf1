#pragma once
// The main window's data read as a pilot study's estimates for a plan: the figures the analysis
// on screen shows, put into the sample-size boxes of the same design (the two means and their
// pooled SD, the mean and SD of the paired differences, r, the two rates, the two discordant
// proportions). The plan is then computed from these boxes as from typed values; no power is
// ever computed from the data's own test.

#include <QString>
#include <utility>
#include <variant>
#include <vector>

#include "power/sample_size.h"

namespace quillon::ui {

class FourfoldTable;
class SampleGrid;
class TwoSamplePanel;

// The main window's parts the estimates come from.
struct PilotSources {
  const SampleGrid* grid = nullptr;
  const TwoSamplePanel* twoSample = nullptr;  // the six summary boxes
  const FourfoldTable* fourfold = nullptr;    // the four cells
};

// The boxes' object names with their new texts, or why the data give no estimates.
using PilotEstimates = std::variant<std::vector<std::pair<QString, QString>>, QString>;

PilotEstimates ReadPilotEstimates(PowerDesign design, const PilotSources& sources);

}  // namespace quillon::ui
