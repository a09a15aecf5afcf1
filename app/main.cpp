// Quillon: the statistics assistant's entry point.

#include <QApplication>
#include <QPointer>

#include "app/application.h"
#include "app/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  quillon::ui::InstallChineseInterface(app);
  quillon::ui::TempDirectory();

  QPointer<quillon::ui::MainWindow> window = new quillon::ui::MainWindow();
  window->show();
  const int status = QApplication::exec();
  delete window;  // still here when "退出" ended the program
  return status;
}
