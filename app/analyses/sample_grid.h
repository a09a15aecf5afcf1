#pragma once
// The data grid of the three sample analyses (panel Picture2): nine visible rows of a row number
// and one entry per group, over the two group lists; the scroll bar VS1 holds the row offset, and
// the mouse wheel over the rows turns it as over the bar.
// Every change of an entry box is cleaned, stored into its list and reported, so that the
// current analysis re-runs.

#include <QObject>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "entry/grid_paste.h"
#include "entry/sample_lists.h"

class QEvent;
class QLineEdit;
class QPoint;
class QScrollBar;
class QWidget;

namespace quillon::ui {

class RuledPanel;

class SampleGrid : public QObject {
  Q_OBJECT
 public:
  // Builds Picture2 and its controls inside the window's client area.
  explicit SampleGrid(QWidget* client);

  QWidget* Panel() const;
  const SampleLists& Lists() const { return lists_; }
  int RowOffset() const;
  QLineEdit* EntryBox(Group group, int box) const;
  const std::array<QLineEdit*, 9>& EntryBoxes(Group group) const;

  // The group whose column of Picture2 holds this point of the panel, if any.
  std::optional<Group> GroupColumnAt(const QPoint& point) const;
  // The group and the index of an entry box; nothing for any other object.
  std::optional<std::pair<Group, int>> FindEntryBox(const QObject* object) const;

  // Start-up: nine empty rows numbered 1 to 9.
  void Load();
  // Back to the empty nine-row grid; boxes that held text run their change handling.
  void ResetDataGrid();
  // Fills the nine rows from the lists at the current offset.
  void RefreshVisibleRows();

  // Replaces one group by the lines of a file, at most the grid's largest number of rows: the
  // view returns to the top, the group's boxes are blanked, the list refilled, the scroll range
  // set to the longer list, and the boxes show the first rows (each running its change handling).
  void ReplaceGroup(Group group, std::vector<std::string> lines);

  // Stores pasted values from row `firstRow` on: one column into `group`, two columns into group
  // 1 and group 2. The lists, the boxes and the scroll range end as if each value had been typed
  // (rows past the end are added to both lists, as Enter adds them); the analysis re-runs once
  // for each group pasted into, not once for each value.
  void Paste(Group group, std::size_t firstRow, GridPaste paste);
  // Whether the last change of the grid was a paste, which UndoPaste takes back.
  bool CanUndoPaste() const { return beforePaste_.has_value(); }
  // Restores the groups the last paste changed as they were before it; once.
  void UndoPaste();

 signals:
  // A stored change of the group's list (or a box refreshed from it): the analysis re-runs.
  void EntryChanged(quillon::Group group);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void HandleChange(Group group, int box);
  void HandleEnter(Group group, int box);
  // Up and Down in a column (Text1, Text2 or the row numbers Text3).
  void HandleArrow(const std::array<QLineEdit*, 9>& column, int box, bool down);
  const std::array<QLineEdit*, 9>& Column(QObject* box, int* index) const;
  void ScrollTo(int rowOffset);
  // The scroll range over the longer list; the bar is enabled once there is a tenth row.
  void SetScrollRange();
  // After the lists changed: the scroll range and the boxes follow, then the analysis re-runs
  // once for each group in `changed`.
  void ShowChangedGroups(const std::vector<Group>& changed);

  // The rows a paste replaced, and the lengths of the lists before it.
  struct BeforePaste {
    std::size_t firstRow = 0;
    std::vector<Group> groups;
    std::array<std::vector<std::string>, 2> texts;
    std::array<std::size_t, 2> sizes{};
  };

  RuledPanel* panel_ = nullptr;
  std::array<QLineEdit*, 9> text1_{};
  std::array<QLineEdit*, 9> text2_{};
  std::array<QLineEdit*, 9> text3_{};
  QScrollBar* vs1_ = nullptr;
  SampleLists lists_;
  bool isRefreshing_ = false;
  bool isQuiet_ = false;  // a paste or its undo: the boxes' changes do not re-run the analysis
  std::optional<BeforePaste> beforePaste_;
};

}  // namespace quillon::ui
