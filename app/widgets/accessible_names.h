#pragma once
// What a screen reader says for each control (Qt's accessibility interface, which the AT-SPI
// bridge hands to Orca). Each window has one table of names, applied once the window is built; a
// control without an entry keeps what Qt reads from its visible caption (a button's or a label's
// text, a group box's title, a window's title, the label whose buddy it is). A result label is
// named after its quantity ("t值") and read with its text as its value and description, so that
// a screen reader says "t值 2.2361"; Tab reaches it.

#include <QString>
#include <span>

class QWidget;

namespace quillon::ui {

enum class Spoken {
  Name,           // the name alone; a box or a list reads its own value
  NameAndResult,  // a result label: its text is its value, and Tab reaches it
};

struct AccessibleName {
  const char* control;  // objectName
  const char* name;     // UTF-8
  Spoken spoken = Spoken::Name;
  const char* description = nullptr;  // UTF-8; what the control does, when its name does not say
};

// Makes every label named for a screen reader report its text as its value, and the banner read
// as a button. Call before the first window's labels are made: Qt keeps the reading it gives a
// control first.
void InstallLabelReadings();

// Names the window's controls after the table; an objectName missing from the window is skipped.
void ApplyAccessibleNames(QWidget* window, std::span<const AccessibleName> names);

// Tab stops on a result label of the main window only while it shows a result: each label's stop
// is set after its text. Run before every Tab step, so that a label emptied since is passed by
// and one that has its text again is reached.
void FollowResultTexts(QWidget* window);

// The main window's names, the grid's boxes with their group and row ("第一组 第3行") for the
// rows shown at the scroll bar's offset, following it, and the four-fold cells.
void NameMainWindow(QWidget* window);
// The four-fold cells with their row and column and the table's captions, which change with the
// count-data analysis: "a：第一行第一列（组别：试验组；结果：（+））".
void NameFourfoldCells(QWidget* window);

void NameReportWindow(QWidget* window);

}  // namespace quillon::ui
