// Quillon: the statistics assistant's entry point.

#include <QApplication>
#include <QDir>
#include <QPointer>

#include "app/analysis_keeper.h"
#include "app/application.h"
#include "app/command_line.h"
#include "app/first_paint.h"
#include "app/main_window.h"
#include "app/work_recovery.h"

int main(int argc, char* argv[]) {
  // --version and --help are answered without a window system.
  if (quillon::ui::AnswerOwnCommandLine(argc, argv)) return 0;

  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("com.example.Quillon"));
  quillon::ui::KeepSettingsForThisRunOnly(app);
  quillon::ui::InstallChineseInterface(app);
  quillon::ui::TempDirectory();

  QPointer<quillon::ui::MainWindow> window = new quillon::ui::MainWindow();
  // The work is kept for the next start, whatever ends this run (the window's own tests make
  // windows without it).
  quillon::ui::AnalysisKeeper* keeper = window->Keeper();
  new quillon::ui::WorkRecovery(keeper, window);
  // A file named on the command line (or by the desktop) opens once the window is on the
  // screen; one that cannot be read is told in a message box over it.
  if (const QString file = quillon::ui::FileToOpen(QCoreApplication::arguments());
      !file.isEmpty()) {
    quillon::ui::AfterFirstPaint::Run(window, [keeper, file] { keeper->Open(file); });
  }
  // What the first window does not need waits until it is on the screen.
  quillon::ui::AfterFirstPaint::Run(
      window, [] { quillon::ui::RemoveStaleSettingsFolders(QDir::tempPath()); });
  quillon::ui::AfterFirstPaint::ExitIfAsked(window);
  window->show();
  const int status = QApplication::exec();
  delete window;  // still here when "退出" ended the program
  return status;
}
