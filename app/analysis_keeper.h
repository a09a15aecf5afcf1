#pragma once
// The whole analysis as one file: what the main window, the report's choices and the sample-size
// window hold, taken as an AnalysisState and put back; the file it belongs to and whether it has
// changed since; and the menu's open, save, save-as, recent files and CSV export.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>

#include "analysis_file/analysis_file.h"

class QAction;
class QMenu;
class QWidget;

namespace quillon::ui {

class MainWindow;

class AnalysisKeeper : public QObject {
  Q_OBJECT
 public:
  // The file dialogs and the message boxes, exchangeable so that the window tests answer them.
  struct Dialogs {
    // The path chosen, or the empty text when the dialog was cancelled.
    std::function<QString(QWidget* owner)> choosePathToOpen;
    std::function<QString(QWidget* owner, const QString& suggested, const QString& filter)>
        choosePathToSave;
    std::function<void(QWidget* owner, const QString& message)> tell;
  };
  static Dialogs StandardDialogs();

  explicit AnalysisKeeper(MainWindow* window);
  void SetDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }

  // The window's state now.
  AnalysisState Capture() const;
  // Puts a state back into every window, as if typed: results are computed anew. The file it
  // belongs to becomes the window's file (empty: none), and the window is marked modified or not.
  void Restore(const AnalysisState& state, const QString& filePath, bool modified);

  QString FilePath() const { return filePath_; }
  bool IsModified() const { return modified_; }

  // Right after an analysis switch, before anything else changed: puts the analysis shown
  // before it back with all its data. Returns whether there was one to put back.
  bool UndoSwitch();
  // A change the window's own signals do not carry (the sample-size window's boxes).
  void NoteChange();

  // The menu's operations. Each failure is told in a message box that names the file, and leaves
  // the window and the file on disk as they were.
  void OpenWithDialog();
  // Opens a file: an analysis file, or a .csv/.txt of two columns, which fills both groups as a
  // pasted block does. Returns whether it was opened.
  bool Open(const QString& path);
  bool Save();
  bool SaveAs();
  void ExportCsv();

  // The recent files, newest first, at most eight (kept in $XDG_STATE_HOME/quillon/recent).
  QStringList RecentFiles() const;

  // Writes a state to a file atomically (QSaveFile); the reason in Chinese on failure.
  static std::optional<QString> WriteStateFile(const QString& path, const AnalysisState& state);
  // Reads an analysis file: the state, or the reason it was refused.
  static std::variant<AnalysisState, QString> ReadStateFile(const QString& path);
  // $XDG_STATE_HOME/quillon (by default ~/.local/state/quillon), made if missing.
  static QString StateFolder();

 signals:
  // Anything the file holds changed (typing, a choice, a box of the sample-size window).
  void Changed();

 private:
  void MarkModified(bool modified);
  void RememberRecent(const QString& path);
  void FillRecentMenu();
  bool OpenColumns(const QString& path);

  MainWindow* window_;
  Dialogs dialogs_;
  QString filePath_;
  bool modified_ = false;
  bool restoring_ = false;
  // The state before the last switch, while nothing has changed since.
  std::optional<AnalysisState> beforeSwitch_;
  bool switching_ = false;
};

}  // namespace quillon::ui
