#pragma once
// Why a file could not be written, as the program's messages say it: the usual reason in Chinese
// (no permission, a full disk, a missing folder), then the system's own words in brackets.

#include <QString>

class QFileDevice;

namespace quillon::ui {

// The reason a write of `size` bytes to `path` through `file` failed, looked for in the file
// system as it is now: "文件夹不存在（No such file or directory）".
QString WriteFailureReason(const QString& path, const QFileDevice& file, qint64 size);

}  // namespace quillon::ui
