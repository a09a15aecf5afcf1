#pragma once
// The four-fold table of the two count-data analyses (panel Picture8): the four cells a, b, c, d,
// their row and column totals and the grand total. Every change of a cell is cleaned, the totals
// are rewritten, and the table reports it so that the current analysis runs its test.

#include <QObject>
#include <QString>
#include <array>
#include <optional>

#include "app/analysis_mode.h"
#include "counts/chi_square.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace quillon::ui {

class RuledPanel;

class FourfoldTable : public QObject {
  Q_OBJECT
 public:
  // Builds Picture8, hidden, over the data area of the window's client area.
  explicit FourfoldTable(QWidget* client);

  QWidget* Panel() const;
  QLineEdit* Cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }

  // The cells as they read now: a text that is empty or not a number gives no value.
  FourfoldCells Cells() const;

  // Empties each cell and then its total in turn, then the grand total. A cell that held text
  // runs its change handling, which writes the totals again before their own emptying.
  void Clear();

  // The title, the headings and the row captions of a count-data analysis (rows are groups in
  // the four-fold test, the outcome after treatment in the paired one); other analyses leave
  // them as they are.
  void ShowCaptionsFor(AnalysisMode mode);

  void FocusFirstCell();

  // Writes a pasted block into the four cells a, b, c, d, each running its change handling as a
  // typed text does.
  void Paste(const std::array<QString, 4>& cells);
  // Whether the last change of the cells was a paste, which UndoPaste takes back.
  bool CanUndoPaste() const { return beforePaste_.has_value(); }
  // Restores the four cells as they were before the last paste; once.
  void UndoPaste();

 signals:
  // Emitted at once after the totals of every change of a cell: the current analysis decides
  // which test follows.
  void TotalsChanged();

 private:
  void RecomputeFourfoldTable(int index);
  void WriteCells(const std::array<QString, 4>& cells);

  RuledPanel* panel_ = nullptr;
  QLabel* title_ = nullptr;            // Label16
  std::array<QLabel*, 7> headings_{};  // Label17(0..6)
  std::array<QLineEdit*, 4> cells_{};  // Text11(0..3)
  std::array<QLabel*, 5> totals_{};    // Label18(0..4)
  bool isPasting_ = false;
  std::optional<std::array<QString, 4>> beforePaste_;
};

}  // namespace quillon::ui
