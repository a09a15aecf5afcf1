#include "app/text_boxes.h"

#include <QLineEdit>

#include "stats/number_text.h"

namespace quillon::ui {

void NormaliseFullStops(QLineEdit* box) {
  const QString normalised = FromUtf8(ReplaceFullStops(ToUtf8(box->text())));
  if (normalised != box->text()) box->setText(normalised);
}

void PutCaretAtEnd(QLineEdit* box) { box->setCursorPosition(static_cast<int>(box->text().size())); }

void FocusAtEnd(QLineEdit* box) {
  PutCaretAtEnd(box);
  box->setFocus(Qt::OtherFocusReason);
}

}  // namespace quillon::ui
