// Importing and exporting the groups from the menu and the toolbar, with the dialogs answered
// by the test.

#include <QAction>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QToolButton>

#include "app/analyses/sample_grid.h"
#include "app/files/group_files.h"
#include "entry/grid_rows.h"
#include "scratch_folder.h"
#include "window_fixture.h"

namespace {

using quillon::Group;
using quillon::ui::GroupFiles;

class GroupFilesWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    GroupFiles::Dialogs dialogs;
    dialogs.choosePathToOpen = [this](QWidget* owner) { return Chosen(owner); };
    dialogs.choosePathToSave = [this](QWidget* owner) { return Chosen(owner); };
    dialogs.confirmReplace = [this](QWidget* owner, const QString& path) {
      EXPECT_EQ(owner, window.data());
      questions << path;
      return replace;
    };
    dialogs.tell = [this](QWidget* owner, const QString& message) {
      EXPECT_EQ(owner, window.data());
      told << message;
    };
    window->Files()->SetDialogs(std::move(dialogs));
  }

  QString Chosen(QWidget* owner) {
    EXPECT_EQ(owner, window.data());
    return choice;
  }
  QString Path(const QString& name) const { return folder.Path(name); }
  QString WriteFile(const QString& name, const QByteArray& bytes) const {
    return folder.Write(name, bytes);
  }
  QByteArray Contents(const QString& name) const { return folder.Contents(name); }
  static QByteArray Lines(int count) {
    QByteArray bytes;
    for (int line = 1; line <= count; ++line) bytes += QByteArray::number(line) + "\r\n";
    return bytes;
  }

  // The four operations as the user reaches them.
  void Shortcut(Qt::Key key) { QTest::keyClick(window, key, Qt::ControlModifier); }
  void ToolbarItem(const char* button, const QString& key) {
    for (QAction* item : Control<QToolButton>(QString::fromLatin1(button))->menu()->actions()) {
      if (item->objectName() == key) item->trigger();
    }
  }
  void Import(Group group, const QString& path) {
    choice = path;
    Shortcut(group == Group::First ? Qt::Key_G : Qt::Key_F);
  }

  // Drops local files on a widget at a point of it, as a file manager's drag ends.
  static void DropFiles(QWidget* target, const QStringList& paths, QPoint at = QPoint(5, 5)) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    data.setText(urls.front().toString());  // file managers offer the address as text too
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();  // the import follows the drop
  }

  QLineEdit* Cell(const char* column, int box) const {
    return Box(QStringLiteral("%1(%2)").arg(QString::fromLatin1(column)).arg(box));
  }
  QStringList Column(const char* column) const {
    QStringList texts;
    for (int box = 0; box < 9; ++box) texts << Cell(column, box)->text();
    return texts;
  }
  std::vector<std::string> Entries(Group group) const {
    const quillon::SampleLists& lists = window->Grid()->Lists();
    std::vector<std::string> entries;
    for (std::size_t row = 0; row < lists.Size(group); ++row) {
      entries.push_back(lists.Text(group, row));
    }
    return entries;
  }
  QStringList Summaries() const {
    QStringList texts;
    for (int box = 0; box < 6; ++box) texts << Box(QStringLiteral("Text4(%1)").arg(box))->text();
    return texts;
  }
  QScrollBar* ScrollBar() const { return Control<QScrollBar>("VS1"); }

  ScratchFolder folder;
  QString choice;
  bool replace = true;
  QStringList questions;
  QStringList told;
};

TEST_F(GroupFilesWindowTest, UntouchedGridExportsTenLineEnds) {
  choice = Path("empty");
  Shortcut(Qt::Key_I);
  EXPECT_EQ(Contents("empty.txt"), QByteArray("\r\n").repeated(10));
  EXPECT_EQ(window->Files()->LastPath(), Path("empty"));
  EXPECT_TRUE(told.isEmpty());
}

TEST_F(GroupFilesWindowTest, ExportThenImportGivesTheSameResults) {
  Import(Group::First, WriteFile("typed.txt", "1.5\r\n2\r\n\r\n3"));
  Type(Cell("Text2", 0), "4");
  Type(Cell("Text2", 1), "7");
  const QStringList before = Summaries();
  EXPECT_EQ(before, (QStringList{"2.1667", "0.7638", "3", "5.5000", "2.1213", "2"}));

  // A chosen name that ends in ".txt" gets no second one.
  choice = Path("group1.txt");
  ToolbarItem("tbExport", QStringLiteral("导出1"));
  EXPECT_EQ(Contents("group1.txt"), QByteArray("1.5\r\n2\r\n\r\n3\r\n\r\n"));
  EXPECT_EQ(Contents("group1.txt.txt"), QByteArray("(missing)"));

  choice = Path("group2");
  ToolbarItem("tbExport", QStringLiteral("导出2"));
  EXPECT_EQ(Contents("group2.txt"), QByteArray("4\r\n7\r\n") + QByteArray("\r\n").repeated(8));

  choice = Path("group1.txt");
  ToolbarItem("tbImport", QStringLiteral("导入1"));
  EXPECT_EQ(Entries(Group::First), (std::vector<std::string>{"1.5", "2", "", "3", ""}));
  EXPECT_EQ(Summaries(), before);
  EXPECT_TRUE(told.isEmpty());
}

TEST_F(GroupFilesWindowTest, ScrollRangeFollowsTheLongerGroup) {
  // Three lines into group 1 while group 2 has its nine rows: the range stays.
  Import(Group::First, WriteFile("three.txt", "5\r\n6\r\n7"));
  EXPECT_EQ(Column("Text1"), (QStringList{"5", "6", "7", "", "", "", "", "", ""}));
  EXPECT_EQ(ScrollBar()->maximum(), 0);
  EXPECT_FALSE(ScrollBar()->isEnabled());

  // Twenty lines into group 2: the view ranges over them; the row numbers wait for a scroll.
  Import(Group::Second, WriteFile("twenty.txt", Lines(20)));
  EXPECT_EQ(Entries(Group::Second).size(), 20U);
  EXPECT_EQ(ScrollBar()->maximum(), 11);
  EXPECT_TRUE(ScrollBar()->isEnabled());
  EXPECT_EQ(Column("Text2"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_EQ(Column("Text3"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_EQ(Summaries().mid(3), (QStringList{"10.5000", "5.9161", "20"}));
}

TEST_F(GroupFilesWindowTest, ImportWhileScrolledStartsAtTheTop) {
  Import(Group::First, WriteFile("twenty.txt", Lines(20)));
  Import(Group::Second, Path("twenty.txt"));
  ScrollBar()->setValue(6);
  Import(Group::First, WriteFile("three.txt", "5\r\n6\r\n7"));
  EXPECT_EQ(ScrollBar()->value(), 0);
  EXPECT_EQ(Column("Text3").first(), "1");
  EXPECT_EQ(Entries(Group::First), (std::vector<std::string>{"5", "6", "7"}));
  std::vector<std::string> second;
  for (int line = 1; line <= 20; ++line) second.push_back(std::to_string(line));
  EXPECT_EQ(Entries(Group::Second), second);
  EXPECT_EQ(Column("Text2"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(GroupFilesWindowTest, RefusedOrFailedImportChangesNothingAndSaysWhy) {
  Type(Cell("Text1", 0), "8");
  Type(Cell("Text1", 1), "9");
  const std::vector<std::string> entries = Entries(Group::First);
  const QStringList summaries = Summaries();
  auto unchanged = [&] {
    EXPECT_EQ(Entries(Group::First), entries);
    EXPECT_EQ(Column("Text1").mid(0, 2), (QStringList{"8", "9"}));
    EXPECT_EQ(Summaries(), summaries);
  };

  choice.clear();  // cancelled
  Shortcut(Qt::Key_G);
  unchanged();
  EXPECT_TRUE(told.isEmpty());

  WriteFile("data.csv", "1\r\n2");
  WriteFile("DATA.TXT", "1\r\n2");
  for (const QString& refused : {Path("data.csv"), Path("DATA.TXT")}) {
    Import(Group::First, refused);
    unchanged();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.takeFirst().contains(QStringLiteral(".txt")));
  }

  // Spaces around the chosen path are not part of it.
  Import(Group::First, QStringLiteral("  %1  ").arg(Path("missing.txt")));
  unchanged();
  EXPECT_EQ(window->Files()->LastPath(), Path("missing.txt"));
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told.takeFirst().startsWith(QStringLiteral("无法打开文件")));
}

TEST_F(GroupFilesWindowTest, DroppedFileImportsAsTheMenuDoes) {
  const QString path = WriteFile("drop.txt", "4\r\n全角１２\r\n\r\n7.5\r\n" + Lines(12));
  Import(Group::Second, path);
  const std::vector<std::string> imported = Entries(Group::Second);
  const QStringList summaries = Summaries();
  Type(Cell("Text2", 0), "99");

  DropFiles(Cell("Text2", 4), {path});
  EXPECT_EQ(Entries(Group::Second), imported);
  EXPECT_EQ(Summaries(), summaries);
  EXPECT_EQ(Cell("Text2", 4)->text(), "1");  // the box shows its row, not the file's address
  EXPECT_TRUE(told.isEmpty());

  // The column's area of the grid's panel takes a file for its group too.
  const QRect box = Cell("Text1", 3)->geometry();  // between its row and the next
  DropFiles(Control<QWidget>("Picture2"), {path}, QPoint(box.center().x(), box.bottom() + 2));
  EXPECT_EQ(Entries(Group::First), imported);
  EXPECT_TRUE(told.isEmpty());
}

TEST_F(GroupFilesWindowTest, DroppingSeveralFilesAFolderOrAnotherTypeIsRefused) {
  Type(Cell("Text1", 0), "8");
  const std::vector<std::string> entries = Entries(Group::First);
  const QString one = WriteFile("one.txt", "1");
  const QString two = WriteFile("two.txt", "2");
  // (A .csv is the whole window's: two columns for both groups.)
  const QString csv = WriteFile("data.dat", "3");
  DropFiles(Cell("Text1", 2), {one, two});
  DropFiles(Cell("Text1", 2), {folder.FolderPath()});
  DropFiles(Cell("Text1", 2), {csv});
  EXPECT_EQ(Entries(Group::First), entries);
  ASSERT_EQ(told.size(), 3);
  EXPECT_TRUE(told[0].contains(QStringLiteral("一个文件")));
  EXPECT_TRUE(told[1].contains(QStringLiteral("文件夹")));
  EXPECT_TRUE(told[2].startsWith(QStringLiteral("只能导入扩展名为“.txt”的文本文件")));
}

TEST_F(GroupFilesWindowTest, ExportConfirmsReplacingAndReportsFailure) {
  Type(Cell("Text1", 0), "3");
  WriteFile("old.txt", "kept");
  replace = false;
  choice = Path("old");
  Shortcut(Qt::Key_I);
  EXPECT_EQ(questions, QStringList{Path("old.txt")});
  EXPECT_EQ(Contents("old.txt"), "kept");

  replace = true;
  Shortcut(Qt::Key_I);
  EXPECT_EQ(Contents("old.txt"), QByteArray("3\r\n") + QByteArray("\r\n").repeated(9));
  EXPECT_TRUE(told.isEmpty());

  choice = Path("no folder/out");
  Shortcut(Qt::Key_L);
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told.first().startsWith(QStringLiteral("无法写入文件")));
  EXPECT_TRUE(told.first().contains(QStringLiteral("文件夹不存在"))) << told.first().toStdString();
  EXPECT_TRUE(told.first().contains(QStringLiteral("第二组")));
}

TEST_F(GroupFilesWindowTest, LinesPastTheGridsBoundAreLeftOutAndCounted) {
  Import(Group::Second, WriteFile("long.txt", Lines(static_cast<int>(quillon::kMaxGridRows) + 5)));
  EXPECT_EQ(Entries(Group::Second).size(), quillon::kMaxGridRows);
  EXPECT_EQ(Entries(Group::Second).back(), std::to_string(quillon::kMaxGridRows));
  EXPECT_EQ(ScrollBar()->maximum(), quillon::kMaxRowOffset);
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told.first().contains(QStringLiteral("其余 5 行未导入")))
      << told.first().toStdString();
}

TEST_F(GroupFilesWindowTest, FilesThatAreNotPlainGbkText) {
  // After a UTF-8 byte order mark the first value is read whole.
  Import(Group::First, WriteFile("utf8.txt",
                                 "\xEF\xBB\xBF"
                                 "12.5\r\n3.5"));
  EXPECT_EQ(Summaries().mid(0, 3), (QStringList{"8.0000", "6.3640", "2"}));

  // NUL bytes and bytes GBK does not know are entries that are not numbers.
  Import(Group::First, WriteFile("binary.txt", QByteArray("5\r\n\0\0\r\n\xFF\xFE\r\n7", 13)));
  EXPECT_EQ(Entries(Group::First).size(), 4U);
  EXPECT_EQ(Summaries().mid(0, 3), (QStringList{"6.0000", "1.4142", "2"}));

  // One very long line is one entry.
  Import(Group::First, WriteFile("long line.txt", QByteArray(4'000'000, '7')));
  EXPECT_EQ(Entries(Group::First).size(), 1U);
  EXPECT_TRUE(told.isEmpty());
}

TEST_F(GroupFilesWindowTest, DialogsAreQtsOwnInChineseOwnedByTheWindow) {
  window->Files()->SetDialogs(GroupFiles::StandardDialogs());
  struct Seen {
    QString title, folder, fileName;
    QStringList filters, buttons;
    QWidget* owner = nullptr;
    bool qtsOwn = false, save = false, asksToReplace = true;
  };
  // Looks at the dialog once it is up, then cancels it.
  auto look = [](Seen* seen) {
    QTimer::singleShot(0, [seen] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      seen->title = dialog->windowTitle();
      seen->folder = dialog->directory().absolutePath();
      seen->fileName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
      seen->filters = dialog->nameFilters();
      for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons()) {
        seen->buttons << button->text();
      }
      seen->owner = dialog->parentWidget();
      seen->qtsOwn = dialog->testOption(QFileDialog::DontUseNativeDialog);
      seen->save = dialog->acceptMode() == QFileDialog::AcceptSave;
      seen->asksToReplace = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      dialog->reject();
    });
  };
  const QString programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath();

  Seen open;
  look(&open);
  window->ImportGroup1();
  EXPECT_EQ(open.title, QStringLiteral("打开"));
  EXPECT_FALSE(open.save);
  Seen save;
  look(&save);
  window->ExportGroup2();
  EXPECT_EQ(save.title, QStringLiteral("另存为"));
  EXPECT_TRUE(save.save);
  // The question about replacing comes after ".txt" is appended, from the export itself.
  EXPECT_FALSE(save.asksToReplace);

  for (const Seen& seen : {open, save}) {
    EXPECT_EQ(seen.owner, window.data());
    EXPECT_TRUE(seen.qtsOwn);
    EXPECT_EQ(seen.folder, programFolder);
    EXPECT_EQ(seen.fileName, "");
    EXPECT_EQ(seen.filters, QStringList{"*.txt"});
    EXPECT_TRUE(seen.buttons.contains(QStringLiteral("取消")))
        << seen.buttons.join(' ').toStdString();
  }
  EXPECT_EQ(window->Files()->LastPath(), "");
}

TEST_F(GroupFilesWindowTest, DialogsKeepTheirMemoryForTheRunOnly) {
  window->Files()->SetDialogs(GroupFiles::StandardDialogs());
  auto cancelOnceUp = [] {
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->reject();
    });
  };
  cancelOnceUp();
  window->ImportGroup1();
  cancelOnceUp();
  window->ExportGroup2();

  // Each dialog wrote its memory as it closed: into the run's own settings folder, none of it
  // into the user's configuration folder (the test program's own, empty at its start).
  const QString runSettings =
      QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
  EXPECT_TRUE(QSettings(runSettings, QSettings::IniFormat).contains("FileDialog/lastVisited"))
      << runSettings.toStdString();
  const QDir userConfig(qEnvironmentVariable("XDG_CONFIG_HOME"));
  ASSERT_TRUE(userConfig.exists());
  EXPECT_FALSE(runSettings.startsWith(userConfig.absolutePath())) << runSettings.toStdString();
  EXPECT_EQ(userConfig.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{});
}

TEST_F(GroupFilesWindowTest, MessagesAreMessageBoxesOwnedByTheWindow) {
  GroupFiles::Dialogs dialogs = GroupFiles::StandardDialogs();
  dialogs.choosePathToOpen = [this](QWidget*) { return choice; };
  dialogs.choosePathToSave = [this](QWidget*) { return choice; };
  window->Files()->SetDialogs(std::move(dialogs));
  // Answers the message box with its default button, after noting its text and owner.
  struct Seen {
    QString text;
    QWidget* owner = nullptr;
  };
  auto answer = [](Seen* seen) {
    QTimer::singleShot(0, [seen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen->text = box->text();
      seen->owner = box->parentWidget();
      box->defaultButton() != nullptr ? box->defaultButton()->click() : box->accept();
    });
  };

  // The text of the message box that the operation shows for the chosen path.
  auto message = [&](const QString& chosen, void (quillon::ui::MainWindow::*operation)()) {
    Seen seen;
    answer(&seen);
    choice = chosen;
    (window->*operation)();
    EXPECT_EQ(seen.owner, window.data());
    return seen.text;
  };

  EXPECT_TRUE(message(Path("data.csv"), &quillon::ui::MainWindow::ImportGroup1)
                  .contains(QStringLiteral("第一组数据未改变")));
  // Replacing is not the default answer.
  WriteFile("old.txt", "kept");
  EXPECT_TRUE(message(Path("old.txt"), &quillon::ui::MainWindow::ExportGroup1)
                  .contains(QStringLiteral("已存在")));
  EXPECT_EQ(Contents("old.txt"), "kept");
}

}  // namespace
