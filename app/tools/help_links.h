#pragma once
// The program's help: the vendor's web pages and the tutorial that the program carries, written
// out as one self-contained HTML page and opened with the desktop's viewer.

#include <QByteArray>
#include <QString>

#include "app/application.h"

class QWidget;

namespace quillon::ui {

// Asks the desktop to open a web address in the user's browser.
void OpenWebPage(const QString& address);

// The tutorial as one HTML page with its illustrations inlined; the same bytes at every call.
QByteArray TutorialPage();

// The tutorial's file name in a directory that ends with a separator ("qlstat.html").
QString TutorialPath(const QString& directory = TempDirectory());

// Writes the tutorial to path: into a new file of its own beside it, then renamed onto path, so
// that whatever path named before (a file, or a link someone planted there) is replaced and
// never written through. The reason in Chinese when it cannot be written, empty on success.
QString WriteTutorial(const QString& path);

// Writes the tutorial into directory and opens it; when the file cannot be written, says so in
// a message box owned by owner and opens nothing.
void WriteAndOpenTutorial(QWidget* owner, const QString& directory = TempDirectory());

}  // namespace quillon::ui
