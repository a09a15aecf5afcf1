// Group files on disk: the code page, the byte order mark, files that are not text, and writes
// that fail.

#include "app/files/group_file_io.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "scratch_folder.h"

namespace quillon::ui {
namespace {

using Lines = std::vector<std::string>;

class GroupFileIo : public ::testing::Test {
 protected:
  ScratchFolder folder;
};

TEST_F(GroupFileIo, ReadsGbkAndUtf8AfterItsByteOrderMark) {
  // "中" is D6 D0 in GBK; the same bytes read as UTF-8 would be two broken characters.
  const GroupFileRead gbk = ReadGroupFile(folder.Write("gbk.txt",
                                                       "1.5\r\n\xD6\xD0"
                                                       "3\r\n"),
                                          100);
  EXPECT_EQ(gbk.outcome, GroupFileRead::Outcome::Read);
  EXPECT_EQ(gbk.lines, (Lines{"1.5", "中3"}));

  const GroupFileRead utf8 = ReadGroupFile(folder.Write("utf8.txt",
                                                        "\xEF\xBB\xBF"
                                                        "12.5\r\n中\r\n"),
                                           100);
  EXPECT_EQ(utf8.lines, (Lines{"12.5", "中"}));
  // Lines ended by LF alone, as R, macOS and Linux write them.
  EXPECT_EQ(ReadGroupFile(folder.Write("lf.txt", "1.5\n\xD6\xD0\n7\n"), 100).lines,
            (Lines{"1.5", "中", "7"}));
}

TEST_F(GroupFileIo, BytesThatAreNotTextStayInTheirLines) {
  // A NUL, a byte that starts no GBK character, and a lead byte cut off by the line end: each
  // gives a character of its own line, and the next line is read whole.
  const QByteArray bytes(
      "1\0"
      "2\r\n\xFF\r\n12\x81\r\n7",
      14);
  const GroupFileRead read = ReadGroupFile(folder.Write("binary.txt", bytes), 100);
  ASSERT_EQ(read.outcome, GroupFileRead::Outcome::Read);
  ASSERT_EQ(read.lines.size(), 4U);
  EXPECT_EQ(read.lines[0], std::string("1\0"
                                       "2",
                                       3));
  EXPECT_FALSE(read.lines[1].empty());
  EXPECT_FALSE(EntryValue(read.lines[2])) << read.lines[2];
  EXPECT_EQ(read.lines[3], "7");
}

TEST_F(GroupFileIo, OpensOnlyPlainFiles) {
  EXPECT_EQ(ReadGroupFile(folder.Path("missing.txt"), 100).outcome,
            GroupFileRead::Outcome::NotOpened);
  ASSERT_TRUE(QDir(folder.FolderPath()).mkdir(QStringLiteral("folder.txt")));
  EXPECT_EQ(ReadGroupFile(folder.Path("folder.txt"), 100).outcome,
            GroupFileRead::Outcome::NotOpened);
  EXPECT_EQ(ReadGroupFile(QStringLiteral("/dev/zero"), 100).outcome,
            GroupFileRead::Outcome::NotOpened);
}

TEST_F(GroupFileIo, WritesGbkWithCrLf) {
  SampleLists lists;
  lists.Reset(0);
  for (const char* entry : {"1.5", "中", "", "3"}) lists.Append(Group::Second, entry);
  ASSERT_EQ(WriteGroupFile(folder.Path("out.txt"), lists, Group::Second), std::nullopt);
  EXPECT_EQ(folder.Contents("out.txt"), QByteArray("1.5\r\n\xD6\xD0\r\n\r\n3\r\n\r\n"));
  ASSERT_EQ(WriteGroupFile(folder.Path("out.txt"), lists, Group::First), std::nullopt);
  EXPECT_EQ(folder.Contents("out.txt"), QByteArray("\r\n"));
}

TEST_F(GroupFileIo, AFailedWriteLeavesNothingBehind) {
  SampleLists lists;
  lists.Reset(9);
  EXPECT_TRUE(WriteGroupFile(folder.Path("no/such/folder/out.txt"), lists, Group::First)
                  ->startsWith(QStringLiteral("文件夹不存在（")));
  // The file cannot take the place of a folder of that name: the folder stays, and no half
  // written file is left beside it.
  ASSERT_TRUE(QDir(folder.FolderPath()).mkdir(QStringLiteral("taken.txt")));
  EXPECT_TRUE(WriteGroupFile(folder.Path("taken.txt"), lists, Group::First)
                  .value_or(QString())
                  .startsWith(QStringLiteral("已有同名的文件夹")));
  EXPECT_TRUE(QFileInfo(folder.Path("taken.txt")).isDir());
  EXPECT_EQ(QDir(folder.FolderPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("taken.txt")});
}

}  // namespace
}  // namespace quillon::ui
