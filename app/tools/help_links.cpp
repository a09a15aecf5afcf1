#include "app/tools/help_links.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QUrl>
#include <filesystem>
#include <system_error>

// Resources of a static library are registered by name, from the global namespace.
static void RegisterTutorialResources() { Q_INIT_RESOURCE(tutorial); }

namespace quillon::ui {

namespace {
const QString TutorialFileName = QStringLiteral("qlstat.html");

QByteArray ReadResource(const QString& name) {
  QFile file(QStringLiteral(":/tutorial/") + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An SVG drawing ready to stand inside HTML: without its XML declaration.
QByteArray InlineSvg(const QString& name) {
  QByteArray svg = ReadResource(name);
  if (svg.startsWith("<?xml")) svg.remove(0, svg.indexOf('\n') + 1);
  return svg.trimmed();
}
}  // namespace

void OpenWebPage(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

QByteArray TutorialPage() {
  static const bool registered = (RegisterTutorialResources(), true);
  Q_UNUSED(registered);
  // Each "<!--figure:name.svg-->" of the page becomes the drawing itself.
  const QString page = QString::fromUtf8(ReadResource(QStringLiteral("tutorial.html")));
  static const QRegularExpression figure(QStringLiteral("<!--figure:([a-z0-9_]+\\.svg)-->"));
  QString result;
  qsizetype done = 0;
  for (const QRegularExpressionMatch& match : figure.globalMatch(page)) {
    result += page.mid(done, match.capturedStart() - done);
    result += QString::fromUtf8(InlineSvg(match.captured(1)));
    done = match.capturedEnd();
  }
  result += page.mid(done);
  return result.toUtf8();
}

QString TutorialPath(const QString& directory) { return directory + TutorialFileName; }

QString WriteTutorial(const QString& path) {
  const QString directory = QFileInfo(path).absolutePath();
  // A name no one else can have taken: created anew, readable and writable by this user only.
  QTemporaryFile file(directory + QStringLiteral("/.qlstat-XXXXXX.html"));
  if (!file.open()) return QStringLiteral("无法在“%1”中建立文件。").arg(directory);
  const QByteArray page = TutorialPage();
  if (file.write(page) != page.size() || !file.flush()) {
    return QStringLiteral("写入“%1”时出错。").arg(file.fileName());
  }
  file.close();
  // rename() replaces the directory entry path names, a link included, without following it.
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(QFile::encodeName(file.fileName()).toStdString()),
                          std::filesystem::path(QFile::encodeName(path).toStdString()), error);
  if (error) return QStringLiteral("无法替换“%1”。").arg(path);
  file.setAutoRemove(false);  // its name is gone: it is the tutorial now
  return {};
}

void WriteAndOpenTutorial(QWidget* owner, const QString& directory) {
  const QString path = TutorialPath(directory);
  const QString problem = WriteTutorial(path);
  if (!problem.isEmpty()) {
    QMessageBox::warning(owner, QStringLiteral("统计学傻瓜教程"),
                         QStringLiteral("教程文件无法写入，未能打开教程。\n%1").arg(problem));
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace quillon::ui
