#pragma once
// What the entry boxes of the window share: the core's UTF-8 texts, the full stop typed through
// a Chinese input method, and the caret.

#include <QString>
#include <string>
#include <string_view>

class QLineEdit;

namespace quillon::ui {

inline std::string ToUtf8(const QString& text) { return text.toStdString(); }
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Replaces every "。" in the box by "." (a real change runs the box's change handling again,
// nested).
void NormaliseFullStops(QLineEdit* box);

// The caret after the last character.
void PutCaretAtEnd(QLineEdit* box);
// The caret after the last character, and the focus in the box.
void FocusAtEnd(QLineEdit* box);

}  // namespace quillon::ui
