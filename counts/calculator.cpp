#include "counts/calculator.h"

#include <cmath>
#include <optional>

#include "stats/decimal_scan.h"
#include "stats/number_text.h"

namespace quillon {

namespace {

// The number a result text spells ("0.333333333333333", "1E+20"); a text the keys left with a
// second point ("0.5.") reads as its leading number, as the display does for the digit keys.
double TextValue(std::string_view text) {
  const std::optional<double> exact = DecimalToDouble(TrimBlanks(text));
  return exact ? *exact : LeadingNumber(text);
}

struct ValueOf {
  double operator()(std::monostate) const { return 0.0; }
  double operator()(double value) const { return value; }
  double operator()(const std::string& text) const { return TextValue(text); }
};

}  // namespace

void Calculator::PressDigit(char key) {
  if (showingError_) PressClear();
  display_ += key;
  if (display_.size() >= 2 && display_[0] == '0' && display_[1] != '.') display_.erase(0, 1);
  const double value = LeadingNumber(display_);
  if (secondOperandEntry_) {
    secondOperand_ = value;
    secondOperandTyped_ = true;
  } else {
    accumulator_ = value;
  }
}

void Calculator::PressOperator(Operator op) {
  display_ = "0";
  showingError_ = false;
  secondOperandEntry_ = true;
  pendingOperator_ = op;
}

void Calculator::PressEquals() {
  // Without a typed divisor there is nothing to divide by: the display keeps its text.
  const bool computes = pendingOperator_ != Operator::None &&
                        (pendingOperator_ != Operator::Divide || secondOperandTyped_);
  // A message stays until a key starts afresh; it never becomes an operand.
  if (!computes && showingError_) return;
  if (computes) {
    const double first = std::visit(ValueOf{}, accumulator_);
    double result = 0.0;
    switch (pendingOperator_) {
      case Operator::Divide:
        if (secondOperand_ == 0.0) {
          ShowError(kDivisionByZeroText);
          return;
        }
        result = first / secondOperand_;
        break;
      case Operator::Multiply:
        result = first * secondOperand_;
        break;
      case Operator::Add:
        result = first + secondOperand_;
        break;
      case Operator::Subtract:
        result = first - secondOperand_;
        break;
      case Operator::None:
        break;
    }
    if (!std::isfinite(result)) {
      ShowError(kOverflowText);
      return;
    }
    display_ = PlainNumberText(result);
  }
  accumulator_ = display_;
  secondOperand_ = 0.0;
  secondOperandTyped_ = false;
  secondOperandEntry_ = false;
  display_ = FormatFixed4(display_);
}

void Calculator::PressClear() {
  display_ = "0";
  showingError_ = false;
  accumulator_ = 0.0;
  secondOperand_ = 0.0;
  secondOperandTyped_ = false;
  secondOperandEntry_ = false;
}

void Calculator::PressClearEntry() {
  display_ = "0";
  showingError_ = false;
  accumulator_ = 0.0;
}

void Calculator::ShowError(std::string_view message) {
  display_ = std::string(message);
  showingError_ = true;
  accumulator_ = std::monostate{};
  secondOperand_ = 0.0;
  secondOperandTyped_ = false;
  secondOperandEntry_ = false;
}

}  // namespace quillon
