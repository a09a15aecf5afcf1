#include "app/widgets/form_layout.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace quillon::ui {

QString IndexedName(const QString& array, int index) {
  return QStringLiteral("%1(%2)").arg(array).arg(index);
}

QLabel* MakeCaption(QWidget* parent, const QString& name, int left, int top, const QString& text,
                    FontWeight weight) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (weight == FontWeight::Bold) SetBold(label, true);
  label->move(Px(left), Px(top));
  label->adjustSize();
  return label;
}

QLabel* MakeValueLabel(QWidget* parent, const QString& name, int left, int top) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);  // it may reach over other controls
  const int x = Px(left);
  label->setGeometry(x, Px(top), parent->width() - x, label->fontMetrics().height() + 2);
  return label;
}

QLabel* MakeColouredValue(QWidget* parent, const QString& name, int left, int top,
                          const QColor& colour) {
  QLabel* label = MakeValueLabel(parent, name, left, top);
  SetTextColour(label, colour);
  return label;
}

QLineEdit* MakeLineEdit(QWidget* parent, const QString& name, QRect geometry) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(geometry);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, QRect geometry, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::ButtonText, colour);
  widget->setPalette(palette);
}

void SetFaceColour(QPushButton* button, const QColor& colour) {
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, colour);
  button->setPalette(palette);
}

void SetBold(QWidget* widget, bool bold) {
  QFont font = widget->font();
  font.setBold(bold);
  widget->setFont(font);
}

QColor HighlightColour() { return QApplication::palette().color(QPalette::Highlight); }
QColor WindowFrameColour() { return QApplication::palette().color(QPalette::WindowText); }
QColor TitleTextColour() { return QApplication::palette().color(QPalette::HighlightedText); }

}  // namespace quillon::ui
