#include "app/report/picture_view.h"

#include <QEvent>
#include <QFileDialog>
#include <QPainter>

namespace quillon::ui {

QString AskPicturePath(QWidget* parent) {
  return QFileDialog::getSaveFileName(parent, QStringLiteral("保存图片"), QString(),
                                      QStringLiteral("PNG 图片 (*.png);;SVG 图片 (*.svg)"));
}

PictureView::PictureView(std::unique_ptr<plots::PlotCanvas> picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
  setObjectName(picture_->Name());
  setMinimumSize(plots::PlotCanvas::kMinimumSize);
  picture_->SetFont(font());
  picture_->OnChange([this] { update(); });
}

void PictureView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  picture_->Paint(painter, size(), devicePixelRatioF());
}

void PictureView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) picture_->SetFont(font());
}

}  // namespace quillon::ui
