// The analysis file written and read back, each bad file refused with its reason, and the CSV.

#include "analysis_file/analysis_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_file/csv.h"

namespace quillon {
namespace {

using P = AnalysisFileProblem;

AnalysisState FullState() {
  AnalysisState state;
  state.analysis = AnalysisKind::McNemar;
  state.group1 = {"12.5", "", "-3", "１２", "a\"b\\c\nd", std::string("x\0y", 3)};
  state.group2 = {"7"};
  state.summary = {"1", "2", "3", "4", "5", "6"};
  state.fourfold = {"10", "", "30", "40"};
  state.style = PStyle::Apa;
  state.testPath = TestPath::RankTest;
  state.positiveMeans = PositiveMeans::Harm;
  state.hypothesis = Hypothesis::NonInferiority;
  state.better = Better::Lower;
  state.margin = "5";
  state.alpha = "0.025";
  state.design = PowerDesign::TwoProportions;
  state.solveFor = SolveFor::Power;
  state.sampleSize.alpha = "0.01";
  state.sampleSize.p01 = "0.2";
  state.sampleSize.n = "120";
  state.sampleSize.outcome = "治疗12周后的收缩压";
  state.sampleSize.unit = "mmHg";
  state.sampleSize.group2 = "对照组";
  state.sampleSize.source = std::string(kMaxAnalysisNameLength, 's');
  state.names = {{"group1", "试验组"}, {"outcome", std::string(kMaxAnalysisNameLength, 'x')}};
  return state;
}

AnalysisState Read(const std::string& bytes) {
  auto read = ReadAnalysis(bytes);
  if (auto* error = std::get_if<AnalysisFileError>(&read)) ADD_FAILURE() << error->reason;
  return std::holds_alternative<AnalysisState>(read) ? std::get<AnalysisState>(read)
                                                     : AnalysisState{};
}

TEST(AnalysisFile, WrittenStateReadsBack) {
  const AnalysisState full = FullState();
  const std::string written = WriteAnalysis(full);
  EXPECT_TRUE(written.starts_with("{\n  \"format\": \"quillon-analysis\",\n  \"version\": 1,\n"));
  EXPECT_NE(written.find("\"试验组\""), std::string::npos);  // Chinese stays readable
  EXPECT_EQ(Read(written), full);
  EXPECT_EQ(Read(WriteAnalysis(AnalysisState{})), AnalysisState{});

  // Every choice under its own key.
  for (int k = 0; k < 5; ++k) {
    AnalysisState state;
    state.analysis = static_cast<AnalysisKind>(k);
    state.design = static_cast<PowerDesign>(k);
    state.style = static_cast<PStyle>(k % 4);
    state.testPath = static_cast<TestPath>(k % 2);
    state.positiveMeans = static_cast<PositiveMeans>(k % 2);
    state.solveFor = static_cast<SolveFor>(k % 2);
    state.hypothesis = static_cast<Hypothesis>(k % 4);
    state.better = static_cast<Better>(k % 2);
    EXPECT_EQ(Read(WriteAnalysis(state)), state) << k;
  }
  AnalysisState full_grid;
  full_grid.group1.assign(kMaxGridRows, "1");
  full_grid.group2.clear();
  EXPECT_EQ(Read(WriteAnalysis(full_grid)), full_grid);
}

TEST(AnalysisFile, HandWrittenFileTakesTheDefaults) {
  AnalysisState expected;
  expected.group1 = {"1.5", "2"};
  expected.group2 = {};
  expected.summary[kN2] = "9";
  expected.sampleSize.r = "0.3";
  expected.sampleSize.unit = "kg";
  EXPECT_EQ(Read(R"({"group1": ["1.5", "2"], "group2": [], "summary": {"n2": "9", "x": 1},
                     "sampleSize": {"r": "0.3", "unit": "kg"}, "later": {"deep": [[{"a": 1}]]}})"),
            expected);
  // Without the summary boxes, the grid's values give them.
  AnalysisState bare;
  bare.summaryGiven = false;
  EXPECT_EQ(Read("\xEF\xBB\xBF{\"format\": \"quillon-analysis\"}"), bare);
  EXPECT_EQ(Read(WriteAnalysis(bare)), bare);
}

TEST(AnalysisFile, BadFilesAreRefusedWithTheirReason) {
  std::string tooMany = "{\"group2\": [\"\"";
  for (std::size_t row = 1; row <= kMaxGridRows; ++row) tooMany += ",\"1\"";
  tooMany += "]}";
  std::string longName = "{\"names\": {\"outcome\": \"";
  for (std::size_t k = 0; k <= kMaxAnalysisNameLength; ++k) longName += "字";
  longName += "\"}}";
  const std::string longSource =
      "{\"sampleSize\": {\"source\": \"" + longName.substr(longName.find("字"));
  const struct {
    std::string bytes;
    P problem;
    std::string reason;
  } cases[] = {
      {std::string(kMaxAnalysisFileBytes + 1, ' '), P::TooLarge, "超过64 MiB"},
      {"{\"group1\":\n[\"\xB2\xE2\"]}", P::NotUtf8, "不是UTF-8文本：第2行"},
      {"{\"group1\": [\"\xC0\xAF\"]}", P::NotUtf8, "UTF-8"},      // overlong "/"
      {"{\"group1\": [\"\xED\xA0\x80\"]}", P::NotUtf8, "UTF-8"},  // a surrogate
      {" \r\n", P::Truncated, "文件是空的"},
      {"{\"group1\": [\"1\", \"2\"", P::Truncated, "文件不完整"},
      {"{\"group1\": [\"1\", \"2", P::Truncated, "文件不完整"},
      {"{\"group1\": [\"\xE4\xB8", P::Truncated, "文件不完整"},  // cut inside "中"
      {"{\"group1\": [\"\xE4\xB8\"]}", P::NotUtf8, "UTF-8"},
      {"{\"group1\":\n [\"中\" \"2\"]}", P::NotJson, "第2行第9个字符附近"},
      {"{\"group1\": [\"\\ud800\"]}", P::NotJson, "不是JSON"},
      {"{\"a\": 1} x", P::NotJson, "不是JSON"},
      {"[\"1\"]", P::OtherFormat, "不是Quillon分析文件"},
      {"{\"name\": \"x\"}", P::OtherFormat, "没有Quillon分析文件的内容"},
      {"{\"format\": \"ods\", \"group1\": []}", P::OtherFormat, "格式为“ods”"},
      {"{\"format\": 1}", P::WrongType, "“format”"},
      {"{\"format\": \"quillon-analysis\", \"version\": 2}", P::NewerVersion, "版本为2"},
      {"{\"version\": 18446744073709551615}", P::NewerVersion, "较新的Quillon"},
      {"{\"version\": 0}", P::BadValue, "版本号0无效"},
      {"{\"version\": 1.0}", P::WrongType, "“version”的值应为整数"},
      {"{\"group1\": \"1\"}", P::WrongType, "“group1”的值应为文本的列表"},
      {"{\"group2\": [\"1\", 2]}", P::WrongType, "“group2”的第2项应为文本"},
      {"{\"group1\": [[\"1\"]]}", P::WrongType, "第1项"},
      {"{\"summary\": []}", P::WrongType, "“summary”的值应为对象"},
      {"{\"sampleSize\": {\"sdDiff\": 3}}", P::WrongType, "“sampleSize.sdDiff”的值应为文本"},
      {"{\"names\": {\"x\": null}}", P::WrongType, "“names.x”"},
      {tooMany, P::TooManyRows, "“group2”有32777行，超过数据表最多的32776行"},
      {"{\"analysis\": \"anova\"}", P::BadValue, "“analysis”的值“anova”无法识别"},
      {"{\"report\": {\"testPath\": \"z\"}}", P::BadValue, "“report.testPath”"},
      {"{\"report\": {\"hypothesis\": \"ni\"}}", P::BadValue, "“report.hypothesis”"},
      {"{\"report\": {\"margin\": 5}}", P::WrongType, "“report.margin”"},
      {"{\"sampleSize\": {\"solveFor\": \"n\"}}", P::BadValue, "“sampleSize.solveFor”"},
      {longName, P::BadValue, "“names.outcome”的名称超过40个字符"},
      {longSource, P::BadValue, "“sampleSize.source”的名称超过40个字符"},
      {"{\"sampleSize\": {\"group1\": [\"试验组\"]}}", P::WrongType,
       "“sampleSize.group1”的值应为文本"},
  };
  for (const auto& bad : cases) {
    const auto read = ReadAnalysis(bad.bytes);
    const auto* error = std::get_if<AnalysisFileError>(&read);
    ASSERT_NE(error, nullptr) << bad.bytes.substr(0, 60);
    EXPECT_EQ(error->problem, bad.problem) << error->reason;
    EXPECT_NE(error->reason.find(bad.reason), std::string::npos) << error->reason;
  }
}

TEST(AnalysisFile, Csv) {
  EXPECT_EQ(SamplesCsv("第一组", "组,\"2\"", {"1.5", "", "a\nb"}, {"2"}),
            "\xEF\xBB\xBF第一组,\"组,\"\"2\"\"\"\r\n1.5,2\r\n,\r\n\"a\nb\",\r\n");
  EXPECT_EQ(SamplesCsv("x", "y", {}, {}), "\xEF\xBB\xBFx,y\r\n");
  EXPECT_EQ(FourfoldCsv({"试验组", "对照组"}, {"（+）", "（-）"}, {"1", "2", "", "4"}, "组别"),
            "\xEF\xBB\xBF组别,（+）,（-）\r\n试验组,1,2\r\n对照组,,4\r\n");
}

}  // namespace
}  // namespace quillon
