#pragma once
// The one crossing between Qt's strings and the core's: the core holds text as UTF-8 in
// std::string.

#include <QString>
#include <string>
#include <string_view>

namespace quillon::ui {

inline std::string ToUtf8(const QString& text) { return text.toStdString(); }
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quillon::ui
