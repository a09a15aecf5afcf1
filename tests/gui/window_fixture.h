#pragma once
// A fresh main window for each test, shown and active, with its controls found by their
// design names.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "app/main_window.h"
#include "url_recorder.h"

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = new quillon::ui::MainWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }

  void TearDown() override {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->isWindow() && top->isVisible()) top->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete window;  // only when it was not closed by the test
  }

  template <typename T = QWidget>
  T* Control(const QString& name) const {
    T* control = window->findChild<T*>(name);
    EXPECT_NE(control, nullptr) << "no control " << name.toStdString();
    return control;
  }
  QLineEdit* Box(const QString& name) const { return Control<QLineEdit>(name); }
  QString LabelText(const QString& name) const { return Control<QLabel>(name)->text(); }

  // Replaces a box's text the way a user would: select all, then type.
  static void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
    for (QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClick(box, c.toLatin1());
      } else {
        // Chinese characters arrive from the input method, as committed text.
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(box, &commit);
      }
    }
  }

  QPointer<quillon::ui::MainWindow> window;
  UrlRecorder urls;  // pages and files the window opens
};
