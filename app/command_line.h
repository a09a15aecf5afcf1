#pragma once
// The two questions the program answers on its command line, --version and --help, in Chinese
// when the user's locale is Chinese and in English otherwise. Any other argument is left to Qt.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillon::ui {

// The text that answers `arguments` (the program's name first), ending with a line break, or
// nothing when the program should start its window.
std::optional<QString> AnswerCommandLine(const QStringList& arguments, const QLocale& locale);

// Prints the answer to the process's own command line on standard output; false when there is
// none and the window should start.
bool AnswerOwnCommandLine(int argc, char* argv[]);

}  // namespace quillon::ui
