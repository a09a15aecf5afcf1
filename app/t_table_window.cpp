#include "app/t_table_window.h"

#include <QIcon>

#include "app/application.h"
#include "app/form_layout.h"

namespace quillon::ui {

TTableWindow::TTableWindow()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("t界值表"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/ttable.png")));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(Px(6540), Px(5805));
}

void TTableWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
  }
}

}  // namespace quillon::ui
