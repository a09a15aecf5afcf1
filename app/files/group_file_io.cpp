#include "app/files/group_file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/widgets/gbk_text.h"
#include "app/widgets/text_boxes.h"
#include "app/widgets/write_failures.h"
#include "entry/group_file.h"

namespace quillon::ui {

GroupFileRead ReadGroupFile(const QString& path, std::size_t maxLines) {
  GroupFileRead read;
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return read;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    read.outcome = GroupFileRead::Outcome::NotRead;
    return read;
  }
  file.close();

  const GroupFileLines split = SplitGroupFile(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), maxLines);
  // Each line is decoded followed by a CR, so that a character cut off by the line end becomes
  // a replacement character, as in the whole file, instead of being dropped.
  QStringDecoder decoder =
      split.utf8 ? QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless)
                 : GbkDecoder();
  QByteArray terminated;
  read.lines.reserve(split.lines.size());
  for (const std::string_view line : split.lines) {
    terminated.clear();
    terminated.append(line.data(), static_cast<qsizetype>(line.size()));
    terminated.append('\r');
    QString text = decoder.decode(terminated);
    if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
    read.lines.push_back(ToUtf8(text));
  }
  read.leftOut = split.leftOut;
  read.outcome = GroupFileRead::Outcome::Read;
  return read;
}

std::optional<QString> WriteGroupFile(const QString& path, const SampleLists& lists, Group group) {
  QStringEncoder encoder = GbkEncoder();
  std::vector<std::string> entries;
  const std::size_t size = lists.Size(group);
  entries.reserve(size);
  for (std::size_t row = 0; row < size; ++row) {
    const QByteArray encoded = encoder.encode(FromUtf8(lists.Text(group, row)));
    entries.emplace_back(encoded.constData(), static_cast<std::size_t>(encoded.size()));
  }
  const std::string bytes = JoinGroupFile(entries);

  const auto length = static_cast<qint64>(bytes.size());
  QSaveFile file(path);
  // Unless the commit succeeds, the new file is discarded and the old one left as it was.
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), length) != length ||
      !file.commit()) {
    return WriteFailureReason(path, file, length);
  }
  return std::nullopt;
}

}  // namespace quillon::ui
