#include "counts/calculator.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <variant>

namespace quillon {
namespace {

using Op = Calculator::Operator;

// Presses keys written as one character each: digits and ".", "/" "*" "+" "-" for the four
// operators, "=", "C" for clear and "E" for clear entry.
Calculator Press(std::string_view keys, Calculator calculator = {}) {
  for (char key : keys) {
    switch (key) {
      case '/':
        calculator.PressOperator(Op::Divide);
        break;
      case '*':
        calculator.PressOperator(Op::Multiply);
        break;
      case '+':
        calculator.PressOperator(Op::Add);
        break;
      case '-':
        calculator.PressOperator(Op::Subtract);
        break;
      case '=':
        calculator.PressEquals();
        break;
      case 'C':
        calculator.PressClear();
        break;
      case 'E':
        calculator.PressClearEntry();
        break;
      default:
        calculator.PressDigit(key);
        break;
    }
  }
  return calculator;
}

std::string AccumulatorText(const Calculator& calculator) {
  const auto* text = std::get_if<std::string>(&calculator.Accumulator());
  return text != nullptr ? *text : "(not a text)";
}

TEST(Calculator, StartsWithZeroAndNoPendingOperation) {
  const Calculator calculator;
  EXPECT_EQ(calculator.Display(), "0");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(calculator.Accumulator()));
  EXPECT_EQ(calculator.SecondOperand(), 0.0);
  EXPECT_EQ(calculator.PendingOperator(), Op::None);
  EXPECT_FALSE(calculator.SecondOperandEntry());
}

TEST(Calculator, FourOperationsShowFourDecimalsAndKeepTheResultAsText) {
  const Calculator sum = Press("12+34=");
  EXPECT_EQ(sum.Display(), "46.0000");
  EXPECT_EQ(AccumulatorText(sum), "46");
  EXPECT_EQ(sum.SecondOperand(), 0.0);
  EXPECT_FALSE(sum.SecondOperandEntry());
  EXPECT_EQ(sum.PendingOperator(), Op::Add);

  EXPECT_EQ(Press("3-5=").Display(), "-2.0000");
  EXPECT_EQ(Press("0.2-0.7=").Display(), "-0.5000");
  EXPECT_EQ(Press("6*7=").Display(), "42.0000");
}

TEST(Calculator, ResultKeepsFullPrecisionForTheNextOperation) {
  const Calculator third = Press("1/3=");
  EXPECT_EQ(third.Display(), "0.3333");
  EXPECT_EQ(AccumulatorText(third), "0.333333333333333");
  EXPECT_EQ(Press("*3=", third).Display(), "1.0000");
  EXPECT_EQ(Press("5+3=*2=").Display(), "16.0000");
}

TEST(Calculator, SecondOperatorReplacesThePendingOne) {
  const Calculator calculator = Press("5+3+2=");
  EXPECT_EQ(calculator.Display(), "7.0000");
  EXPECT_EQ(Press("5+3*2=").Display(), "10.0000");
}

TEST(Calculator, RepeatedEqualsUsesASecondOperandOfZero) {
  EXPECT_EQ(Press("6*2==").Display(), "0.0000");
  EXPECT_EQ(Press("6+2==").Display(), "8.0000");
  EXPECT_EQ(Press("6-2==").Display(), "4.0000");
}

TEST(Calculator, DivisionByATypedZeroSaysSoInsteadOfShowingANumber) {
  // The operand typed last is the divisor, also when "÷" replaced another operator; a further
  // "=" has nothing to divide by and leaves the message.
  for (std::string_view keys : {"8/0=", "0/0=", "8+0/=", "8/0=="}) {
    const Calculator calculator = Press(keys);
    EXPECT_EQ(calculator.Display(), Calculator::kDivisionByZeroText) << keys;
    EXPECT_TRUE(std::holds_alternative<std::monostate>(calculator.Accumulator())) << keys;
    EXPECT_EQ(calculator.SecondOperand(), 0.0) << keys;
    EXPECT_FALSE(calculator.SecondOperandEntry()) << keys;
  }
  // The next digit starts afresh instead of appending to the message.
  const Calculator afterDigit = Press("8/0=5");
  EXPECT_EQ(afterDigit.Display(), "5");
  EXPECT_EQ(std::get<double>(afterDigit.Accumulator()), 5.0);
  EXPECT_EQ(Press("8/0=.5").Display(), "0.5");
  EXPECT_EQ(Press("8/0=C").Display(), "0");
  EXPECT_EQ(Press("8/0=7+1=").Display(), "8.0000");
  // An operator after the message works on a first operand of 0.
  EXPECT_EQ(Press("8/0=+4=").Display(), "4.0000");
}

TEST(Calculator, DivisionWithoutATypedDivisorKeepsTheDisplay) {
  // Nothing was typed after "÷" since the last "=" or "C": "=" divides by nothing, the display
  // keeps its value and Accumulator takes its text.
  const struct {
    std::string_view keys, display, accumulator;
  } cases[] = {
      {"8/2==", "4.0000", "4.0000"},
      {"8/2=C5=", "5.0000", "5"},
      {"1/3==", "0.3333", "0.3333"},
      {"8/=", "0.0000", "0"},
  };
  for (const auto& [keys, display, accumulator] : cases) {
    const Calculator calculator = Press(keys);
    EXPECT_EQ(calculator.Display(), display) << keys;
    EXPECT_EQ(AccumulatorText(calculator), accumulator) << keys;
    EXPECT_EQ(calculator.PendingOperator(), Op::Divide) << keys;
  }
  EXPECT_EQ(Press("8/2==+1=").Display(), "5.0000");
}

TEST(Calculator, ResultBeyondTheRangeOfADoubleIsNotShownAsANumber) {
  std::string huge(200, '9');
  const Calculator calculator = Press(huge + "*" + huge + "=");
  EXPECT_EQ(calculator.Display(), Calculator::kOverflowText);
  EXPECT_EQ(Press("3", calculator).Display(), "3");
}

TEST(Calculator, DigitKeysDropOnlyOneLeadingZero) {
  EXPECT_EQ(Press("05").Display(), "5");
  EXPECT_EQ(Press("00").Display(), "0");
  EXPECT_EQ(Press("0.").Display(), "0.");
  const Calculator half = Press("0.5.");
  EXPECT_EQ(half.Display(), "0.5.");
  EXPECT_EQ(std::get<double>(half.Accumulator()), 0.5);
}

TEST(Calculator, DigitAfterAResultAppendsToTheFormattedDisplay) {
  const Calculator calculator = Press("5+3=5");
  EXPECT_EQ(calculator.Display(), "8.00005");
  EXPECT_EQ(std::get<double>(calculator.Accumulator()), 8.00005);
}

TEST(Calculator, DigitsAfterAnOperatorFeedTheSecondOperand) {
  const Calculator calculator = Press("7+25");
  EXPECT_EQ(calculator.Display(), "25");
  EXPECT_EQ(std::get<double>(calculator.Accumulator()), 7.0);
  EXPECT_EQ(calculator.SecondOperand(), 25.0);
  EXPECT_TRUE(calculator.SecondOperandEntry());
}

TEST(Calculator, ClearEntryKeepsTheSecondOperandUntilTheNextDigit) {
  const Calculator calculator = Press("7+25E");
  EXPECT_EQ(calculator.Display(), "0");
  EXPECT_EQ(std::get<double>(calculator.Accumulator()), 0.0);
  EXPECT_EQ(calculator.SecondOperand(), 25.0);
  EXPECT_TRUE(calculator.SecondOperandEntry());
  EXPECT_EQ(Press("=", calculator).Display(), "25.0000");
  EXPECT_EQ(Press("3=", calculator).Display(), "3.0000");
}

TEST(Calculator, ClearResetsOperandsButKeepsThePendingOperator) {
  const Calculator calculator = Press("7*25C");
  EXPECT_EQ(calculator.Display(), "0");
  EXPECT_EQ(std::get<double>(calculator.Accumulator()), 0.0);
  EXPECT_EQ(calculator.SecondOperand(), 0.0);
  EXPECT_FALSE(calculator.SecondOperandEntry());
  EXPECT_EQ(calculator.PendingOperator(), Op::Multiply);
  // The digits now feed the first operand, and "=" multiplies it by 0.
  EXPECT_EQ(Press("4=", calculator).Display(), "0.0000");
}

TEST(Calculator, EqualsWithoutAnOperatorFormatsTheDisplay) {
  const Calculator calculator = Press("2.5=");
  EXPECT_EQ(calculator.Display(), "2.5000");
  EXPECT_EQ(AccumulatorText(calculator), "2.5");
  // A display left with a second point reads as its leading number in the next operation.
  EXPECT_EQ(Press("0.5.=+1=").Display(), "1.5000");
}

TEST(Calculator, ResultsInExponentFormChainAtFullValue) {
  const Calculator big = Press("100000000*10000000000=");
  EXPECT_EQ(big.Display(), "1000000000000000000.0000");
  EXPECT_EQ(AccumulatorText(big), "1E+18");
  EXPECT_EQ(Press("/1000000000000000000=", big).Display(), "1.0000");
}

}  // namespace
}  // namespace quillon
