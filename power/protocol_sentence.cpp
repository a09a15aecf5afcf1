#include "power/protocol_sentence.h"

#include <algorithm>
#include <cstdint>

#include "report/writing/names.h"

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

// ---- Against a margin: the design, the margin and its direction, and α as the test takes it ----

bool AgainstMargin(const ProtocolFacts& f) { return HasMargin(f.inputs->hypothesis); }

// The expected difference, where the estimates leave it to be worked out (two groups).
bool StatesDifference(const ProtocolFacts& f) { return AgainstMargin(f) && TwoGroups(f.design); }

// "本研究为非劣效设计（高值为优），非劣效界值Δ=5 mmHg"; empty for a difference.
std::string ChineseDesign(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  if (!AgainstMargin(f)) return {};
  const std::string name = HypothesisName(in.hypothesis);
  const std::string unit = f.design == PowerDesign::TwoProportions ? "" : in.names.unit;
  const bool equivalence = in.hypothesis == Hypothesis::Equivalence;
  return "本研究为" + name + "设计" + (equivalence ? "" : "（" + BetterName(in.better) + "）") +
         "，" + name + "界值Δ=" + (equivalence ? "±" : "") + in.margin.text + UnitSuffix(unit);
}

std::string EnglishDesign(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  if (!AgainstMargin(f)) return {};
  const std::string unit = f.design == PowerDesign::TwoProportions ? "" : in.names.unit;
  const bool equivalence = in.hypothesis == Hypothesis::Equivalence;
  const std::string better =
      in.better == Better::Higher ? " (higher values better)" : " (lower values better)";
  return std::string(equivalence ? "This is an " : "This is a ") +
         HypothesisEnglish(in.hypothesis) + " design" + (equivalence ? "" : better) +
         " with a margin Δ of " + (equivalence ? "±" : "") + in.margin.text + UnitSuffix(unit);
}

// "双侧α", "单侧α", "每侧α".
std::string ChineseAlpha(const ProtocolFacts& f) {
  return AlphaLabel(f.inputs->hypothesis) + "=" + f.inputs->alpha.text;
}

std::string EnglishAlpha(const ProtocolFacts& f, PStyle style) {
  const std::string alpha = Alpha(f.inputs->alpha, style);
  switch (f.inputs->hypothesis) {
    case Hypothesis::NonInferiority:
    case Hypothesis::Superiority:
      return "a one-sided α of " + alpha;
    case Hypothesis::Equivalence:
      return "an α of " + alpha + " for each of the two one-sided tests";
    case Hypothesis::Difference:
      break;
  }
  return "a two-sided α of " + alpha;
}

// "，预期差值为0" after the two groups' estimates.
std::string ChineseDifference(const ProtocolFacts& f, const std::string& unit) {
  return StatesDifference(f) ? "，预期差值为" + f.inputs->difference.text + UnitSuffix(unit)
                             : std::string();
}

std::string EnglishDifference(const ProtocolFacts& f, const std::string& unit) {
  return StatesDifference(f)
             ? ", an expected difference of " + f.inputs->difference.text + UnitSuffix(unit)
             : std::string();
}

std::string ChineseEffect(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  const std::string ratio = EqualGroups(in.ratio) ? "" : "，两组例数比为" + Allocation(in.ratio);
  switch (f.design) {
    case PowerDesign::TwoSample:
      return "预期两组均数分别为" + in.first.text + "和" + in.second.text + "（标准差" +
             in.spread.text + "）" + ratio;
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
      return "a difference between means of " + in.first.text + " and " + in.second.text + " (SD " +
             in.spread.text + ")" + ratio;
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

// A group as the sentence calls it: by the name typed, or "第1组" ("group 1").
std::string GroupName(const ProtocolFacts& f, int group, bool chinese) {
  const std::string& typed = group == 1 ? f.inputs->names.group1 : f.inputs->names.group2;
  if (!typed.empty()) return typed;
  return chinese ? "第" + std::to_string(group) + "组" : "group " + std::to_string(group);
}

// "每组需64例", "第1组需64例、第2组需128例", "需52对", "需85例" (the verb may be empty).
std::string ChineseCounts(const ProtocolFacts& f, const Figure& n1, const Figure& n2,
                          const std::string& verb) {
  if (!TwoGroups(f.design)) return verb + Count(n1) + (Pairs(f.design) ? "对" : "例");
  if (EqualGroups(f.inputs->ratio)) return "每组" + verb + Count(n1) + "例";
  return GroupName(f, 1, true) + verb + Count(n1) + "例、" + GroupName(f, 2, true) + verb +
         Count(n2) + "例";
}

std::string EnglishCounts(const ProtocolFacts& f, const Figure& n1, const Figure& n2) {
  if (!TwoGroups(f.design)) return Count(n1) + (Pairs(f.design) ? " pairs" : " participants");
  if (EqualGroups(f.inputs->ratio)) return Count(n1) + " participants per group";
  return Count(n1) + " participants in " + GroupName(f, 1, false) + " and " + Count(n2) + " in " +
         GroupName(f, 2, false);
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
  const std::string effect = ChineseEffect(f) + ChineseDifference(f, "");
  const std::string design = AgainstMargin(f) ? ChineseDesign(f) + "，" : std::string();
  if (f.solve == SolveFor::Power) {
    return design + "按" + ChineseAlpha(f) + "，" + effect + "，" +
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
  return design + "按" + ChineseAlpha(f) + "、检验效能" + PercentText(in.power) + "%，" + effect +
         "，" + needs + "（" + ChineseMethod(f) + "）。";
}

std::string English(const ProtocolFacts& f, PStyle style) {
  const SampleSizeInputs& in = *f.inputs;
  const SamplePlan& plan = *f.plan;
  const std::string alpha = EnglishAlpha(f, style);
  const std::string design = AgainstMargin(f) ? EnglishDesign(f) + ". " : std::string();
  const std::string effect = EnglishEffect(f) + EnglishDifference(f, "");
  if (f.solve == SolveFor::Power) {
    return design + "With " + alpha + ", " + EnglishCounts(f, plan.n1, plan.n2) + " give " +
           FixedText(*plan.power * 100, 1) + "% power " +
           (AgainstMargin(f) ? "assuming " : "to detect ") + effect + " (" + EnglishMethod(f) +
           ").";
  }
  const bool twoGroups = TwoGroups(f.design);
  std::string sentence =
      design + "With " + alpha + " and " + PercentText(in.power) + "% power " +
      (AgainstMargin(f) ? "assuming " : "to detect ") + effect + ", " +
      EnglishCounts(f, plan.n1, plan.n2) +
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

// ---- The named form: the outcome, the estimates and their source, then α, power, allocation
// and the counts. Whatever was not named is left out. ----

// A value and its unit: "110 mmHg", "65岁".
std::string WithUnit(const std::string& value, const std::string& unit) {
  return value + UnitSuffix(unit);
}

std::string ChineseEstimates(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  const std::string& unit = in.names.unit;
  const bool named = !(in.names.group1.empty() && in.names.group2.empty());
  const std::string groups = named ? GroupName(f, 1, true) + "与" + GroupName(f, 2, true) : "两组";
  switch (f.design) {
    case PowerDesign::TwoSample:
      return groups + "的预期均数分别为" + in.first.text + "和" + WithUnit(in.second.text, unit) +
             "，标准差" + WithUnit(in.spread.text, unit);
    case PowerDesign::Paired:
      return "差值的预期均数为" + WithUnit(in.effect.text, unit) + "（标准差" +
             WithUnit(in.spread.text, unit) + "）";
    case PowerDesign::Correlation:
      return "预期相关系数为" + in.r.text;
    case PowerDesign::TwoProportions:
      return groups + "的预期率分别为" + in.first.text + "和" + in.second.text;
    case PowerDesign::McNemar:
      return "两种不一致结果的预期比例分别为" + in.first.text + "和" + in.second.text;
  }
  return {};
}

// After "the expected".
std::string EnglishEstimates(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  const std::string& unit = in.names.unit;
  const std::string in1 = " in " + GroupName(f, 1, false);
  const std::string in2 = " in " + GroupName(f, 2, false);
  switch (f.design) {
    case PowerDesign::TwoSample:
      return "means were " + WithUnit(in.first.text, unit) + in1 + " and " +
             WithUnit(in.second.text, unit) + in2 + " (SD " + WithUnit(in.spread.text, unit) + ")";
    case PowerDesign::Paired:
      return "mean difference was " + WithUnit(in.effect.text, unit) + " (SD " +
             WithUnit(in.spread.text, unit) + ")";
    case PowerDesign::Correlation:
      return "correlation was " + in.r.text;
    case PowerDesign::TwoProportions:
      return "proportions were " + in.first.text + in1 + " and " + in.second.text + in2;
    case PowerDesign::McNemar:
      return "discordant proportions were " + in.first.text + " and " + in.second.text;
  }
  return {};
}

std::string ChineseNamed(const ProtocolFacts& f) {
  const SampleSizeInputs& in = *f.inputs;
  const SamplePlan& plan = *f.plan;
  std::string sentence;
  if (!in.names.outcome.empty()) {
    sentence = "主要结局指标为" + OutcomeWithUnit(in.names.outcome, in.names.unit, false) + "。";
  }
  if (AgainstMargin(f)) sentence += ChineseDesign(f) + "。";
  if (!in.names.source.empty()) sentence += "根据" + in.names.source + "，";
  sentence += ChineseEstimates(f) + ChineseDifference(f, in.names.unit) + "；按" + ChineseAlpha(f);
  const std::string allocation =
      TwoGroups(f.design) ? "、" + Allocation(in.ratio) + "分配" : std::string();
  if (f.solve == SolveFor::Power) {
    return sentence + allocation + "，" + ChineseCounts(f, plan.n1, plan.n2, "") + "时检验效能为" +
           FixedText(*plan.power * 100, 1) + "%（" + ChineseMethod(f) + "）。";
  }
  sentence += "、检验效能" + PercentText(in.power) + "%" + allocation + "，" +
              ChineseCounts(f, plan.n1, plan.n2, "需");
  const bool dropout = in.dropout.value > 0;
  if (dropout) {
    sentence += "，考虑" + in.dropout.text + "%的脱落，" +
                ChineseCounts(f, plan.enrolled1, plan.enrolled2, "纳入");
  }
  if (TwoGroups(f.design))
    sentence += "，共" + Count(dropout ? plan.enrolledTotal : plan.total) + "例";
  return sentence + "（" + ChineseMethod(f) + "）。";
}

std::string EnglishNamed(const ProtocolFacts& f, PStyle style) {
  const SampleSizeInputs& in = *f.inputs;
  const SamplePlan& plan = *f.plan;
  std::string sentence;
  if (!in.names.outcome.empty()) {
    sentence =
        "The primary outcome is " + OutcomeWithUnit(in.names.outcome, in.names.unit, true) + ". ";
  }
  if (AgainstMargin(f)) sentence += EnglishDesign(f) + ". ";
  sentence += (in.names.source.empty() ? "The" : "Based on " + in.names.source + ", the") +
              " expected " + EnglishEstimates(f) + EnglishDifference(f, in.names.unit) + "; with " +
              EnglishAlpha(f, style);
  const bool twoGroups = TwoGroups(f.design);
  const std::string allocation = twoGroups ? Allocation(in.ratio) + " allocation" : "";
  if (f.solve == SolveFor::Power) {
    return sentence + (twoGroups ? " and " + allocation : "") + ", " +
           EnglishCounts(f, plan.n1, plan.n2) + " give " + FixedText(*plan.power * 100, 1) +
           "% power (" + EnglishMethod(f) + ").";
  }
  const std::string power = PercentText(in.power) + "% power";
  sentence += (twoGroups ? ", " + power + " and " + allocation : " and " + power) + ", " +
              EnglishCounts(f, plan.n1, plan.n2);
  const bool dropout = in.dropout.value > 0;
  if (twoGroups && !dropout) sentence += " (" + Count(plan.total) + " in total)";
  sentence += " are required";
  if (dropout) {
    sentence += ", and allowing for " + in.dropout.text + "% dropout, " +
                EnglishCounts(f, plan.enrolled1, plan.enrolled2) +
                (twoGroups ? " (" + Count(plan.enrolledTotal) + " in total)" : "") +
                " will be enrolled";
  }
  return sentence + " (" + EnglishMethod(f) + ").";
}

}  // namespace

std::string ProtocolSentence(const ProtocolFacts& facts, PStyle style) {
  const bool chinese = style == PStyle::ChineseMedical;
  if (facts.inputs->names.Any()) return chinese ? ChineseNamed(facts) : EnglishNamed(facts, style);
  return chinese ? Chinese(facts) : English(facts, style);
}

}  // namespace quillon
