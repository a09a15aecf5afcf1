// One QApplication for all window tests; the windows are drawn offscreen unless the caller
// chose a platform (for instance under Xvfb).

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "app/application.h"

int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A user configuration folder of the tests' own, empty at the start: a test can tell whether
  // anything was written there, and the developer's own is never touched.
  const QTemporaryDir userConfig;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(userConfig.path()));
  // Likewise the state folder (recent analyses, the recovery of unsaved work).
  const QTemporaryDir userState;
  qputenv("XDG_STATE_HOME", QFile::encodeName(userState.path()));
  QApplication app(argc, argv);
  quillon::ui::KeepSettingsForThisRunOnly(app);
  quillon::ui::InstallChineseInterface(app);
  return RUN_ALL_TESTS();
}
