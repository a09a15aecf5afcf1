#pragma once
// Nothing typed is lost when the program ends: every change is written, within a second, to this
// run's recovery file in the state folder (recovery-<pid>.quillon, beside it recovery-<pid>.path
// with the analysis file the work belongs to), and again when the program quits or is ended by
// SIGTERM or SIGHUP. At the next start the newest work of a run that has ended, if it differs
// from the file it was saved to, is offered back without a question: a small non-modal window
// and the menu item "恢复上次的工作". That work is kept until it is restored, discarded, or this
// run writes work of its own.

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <optional>

#include "analysis_file/analysis_file.h"

class QAction;
class QDialog;
class QSocketNotifier;
class QWidget;

namespace quillon::ui {

class AnalysisKeeper;

class WorkRecovery : public QObject {
  Q_OBJECT
 public:
  // Keeps the work of `keeper`'s window. The earlier runs' work is looked for once the window
  // has first been painted, so that the start is not delayed. One per process: the first one made
  // takes SIGTERM and SIGHUP.
  WorkRecovery(AnalysisKeeper* keeper, QWidget* window);
  ~WorkRecovery() override;

  // Puts the earlier run's work back into the window, with the file it belonged to, marked
  // modified; it becomes this run's work and the earlier files go.
  void RestoreWork();
  // Removes the earlier runs' work without restoring it.
  void DiscardWork();
  // Writes this run's work now if a change waits to be written, and waits until it is written.
  void WriteNow();

 private:
  // Looks for the earlier runs' work in the state folder: removes what there is nothing to
  // offer from and offers the newest of the rest.
  void FindEarlierWork();

  struct Recovered {
    AnalysisState state;
    QString filePath;  // the analysis file the work belonged to, or empty
    QDateTime written;
  };

  void NoteChange();
  // Takes the state and hands it to the writer's thread.
  void Write();
  void ShowOffer();
  void WithdrawOffer();
  void TakeSignals();
  void HandleSignal();

  AnalysisKeeper* keeper_;
  QPointer<QWidget> window_;
  QTimer timer_;
  // One thread: the writes, one after another.
  QThreadPool writer_;
  bool pending_ = false;
  bool wroteOnce_ = false;
  // The recovery files (without their suffix) of ended runs that are kept for now.
  QStringList earlier_;
  std::optional<Recovered> recovered_;
  QPointer<QDialog> offer_;
  QSocketNotifier* signals_ = nullptr;
};

}  // namespace quillon::ui
