#include "app/widgets/text_boxes.h"

#include <QLineEdit>

#include "stats/number_text.h"

namespace quillon::ui {

QString AsciiNumberText(const QString& text, FullStops fullStops) {
  const std::string ascii = ReplaceFullWidthDigits(ToUtf8(text));
  return FromUtf8(fullStops == FullStops::Replace ? ReplaceFullStops(ascii) : ascii);
}

void NormaliseNumberInput(QLineEdit* box, FullStops fullStops) {
  const QString normalised = AsciiNumberText(box->text(), fullStops);
  if (normalised != box->text()) box->setText(normalised);
}

void PutCaretAtEnd(QLineEdit* box) { box->setCursorPosition(static_cast<int>(box->text().size())); }

void FocusAtEnd(QLineEdit* box) {
  PutCaretAtEnd(box);
  box->setFocus(Qt::OtherFocusReason);
}

}  // namespace quillon::ui
