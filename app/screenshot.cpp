// Renders the main window as the program shows it at start into the PNG file named on the
// command line.

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  quillon::ui::InstallChineseInterface(app);
  auto* window = new quillon::ui::MainWindow();
  window->show();
  int status = 1;
  QTimer::singleShot(500, [&] {
    status = window->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    QApplication::exit(status);
  });
  QApplication::exec();
  delete window;
  return status;
}
