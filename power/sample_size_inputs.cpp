#include "power/sample_size_inputs.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "power/power_methods.h"
#include "report/p_style.h"
#include "stats/decimal_scan.h"

namespace quillon {

namespace {

// Above this a ratio k stops meaning an allocation and only overflows group 2's n.
constexpr double kLargestRatio = 1e6;

using Reading = std::variant<TypedValue, std::string>;

Reading Read(const std::string& text, const std::string& name) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return "请输入" + name;
  const DecimalParts parts = ScanDecimal(trimmed);
  const std::optional<double> value =
      parts.HasDigits() && parts.length == trimmed.size() ? DecimalToDouble(trimmed) : std::nullopt;
  if (!value || !std::isfinite(*value)) return name + "不是数字";
  return TypedValue{*value, static_cast<int>(parts.fractionDigits.size()), std::string(trimmed)};
}

bool InUnitInterval(double p) { return p > 0 && p < 1; }

}  // namespace

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
  const auto read = [&](const std::string& text, const std::string& name, TypedValue& into) {
    if (!reason.empty()) return false;
    Reading reading = Read(text, name);
    if (auto* why = std::get_if<std::string>(&reading)) {
      reason = std::move(*why);
      return false;
    }
    into = std::get<TypedValue>(reading);
    return true;
  };
  const auto check = [&](bool good, const char* why) {
    if (reason.empty() && !good) reason = why;
  };

  if (read(boxes.alpha, "α", in.alpha)) {
    check(in.alpha.value > 0 && in.alpha.value <= 0.5, "α须大于0且不超过0.5");
  }
  if (solve == SolveFor::SampleSize && read(boxes.power, "检验效能", in.power)) {
    check(in.power.value > in.alpha.value && in.power.value < 1, "检验效能须大于α且小于1");
  }
  if (read(boxes.dropout, "脱落率", in.dropout)) {
    check(in.dropout.value >= 0 && in.dropout.value < 100, "脱落率须不小于0%且小于100%");
  }
  const auto readRatio = [&] {
    if (read(boxes.ratio, "分配比例k", in.ratio)) {
      check(in.ratio.value > 0, "分配比例k须大于0");
      check(in.ratio.value >= 1 / kLargestRatio && in.ratio.value <= kLargestRatio,
            "分配比例k须在0.000001与1000000之间");
    }
  };
  switch (design) {
    case PowerDesign::TwoSample: {
      TypedValue mean1, mean2;
      if (read(boxes.mean1, "均数1", mean1) && read(boxes.mean2, "均数2", mean2)) {
        const int decimals = std::max(mean1.decimals, mean2.decimals);
        const double difference = std::abs(mean1.value - mean2.value);
        in.effect = {difference, decimals, FixedText(difference, decimals)};
        check(difference > 0, "两组均数相等（均数差为0），无法计算");
      }
      if (read(boxes.sd, "标准差", in.spread)) check(in.spread.value > 0, "标准差须大于0");
      readRatio();
      break;
    }
    case PowerDesign::Paired:
      if (read(boxes.meanDiff, "差值的均数", in.effect)) {
        check(in.effect.value != 0, "差值的均数为0，无法计算");
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
        check(in.first.value != in.second.value, "两组率相等，无法计算");
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
        check(psi <= 1, "p10与p01之和不能超过1");
        check(psi > delta * delta, "p10+p01须大于(p10−p01)²");
      }
      break;
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
  return in;
}

}  // namespace quillon
