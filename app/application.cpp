#include "app/application.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWidget>

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

void LoadQtTranslation(QApplication& app) {
  const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* catalogue : {"qtbase_zh_CN", "qt_zh_CN"}) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QString::fromLatin1(catalogue), directory)) {
      QApplication::installTranslator(translator);
    } else {
      delete translator;
    }
  }
}

// A folder for the run's settings; it goes when its owner, the application object, goes.
class RunSettingsFolder : public QObject {
 public:
  explicit RunSettingsFolder(QObject* owner)
      : QObject(owner), folder_(QDir::tempPath() + QStringLiteral("/quillon-settings-XXXXXX")) {}

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

void InstallChineseInterface(QApplication& app) {
  RegisterResources();
  QFont::insertSubstitutions(QStringLiteral("宋体"), SongFaces);
  QFont interfaceFont(InterfaceFace, InterfacePointSize);
  interfaceFont.setStyleHint(QFont::SansSerif);
  QApplication::setFont(interfaceFont);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillon.svg")));
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
