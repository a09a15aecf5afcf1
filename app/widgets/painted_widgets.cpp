#include "app/widgets/painted_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/widgets/form_layout.h"

namespace quillon::ui {

RuledPanel::RuledPanel(QWidget* parent, const QString& name, QRect geometry,
                       const QColor& background)
    : QWidget(parent) {
  setObjectName(name);
  setGeometry(geometry);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, background);
  setPalette(palette);
}

void RuledPanel::AddRule(int x1, int y1, int x2, int y2, const QColor& colour, int widthPx) {
  rules_.push_back({QLine(Px(x1), Px(y1), Px(x2), Px(y2)), colour, widthPx});
}

void RuledPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  for (const Rule& rule : rules_) {
    painter.setPen(QPen(rule.colour, rule.width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(rule.line);
  }
}

namespace {
constexpr int SymbolBoxHeightTwips = 315;

QFont SymbolFont(const QFont& base) {
  QFont font = base;
  font.setItalic(true);
  font.setPointSizeF(15);
  return font;
}

QFont SmallFont(const QFont& base) {
  QFont font = base;
  font.setPointSizeF(7.5);
  return font;
}
}  // namespace

SymbolBox::SymbolBox(QWidget* parent, int index, int left, int top, int valueLeft, Symbol symbol,
                     const QString& subscript)
    : QWidget(parent), symbol_(symbol), subscript_(subscript) {
  constexpr int GapTwips = 60;
  setObjectName(IndexedName(QStringLiteral("Picture5"), index));
  setGeometry(TwipsRect(left, top, valueLeft - left - GapTwips, SymbolBoxHeightTwips));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  // A screen reader reads what the box draws: "t0.05=", "χ²=".
  const QString letter = symbol == Symbol::T   ? QStringLiteral("t")
                         : symbol == Symbol::R ? QStringLiteral("r")
                                               : QStringLiteral("χ²");
  setAccessibleName(letter + subscript.simplified() + QStringLiteral("="));
}

void SymbolBox::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QFont symbolFont = SymbolFont(font());
  const QFont smallFont = SmallFont(font());
  const int baseline = height() - QFontMetrics(symbolFont).descent() - 1;

  int x = 1;
  const QString letter = symbol_ == Symbol::T   ? QStringLiteral("t")
                         : symbol_ == Symbol::R ? QStringLiteral("r")
                                                : QStringLiteral("χ");
  painter.setFont(symbolFont);
  painter.drawText(x, baseline, letter);
  x += QFontMetrics(symbolFont).horizontalAdvance(letter) + 1;

  painter.setFont(smallFont);
  const QFontMetrics small(smallFont);
  if (symbol_ == Symbol::ChiSquare) {
    painter.drawText(x, baseline - QFontMetrics(symbolFont).ascent() + small.ascent() + 2,
                     QStringLiteral("2"));
  }
  if (!subscript_.isEmpty()) {
    painter.drawText(x, baseline + small.descent(), subscript_);
    x += small.horizontalAdvance(subscript_);
  } else if (symbol_ == Symbol::ChiSquare) {
    x += small.horizontalAdvance(QStringLiteral("2"));
  }

  painter.setFont(font());
  painter.drawText(x + 2, baseline, QStringLiteral("="));
}

BannerStrip::BannerStrip(QWidget* parent, QRect geometry, const QString& songFace)
    : QWidget(parent) {
  setObjectName(QStringLiteral("Picture3"));
  setGeometry(geometry);
  setCursor(Qt::PointingHandCursor);
  QFont bannerFont(songFace);
  bannerFont.setPointSize(11);
  bannerFont.setBold(true);
  bannerFont.setHintingPreference(QFont::PreferNoHinting);  // as the interface font
  setFont(bannerFont);
  setFocusPolicy(Qt::TabFocus);  // Space or Enter opens the page, as a click does
}

void BannerStrip::Show(const BannerMessage& message) {
  current_ = message;
  setAccessibleDescription(message.message);
  update();
}

void BannerStrip::paintEvent(QPaintEvent* /*event*/) {
  constexpr int TextTopTwips = 80;
  QPainter painter(this);
  painter.fillRect(rect(), current_.background);
  painter.setPen(current_.text);
  painter.setFont(font());
  const QRect area(Px(current_.textLeftTwips), Px(TextTopTwips), width(), height());
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, current_.message);
}

void BannerStrip::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
      event->modifiers() == Qt::NoModifier) {
    emit clicked();
    return;
  }
  QWidget::keyPressEvent(event);
}

void BannerStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

}  // namespace quillon::ui
