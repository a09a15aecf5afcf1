#include "power/sample_size_inputs.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "power/power_methods.h"
#include "report/p_style.h"
#include "report/writing/names.h"
#include "stats/decimal_scan.h"

namespace quillon {

namespace {

// Above this a ratio k stops meaning an allocation and only overflows group 2's n.
constexpr double kLargestRatio = 1e6;
// Below this an α means nothing in a study, and the searches for n only grow slow.
constexpr double kSmallestAlpha = 1e-8;
// Above this a dropout leaves almost nobody to analyse: 99 % already asks to enrol 100 times n.
constexpr double kLargestDropout = 99;

using Reading = std::variant<TypedValue, std::string>;

// How a box may be written beyond a plain decimal.
enum class Form { Plain, Percent, ProportionOrPercent };

// The decimal as the sentences write it: no "+", the integer digits without leading zeros (at
// least "0"), the fraction digits as typed; ".05" → "0.05", "-.5" → "-0.5", "5." → "5".
std::string PlainDecimal(const DecimalParts& parts) {
  const std::size_t first = parts.integerDigits.find_first_not_of('0');
  std::string text =
      first == std::string_view::npos ? "0" : std::string(parts.integerDigits.substr(first));
  if (!parts.fractionDigits.empty()) text += "." + std::string(parts.fractionDigits);
  const bool zero = text.find_first_not_of("0.") == std::string::npos;
  return parts.negative && !zero ? "-" + text : text;
}

// A plain decimal text divided by 100 exactly: "90" → "0.90", "92.5" → "0.925", "5" → "0.05".
std::string Hundredth(const std::string& plain) {
  const std::size_t point = plain.find('.');
  std::string digits = plain.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : plain.substr(point + 1);
  digits.insert(0, 3 - std::min<std::size_t>(digits.size(), 3), '0');
  const std::size_t whole = digits.size() - 2;
  std::string integer = digits.substr(0, whole);
  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
  return integer + "." + digits.substr(whole) + fraction;
}

Reading Read(const std::string& text, const std::string& name, Form form = Form::Plain) {
  std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return "请输入" + name;
  const bool percentSign = form != Form::Plain && trimmed.back() == '%';
  if (percentSign) trimmed = TrimBlanks(trimmed.substr(0, trimmed.size() - 1));
  const DecimalParts parts = ScanDecimal(trimmed);
  if (!parts.HasDigits() || parts.length != trimmed.size()) return name + "不是数字";
  TypedValue typed{0, static_cast<int>(parts.fractionDigits.size()), PlainDecimal(parts)};
  // A power above 1, or written with "%", is a percentage: "90" and "90%" are 0.90.
  const std::optional<double> value = DecimalToDouble(typed.text);
  if (!value || !std::isfinite(*value)) return name + "不是数字";
  if (form == Form::ProportionOrPercent && (percentSign || *value > 1)) {
    typed.text = Hundredth(typed.text);
    typed.decimals += 2;
    typed.value = DecimalToDouble(typed.text).value_or(0);
  } else {
    typed.value = *value;
  }
  return typed;
}

bool InUnitInterval(double p) { return p > 0 && p < 1; }

// first − second exactly, with the decimals of the finer of the two.
TypedValue SignedDifference(const TypedValue& first, const TypedValue& second) {
  const int decimals = std::max(first.decimals, second.decimals);
  const std::string text = FixedText(first.value - second.value, decimals);
  return {DecimalToDouble(text).value_or(0), decimals, text};
}

// The sign of a·x + b·y for typed x and y and small integer weights a and b, exactly.
int ExactSign(int a, const TypedValue& x, int b, const TypedValue& y) {
  const ExactDecimal ex = ExactValue(x);
  const ExactDecimal ey = ExactValue(y);
  const boost::multiprecision::cpp_int sum =
      a * ex.numerator * ey.denominator + b * ey.numerator * ex.denominator;
  return sum > 0 ? 1 : sum < 0 ? -1 : 0;
}

// +1 where higher values are better, −1 where lower ones are.
int Direction(const SampleSizeInputs& in) { return in.better == Better::Higher ? 1 : -1; }

// Whether an n can reach a power above α: the expected difference d lies on the alternative's
// side of the null, s·d > −Δ (non-inferiority), s·d > Δ (superiority), |d| < Δ (equivalence).
bool Reachable(const SampleSizeInputs& in) {
  const int s = Direction(in);
  switch (in.hypothesis) {
    case Hypothesis::NonInferiority:
      return ExactSign(s, in.difference, 1, in.margin) > 0;
    case Hypothesis::Superiority:
      return ExactSign(s, in.difference, -1, in.margin) > 0;
    case Hypothesis::Equivalence:
      return ExactSign(1, in.difference, -1, in.margin) < 0 &&
             ExactSign(1, in.difference, 1, in.margin) > 0;
    case Hypothesis::Difference:
      break;
  }
  return true;
}

std::string UnreachableReason(const SampleSizeInputs& in) {
  const std::string never = "，任何样本量都达不到所需检验效能";
  const bool higher = in.better == Better::Higher;
  switch (in.hypothesis) {
    case Hypothesis::NonInferiority:
      return (higher ? "预期差值不大于−Δ" : "预期差值不小于Δ") + never;
    case Hypothesis::Superiority:
      return (higher ? "预期差值不大于Δ" : "预期差值不小于−Δ") + never;
    case Hypothesis::Equivalence:
      return "预期差值的绝对值不小于界值Δ" + never;
    case Hypothesis::Difference:
      break;
  }
  return {};
}

// The rate of group 1 on the null's boundary, p2 + d0, within (0, 1) for each d0 the hypothesis
// tests against (−sΔ for non-inferiority, +sΔ for superiority, both for equivalence).
bool NullRatesInRange(const SampleSizeInputs& in) {
  const int s = Direction(in);
  const auto inRange = [&](int sign) {
    // 0 < p2 + sign·Δ < 1, exactly.
    if (ExactSign(1, in.second, sign, in.margin) <= 0) return false;
    const ExactDecimal p2 = ExactValue(in.second);
    const ExactDecimal delta = ExactValue(in.margin);
    return p2.numerator * delta.denominator + sign * delta.numerator * p2.denominator <
           p2.denominator * delta.denominator;
  };
  switch (in.hypothesis) {
    case Hypothesis::NonInferiority:
      return inRange(-s);
    case Hypothesis::Superiority:
      return inRange(s);
    case Hypothesis::Equivalence:
      return inRange(-1) && inRange(1);
    case Hypothesis::Difference:
      break;
  }
  return true;
}

std::string NullRatesReason(const SampleSizeInputs& in) {
  const bool minus = (in.hypothesis == Hypothesis::NonInferiority) == (in.better == Better::Higher);
  const std::string rate = in.hypothesis == Hypothesis::Equivalence ? "p2−Δ与p2+Δ"
                           : minus                                  ? "p2−Δ"
                                                                    : "p2+Δ";
  return "零假设下第1组的率（" + rate + "）须在0与1之间";
}

}  // namespace

ExactDecimal ExactValue(const TypedValue& typed) {
  using boost::multiprecision::cpp_int;
  std::string digits = typed.text;
  std::erase(digits, '.');
  // Without leading zeros, which cpp_int would read as octal.
  digits.erase(0, std::min(digits.find_first_not_of("-0"), digits.size() - 1));
  cpp_int numerator(digits);
  if (typed.text.starts_with('-')) numerator = -numerator;
  return {numerator, boost::multiprecision::pow(cpp_int(10), typed.decimals)};
}

std::string PercentText(const TypedValue& proportion) {
  return FixedText(proportion.value * 100, std::max(0, proportion.decimals - 2));
}

bool EqualGroups(const TypedValue& ratio) {
  return ratio.text == "1" || (ratio.text.starts_with("1.") &&
                               ratio.text.find_first_not_of('0', 2) == std::string::npos);
}

std::int64_t LeastSampleSize(PowerDesign design) {
  switch (design) {
    case PowerDesign::TwoSample:
    case PowerDesign::Paired:
      return 2;
    case PowerDesign::Correlation:
      return 4;
    default:
      return 1;
  }
}

std::variant<SampleSizeInputs, std::string> ReadSampleSizeInputs(PowerDesign design,
                                                                 const SampleSizeBoxes& boxes,
                                                                 SolveFor solve) {
  SampleSizeInputs in;
  std::string reason;
  // Reads one box into `into`; false (with the reason kept) at the first bad one.
  const auto read = [&](const std::string& text, const std::string& name, TypedValue& into,
                        Form form = Form::Plain) {
    if (!reason.empty()) return false;
    Reading reading = Read(text, name, form);
    if (auto* why = std::get_if<std::string>(&reading)) {
      reason = std::move(*why);
      return false;
    }
    into = std::get<TypedValue>(reading);
    return true;
  };
  const auto check = [&](bool good, const std::string& why) {
    if (reason.empty() && !good) reason = why;
  };

  if (read(boxes.alpha, "α", in.alpha)) {
    check(in.alpha.value > 0 && in.alpha.value <= 0.5, "α须大于0且不超过0.5");
    check(in.alpha.value >= kSmallestAlpha, "α须不小于0.00000001");
  }
  if (solve == SolveFor::SampleSize &&
      read(boxes.power, "检验效能", in.power, Form::ProportionOrPercent)) {
    check(in.power.value > in.alpha.value && in.power.value < 1,
          "检验效能须大于α且小于1（或小于100%）");
  }
  if (read(boxes.dropout, "脱落率", in.dropout, Form::Percent)) {
    check(in.dropout.value >= 0 && in.dropout.value <= kLargestDropout,
          "脱落率须不小于0%且不超过99%");
  }
  const auto readRatio = [&] {
    if (read(boxes.ratio, "分配比例k", in.ratio)) {
      check(in.ratio.value > 0, "分配比例k须大于0");
      check(in.ratio.value >= 1 / kLargestRatio && in.ratio.value <= kLargestRatio,
            "分配比例k须在0.000001与1000000之间");
    }
  };
  const bool margin = HasMargin(boxes.hypothesis);
  const bool marginApplies = design == PowerDesign::TwoSample || design == PowerDesign::Paired ||
                             design == PowerDesign::TwoProportions;
  check(!margin || marginApplies, "此设计只作差异性检验");
  switch (design) {
    case PowerDesign::TwoSample: {
      if (read(boxes.mean1, "均数1", in.first) && read(boxes.mean2, "均数2", in.second)) {
        const int decimals = std::max(in.first.decimals, in.second.decimals);
        const double difference = std::abs(in.first.value - in.second.value);
        in.effect = {difference, decimals, FixedText(difference, decimals)};
        in.difference = SignedDifference(in.first, in.second);
        check(difference > 0 || margin, "两组均数相等（均数差为0），无法计算");
      }
      if (read(boxes.sd, "标准差", in.spread)) check(in.spread.value > 0, "标准差须大于0");
      readRatio();
      break;
    }
    case PowerDesign::Paired:
      if (read(boxes.meanDiff, "差值的均数", in.effect)) {
        in.difference = in.effect;
        check(in.effect.value != 0 || margin, "差值的均数为0，无法计算");
      }
      if (read(boxes.sdDiff, "差值的标准差", in.spread)) {
        check(in.spread.value > 0, "差值的标准差须大于0");
      }
      break;
    case PowerDesign::Correlation:
      if (read(boxes.r, "相关系数ρ", in.r)) {
        check(std::abs(in.r.value) < 1, "相关系数ρ的绝对值须小于1");
        check(in.r.value != 0, "相关系数ρ为0，无法计算");
      }
      break;
    case PowerDesign::TwoProportions:
      if (read(boxes.p1, "率p1", in.first))
        check(InUnitInterval(in.first.value), "率p1须在0与1之间");
      if (read(boxes.p2, "率p2", in.second)) {
        check(InUnitInterval(in.second.value), "率p2须在0与1之间");
        in.difference = SignedDifference(in.first, in.second);
        check(in.first.value != in.second.value || margin, "两组率相等，无法计算");
      }
      readRatio();
      break;
    case PowerDesign::McNemar:
      if (read(boxes.p10, "不一致比例p10", in.first)) {
        check(InUnitInterval(in.first.value), "不一致比例p10须在0与1之间");
      }
      if (read(boxes.p01, "不一致比例p01", in.second)) {
        check(InUnitInterval(in.second.value), "不一致比例p01须在0与1之间");
        const double psi = in.first.value + in.second.value;
        const double delta = in.first.value - in.second.value;
        check(in.first.value != in.second.value, "p10与p01相等，无法计算");
        // Exactly, so that 0.7 and 0.3 typed with any decimals sum to 1.
        const ExactDecimal p10 = ExactValue(in.first);
        const ExactDecimal p01 = ExactValue(in.second);
        check(p10.numerator * p01.denominator + p01.numerator * p10.denominator <=
                  p10.denominator * p01.denominator,
              "p10与p01之和不能超过1");
        check(psi > delta * delta, "p10+p01须大于(p10−p01)²");
      }
      break;
  }
  if (margin && reason.empty()) {
    in.hypothesis = boxes.hypothesis;
    in.better = boxes.better;
    const bool rates = design == PowerDesign::TwoProportions;
    if (read(boxes.margin, "界值Δ", in.margin)) {
      check(MarginReason(in.margin.value, rates).empty(), MarginReason(in.margin.value, rates));
    }
    if (rates) check(NullRatesInRange(in), NullRatesReason(in));
    if (solve == SolveFor::SampleSize) check(Reachable(in), UnreachableReason(in));
  }
  if (solve == SolveFor::Power) {
    TypedValue n;
    const std::int64_t least = LeastSampleSize(design);
    if (read(boxes.n, "样本量n", n)) {
      check(n.value == std::floor(n.value) && n.value >= static_cast<double>(least),
            least == 1   ? "样本量n须为正整数"
            : least == 2 ? "样本量n须为不小于2的整数"
                         : "样本量n须为不小于4的整数");
      check(n.value <= static_cast<double>(kLargestSampleSize), "样本量n超过10,000,000");
      if (reason.empty()) in.n = static_cast<std::int64_t>(n.value);
    }
  }
  if (!reason.empty()) return reason;
  in.names = {TrimmedName(boxes.outcome), TrimmedName(boxes.unit), "", "",
              TrimmedName(boxes.source)};
  if (design == PowerDesign::TwoSample || design == PowerDesign::TwoProportions) {
    in.names.group1 = TrimmedName(boxes.group1);
    in.names.group2 = TrimmedName(boxes.group2);
  }
  return in;
}

}  // namespace quillon
