#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace quillon {

// The four-function calculator beside the analyses. One operation at a time: an operator key
// records the operation, "=" applies it to the first operand (Accumulator) and the operand typed
// after the operator (SecondOperand). No precedence, no chained evaluation.
class Calculator {
 public:
  enum class Operator { None = 0, Divide = 1, Multiply = 2, Add = 3, Subtract = 4 };

  // No value (counts as 0), a number typed on the keys, or the unformatted text of the last
  // result.
  using AccumulatorValue = std::variant<std::monostate, double, std::string>;

  // What the display shows instead of a result when "=" divides by a zero the user typed as
  // the divisor, and when a result leaves the range of a double.
  static constexpr std::string_view kDivisionByZeroText = "除数不能为零";
  static constexpr std::string_view kOverflowText = "结果超出范围";

  // A digit key '0' .. '9' or the point key '.': appends its character to the display and
  // reads the display's leading number into the operand being typed. After an error message
  // the key starts afresh, as after "C".
  void PressDigit(char key);
  // "÷", "×", "+", "-": the display becomes "0" and the digits that follow feed SecondOperand.
  // An operation already pending is replaced, not evaluated.
  void PressOperator(Operator op);
  // "=": applies the pending operation and shows the result with four decimals; Accumulator
  // keeps its full precision as text. A division with no divisor typed since the last "=" or
  // "C" (a repeated "=", or "C" then digits) computes nothing: the display keeps its value,
  // which Accumulator takes as text.
  void PressEquals();
  // "C": clears the display and both operands; the pending operator stays.
  void PressClear();
  // "CE": clears the display and the first operand.
  void PressClearEntry();

  const std::string& Display() const { return display_; }
  const AccumulatorValue& Accumulator() const { return accumulator_; }
  double SecondOperand() const { return secondOperand_; }
  Operator PendingOperator() const { return pendingOperator_; }
  bool SecondOperandEntry() const { return secondOperandEntry_; }

 private:
  void ShowError(std::string_view message);

  std::string display_ = "0";
  AccumulatorValue accumulator_;
  double secondOperand_ = 0.0;
  Operator pendingOperator_ = Operator::None;
  bool secondOperandEntry_ = false;
  // Whether a digit key has fed SecondOperand since it was last reset to 0.
  bool secondOperandTyped_ = false;
  bool showingError_ = false;
};

}  // namespace quillon
