#pragma once
// The t critical value table window: a read-only picture of the table beside the main window.
// It has no parent widget, so it stays open when the main window is closed.

#include <QWidget>
#include <vector>

#include "stats/t_table.h"

class QPainter;

namespace quillon::ui {

class TTableWindow : public QWidget {
  Q_OBJECT
 public:
  TTableWindow();

 protected:
  void showEvent(QShowEvent* event) override;
  // The picture is drawn at every paint, at the screen's own resolution.
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintBlock(QPainter& painter, int left, std::size_t firstRow, std::size_t rowCount);

  std::vector<TTableRow> rows_;
  bool centred_ = false;
};

}  // namespace quillon::ui
