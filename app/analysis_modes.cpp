#include "app/analysis_modes.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/analyses/chi_square_panels.h"
#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/widgets/form_layout.h"

namespace quillon::ui {

namespace {

bool IsCountData(AnalysisMode mode) {
  return mode == AnalysisMode::FourfoldChiSquare || mode == AnalysisMode::PairedChiSquare;
}

}  // namespace

AnalysisModes::AnalysisModes(QObject* parent, AnalysisControls controls)
    : QObject(parent), controls_(std::move(controls)) {
  for (int mode = 0; mode < AnalysisModeCount; ++mode) {
    connect(controls_.buttons[static_cast<std::size_t>(mode)], &QPushButton::clicked, this,
            [this, mode] { SelectAnalysis(static_cast<AnalysisMode>(mode)); });
  }
  connect(controls_.grid, &SampleGrid::EntryChanged, this, &AnalysisModes::RerunSampleAnalysis);
  connect(controls_.fourfoldTable, &FourfoldTable::TotalsChanged, this,
          &AnalysisModes::RerunCountTest);
}

bool AnalysisModes::IsCurrent(AnalysisMode mode) const {
  return controls_.label1->text() == AnalysisCaption(mode);
}

AnalysisMode AnalysisModes::Current() const {
  for (int mode = 0; mode < AnalysisModeCount; ++mode) {
    if (IsCurrent(static_cast<AnalysisMode>(mode))) return static_cast<AnalysisMode>(mode);
  }
  return AnalysisMode::TwoSampleMeans;
}

void AnalysisModes::RerunSampleAnalysis(Group group) {
  const SampleLists& lists = controls_.grid->Lists();
  if (IsCurrent(AnalysisMode::PairedMeans)) {
    controls_.paired->RunPairedTTest(lists.Pairs());
  } else if (IsCurrent(AnalysisMode::TwoSampleMeans)) {
    controls_.twoSample->UpdateGroupSummary(group, lists.Sums(group));
  } else if (IsCurrent(AnalysisMode::CorrelationRegression)) {
    controls_.correlation->RunCorrelationRegression(lists.Pairs());
  }
}

void AnalysisModes::RerunCountTest() {
  const FourfoldCells cells = controls_.fourfoldTable->Cells();
  if (IsCurrent(AnalysisMode::FourfoldChiSquare)) {
    controls_.chiSquares->RunFourfoldChiSquare(cells);
  } else if (IsCurrent(AnalysisMode::PairedChiSquare)) {
    controls_.chiSquares->RunPairedChiSquare(cells);
  }
}

void AnalysisModes::SelectAnalysis(AnalysisMode mode) {
  emit AnalysisAboutToChange();
  const bool countData = IsCountData(mode);
  for (QWidget* button : controls_.importExportButtons) button->setEnabled(!countData);
  for (QAction* item : controls_.importExportItems) item->setEnabled(!countData);

  for (QPushButton* button : controls_.buttons) SetBold(button, false);
  QPushButton* chosen = controls_.buttons[static_cast<std::size_t>(mode)];
  SetBold(chosen, true);

  // From here on the new analysis is current: the change handling run by the emptying below
  // already sees it.
  controls_.label1->setText(chosen->text());
  controls_.label1->adjustSize();

  controls_.grid->ResetDataGrid();
  controls_.twoSample->ClearSummaryBoxes();
  controls_.twoSample->ClearCriticalValues();
  controls_.paired->ClearResults();
  controls_.correlation->ClearResults();
  controls_.chiSquares->ClearVerdicts();
  controls_.fourfoldTable->Clear();
  controls_.chiSquares->ClearValues();

  controls_.twoSample->Panel()->setVisible(mode == AnalysisMode::TwoSampleMeans);
  controls_.paired->Panel()->setVisible(mode == AnalysisMode::PairedMeans);
  controls_.correlation->Panel()->setVisible(mode == AnalysisMode::CorrelationRegression);
  controls_.fourfoldTable->Panel()->setVisible(countData);
  controls_.chiSquares->FourfoldPanel()->setVisible(mode == AnalysisMode::FourfoldChiSquare);
  controls_.chiSquares->PairedPanel()->setVisible(mode == AnalysisMode::PairedChiSquare);
  if (countData) {
    controls_.fourfoldTable->ShowCaptionsFor(mode);
    controls_.fourfoldTable->FocusFirstCell();
  } else {
    controls_.grid->EntryBox(Group::First, 0)->setFocus();
  }
  emit AnalysisSelected(mode);
}

}  // namespace quillon::ui
