#include "app/work_recovery.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QThreadPool>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <vector>

#include "app/analysis_keeper.h"
#include "app/first_paint.h"

namespace quillon::ui {

namespace {

constexpr int kWriteDelayMs = 1000;

// The self-pipe of SIGTERM and SIGHUP: the handler writes the signal's number, the event loop
// reads it.
int signalPipe[2] = {-1, -1};

void OnSignal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  static_cast<void>(::write(signalPipe[0], &byte, 1));
  errno = saved;
}

QString FileBase(qint64 pid) {
  return AnalysisKeeper::StateFolder() + QStringLiteral("/recovery-%1").arg(pid);
}

const QString StateSuffix = QStringLiteral(".quillon");
const QString PathSuffix = QStringLiteral(".path");

// The program's own file name, as the system starts it.
QString ProgramName(qint64 pid) {
  return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid))).fileName();
}

// Whether the run that wrote a recovery file is still running: its process exists and runs this
// program (after a restart of the machine, the number may belong to another program).
bool IsRunning(qint64 pid) {
  if (pid == QCoreApplication::applicationPid()) return false;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return false;
  const QString name = ProgramName(pid);
  return name.isEmpty() || name == ProgramName(QCoreApplication::applicationPid());
}

void RemoveBase(const QString& base) {
  QFile::remove(base + StateSuffix);
  QFile::remove(base + PathSuffix);
}

QString ReadPath(const QString& base) {
  QFile file(base + PathSuffix);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace

WorkRecovery::WorkRecovery(AnalysisKeeper* keeper, QWidget* window)
    : QObject(window), keeper_(keeper), window_(window) {
  timer_.setSingleShot(true);
  timer_.setInterval(kWriteDelayMs);
  connect(&timer_, &QTimer::timeout, this, &WorkRecovery::Write);
  writer_.setMaxThreadCount(1);
  connect(keeper_, &AnalysisKeeper::Changed, this, &WorkRecovery::NoteChange);
  connect(qApp, &QCoreApplication::aboutToQuit, this, &WorkRecovery::WriteNow);
  TakeSignals();
  AfterFirstPaint::Run(window, [this] { FindEarlierWork(); });
}

WorkRecovery::~WorkRecovery() {
  writer_.waitForDone();
  if (signals_ == nullptr) return;
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

void WorkRecovery::TakeSignals() {
  if (signalPipe[0] != -1 ||
      ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
    return;
  }
  signals_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
  connect(signals_, &QSocketNotifier::activated, this, &WorkRecovery::HandleSignal);
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

void WorkRecovery::HandleSignal() {
  char bytes[16];
  while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
  }
  WriteNow();
  QCoreApplication::quit();
}

void WorkRecovery::NoteChange() {
  pending_ = true;
  if (!timer_.isActive()) timer_.start();
}

void WorkRecovery::Write() {
  timer_.stop();
  if (!pending_ && keeper_->IsModified()) return;
  pending_ = false;
  const QString base = FileBase(QCoreApplication::applicationPid());
  if (!keeper_->IsModified()) {
    // Everything is in the analysis file (just opened or saved): nothing to keep, and an earlier
    // run's work is not replaced.
    if (wroteOnce_) writer_.start([base] { RemoveBase(base); });
    return;
  }
  // The state is taken here; turning it into JSON and writing it, with the wait for the disk,
  // happen on the writer's thread, in the order of the changes.
  QStringList replaced;
  if (!wroteOnce_) {
    // This run's work replaces what earlier runs left, once it is on the disk.
    wroteOnce_ = true;
    earlier_.removeAll(base);
    replaced = earlier_;
    earlier_.clear();
    WithdrawOffer();
  }
  writer_.start([base, state = keeper_->Capture(), path = keeper_->FilePath(), replaced] {
    if (const std::optional<QString> failure =
            AnalysisKeeper::WriteStateFile(base + StateSuffix, state)) {
      qWarning("The work could not be kept in %s: %s", qUtf8Printable(base + StateSuffix),
               qUtf8Printable(*failure));
      return;
    }
    QSaveFile file(base + PathSuffix);
    if (file.open(QIODevice::WriteOnly)) {
      file.write(path.toUtf8());
      file.commit();
    }
    for (const QString& earlier : replaced) RemoveBase(earlier);
  });
}

void WorkRecovery::WriteNow() {
  Write();
  writer_.waitForDone();
}

void WorkRecovery::FindEarlierWork() {
  if (wroteOnce_) return;
  struct Found {
    QString base;
    QDateTime written;
  };
  std::vector<Found> found;
  const QDir folder(AnalysisKeeper::StateFolder());
  static const QRegularExpression name(QStringLiteral("^recovery-(\\d+)\\.(quillon|path)$"));
  for (const QFileInfo& entry : folder.entryInfoList({QStringLiteral("recovery-*")}, QDir::Files)) {
    const QRegularExpressionMatch match = name.match(entry.fileName());
    if (!match.hasMatch() || IsRunning(match.captured(1).toLongLong())) continue;
    const QString base = entry.path() + QStringLiteral("/recovery-") + match.captured(1);
    if (match.captured(2) == PathSuffix.mid(1)) {
      if (!QFile::exists(base + StateSuffix)) QFile::remove(entry.filePath());  // no work beside it
      continue;
    }
    found.push_back({base, entry.lastModified()});
  }
  std::sort(found.begin(), found.end(),
            [](const Found& a, const Found& b) { return a.written > b.written; });

  for (const Found& each : found) {
    const auto read = AnalysisKeeper::ReadStateFile(each.base + StateSuffix);
    const AnalysisState* state = std::get_if<AnalysisState>(&read);
    const QString path = ReadPath(each.base);
    bool worthOffering = state != nullptr && *state != AnalysisState{};
    if (worthOffering && !path.isEmpty()) {
      const auto saved = AnalysisKeeper::ReadStateFile(path);
      const AnalysisState* savedState = std::get_if<AnalysisState>(&saved);
      worthOffering = savedState == nullptr || *savedState != *state;
    }
    if (!worthOffering) {
      RemoveBase(each.base);
      continue;
    }
    earlier_.append(each.base);
    if (!recovered_) recovered_ = Recovered{*state, path, each.written};
  }
  if (recovered_) ShowOffer();
}

void WorkRecovery::ShowOffer() {
  if (window_ == nullptr) return;
  if (auto* action = window_->findChild<QAction*>(QStringLiteral("mnuRestoreWork"))) {
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, &WorkRecovery::RestoreWork, Qt::UniqueConnection);
  }
  const QString when = QLocale(QLocale::Chinese, QLocale::China)
                           .toString(recovered_->written, QStringLiteral("M月d日 HH:mm"));
  const QString file = recovered_->filePath.isEmpty()
                           ? QString()
                           : QStringLiteral("“%1”").arg(QFileInfo(recovered_->filePath).fileName());
  const QString text = QStringLiteral("上次的工作%1没有保存（%2）。是否恢复？").arg(file, when);

  auto* dialog = new QDialog(window_);
  dialog->setObjectName(QStringLiteral("dlgRestoreWork"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setModal(false);
  dialog->setWindowTitle(QStringLiteral("恢复上次的工作"));
  dialog->setAccessibleName(QStringLiteral("恢复上次的工作"));
  dialog->setAccessibleDescription(text);
  auto* label = new QLabel(text, dialog);
  label->setObjectName(QStringLiteral("lblRestoreWork"));
  auto* restore = new QPushButton(QStringLiteral("恢复"), dialog);
  restore->setObjectName(QStringLiteral("btnRestoreWork"));
  restore->setAccessibleName(QStringLiteral("恢复上次的工作"));
  restore->setDefault(true);
  auto* discard = new QPushButton(QStringLiteral("放弃"), dialog);
  discard->setObjectName(QStringLiteral("btnDiscardWork"));
  discard->setAccessibleName(QStringLiteral("放弃上次的工作"));
  connect(restore, &QPushButton::clicked, this, &WorkRecovery::RestoreWork);
  connect(discard, &QPushButton::clicked, this, &WorkRecovery::DiscardWork);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(restore);
  buttons->addWidget(discard);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(label);
  layout->addLayout(buttons);
  // Closed without an answer (Esc, the close box), the work stays on offer in the menu.
  offer_ = dialog;
  dialog->show();
}

void WorkRecovery::WithdrawOffer() {
  recovered_.reset();
  if (offer_ != nullptr) offer_->close();
  if (window_ == nullptr) return;
  if (auto* action = window_->findChild<QAction*>(QStringLiteral("mnuRestoreWork"))) {
    action->setEnabled(false);
  }
}

void WorkRecovery::RestoreWork() {
  if (!recovered_) return;
  const Recovered work = std::move(*recovered_);
  WithdrawOffer();
  keeper_->Restore(work.state, work.filePath, /*modified=*/true);
  // Kept as this run's work at once; only then do the earlier files go.
  pending_ = true;
  Write();
}

void WorkRecovery::DiscardWork() {
  WithdrawOffer();
  for (const QString& base : std::as_const(earlier_)) RemoveBase(base);
  earlier_.clear();
}

}  // namespace quillon::ui
