#include "app/widgets/gbk_text.h"

#include <QLineEdit>

#include "app/widgets/utf8.h"
#include "entry/entry_filter.h"

namespace quillon::ui {

namespace {
constexpr const char* Gbk = "GBK";
}

QByteArray ToGbk(QStringView text) {
  QStringEncoder encoder(Gbk);
  return encoder.encode(text);
}

QString FromGbk(QByteArrayView bytes) {
  QStringDecoder decoder(Gbk);
  return decoder.decode(bytes);
}

QStringEncoder GbkEncoder() { return QStringEncoder(Gbk, QStringConverter::Flag::Stateless); }

QStringDecoder GbkDecoder() { return QStringDecoder(Gbk, QStringConverter::Flag::Stateless); }

QString WithoutLastCharacter(const QString& text) {
  if (text.isEmpty()) return text;
  const bool pair = text.size() >= 2 && text.back().isLowSurrogate() &&
                    text.at(text.size() - 2).isHighSurrogate();
  return text.chopped(pair ? 2 : 1);
}

int LastCharacterCode(const QString& text) {
  if (text.isEmpty()) return 0;
  const QString last = text.mid(WithoutLastCharacter(text).size());
  const QByteArray encoded = ToGbk(last);
  return SignedCharacterCode(
      std::string_view(encoded.constData(), static_cast<std::size_t>(encoded.size())));
}

int GbkCharacterCode(std::string_view character) {
  // GBK holds ASCII as itself.
  if (character.size() == 1) return static_cast<unsigned char>(character.front());
  static QStringEncoder encoder = GbkEncoder();
  const QByteArray encoded = encoder.encode(FromUtf8(character));
  return SignedCharacterCode(
      std::string_view(encoded.constData(), static_cast<std::size_t>(encoded.size())));
}

void ApplyEntryFilter(QLineEdit* box) {
  for (const EntryFilterTest test : kEntryFilterTests) {
    const QString text = box->text();
    if (!text.isEmpty() && EntryFilterRemoves(test, LastCharacterCode(text))) {
      box->setText(WithoutLastCharacter(text));
    }
  }
}

}  // namespace quillon::ui
