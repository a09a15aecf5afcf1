// The t table window: one at a time, centred whenever it is created, drawing the table.

#include "app/tools/t_table_window.h"

#include <QScreen>

#include "window_fixture.h"

namespace {

bool IsCentred(const QWidget* window) {
  const QRect screen = window->screen()->geometry();
  const QPoint offset = window->frameGeometry().center() - screen.center();
  return std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
}

// Pixels darker than mid-grey inside a rectangle of an image.
int DarkPixels(const QImage& image, QRect area) {
  int dark = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) dark += qGray(image.pixel(x, y)) < 128;
  }
  return dark;
}

TEST_F(MainWindowTest, TTableWindowIsCentredAgainAfterItWasMovedAndClosed) {
  QTest::keySequence(window, QKeySequence("Ctrl+T"));
  QPointer<quillon::ui::TTableWindow> first = window->TTableWindowIfOpen();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsCentred(first));
  EXPECT_EQ(first->size(), QSize(436, 387));
  first->move(first->pos() + QPoint(40, 30));
  ASSERT_FALSE(IsCentred(first));

  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());

  QTest::keySequence(window, QKeySequence("Ctrl+T"));
  quillon::ui::TTableWindow* second = window->TTableWindowIfOpen();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->isVisible());
  EXPECT_TRUE(IsCentred(second));
}

TEST_F(MainWindowTest, TTableWindowDrawsBothBlocksOfTheTable) {
  window->ShowTTableWindow();
  const QImage picture = window->TTableWindowIfOpen()->grab().toImage();
  ASSERT_EQ(picture.size(), QSize(436, 387));
  EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::white));
  // Title, then the rows of each block from top to bottom.
  EXPECT_GT(DarkPixels(picture, QRect(180, 2, 80, 26)), 20);
  for (int top : {60, 200, 370}) {
    EXPECT_GT(DarkPixels(picture, QRect(10, top, 200, 10)), 20) << "left block at " << top;
    EXPECT_GT(DarkPixels(picture, QRect(226, top, 200, 10)), 20) << "right block at " << top;
  }
}

}  // namespace
