// Typed texts made safe in the script, and the rows the writer prints.

#include "rscript/script_writer.h"

#include <gtest/gtest.h>

namespace {

using quillon::RCommentText;
using quillon::RString;

TEST(RScriptText, TypedTextsStayInsideTheirLiteralOrComment) {
  const struct {
    std::string typed, literal, comment;
  } cases[] = {
      {"第1组", "\"第1组\"", "第1组"},
      {"A\"b", "\"A\\\"b\"", "A\"b"},
      {"a\\\"); system(\"x", "\"a\\\\\\\"); system(\\\"x\"", "a\\\"); system(\"x"},
      {"two\nlines\r", "\"two\\u000alines\\u000d\"", "two lines "},
      {"tab\there", "\"tab\\u0009here\"", "tab here"},
      {std::string("nul\0end", 7), "\"nulend\"", "nul end"},
      // Line and paragraph separators and NEL end a line for some readers: escaped too.
      {"a\u2028b\u2029c\u0085", "\"a\\u2028b\\u2029c\\u0085\"", "a b c "},
      // Bytes that are not UTF-8 become U+FFFD rather than unreadable input to R.
      {"x\xff\xc3", "\"x\uFFFD\uFFFD\"", "x\uFFFD\uFFFD"},
      {"\xed\xa0\x80", "\"\uFFFD\uFFFD\uFFFD\"", "\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RString(c.typed), c.literal) << c.typed;
    EXPECT_EQ(RCommentText(c.typed), c.comment) << c.typed;
  }
}

TEST(RScriptText, ValuesAsTheGridHoldsThem) {
  const std::vector<quillon::Fixed4> values = {*quillon::Fixed4::Parse("1.5"),
                                               *quillon::Fixed4::Parse("-0.0001"),
                                               *quillon::Fixed4::Parse("10000000.1234")};
  EXPECT_EQ(quillon::RVector(values), "c(1.5, -0.0001, 10000000.1234)");
  EXPECT_EQ(quillon::RVector(std::vector<quillon::Fixed4>(11, *quillon::Fixed4::Parse("2"))),
            "c(2, 2, 2, 2, 2, 2, 2, 2, 2, 2,\n  2)");
  EXPECT_EQ(quillon::RDouble(0.1), "0.1");
  EXPECT_EQ(quillon::RDouble(12), "12");
}

TEST(RScriptWriter, RowsInOrderMissingOnesAsCommentsAndUnknownSectionsNamed) {
  quillon::Report report;
  report.title = "标题\n换行";
  report.sections = {{"已知", {{"x", "1.0000", ""}, {"y\"", "—（没有\n数值）", ""}}},
                     {"未知", {{"z", "2.0000", ""}}}};
  quillon::ScriptWriter writer("3.0", "2026-12-09", report, quillon::PStyle::Apa);
  const quillon::SectionCode known = [](const quillon::ReportSection&) {
    return std::vector<quillon::RowCode>{{{"v <- 1"}, ".num(v)"}, {{"never <- 1"}, ".num(0)"}};
  };
  writer.Sections(report, {{"已知", known}});
  const std::string text = writer.Text();
  EXPECT_NE(text.find("# 分析：标题 换行\n"), std::string::npos);
  EXPECT_NE(text.find(".style <- \"apa\"\n"), std::string::npos);
  EXPECT_NE(text.find("v <- 1\n.row(\"x\", .num(v))\n"), std::string::npos);
  // A missing row computes nothing: its setup is not written.
  EXPECT_EQ(text.find("never <- 1"), std::string::npos);
  EXPECT_NE(text.find("# y\": —（没有 数值）\n.row(\"y\\\"\", \"—（没有\\u000a数值）\")\n"),
            std::string::npos);
  EXPECT_NE(text.find("# 【未知】\n# 本节未在R中重算。\n"), std::string::npos);
  EXPECT_EQ(text.find(".row(\"z\""), std::string::npos);
}

}  // namespace
