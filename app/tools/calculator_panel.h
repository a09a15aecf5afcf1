#pragma once
// The calculator frame "计算器": the display Text5 and its keys. The keys only feed the core's
// calculator and show its display.

#include <QGroupBox>

#include "counts/calculator.h"

class QLineEdit;
class QPushButton;

namespace quillon::ui {

class CalculatorPanel : public QGroupBox {
  Q_OBJECT
 public:
  // Builds Frame4 at its design place in the main window's client area.
  explicit CalculatorPanel(QWidget* client);

  const Calculator& State() const { return calculator_; }

 private:
  QPushButton* AddKey(const QString& name, int column, int top, const QString& caption);
  // Runs one key on the calculator, then shows its display.
  template <typename Press>
  void Connect(QPushButton* key, Press press);

  Calculator calculator_;
  QLineEdit* display_ = nullptr;
};

}  // namespace quillon::ui
