#include "app/report/print_preview.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace quillon::ui {

std::optional<QString> ShowPrintPreview(QWidget* owner, const PrintJob& job) {
  // Beside the program in the build, in the library folder once installed, and the build's own
  // folder for the programs that run from elsewhere in it (the window tests).
  const QString program = QCoreApplication::applicationDirPath();
  const QStringList folders = {program, QDir(program).filePath(QStringLiteral(QUILLON_MODULE_DIR)),
                               QStringLiteral(QUILLON_BUILD_MODULE_DIR)};
  QString reason;
  for (const QString& folder : folders) {
    QLibrary module(QDir(folder).filePath(QStringLiteral("quillon_print")));
    if (!module.load()) {
      reason = module.errorString();
      continue;
    }
    const auto show = reinterpret_cast<PrintPreviewFunction>(module.resolve(kPrintPreviewFunction));
    if (show == nullptr) {
      reason = module.errorString();
      continue;
    }
    show(owner, job);
    return std::nullopt;
  }
  return QStringLiteral("找不到打印模块（%1）").arg(reason);
}

}  // namespace quillon::ui
