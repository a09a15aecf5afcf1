#pragma once
// Data brought into the entry boxes at once rather than typed: text pasted or dropped into a grid
// box or a four-fold cell, files dropped on a group's column, and Ctrl+Z right after a paste.
//
// A paste is caught where it starts, not in the box's change handling: the paste keys
// (QKeySequence::Paste, Shift+Insert among them), the box's context menu, the middle button's
// paste of the selection and a dropped text. A change of the text could not tell a paste from
// the program's own writes (a refresh, an import, the filter's nested write-backs), nor which
// part of the new text was pasted. A text of one cell is left to the box, which pastes it as it
// always has.

#include <QList>
#include <QObject>
#include <QUrl>
#include <functional>

#include "entry/sample_lists.h"

class QDropEvent;
class QEvent;
class QLineEdit;
class QMimeData;
class QWidget;

namespace quillon::ui {

class FourfoldTable;
class GroupFiles;
class SampleGrid;

class EntryTransfer : public QObject {
  Q_OBJECT
 public:
  EntryTransfer(QObject* parent, SampleGrid* grid, FourfoldTable* table, GroupFiles* files);

  // A paste of this text into a grid box or a four-fold cell: false when it is a single cell,
  // which the box pastes itself; true when it was taken here (pasted, or refused with a message).
  bool Paste(QLineEdit* box, const QString& text);
  // A text of one or two columns pasted from the grid's first row on, as a paste into the first
  // group's first box would be (taken back by Ctrl+Z); false when it holds a single cell.
  bool PasteFromFirstRow(const QString& text);

  // Steps taken before the grid's own: Ctrl+Z in an entry box (true when it took something
  // back), and dropped files (true when it opened them as a whole analysis).
  void SetUndoFirst(std::function<bool()> undo) { undoFirst_ = std::move(undo); }
  void SetOpenDropped(std::function<bool(const QList<QUrl>&)> open) {
    openDropped_ = std::move(open);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool PasteIntoGrid(Group group, int box, const QString& text);
  bool PasteIntoGridAt(Group group, std::size_t firstRow, const QString& text);
  bool PasteIntoCells(const QString& text);
  bool UndoPaste(QLineEdit* box);
  void ShowContextMenu(QLineEdit* box, const QPoint& globalPos);
  // A drag or a drop on a box or on the grid's panel; true when handled here.
  bool HandleDrag(QObject* watched, QEvent* event);

  SampleGrid* grid_;
  FourfoldTable* table_;
  GroupFiles* files_;
  std::function<bool()> undoFirst_;
  std::function<bool(const QList<QUrl>&)> openDropped_;
};

}  // namespace quillon::ui
