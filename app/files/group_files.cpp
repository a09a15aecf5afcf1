#include "app/files/group_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/files/group_file_io.h"
#include "entry/grid_rows.h"

namespace quillon::ui {

namespace {

constexpr QLatin1String Extension(".txt");

QString GroupName(Group group) {
  return group == Group::First ? QStringLiteral("第一组") : QStringLiteral("第二组");
}

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

// The dialog's path without the spaces around it.
QString WithoutSurroundingSpaces(const QString& path) {
  qsizetype begin = 0;
  qsizetype end = path.size();
  while (begin < end && path.at(begin) == QLatin1Char(' ')) ++begin;
  while (end > begin && path.at(end - 1) == QLatin1Char(' ')) --end;
  return path.mid(begin, end - begin);
}

}  // namespace

GroupFiles::Dialogs GroupFiles::StandardDialogs() {
  Dialogs dialogs;
  dialogs.choosePathToOpen = [](QWidget* owner) {
    return QFileDialog::getOpenFileName(
        owner, QStringLiteral("打开"), QCoreApplication::applicationDirPath(),
        QStringLiteral("*.txt"), nullptr, QFileDialog::DontUseNativeDialog);
  };
  // The overwrite question comes after ".txt" is appended, about the file really written.
  dialogs.choosePathToSave = [](QWidget* owner) {
    return QFileDialog::getSaveFileName(
        owner, QStringLiteral("另存为"), QCoreApplication::applicationDirPath(),
        QStringLiteral("*.txt"), nullptr,
        QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  };
  dialogs.confirmReplace = [](QWidget* owner, const QString& path) {
    return QMessageBox::question(owner, QStringLiteral("另存为"),
                                 QStringLiteral("文件“%1”已存在。\n要替换它吗？").arg(Shown(path)),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
  };
  dialogs.tell = [](QWidget* owner, const QString& message) {
    QMessageBox::warning(owner, owner->windowTitle(), message);
  };
  return dialogs;
}

GroupFiles::GroupFiles(QWidget* owner, const SampleLists& lists, ReplaceGroup replaceGroup)
    : owner_(owner),
      lists_(lists),
      replaceGroup_(std::move(replaceGroup)),
      dialogs_(StandardDialogs()) {}

QString GroupFiles::ChosenPath(const std::function<QString(QWidget*)>& choose) {
  const QString chosen = WithoutSurroundingSpaces(choose(owner_));
  if (!chosen.isEmpty()) lastPath_ = chosen;
  return chosen;
}

void GroupFiles::Import(Group group) {
  const QString path = ChosenPath(dialogs_.choosePathToOpen);
  if (path.isEmpty()) return;
  ImportPath(group, path);
}

void GroupFiles::ImportDropped(Group group, const QList<QUrl>& urls) {
  const QString unchanged = QStringLiteral("%1数据未改变。").arg(GroupName(group));
  if (urls.size() != 1) {
    Tell(QStringLiteral("一次只能拖入一个文件，这次拖入了 %1 个。\n%2")
             .arg(urls.size())
             .arg(unchanged));
    return;
  }
  const QUrl& url = urls.front();
  if (!url.isLocalFile()) {
    Tell(QStringLiteral("只能导入本机上的文件：\n%1\n%2").arg(url.toDisplayString(), unchanged));
    return;
  }
  const QString path = url.toLocalFile();
  if (QFileInfo(path).isDir()) {
    Tell(QStringLiteral("不能导入文件夹，请拖入一个扩展名为“.txt”的文本文件：\n%1\n%2")
             .arg(Shown(path), unchanged));
    return;
  }
  lastPath_ = path;
  ImportPath(group, path);
}

void GroupFiles::ImportPath(Group group, const QString& path) {
  const QString unchanged = QStringLiteral("%1数据未改变。").arg(GroupName(group));
  if (!path.endsWith(Extension, Qt::CaseSensitive)) {
    dialogs_.tell(
        owner_,
        QStringLiteral("只能导入扩展名为“.txt”的文本文件：\n%1\n%2").arg(Shown(path), unchanged));
    return;
  }

  GroupFileRead read = ReadGroupFile(path, kMaxGridRows);
  switch (read.outcome) {
    case GroupFileRead::Outcome::NotOpened:
      dialogs_.tell(owner_, QStringLiteral("无法打开文件：\n%1\n%2").arg(Shown(path), unchanged));
      return;
    case GroupFileRead::Outcome::NotRead:
      dialogs_.tell(owner_, QStringLiteral("无法读取文件：\n%1\n%2").arg(Shown(path), unchanged));
      return;
    case GroupFileRead::Outcome::Read:
      break;
  }
  replaceGroup_(group, std::move(read.lines));
  if (read.leftOut > 0) {
    dialogs_.tell(owner_,
                  QStringLiteral("文件的行数超过数据表最多可容纳的 %1 行：已导入前 %1 行，其余 %2 "
                                 "行未导入。")
                      .arg(kMaxGridRows)
                      .arg(read.leftOut));
  }
}

void GroupFiles::Export(Group group) {
  const QString chosen = ChosenPath(dialogs_.choosePathToSave);
  if (chosen.isEmpty()) return;
  const QString path = chosen.endsWith(Extension, Qt::CaseSensitive) ? chosen : chosen + Extension;
  if (QFileInfo::exists(path) && !dialogs_.confirmReplace(owner_, path)) return;
  if (const std::optional<QString> failure = WriteGroupFile(path, lists_, group)) {
    dialogs_.tell(owner_, QStringLiteral("无法写入文件：\n%1\n%2。\n%3数据未导出。")
                              .arg(Shown(path), *failure, GroupName(group)));
  }
}

}  // namespace quillon::ui
