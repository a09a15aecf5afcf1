#pragma once
// The t critical value table window: a read-only picture of the table beside the main window.
// It has no parent widget, so it stays open when the main window is closed.

#include <QWidget>

namespace quillon::ui {

class TTableWindow : public QWidget {
  Q_OBJECT
 public:
  TTableWindow();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool centred_ = false;
};

}  // namespace quillon::ui
