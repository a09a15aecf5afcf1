// What the program reads from the platform at start-up.

#include "app/application.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

TEST(StartUp, TempDirectoryIsThePlatformsWithItsTrailingSeparator) {
  const QString directory = quillon::ui::TempDirectory();
  ASSERT_FALSE(directory.isEmpty());
  EXPECT_TRUE(directory.endsWith(QDir::separator()));
  EXPECT_TRUE(QFileInfo(directory).isDir());
  EXPECT_EQ(QDir(directory).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
}

TEST(StartUp, RemovesOnlyTheSettingsFoldersOfRunsThatAreGone) {
  const QTemporaryDir temp;
  QProcess ended;  // its process id is free once it has been waited for
  ended.start(QStringLiteral("true"));
  ASSERT_TRUE(ended.waitForStarted());
  const qint64 gone = ended.processId();
  ASSERT_TRUE(ended.waitForFinished());
  const QString stale = QStringLiteral("quillon-settings-%1-aB3dE9").arg(gone);
  const QString running =
      QStringLiteral("quillon-settings-%1-Xy12Zq").arg(QCoreApplication::applicationPid());
  const QString unnumbered = QStringLiteral("quillon-settings-123456");  // an older run's name
  QDir folder(temp.path());
  for (const QString& name : {stale, running, unnumbered}) ASSERT_TRUE(folder.mkdir(name));
  QFile left(folder.filePath(stale + QStringLiteral("/QtProject.conf")));
  ASSERT_TRUE(left.open(QIODevice::WriteOnly));
  left.close();

  quillon::ui::RemoveStaleSettingsFolders(temp.path());
  EXPECT_FALSE(folder.exists(stale));
  EXPECT_TRUE(folder.exists(running));
  EXPECT_TRUE(folder.exists(unnumbered));
  // This run's own folder, made at start-up, carries its process id.
  const QString own =
      QStringLiteral("quillon-settings-%1-*").arg(QCoreApplication::applicationPid());
  EXPECT_EQ(QDir(QDir::tempPath()).entryList({own}, QDir::Dirs).size(), 1);
}
