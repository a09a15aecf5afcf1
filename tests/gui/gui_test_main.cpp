// One QApplication for all window tests; the windows are drawn offscreen unless the caller
// chose a platform (for instance under Xvfb).

#include <gtest/gtest.h>

#include <QApplication>

#include "app/application.h"

int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quillon::ui::InstallChineseInterface(app);
  return RUN_ALL_TESTS();
}
