// The calculator's keys feed the core calculator and its display shows the result.

#include <QPushButton>

#include "window_fixture.h"

namespace {

class CalculatorPanelTest : public MainWindowTest {
 protected:
  // Clicks the keys with these captions, in order.
  void Click(const QStringList& captions) {
    for (const QString& caption : captions) {
      QPushButton* key = nullptr;
      for (QPushButton* button : Control("Frame4")->findChildren<QPushButton*>()) {
        if (button->text() == caption) key = button;
      }
      ASSERT_NE(key, nullptr) << "no key " << caption.toStdString();
      QTest::mouseClick(key, Qt::LeftButton);
    }
  }
  QString Display() const { return Box("Text5")->text(); }
};

TEST_F(CalculatorPanelTest, KeysComputeAndShowFourDecimals) {
  Click({"1", "2", "+", "3", "4"});
  EXPECT_EQ(Display(), "34");
  Click({"="});
  EXPECT_EQ(Display(), "46.0000");
  Click({"×", "2", "="});
  EXPECT_EQ(Display(), "92.0000");
  Click({"C"});
  EXPECT_EQ(Display(), "0");
  Click({"0", ".", "2", "-", "0", ".", "7", "="});
  EXPECT_EQ(Display(), "-0.5000");
}

TEST_F(CalculatorPanelTest, DivisionByZeroShowsAMessageUntilTheNextDigit) {
  Click({"8", "÷", "0", "="});
  EXPECT_EQ(Display(), QStringLiteral("除数不能为零"));
  Click({"5"});
  EXPECT_EQ(Display(), "5");
  Click({"CE"});
  EXPECT_EQ(Display(), "0");
}

TEST_F(CalculatorPanelTest, DisplayShowsLongNumbersInFull) {
  QStringList keys;
  for (int i = 0; i < 24; ++i) keys << "9";
  Click(keys);
  EXPECT_EQ(Display(), QString(24, QLatin1Char('9')));
}

}  // namespace
