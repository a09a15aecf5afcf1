#pragma once
// What the entry boxes of the window share: the core's UTF-8 texts, the full stop typed through
// a Chinese input method, and the caret.

#include <QString>
#include <string>
#include <string_view>

#include "app/widgets/utf8.h"

class QLineEdit;

namespace quillon::ui {

// Whether a box reads the full-width full stop "。" as ".".
enum class FullStops { Replace, Keep };

// A number typed through a Chinese input method in its full-width mode, in ASCII: the digits
// "０" to "９", the point "．" and the minus "－", and "。" unless the box keeps it.
QString AsciiNumberText(const QString& text, FullStops fullStops);
// The same in the box (a real change runs the box's change handling again, nested).
void NormaliseNumberInput(QLineEdit* box, FullStops fullStops);

// The caret after the last character.
void PutCaretAtEnd(QLineEdit* box);
// The caret after the last character, and the focus in the box.
void FocusAtEnd(QLineEdit* box);

}  // namespace quillon::ui
