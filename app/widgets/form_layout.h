#pragma once
// Helpers for laying out the windows: positions are designed in twips (15 twips = 1 px at
// the reference resolution; Qt scales the pixels on high-DPI screens), and every control
// carries its design name as objectName, with its index in parentheses for arrays.

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quillon::ui {

constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / TwipsPerPixel; }
inline QRect TwipsRect(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(width), Px(height)};
}

// The two areas of the client area that the analyses' panels share: the data panels (the
// sample grid, the four-fold table) and the result panels.
inline QRect DataArea() { return TwipsRect(2460, 1320, 5715, 3045); }
inline QRect ResultArea() { return TwipsRect(2460, 4440, 5715, 1935); }

// "Text1" and 3 give "Text1(3)".
QString IndexedName(const QString& array, int index);

enum class FontWeight { Normal, Bold };

// A transparent label at a design position that sizes itself to its caption.
QLabel* MakeCaption(QWidget* parent, const QString& name, int left, int top, const QString& text,
                    FontWeight weight = FontWeight::Normal);
// A transparent value label: empty at design, wide enough for anything a result writes
// (it reaches to the right edge of its panel).
QLabel* MakeValueLabel(QWidget* parent, const QString& name, int left, int top);
QLineEdit* MakeLineEdit(QWidget* parent, const QString& name, QRect geometry);
QPushButton* MakeButton(QWidget* parent, const QString& name, QRect geometry, const QString& text);

// A value label in a colour of its own (red verdicts, highlight-coloured values).
QLabel* MakeColouredValue(QWidget* parent, const QString& name, int left, int top,
                          const QColor& colour);

// Names of the label arrays the result panels share: "Label5(21)".
inline QString Label5Name(int index) { return IndexedName(QStringLiteral("Label5"), index); }
inline QString Label13Name(int index) { return IndexedName(QStringLiteral("Label13"), index); }
inline QString Label19Name(int index) { return IndexedName(QStringLiteral("Label19"), index); }
inline QString Label20Name(int index) { return IndexedName(QStringLiteral("Label20"), index); }

void SetTextColour(QWidget* widget, const QColor& colour);
void SetFaceColour(QPushButton* button, const QColor& colour);
void SetBold(QWidget* widget, bool bold);

// Colours of the window design.
inline const QColor Red(255, 0, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Teal(0, 192, 192);
inline const QColor LightGrey(192, 192, 192);
inline const QColor Black(0, 0, 0);

// System colours named in the window design.
QColor HighlightColour();
QColor WindowFrameColour();
QColor TitleTextColour();

}  // namespace quillon::ui
