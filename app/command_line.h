#pragma once
// The program's command line: the two questions it answers, --version and --help, in Chinese
// when the user's locale is Chinese and in English otherwise, and the file it opens
// (`quillon FILE.quillon`). Any other argument is left to Qt.

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

// The file named on the command line (the first argument that is not an option), as an absolute
// path; empty when there is none. Give it the arguments Qt has left once the application is made.
QString FileToOpen(const QStringList& arguments);

}  // namespace quillon::ui
