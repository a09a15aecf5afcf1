#pragma once
// The four group file operations of the menu and the toolbar: a group of the data grid is
// written to a text file, or replaced by the lines of one. The file dialogs and the message
// boxes are steps that can be exchanged (the window tests answer them without a person). The
// grid is known only by its lists and by the step that replaces a group with the lines read, so
// that the grid's folder may use this one and not the other way round.

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "entry/sample_lists.h"

class QWidget;

namespace quillon::ui {

class GroupFiles {
 public:
  struct Dialogs {
    // The path the user chose, or the empty text when the dialog was cancelled.
    std::function<QString(QWidget* owner)> choosePathToOpen;
    std::function<QString(QWidget* owner)> choosePathToSave;
    // Whether an existing file may be replaced.
    std::function<bool(QWidget* owner, const QString& path)> confirmReplace;
    std::function<void(QWidget* owner, const QString& message)> tell;
  };
  // Qt's own dialogs, in Chinese, starting in the program's folder each time.
  static Dialogs StandardDialogs();

  // Replaces a group of the grid with the lines of a file (as UTF-8 text, at most the grid's
  // largest number of rows).
  using ReplaceGroup = std::function<void(Group group, std::vector<std::string> lines)>;

  GroupFiles(QWidget* owner, const SampleLists& lists, ReplaceGroup replaceGroup);

  void SetDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }

  // Replaces the group by the lines of a chosen ".txt" file; a refused or failed import changes
  // nothing and says why.
  void Import(Group group);
  // Files dropped on the group's column: one file is imported as the menu's import of its path;
  // several files, a folder or anything but a local file are refused, saying why.
  void ImportDropped(Group group, const QList<QUrl>& urls);
  // Writes the group to the chosen path with ".txt" appended unless it ends in ".txt" already.
  void Export(Group group);

  // The path of the last operation that got past its dialog (or was dropped).
  const QString& LastPath() const { return lastPath_; }

  // A message about the data the user brings in, through the same step as the files' messages.
  void Tell(const QString& message) const { dialogs_.tell(owner_, message); }

 private:
  QString ChosenPath(const std::function<QString(QWidget*)>& choose);
  void ImportPath(Group group, const QString& path);

  QWidget* owner_;
  const SampleLists& lists_;
  ReplaceGroup replaceGroup_;
  Dialogs dialogs_;
  QString lastPath_;
};

}  // namespace quillon::ui
