#include "power/protocol_sentence.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

namespace {

constexpr const char* kProgram = "Quillon 3.0";

std::string Count(const Figure& figure) {
  return std::to_string(static_cast<std::int64_t>(*figure));
}

bool TwoGroups(PowerDesign design) {
  return design == PowerDesign::TwoSample || design == PowerDesign::TwoProportions;
}

bool Pairs(PowerDesign design) {
  return design == PowerDesign::Paired || design == PowerDesign::McNemar;
}

// The allocation n1:n2 in the least whole numbers, from the typed k = n2/n1 exactly: k = 0.5 →
// "2:1", k = 1.5 → "2:3", k = 3 → "1:3".
std::string Allocation(const TypedValue& ratio) {
  using boost::multiprecision::cpp_int;
  const ExactDecimal k = ExactValue(ratio);
  const cpp_int common = boost::multiprecision::gcd(k.numerator, k.denominator);
  return cpp_int(k.denominator / common).str() + ":" + cpp_int(k.numerator / common).str();
}

// α as the style writes it: AMA and APA without the leading zero.
std::string Alpha(const TypedValue& alpha, PStyle style) {
  const bool bare = style == PStyle::Ama || style == PStyle::Apa;
  return bare && alpha.text.starts_with("0.") ? alpha.text.substr(1) : alpha.text;
}

std::string ChineseEffect(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  const std::string ratio = EqualGroups(in.ratio) ? "" : "，两组例数比为" + Allocation(in.ratio);
  switch (f.design) {
    case PowerDesign::TwoSample:
      return "预期两组均数差为" + in.effect.text + "（标准差" + in.spread.text + "）" + ratio;
    case PowerDesign::Paired:
      return "预期差值的均数为" + in.effect.text + "（标准差" + in.spread.text + "）";
    case PowerDesign::Correlation:
      return "预期相关系数为" + in.r.text;
    case PowerDesign::TwoProportions:
      return "预期两组率分别为" + in.first.text + "和" + in.second.text + ratio;
    case PowerDesign::McNemar:
      return "预期两种不一致结果的比例分别为" + in.first.text + "和" + in.second.text;
  }
  return {};
}

std::string EnglishEffect(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  const std::string ratio =
      EqualGroups(in.ratio) ? "" : " with a " + Allocation(in.ratio) + " allocation";
  switch (f.design) {
    case PowerDesign::TwoSample:
      return "a difference in means of " + in.effect.text + " (SD " + in.spread.text + ")" + ratio;
    case PowerDesign::Paired:
      return "a mean difference of " + in.effect.text + " (SD of the differences " +
             in.spread.text + ")";
    case PowerDesign::Correlation:
      return "a correlation of " + in.r.text;
    case PowerDesign::TwoProportions:
      return "proportions of " + in.first.text + " and " + in.second.text + ratio;
    case PowerDesign::McNemar:
      return "discordant proportions of " + in.first.text + " and " + in.second.text;
  }
  return {};
}

// "每组需64例", "第1组需64例、第2组需128例", "需52对", "需85例" (the verb may be empty).
std::string ChineseCounts(const ProtocolFacts& f, const Figure& n1, const Figure& n2,
                          const std::string& verb) {
  if (!TwoGroups(f.design)) return verb + Count(n1) + (Pairs(f.design) ? "对" : "例");
  if (EqualGroups(f.inputs->ratio)) return "每组" + verb + Count(n1) + "例";
  return "第1组" + verb + Count(n1) + "例、第2组" + verb + Count(n2) + "例";
}

std::string EnglishCounts(const ProtocolFacts& f, const Figure& n1, const Figure& n2) {
  if (!TwoGroups(f.design)) return Count(n1) + (Pairs(f.design) ? " pairs" : " participants");
  if (EqualGroups(f.inputs->ratio)) return Count(n1) + " participants per group";
  return Count(n1) + " participants in group 1 and " + Count(n2) + " in group 2";
}

std::string ChineseMethod(const ProtocolFacts& f) {
  return f.method + (f.note.empty() ? "" : "，" + f.note) + "；" + kProgram;
}

std::string EnglishMethod(const ProtocolFacts& f) {
  return f.methodEnglish + (f.noteEnglish.empty() ? "" : ", " + f.noteEnglish) + "; " + kProgram;
}

std::string Chinese(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  const SamplePlan& plan = *f.plan;
  const std::string effect = ChineseEffect(f);
  if (f.solve == SolveFor::Power) {
    return "按双侧α=" + in.alpha.text + "，" + effect + "，" +
           ChineseCounts(f, plan.n1, plan.n2, "") + "时检验效能为" +
           FixedText(*plan.power * 100, 1) + "%（" + ChineseMethod(f) + "）。";
  }
  std::string needs = ChineseCounts(f, plan.n1, plan.n2, "需");
  if (in.dropout.value > 0) {
    needs += "；考虑" + in.dropout.text + "%的脱落，" +
             ChineseCounts(f, plan.enrolled1, plan.enrolled2, "纳入");
  }
  if (TwoGroups(f.design)) {
    needs += "，共" + Count(in.dropout.value > 0 ? plan.enrolledTotal : plan.total) + "例";
  }
  return "按双侧α=" + in.alpha.text + "、检验效能" + PercentText(in.power) + "%，" + effect + "，" +
         needs + "（" + ChineseMethod(f) + "）。";
}

std::string English(const ProtocolFacts& f, PStyle style) {
  const SampleSizeInputs& in = *f.inputs;
  const SamplePlan& plan = *f.plan;
  const std::string alpha = "a two-sided α of " + Alpha(in.alpha, style);
  if (f.solve == SolveFor::Power) {
    return "With " + alpha + ", " + EnglishCounts(f, plan.n1, plan.n2) + " give " +
           FixedText(*plan.power * 100, 1) + "% power to detect " + EnglishEffect(f) + " (" +
           EnglishMethod(f) + ").";
  }
  const bool twoGroups = TwoGroups(f.design);
  std::string sentence =
      "With " + alpha + " and " + PercentText(in.power) + "% power to detect " + EnglishEffect(f) +
      ", " + EnglishCounts(f, plan.n1, plan.n2) +
      (twoGroups && in.dropout.value == 0 ? " (" + Count(plan.total) + " in total)" : "") +
      " are required";
  if (in.dropout.value > 0) {
    sentence += "; allowing for " + in.dropout.text + "% dropout, " +
                EnglishCounts(f, plan.enrolled1, plan.enrolled2) +
                (twoGroups ? " (" + Count(plan.enrolledTotal) + " in total)" : "") +
                " will be enrolled";
  }
  return sentence + " (" + EnglishMethod(f) + ").";
}

}  // namespace

std::string ProtocolSentence(const ProtocolFacts& facts, PStyle style) {
  return style == PStyle::ChineseMedical ? Chinese(facts) : English(facts, style);
}

}  // namespace quillon
