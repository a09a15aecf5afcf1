#pragma once
// Texts in the 8-bit code page of the group files and the entry filters: GBK, whatever the
// system's locale is. A character GBK cannot hold becomes "?".

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string_view>

class QLineEdit;

namespace quillon::ui {

QByteArray ToGbk(QStringView text);
QString FromGbk(QByteArrayView bytes);

// Converters for many texts in a row (the lines of a group file), each text converted on its
// own: an incomplete character at the end of one text does not reach into the next.
QStringEncoder GbkEncoder();
QStringDecoder GbkDecoder();

// The signed code of the text's last character in GBK (negative for a double-byte character);
// 0 for the empty text.
int LastCharacterCode(const QString& text);

// The signed code of one character, given as its UTF-8 bytes, in GBK: what LastCharacterCode
// gives for a text that ends in it.
int GbkCharacterCode(std::string_view character);

// The text without its last character, which is removed whole (a surrogate pair included).
QString WithoutLastCharacter(const QString& text);

// The entry filter of a data cell: its three tests run on the last character of the box's text
// in turn, and a test that holds removes it, assigning the box its shortened text (which runs the
// box's change handling again, nested, before the next test looks).
void ApplyEntryFilter(QLineEdit* box);

}  // namespace quillon::ui
