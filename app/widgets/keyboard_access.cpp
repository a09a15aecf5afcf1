#include "app/widgets/keyboard_access.h"

#include <QApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QToolButton>

#include "app/widgets/form_layout.h"

namespace quillon::ui {

namespace {

// The frame around the focused control. A QFocusFrame sits beside its control in the control's
// parent, around it, above it and out of the mouse's way, and follows it when it moves; screen
// readers never see it. Its margins are the style's focus frame margins.
class FocusMark : public QFocusFrame {
 public:
  explicit FocusMark(QWidget* window) : QFocusFrame(window), window_(window) {
    setObjectName(QStringLiteral("FocusMark"));
    hide();  // until a control of the window has the focus
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* /*old*/, QWidget* now) { Follow(now); });
    Follow(window->focusWidget());
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    constexpr int Width = 2;  // logical pixels: twice as many device pixels at scale 2
    QPainter painter(this);
    const QColor colour = HighlightColour();
    const QRect outer = Ring();
    painted_ = outer;
    painter.fillRect(outer.x(), outer.y(), outer.width(), Width, colour);
    painter.fillRect(outer.x(), outer.bottom() - Width + 1, outer.width(), Width, colour);
    painter.fillRect(outer.x(), outer.y(), Width, outer.height(), colour);
    painter.fillRect(outer.right() - Width + 1, outer.y(), Width, outer.height(), colour);
  }

  // A label whose text changed under the frame has the frame drawn again round its new text.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget() && event->type() == QEvent::Paint && Ring() != painted_) update();
    return QFocusFrame::eventFilter(watched, event);
  }

 private:
  // Round the whole control; round a label's text only, since a result label reaches to the
  // edge of its panel, over its neighbours.
  QRect Ring() const {
    const auto* label = qobject_cast<const QLabel*>(widget());
    if (label == nullptr) return rect();
    constexpr int EmptyWidth = 24;  // an empty result still shows where it is
    const int margin = (width() - label->width()) / 2;
    QRect text =
        label->fontMetrics().boundingRect(label->contentsRect(), label->alignment(), label->text());
    if (text.width() < EmptyWidth) text.setWidth(EmptyWidth);
    return QRect(text.left(), 0, text.width() + 2 * margin, height()).intersected(rect());
  }

  void Follow(QWidget* focused) {
    // Focus in another window leaves the mark on this window's last control.
    if (focused == nullptr || focused == window_ || focused->window() != window_) return;
    setWidget(focused);
  }

  QWidget* window_;
  QRect painted_;
};

// The letter a caption ends with, in parentheses: "文件(F)" gives F.
QChar AccessLetter(const QString& caption) {
  if (caption.size() >= 3 && caption.endsWith(QLatin1Char(')')) &&
      caption.at(caption.size() - 3) == QLatin1Char('(')) {
    return caption.at(caption.size() - 2).toUpper();
  }
  return {};
}

// The keys that open a drop-down button's menu.
class DropDownKeys : public QObject {
 public:
  explicit DropDownKeys(QToolButton* button) : QObject(button) { button->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
      return QObject::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter &&
        key != Qt::Key_Down) {
      return false;
    }
    // The release of the key that opened the menu must not press the face.
    if (event->type() == QEvent::KeyPress) static_cast<QToolButton*>(watched)->showMenu();
    return true;
  }
};

}  // namespace

void CloseOnEscape(QWidget* window) {
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
  escape->setContext(Qt::WindowShortcut);
  QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

void MarkFocus(QWidget* window) { new FocusMark(window); }

void OpenMenusFromKeyboard(QWidget* window, QMenuBar* menuBar) {
  auto open = [menuBar](QAction* menu) { menuBar->setActiveAction(menu); };
  const QList<QAction*> menus = menuBar->actions();
  if (menus.isEmpty()) return;
  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
  QObject::connect(f10, &QShortcut::activated, menuBar, [open, menus] { open(menus.first()); });
  for (QAction* menu : menus) {
    const QChar letter = AccessLetter(menu->text());
    if (letter.isNull()) continue;
    auto* alt = new QShortcut(QKeySequence(QStringLiteral("Alt+") + letter), window);
    QObject::connect(alt, &QShortcut::activated, menuBar, [open, menu] { open(menu); });
  }
}

void OpenMenuFromKeyboard(QToolButton* button) { new DropDownKeys(button); }

}  // namespace quillon::ui
