#pragma once
// The result panels of the two count-data analyses: Picture9 (the four-fold test: expected
// counts, n, chi-square and the verdict or the small-sample warning) and Picture11 (the paired
// test: n, chi-square and the verdict). Both show the fixed critical values 3.84 and 6.63.

#include <QObject>
#include <array>

#include "counts/chi_square.h"

class QLabel;
class QWidget;

namespace quillon::ui {

class ChiSquarePanels : public QObject {
  Q_OBJECT
 public:
  // Builds both panels, hidden, over the result area of the window's client area.
  explicit ChiSquarePanels(QWidget* client);

  QWidget* FourfoldPanel() const { return picture9_; }
  QWidget* PairedPanel() const { return picture11_; }

  // Runs a test on the table and shows its results in its panel.
  void RunFourfoldChiSquare(const FourfoldCells& cells);
  void RunPairedChiSquare(const FourfoldCells& cells);

  // Empties the verdicts Label5(21) and Label5(23), in that order.
  void ClearVerdicts();
  // Empties the values Label20(1) to Label20(8), in index order.
  void ClearValues();

 private:
  // The rows both panels share: n, the critical values with their symbol boxes, the statistic
  // and the verdict. Numbers are array indices and twips.
  struct ChiSquareRows {
    int countTop, countCaption, countValue;           // Label19, Label20
    int criticalTop, box05, box01, label05, label01;  // Picture5, Label5
    int statisticBox, statisticLeft, statisticTop, statisticValueLeft, statisticValue;
    int verdictTop, verdictCaption, verdictValue;  // Label5
  };
  // Returns the verdict label.
  QLabel* BuildChiSquareRows(QWidget* panel, const ChiSquareRows& rows);
  void BuildFourfoldPanel();
  void BuildPairedPanel();

  QWidget* picture9_ = nullptr;
  QWidget* picture11_ = nullptr;
  // Label20(1..8) by index; element 0 has no control.
  std::array<QLabel*, 9> label20_{};
  QLabel* fourfoldVerdict_ = nullptr;  // Label5(21)
  QLabel* pairedVerdict_ = nullptr;    // Label5(23)
};

}  // namespace quillon::ui
