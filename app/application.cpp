#include "app/application.h"

#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWidget>
#include <cerrno>

// Resources of a static library are registered by name, from the global namespace.
static void RegisterResources() { Q_INIT_RESOURCE(quillon); }

namespace quillon::ui {

namespace {
// Song faces first for "宋体", then the sans CJK faces the set-up installs.
const QStringList SongFaces = {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                               QStringLiteral("AR PL UMing TW"),
                               QStringLiteral("WenQuanYi Micro Hei")};
const QString InterfaceFace = QStringLiteral("WenQuanYi Micro Hei");
constexpr int InterfacePointSize = 9;

// Every text of Qt's that the program shows (dialogs, context menus) is in qtbase's catalogue.
// "qt_zh_CN" is only a bundle that loads qtbase's and the other modules' catalogues; it is the
// fallback where qtbase's is not installed on its own.
void LoadQtTranslation(QApplication& app) {
  const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* catalogue : {"qtbase_zh_CN", "qt_zh_CN"}) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QString::fromLatin1(catalogue), directory)) {
      QApplication::installTranslator(translator);
      return;
    }
    delete translator;
  }
}

// The run's settings folder is "quillon-settings-<process id>-XXXXXX" in the temporary
// directory, so that a folder left behind by a killed run can be told from a running one's.
const QString SettingsFolderPrefix = QStringLiteral("quillon-settings-");

bool ProcessIsRunning(qint64 id) {
  // EPERM: the process exists but belongs to someone else.
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

// A folder for the run's settings; it goes when its owner, the application object, goes.
class RunSettingsFolder : public QObject {
 public:
  explicit RunSettingsFolder(QObject* owner)
      : QObject(owner),
        folder_(QStringLiteral("%1/%2%3-XXXXXX")
                    .arg(QDir::tempPath(), SettingsFolderPrefix)
                    .arg(QCoreApplication::applicationPid())) {}

  // Without a folder of its own the run still keeps nothing: a path below a device file is
  // never a folder, so nothing is read there and every write fails.
  QString Path() const {
    return folder_.isValid() ? folder_.path() : QStringLiteral("/dev/null/quillon-settings");
  }

 private:
  QTemporaryDir folder_;
};
}  // namespace

void KeepSettingsForThisRunOnly(QApplication& app) {
  const QString path = (new RunSettingsFolder(&app))->Path();
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, path);
  }
}

void RemoveStaleSettingsFolders(const QString& directory) {
  const QDir folder(directory);
  // Compared by hand rather than through a name filter, which would compile a pattern.
  for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted)) {
    if (!name.startsWith(SettingsFolderPrefix)) continue;
    // "<process id>-XXXXXX"; a name of another form (an older run's) is not ours to judge.
    const QString rest = name.mid(SettingsFolderPrefix.size());
    const qsizetype dash = rest.indexOf(QLatin1Char('-'));
    bool isNumber = false;
    const qint64 id = dash > 0 ? rest.left(dash).toLongLong(&isNumber) : 0;
    if (!isNumber || id <= 0 || ProcessIsRunning(id)) continue;
    QDir(folder.filePath(name)).removeRecursively();
  }
}

// The program icon for the window system at the sizes it shows, drawn once from the drawing:
// left to the drawing, the icon would be drawn again at four sizes up to 128 pixels and kept in
// Qt's pixmap cache, a quarter of a MiB before the first paint. The desktop's menus and task
// switchers take the installed theme icons instead (packaging/).
QIcon ProgramIcon() {
  QSvgRenderer drawing(QStringLiteral(":/icons/quillon.svg"));
  QIcon icon;
  for (const int side : {16, 32, 48, 64}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawing.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

const QString& SongFace() {
  static const QString face = [] {
    const QStringList installed = QFontDatabase::families();
    for (const QString& candidate : QStringList{QStringLiteral("宋体")} + SongFaces) {
      if (installed.contains(candidate, Qt::CaseInsensitive)) return candidate;
    }
    return QStringLiteral("宋体");
  }();
  return face;
}

void InstallChineseInterface(QApplication& app) {
  RegisterResources();
  QFont::insertSubstitutions(QStringLiteral("宋体"), SongFaces);
  QFont interfaceFont(InterfaceFace, InterfacePointSize);
  interfaceFont.setStyleHint(QFont::SansSerif);
  // Drawn as designed, unhinted: at this size the text looks the same, and the autohinter
  // would run over every distinct Chinese glyph before the first window shows (a tenth of the
  // start-up).
  interfaceFont.setHintingPreference(QFont::PreferNoHinting);
  QApplication::setFont(interfaceFont);
  QApplication::setWindowIcon(ProgramIcon());
  LoadQtTranslation(app);
}

const QString& TempDirectory() {
  static const QString directory = QDir::toNativeSeparators(QDir::tempPath() + QLatin1Char('/'));
  return directory;
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) return;
  const QRect available = screen->geometry();
  const QSize outer = window->frameGeometry().size();
  window->move(available.left() + (available.width() - outer.width()) / 2,
               available.top() + (available.height() - outer.height()) / 2);
}

}  // namespace quillon::ui
