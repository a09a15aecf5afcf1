// The program's icons are drawings that stay sharp on a high-resolution screen: asked for at
// twice the scale, each gives a picture of twice the pixels instead of a blown-up bitmap. A
// missing SVG icon plugin shows here as an empty icon.

#include <QApplication>
#include <QToolButton>

#include "window_fixture.h"

namespace {
void ExpectSharpAtTwiceTheScale(const QIcon& icon, const char* what) {
  const QPixmap pixmap = icon.pixmap(QSize(32, 32), 2.0);
  EXPECT_EQ(pixmap.size(), QSize(64, 64)) << what;
  EXPECT_EQ(pixmap.devicePixelRatio(), 2.0) << what;
}
}  // namespace

TEST_F(MainWindowTest, ProgramAndToolbarIconsAreSharpAtTwiceTheScale) {
  ExpectSharpAtTwiceTheScale(QApplication::windowIcon(), "program icon");
  for (const char* name : {"tbImport", "tbExport", "tbHelp"}) {
    ExpectSharpAtTwiceTheScale(Control<QToolButton>(QString::fromLatin1(name))->icon(), name);
  }
}
