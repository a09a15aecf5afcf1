#pragma once
// A picture of the report on screen: a widget that shows one picture of plots/, takes the
// picture's name as its object name and repaints when the picture's data change.

#include <QWidget>
#include <memory>

#include "plots/plot_canvas.h"

namespace quillon::ui {

// Asks where to save a picture: a PNG or an SVG file; empty when the user cancels.
QString AskPicturePath(QWidget* parent);

class PictureView : public QWidget {
  Q_OBJECT
 public:
  PictureView(std::unique_ptr<plots::PlotCanvas> picture, QWidget* parent);

  plots::PlotCanvas& Picture() const { return *picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  std::unique_ptr<plots::PlotCanvas> picture_;
};

}  // namespace quillon::ui
