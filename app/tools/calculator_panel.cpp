#include "app/tools/calculator_panel.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <tuple>
#include <utility>

#include "app/widgets/form_layout.h"
#include "app/widgets/utf8.h"

namespace quillon::ui {

namespace {
constexpr std::array<int, 4> KeyLefts = {120, 660, 1200, 1740};
constexpr std::array<int, 4> KeyRowTops = {1200, 1560, 1920, 2280};
constexpr int KeyWidth = 460;
constexpr int KeyHeight = 315;
}  // namespace

template <typename Press>
void CalculatorPanel::Connect(QPushButton* key, Press press) {
  connect(key, &QPushButton::clicked, this, [this, press] {
    press(calculator_);
    display_->setText(FromUtf8(calculator_.Display()));
  });
}

CalculatorPanel::CalculatorPanel(QWidget* client) : QGroupBox(QStringLiteral("计算器"), client) {
  setObjectName(QStringLiteral("Frame4"));
  setGeometry(TwipsRect(60, 3660, 2355, 2715));

  // The display is written only by the keys; it shows every character of what the calculator
  // holds, however long.
  display_ = MakeLineEdit(this, QStringLiteral("Text5"), TwipsRect(120, 300, 2100, 345));
  display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  display_->setReadOnly(true);
  display_->setText(FromUtf8(calculator_.Display()));

  auto* picture1 = new QFrame(this);
  picture1->setObjectName(QStringLiteral("Picture1"));
  picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture1->setGeometry(TwipsRect(120, 780, 1000, 315));

  QPushButton* clearEntry = AddKey(QStringLiteral("Command22"), 2, 780, QStringLiteral("CE"));
  QPushButton* clear = AddKey(QStringLiteral("Command21"), 3, 780, QStringLiteral("C"));
  SetFaceColour(clearEntry, Red);
  SetFaceColour(clear, Red);
  Connect(clearEntry, [](Calculator& c) { c.PressClearEntry(); });
  Connect(clear, [](Calculator& c) { c.PressClear(); });

  // Command2(0) .. Command2(10), row by row from the top left.
  constexpr std::array<char, 11> digits = {'7', '8', '9', '4', '5', '6', '1', '2', '3', '0', '.'};
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const char digit = digits[i];
    QPushButton* key = AddKey(IndexedName(QStringLiteral("Command2"), static_cast<int>(i)),
                              static_cast<int>(i % 3), KeyRowTops[i / 3], QString(QChar(digit)));
    Connect(key, [digit](Calculator& c) { c.PressDigit(digit); });
  }
  Connect(AddKey(QStringLiteral("Command4"), 2, 2280, QStringLiteral("=")),
          [](Calculator& c) { c.PressEquals(); });

  using Op = Calculator::Operator;
  const std::array<std::tuple<const char*, QString, Op>, 4> operators = {{
      {"Command5", QStringLiteral("÷"), Op::Divide},
      {"Command6", QStringLiteral("×"), Op::Multiply},
      {"Command7", QStringLiteral("+"), Op::Add},
      {"Command8", QStringLiteral("-"), Op::Subtract},
  }};
  for (std::size_t i = 0; i < operators.size(); ++i) {
    const auto& [name, caption, op] = operators[i];
    QPushButton* key = AddKey(QString::fromLatin1(name), 3, KeyRowTops[i], caption);
    SetFaceColour(key, Teal);
    Connect(key, [op = op](Calculator& c) { c.PressOperator(op); });
  }
}

QPushButton* CalculatorPanel::AddKey(const QString& name, int column, int top,
                                     const QString& caption) {
  return MakeButton(this, name,
                    TwipsRect(KeyLefts[static_cast<std::size_t>(column)], top, KeyWidth, KeyHeight),
                    caption);
}

}  // namespace quillon::ui
