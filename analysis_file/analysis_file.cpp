#include "analysis_file/analysis_file.h"

#include <utf8cpp/utf8.h>

#include <algorithm>
#include <functional>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

namespace quillon {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kFormatName = "quillon-analysis";
constexpr int kVersion = 1;

// A choice's values and their keys in the file.
template <typename Enum, std::size_t N>
using KeyTable = std::pair<Enum, std::string_view>[N];

constexpr std::pair<AnalysisKind, std::string_view> kAnalysisKeys[] = {
    {AnalysisKind::TwoSample, "two-sample"},
    {AnalysisKind::Paired, "paired"},
    {AnalysisKind::Correlation, "correlation"},
    {AnalysisKind::Fourfold, "fourfold"},
    {AnalysisKind::McNemar, "mcnemar"}};
// The sample-size window lists the same designs under the analyses' names.
constexpr std::pair<PowerDesign, std::string_view> kDesignKeys[] = {
    {PowerDesign::TwoSample, "two-sample"},
    {PowerDesign::Paired, "paired"},
    {PowerDesign::Correlation, "correlation"},
    {PowerDesign::TwoProportions, "fourfold"},
    {PowerDesign::McNemar, "mcnemar"}};
constexpr std::pair<PStyle, std::string_view> kStyleKeys[] = {
    {PStyle::ChineseMedical, "chinese-medical"},
    {PStyle::Ama, "ama"},
    {PStyle::Nejm, "nejm"},
    {PStyle::Apa, "apa"}};
constexpr std::pair<TestPath, std::string_view> kTestPathKeys[] = {{TestPath::TTest, "t"},
                                                                   {TestPath::RankTest, "rank"}};
constexpr std::pair<PositiveMeans, std::string_view> kPositiveKeys[] = {
    {PositiveMeans::Benefit, "benefit"}, {PositiveMeans::Harm, "harm"}};
constexpr std::pair<Hypothesis, std::string_view> kHypothesisKeys[] = {
    {Hypothesis::Difference, "difference"},
    {Hypothesis::NonInferiority, "non-inferiority"},
    {Hypothesis::Superiority, "superiority"},
    {Hypothesis::Equivalence, "equivalence"}};
constexpr std::pair<Better, std::string_view> kBetterKeys[] = {{Better::Higher, "higher"},
                                                               {Better::Lower, "lower"}};
constexpr std::pair<SolveFor, std::string_view> kSolveKeys[] = {
    {SolveFor::SampleSize, "sample-size"}, {SolveFor::Power, "power"}};

// The boxes of each object, in the file's order.
constexpr std::array<std::string_view, kSummaryBoxCount> kSummaryKeys = {"mean1", "sd1", "n1",
                                                                         "mean2", "sd2", "n2"};
constexpr std::array<std::string_view, 4> kFourfoldKeys = {"a", "b", "c", "d"};
using B = SampleSizeBoxes;
constexpr std::pair<std::string_view, std::string B::*> kSampleSizeBoxes[] = {
    {"alpha", &B::alpha},
    {"power", &B::power},
    {"dropout", &B::dropout},
    {"mean1", &B::mean1},
    {"mean2", &B::mean2},
    {"sd", &B::sd},
    {"ratio", &B::ratio},
    {"meanDiff", &B::meanDiff},
    {"sdDiff", &B::sdDiff},
    {"r", &B::r},
    {"p1", &B::p1},
    {"p2", &B::p2},
    {"p10", &B::p10},
    {"p01", &B::p01},
    {"n", &B::n}};
// The names the sample-size window's sentence gives, after its boxes; each a name in length.
constexpr std::pair<std::string_view, std::string B::*> kSampleSizeNames[] = {
    {"outcome", &B::outcome},
    {"unit", &B::unit},
    {"group1", &B::group1},
    {"group2", &B::group2},
    {"source", &B::source}};

// The keys the top-level object may hold; anything else is passed over unread.
constexpr std::array<std::string_view, 10> kTopKeys = {
    "format",  "version",  "analysis", "group1",     "group2",
    "summary", "fourfold", "report",   "sampleSize", "names"};

template <typename Enum, std::size_t N>
std::string KeyText(const KeyTable<Enum, N>& table, Enum value) {
  for (const auto& [entry, key] : table) {
    if (entry == value) return std::string(key);
  }
  return std::string(table[0].second);
}

bool IsTopKey(std::string_view key) {
  return std::find(kTopKeys.begin(), kTopKeys.end(), key) != kTopKeys.end();
}

std::size_t CodePoints(std::string_view text) {
  return static_cast<std::size_t>(utf8::unchecked::distance(text.begin(), text.end()));
}

// A text from the file quoted in a reason: at most a name's length, the rest as "…".
std::string Quoted(std::string_view text) {
  auto end = text.begin();
  std::size_t shown = 0;
  while (end != text.end() && shown < kMaxAnalysisNameLength) {
    utf8::unchecked::next(end);
    ++shown;
  }
  std::string quoted = "“" + std::string(text.begin(), end);
  if (end != text.end()) quoted += "…";
  return quoted + "”";
}

// 1-based line and column (in code points) of the byte at `offset`.
std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view bytes, std::size_t offset) {
  const std::string_view before = bytes.substr(0, std::min(offset, bytes.size()));
  const std::size_t lineStart = before.rfind('\n') + 1;  // npos + 1 is 0
  const auto line = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
  const std::string_view inLine = before.substr(lineStart);
  const auto continuations = static_cast<std::size_t>(
      std::count_if(inLine.begin(), inLine.end(), [](char byte) { return (byte & 0xC0) == 0x80; }));
  return {line, inLine.size() - continuations + 1};
}

// Whether the bytes from the first one that is not UTF-8 on are a character cut off by the end.
bool CutInsideACharacter(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest.front());
  const std::size_t length = lead < 0xC2 || lead > 0xF4 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return rest.size() < length &&
         std::all_of(rest.begin() + 1, rest.end(), [](char byte) { return (byte & 0xC0) == 0x80; });
}

AnalysisFileError Refusal(AnalysisFileProblem problem, std::string reason) {
  return {problem, std::move(reason)};
}

// The filter on the parser's events: values under keys the file does not have are never built, and
// no container below the top-level object holds more than a grid's rows or anything nested, so a
// hostile file of 64 MiB costs no more memory than a full grid.
class ParseBounds {
 public:
  bool operator()(int depth, Json::parse_event_t event, const Json& parsed) {
    using Event = Json::parse_event_t;
    if (depth == 0) {
      if (event == Event::object_start) rootIsObject_ = true;
      return true;
    }
    if (!rootIsObject_) return false;
    if (depth == 1) {
      if (event == Event::key) {
        top_ = parsed.get_ref<const std::string&>();
        kept_ = IsTopKey(top_);
        members_ = 0;
        return kept_;
      }
      return kept_;
    }
    // Inside a top-level value: its members are kept up to the grid's bound, a value nested
    // further is left empty (a wrong type all the same).
    if (!kept_ || depth > 2) return false;
    if (event == Event::value || event == Event::object_start || event == Event::array_start) {
      if (++members_ > kMaxGridRows) {
        overflow_[top_] = members_;
        return false;
      }
    }
    return true;
  }

  // The top-level keys whose values held more than the grid's rows, with their count.
  const std::map<std::string, std::size_t>& Overflow() const { return overflow_; }

 private:
  bool rootIsObject_ = false;
  std::string top_;
  bool kept_ = false;
  std::size_t members_ = 0;
  std::map<std::string, std::size_t> overflow_;
};

// Reads the known keys of the parsed object into a state, or stops at the first wrong value. The
// groups' texts are moved out of the object.
class StateReader {
 public:
  explicit StateReader(Json& file) : file_(file) {}

  std::optional<AnalysisFileError> Read(AnalysisState& state) {
    Choice("analysis", kAnalysisKeys, state.analysis);
    Group("group1", state.group1);
    Group("group2", state.group2);
    if (const Json* summary = Object(file_, "summary")) {
      for (std::size_t box = 0; box < kSummaryKeys.size(); ++box) {
        Text(*summary, "summary", kSummaryKeys[box], state.summary[box]);
      }
    } else {
      state.summaryGiven = false;
    }
    if (const Json* fourfold = Object(file_, "fourfold")) {
      for (std::size_t cell = 0; cell < kFourfoldKeys.size(); ++cell) {
        Text(*fourfold, "fourfold", kFourfoldKeys[cell], state.fourfold[cell]);
      }
    }
    if (const Json* report = Object(file_, "report")) {
      Choice(*report, "report", "style", kStyleKeys, state.style);
      Choice(*report, "report", "testPath", kTestPathKeys, state.testPath);
      Choice(*report, "report", "positiveMeans", kPositiveKeys, state.positiveMeans);
      Choice(*report, "report", "hypothesis", kHypothesisKeys, state.hypothesis);
      Choice(*report, "report", "better", kBetterKeys, state.better);
      Text(*report, "report", "margin", state.margin);
      Text(*report, "report", "alpha", state.alpha);
    }
    if (const Json* plan = Object(file_, "sampleSize")) {
      Choice(*plan, "sampleSize", "design", kDesignKeys, state.design);
      Choice(*plan, "sampleSize", "solveFor", kSolveKeys, state.solveFor);
      for (const auto& [key, box] : kSampleSizeBoxes) {
        Text(*plan, "sampleSize", key, state.sampleSize.*box);
      }
      for (const auto& [key, box] : kSampleSizeNames) {
        if (const Json* value = Member(*plan, key)) {
          Name(*value, "sampleSize", key, state.sampleSize.*box);
        }
      }
    }
    if (const Json* names = Object(file_, "names")) {
      for (const auto& [key, value] : names->items()) {
        std::string name;
        Name(value, "names", key, name);
        if (!error_) state.names[key] = std::move(name);
      }
    }
    return error_;
  }

 private:
  static std::string Key(std::string_view parent, std::string_view key) {
    std::string path(parent);
    if (!path.empty()) path += ".";
    return "键" + Quoted(path.append(key));
  }

  void Fail(AnalysisFileProblem problem, std::string reason) {
    if (!error_) error_ = Refusal(problem, std::move(reason));
  }

  // The member `key` of `parent`, or nothing when it is missing.
  static const Json* Member(const Json& parent, std::string_view key) {
    const auto found = parent.find(key);
    return found == parent.end() ? nullptr : &*found;
  }

  const Json* Object(const Json& parent, std::string_view key) {
    const Json* value = Member(parent, key);
    if (value == nullptr || value->is_object()) return value;
    Fail(AnalysisFileProblem::WrongType, Key("", key) + "的值应为对象（{…}）");
    return nullptr;
  }

  void Text(const Json& parent, std::string_view parentKey, std::string_view key,
            std::string& text) {
    const Json* value = Member(parent, key);
    if (value == nullptr) return;
    if (value->is_string()) {
      text = value->get_ref<const std::string&>();
    } else {
      Fail(AnalysisFileProblem::WrongType, Key(parentKey, key) + "的值应为文本");
    }
  }

  // A text of at most kMaxAnalysisNameLength code points.
  void Name(const Json& value, std::string_view parentKey, std::string_view key,
            std::string& name) {
    if (!value.is_string()) {
      Fail(AnalysisFileProblem::WrongType, Key(parentKey, key) + "的值应为文本");
    } else if (CodePoints(value.get_ref<const std::string&>()) > kMaxAnalysisNameLength) {
      Fail(AnalysisFileProblem::BadValue,
           Key(parentKey, key) + "的名称超过" + std::to_string(kMaxAnalysisNameLength) + "个字符");
    } else {
      name = value.get_ref<const std::string&>();
    }
  }

  template <typename Enum, std::size_t N>
  void Choice(const Json& parent, std::string_view parentKey, std::string_view key,
              const KeyTable<Enum, N>& table, Enum& choice) {
    std::string text;
    Text(parent, parentKey, key, text);
    if (Member(parent, key) == nullptr || error_) return;
    for (const auto& [entry, entryKey] : table) {
      if (entryKey == text) {
        choice = entry;
        return;
      }
    }
    Fail(AnalysisFileProblem::BadValue, Key(parentKey, key) + "的值" + Quoted(text) + "无法识别");
  }
  template <typename Enum, std::size_t N>
  void Choice(std::string_view key, const KeyTable<Enum, N>& table, Enum& choice) {
    Choice(file_, "", key, table, choice);
  }

  void Group(std::string_view key, std::vector<std::string>& rows) {
    const auto value = file_.find(key);
    if (value == file_.end()) return;
    if (!value->is_array()) {
      Fail(AnalysisFileProblem::WrongType, Key("", key) + "的值应为文本的列表（[…]）");
      return;
    }
    std::vector<std::string> read;
    read.reserve(value->size());
    for (Json& row : *value) {
      if (!row.is_string()) {
        Fail(AnalysisFileProblem::WrongType,
             Key("", key) + "的第" + std::to_string(read.size() + 1) + "项应为文本");
        return;
      }
      read.push_back(std::move(row.get_ref<std::string&>()));
    }
    rows = std::move(read);
  }

  Json& file_;
  std::optional<AnalysisFileError> error_;
};

std::variant<AnalysisState, AnalysisFileError> ReadParsed(Json& file, const ParseBounds& bounds) {
  using P = AnalysisFileProblem;
  if (!file.is_object()) return Refusal(P::OtherFormat, "文件的内容不是Quillon分析文件");
  const auto format = file.find("format");
  if (format == file.end()) {
    const bool anyKey = std::any_of(kTopKeys.begin(), kTopKeys.end(),
                                    [&](std::string_view key) { return file.contains(key); });
    if (!anyKey) return Refusal(P::OtherFormat, "文件中没有Quillon分析文件的内容");
  } else if (!format->is_string()) {
    return Refusal(P::WrongType, "键“format”的值应为文本");
  } else if (format->get_ref<const std::string&>() != kFormatName) {
    return Refusal(P::OtherFormat, "文件的格式为" + Quoted(format->get_ref<const std::string&>()) +
                                       "，不是Quillon分析文件");
  }
  if (const auto version = file.find("version"); version != file.end()) {
    if (!version->is_number_integer()) return Refusal(P::WrongType, "键“version”的值应为整数");
    const bool isNewer = version->is_number_unsigned() ? version->get<std::uint64_t>() > kVersion
                                                       : version->get<std::int64_t>() > kVersion;
    const std::string shown = version->dump();
    if (isNewer) {
      return Refusal(P::NewerVersion, "文件的版本为" + shown + "，本程序只能读版本" +
                                          std::to_string(kVersion) +
                                          "的文件，请用较新的Quillon打开");
    }
    if (version->get<std::int64_t>() < 1) {
      return Refusal(P::BadValue, "文件的版本号" + shown + "无效");
    }
  }
  for (const auto& [key, members] : bounds.Overflow()) {
    if (key == "group1" || key == "group2") {
      return Refusal(P::TooManyRows, "键" + Quoted(key) + "有" + std::to_string(members) +
                                         "行，超过数据表最多的" + std::to_string(kMaxGridRows) +
                                         "行");
    }
    return Refusal(P::BadValue, "键" + Quoted(key) + "的项数超过" + std::to_string(kMaxGridRows));
  }
  AnalysisState state;
  if (auto error = StateReader(file).Read(state)) return *std::move(error);
  return state;
}

}  // namespace

std::string WriteAnalysis(const AnalysisState& state) {
  using Ordered = nlohmann::ordered_json;
  Ordered file;
  file["format"] = std::string(kFormatName);
  file["version"] = kVersion;
  file["analysis"] = KeyText(kAnalysisKeys, state.analysis);
  file["group1"] = state.group1;
  file["group2"] = state.group2;
  if (state.summaryGiven) {
    Ordered& summary = file["summary"] = Ordered::object();
    for (std::size_t box = 0; box < kSummaryKeys.size(); ++box) {
      summary[std::string(kSummaryKeys[box])] = state.summary[box];
    }
  }
  Ordered& fourfold = file["fourfold"] = Ordered::object();
  for (std::size_t cell = 0; cell < kFourfoldKeys.size(); ++cell) {
    fourfold[std::string(kFourfoldKeys[cell])] = state.fourfold[cell];
  }
  file["report"] = {{"style", KeyText(kStyleKeys, state.style)},
                    {"testPath", KeyText(kTestPathKeys, state.testPath)},
                    {"positiveMeans", KeyText(kPositiveKeys, state.positiveMeans)},
                    {"hypothesis", KeyText(kHypothesisKeys, state.hypothesis)},
                    {"better", KeyText(kBetterKeys, state.better)},
                    {"margin", state.margin},
                    {"alpha", state.alpha}};
  Ordered& plan = file["sampleSize"] = Ordered::object();
  plan["design"] = KeyText(kDesignKeys, state.design);
  plan["solveFor"] = KeyText(kSolveKeys, state.solveFor);
  for (const auto& [key, box] : kSampleSizeBoxes) plan[std::string(key)] = state.sampleSize.*box;
  for (const auto& [key, box] : kSampleSizeNames) plan[std::string(key)] = state.sampleSize.*box;
  Ordered& names = file["names"] = Ordered::object();
  for (const auto& [key, name] : state.names) names[key] = name;
  return file.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::variant<AnalysisState, AnalysisFileError> ReadAnalysis(std::string_view bytes) {
  using P = AnalysisFileProblem;
  if (bytes.size() > kMaxAnalysisFileBytes) {
    return Refusal(P::TooLarge, "文件超过" + std::to_string(kMaxAnalysisFileBytes >> 20) +
                                    " MiB，不是Quillon分析文件");
  }
  constexpr std::string_view kCutShort = "文件不完整：内容在结尾处中断";
  if (const auto bad = utf8::find_invalid(bytes.begin(), bytes.end()); bad != bytes.end()) {
    if (CutInsideACharacter(bytes.substr(static_cast<std::size_t>(bad - bytes.begin())))) {
      return Refusal(P::Truncated, std::string(kCutShort));
    }
    const auto [line, column] = LineAndColumn(bytes, static_cast<std::size_t>(bad - bytes.begin()));
    return Refusal(P::NotUtf8, "文件不是UTF-8文本：第" + std::to_string(line) +
                                   "行有无法识别的字节（可能是GBK等其他编码）");
  }
  if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    return Refusal(P::Truncated, "文件是空的");
  }
  try {
    ParseBounds bounds;
    Json file = Json::parse(bytes.begin(), bytes.end(), std::ref(bounds));
    return ReadParsed(file, bounds);
  } catch (const Json::parse_error& error) {
    if (error.byte > bytes.size()) return Refusal(P::Truncated, std::string(kCutShort));
    const auto [line, column] = LineAndColumn(bytes, error.byte - 1);
    return Refusal(P::NotJson, "文件不是JSON格式：第" + std::to_string(line) + "行第" +
                                   std::to_string(column) + "个字符附近有误");
  } catch (const std::bad_alloc&) {
    return Refusal(P::TooLarge, "内存不足，无法读入文件");
  } catch (const std::exception&) {
    return Refusal(P::NotJson, "文件不是JSON格式");
  }
}

}  // namespace quillon
