#pragma once
// What the program sets up before its first window: the Chinese interface (fonts and Qt's own
// translation), the program icon, settings kept for the run only, and the temporary directory.

#include <QString>

class QApplication;
class QWidget;

namespace quillon::ui {

// Fonts for a Chinese interface on any machine: "宋体" maps onto an installed Song face, and the
// default font is a CJK face. Loads Qt's Simplified Chinese translation for standard dialogs.
void InstallChineseInterface(QApplication& app);
// The installed face "宋体" stands for, as the substitutions above resolve it: a face of that name
// where the machine has one, else the first installed Song face. Found once, in the list of
// installed families: asking Qt for a family it does not list makes it read the localized names
// of every font first, which would cost the first window a tenth of its start-up.
const QString& SongFace();

// Qt remembers some things of its own in the user's settings: the file dialogs write their
// recent folders, last folder and view into "QtProject.conf" when they close, and read them back
// in the next run. Points Qt's user-scope settings at a temporary folder made now, owned by the
// application object and removed with it at exit: nothing of an earlier run is read, and nothing
// is left behind. Call before the first window.
void KeepSettingsForThisRunOnly(QApplication& app);

// A run killed by a signal leaves its settings folder behind. Removes from `directory` the
// folders of such runs, those whose process is gone; a running instance's folder stays.
void RemoveStaleSettingsFolders(const QString& directory);

// The user's temporary directory, with its trailing separator; read once, on first use.
const QString& TempDirectory();

// Left = (screen width - window width) / 2, Top = (screen height - window height) / 2, with the
// outer size of the window.
void CentreOnScreen(QWidget* window);

// The vendor's pages, opened by the banner and the help menu.
inline const QString VendorHomePage = QStringLiteral("https://quillon.example.com/");
inline const QString VendorHelpPage = QStringLiteral("https://quillon.example.com/help/");

}  // namespace quillon::ui
