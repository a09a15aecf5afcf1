#pragma once
// A temporary folder for the files a test writes and reads back; it goes with the test.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

class ScratchFolder {
 public:
  QString Path(const QString& name) const { return folder_.filePath(name); }

  // Writes the file and returns its path.
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return Path(name);
  }

  // The file's bytes, or "(missing)".
  QByteArray Contents(const QString& name) const {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }

  QString FolderPath() const { return folder_.path(); }

 private:
  QTemporaryDir folder_;
};
