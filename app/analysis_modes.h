#pragma once
// The five analyses and the switch between them. The current analysis is the caption of Label1,
// which only SelectAnalysis writes; the change handling of the grid and the four-fold cells
// compares it with the button captions to decide what to compute.

#include <QObject>
#include <QString>
#include <array>
#include <vector>

#include "app/analysis_mode.h"
#include "entry/sample_lists.h"

class QAction;
class QLabel;
class QPushButton;
class QWidget;

namespace quillon::ui {

class SampleGrid;
class TwoSamplePanel;
class PairedPanel;
class CorrelationPanel;
class FourfoldTable;
class ChiSquarePanels;

// What the switch shows, hides, empties and relabels.
struct AnalysisControls {
  std::array<QPushButton*, AnalysisModeCount> buttons{};  // Command1(0..4)
  QLabel* label1 = nullptr;
  std::vector<QWidget*> importExportButtons;  // the toolbar's "导入" and "导出"
  std::vector<QAction*> importExportItems;    // the four menu items
  SampleGrid* grid = nullptr;
  TwoSamplePanel* twoSample = nullptr;
  PairedPanel* paired = nullptr;
  CorrelationPanel* correlation = nullptr;
  FourfoldTable* fourfoldTable = nullptr;  // Picture8
  ChiSquarePanels* chiSquares = nullptr;   // Picture9 and Picture11
};

class AnalysisModes : public QObject {
  Q_OBJECT
 public:
  AnalysisModes(QObject* parent, AnalysisControls controls);

  // Throws away all data and results, shows the chosen analysis's panels and puts the caret into
  // its first input. Choosing the current analysis again clears everything.
  void SelectAnalysis(AnalysisMode mode);

  // Whether the caption of Label1 names this analysis.
  bool IsCurrent(AnalysisMode mode) const;
  // The analysis shown (the two-sample t test before any is chosen).
  AnalysisMode Current() const;

 signals:
  // Before a switch empties anything (the data are still there to keep).
  void AnalysisAboutToChange();
  // After a switch, with everything emptied.
  void AnalysisSelected(quillon::ui::AnalysisMode mode);

 private:
  // The grid's change handling re-runs the current sample analysis.
  void RerunSampleAnalysis(Group group);
  // The four-fold table's change handling runs the current count-data test after its totals.
  void RerunCountTest();

  AnalysisControls controls_;
};

}  // namespace quillon::ui
