#include "app/widgets/write_failures.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

namespace quillon::ui {

QString WriteFailureReason(const QString& path, const QFileDevice& file, qint64 size) {
  const QFileInfo target(path);
  const QFileInfo folder(target.absolutePath());
  QString reason;
  if (!folder.isDir()) {
    reason = QStringLiteral("文件夹不存在");
  } else if (target.isDir()) {
    reason = QStringLiteral("已有同名的文件夹");
  } else {
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid() && storage.isReadOnly()) {
      reason = QStringLiteral("磁盘为只读");
    } else if (!folder.isWritable() || (target.exists() && !target.isWritable())) {
      reason = QStringLiteral("没有写入权限");
    } else if (storage.isValid() && storage.bytesAvailable() < size) {
      reason = QStringLiteral("磁盘已满");
    } else if (file.error() == QFileDevice::WriteError ||
               file.error() == QFileDevice::ResizeError) {
      reason = QStringLiteral("写入失败，磁盘可能已满");
    } else {
      reason = QStringLiteral("无法写入");
    }
  }
  const QString system = file.errorString();
  return system.isEmpty() || file.error() == QFileDevice::NoError
             ? reason
             : reason + QStringLiteral("（%1）").arg(system);
}

}  // namespace quillon::ui
