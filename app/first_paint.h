#pragma once
// Work that waits until a window has first been painted, so that it never delays the window's
// first appearance. Header-only, so that the start-up benchmark's bare window
// (bench/bare_window.cpp) uses the same hook without linking the program's library.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <utility>

namespace quillon::ui {

class AfterFirstPaint : public QObject {
 public:
  // Runs `work` once, from the event loop, right after `window` has first been painted (its
  // picture is put on the screen straight after the paint events).
  static void Run(QWidget* window, std::function<void()> work) {
    window->installEventFilter(new AfterFirstPaint(window, std::move(work)));
  }

  // For timing the start-up from outside (bench/startup_bench.cpp): with
  // QUILLON_EXIT_AFTER_FIRST_PAINT set in the environment, the program quits once `window` has
  // been painted. Without it, this is one look at the environment.
  static void ExitIfAsked(QWidget* window) {
    if (qEnvironmentVariableIsSet("QUILLON_EXIT_AFTER_FIRST_PAINT")) {
      Run(window, &QCoreApplication::quit);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QMetaObject::invokeMethod(
          this,
          [this] {
            work_();
            deleteLater();
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  AfterFirstPaint(QWidget* window, std::function<void()> work)
      : QObject(window), work_(std::move(work)) {}

  std::function<void()> work_;
};

}  // namespace quillon::ui
