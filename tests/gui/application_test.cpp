// What the program reads from the platform at start-up.

#include "app/application.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

TEST(StartUp, TempDirectoryIsThePlatformsWithItsTrailingSeparator) {
  const QString directory = quillon::ui::TempDirectory();
  ASSERT_FALSE(directory.isEmpty());
  EXPECT_TRUE(directory.endsWith(QDir::separator()));
  EXPECT_TRUE(QFileInfo(directory).isDir());
  EXPECT_EQ(QDir(directory).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
}
