// The calculator's keys in any order: each input byte is one key.

#include <cstdint>
#include <string>
#include <string_view>

#include "counts/calculator.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  using fuzz::Require;
  using Operator = Calculator::Operator;
  constexpr std::string_view kDigits = "0123456789.";
  const std::string_view keys = fuzz::AsText(data, size);
  Calculator calculator;
  // Whether a digit key fed the second operand since "=" or "C" last reset it.
  bool secondOperandTyped = false;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned key = data[i] % 17;
    if (key < kDigits.size()) {
      if (calculator.SecondOperandEntry()) secondOperandTyped = true;
      calculator.PressDigit(kDigits[key]);
    } else if (key < 15) {
      calculator.PressOperator(static_cast<Operator>(key - kDigits.size() + 1));
    } else if (key == 15) {
      const std::string typed = calculator.Display();
      const bool dividing = calculator.PendingOperator() == Operator::Divide;
      calculator.PressEquals();
      const std::string& shown = calculator.Display();
      // A typed text that is not a number ("0.5.") stays as it was when nothing is computed.
      Require(fuzz::HasFourDecimals(shown) || shown == Calculator::kDivisionByZeroText ||
                  shown == Calculator::kOverflowText || shown == typed,
              "after \"=\" the display shows four decimals or says why it cannot", shown);
      Require(shown != Calculator::kDivisionByZeroText || (dividing && secondOperandTyped) ||
                  shown == typed,
              "only a typed divisor can be zero", keys);
      secondOperandTyped = false;
    } else if ((data[i] / 17) % 2 == 0) {
      calculator.PressClear();
      secondOperandTyped = false;
    } else {
      calculator.PressClearEntry();
    }
    Require(!calculator.Display().empty(), "the display is never empty", keys);
    Require(calculator.PendingOperator() >= Operator::None &&
                calculator.PendingOperator() <= Operator::Subtract,
            "the pending operator is one of the four or none", keys);
  }
  return 0;
}
