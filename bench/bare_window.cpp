// The yardstick of the start-up benchmark: a bare Qt window of the main window's size with a
// menu bar and about 150 plain widgets (frames, buttons, captions, entry boxes) with short
// Chinese captions, no resources, no translations, no fonts of its own. Run with
// QUILLON_EXIT_AFTER_FIRST_PAINT set, it quits once it has been painted, as the program does.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

#include "app/first_paint.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("空白窗口"));
  for (const QString& title : {QStringLiteral("文件(F)"), QStringLiteral("帮助(H)")}) {
    QMenu* menu = window.menuBar()->addMenu(title);
    for (int item = 0; item < 5; ++item) menu->addAction(QStringLiteral("菜单项%1").arg(item));
  }

  auto* client = new QWidget(&window);
  client->setFixedSize(549, 429);  // the main window's client area
  window.setCentralWidget(client);
  // Four frames of 36 widgets each: a button, then 17 rows of a caption and an entry box.
  for (int frame = 0; frame < 4; ++frame) {
    auto* box = new QGroupBox(QStringLiteral("第%1栏").arg(frame + 1), client);
    box->setGeometry(4 + frame * 136, 4, 132, 420);
    auto* button = new QPushButton(QStringLiteral("计算"), box);
    button->setGeometry(6, 18, 120, 24);
    for (int row = 0; row < 17; ++row) {
      const int top = 46 + row * 22;
      auto* caption = new QLabel(QStringLiteral("均数%1").arg(row), box);
      caption->move(6, top + 3);
      auto* edit = new QLineEdit(box);
      edit->setGeometry(50, top, 74, 20);
      if (row % 2 == 0) edit->setText(QStringLiteral("12.5"));
    }
  }
  window.setFixedSize(549, 429 + window.menuBar()->sizeHint().height());

  quillon::ui::AfterFirstPaint::ExitIfAsked(&window);
  window.show();
  return QApplication::exec();
}
