#include "report/writing/text.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "stats/number_text.h"

namespace quillon {

namespace {

std::string Printed(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  std::string text = buffer;
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}

// Decodes the code point at text[at] and its length in bytes (UTF-8 is assumed well formed; a
// stray byte counts as itself).
char32_t CodePointAt(const std::string& text, std::size_t at, std::size_t& length) {
  const auto byte = static_cast<unsigned char>(text[at]);
  length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
  if (at + length > text.size()) length = 1;
  if (length == 1) return byte;
  char32_t code = byte & (0x3F >> (length - 1));
  for (std::size_t k = 1; k < length; ++k) {
    code = (code << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  }
  return code;
}

bool IsAsciiAlphanumeric(char32_t code) {
  return (code >= U'a' && code <= U'z') || (code >= U'A' && code <= U'Z') ||
         (code >= U'0' && code <= U'9');
}

bool IsAsciiLetter(char32_t code) {
  return (code >= U'a' && code <= U'z') || (code >= U'A' && code <= U'Z');
}

bool IsCell(char32_t code) { return code >= U'a' && code <= U'd'; }

// The marks a symbol carries: prime, squared, subscripts 1 and 2, a combining bar or hat.
bool IsSymbolMark(char32_t code) {
  return code == U'\u2032' || code == U'\u00B2' || (code >= U'\u2080' && code <= U'\u2089') ||
         code == U'\u209B' || code == U'\u0304' || code == U'\u0302';
}

// The subscript digits and the subscript s, and the letters they stand for.
char SubscriptOf(char32_t code) {
  if (code >= U'\u2080' && code <= U'\u2089') return static_cast<char>('0' + (code - U'\u2080'));
  return code == U'\u209B' ? 's' : 0;
}

}  // namespace

std::vector<TextRun> SymbolRuns(const std::string& text) {
  std::vector<TextRun> runs;
  auto add = [&](std::size_t from, std::size_t to, bool italic) {
    if (!runs.empty() && runs.back().italic == italic) {
      runs.back().text.append(text, from, to - from);
    } else {
      runs.push_back({text.substr(from, to - from), italic});
    }
  };
  char32_t previous = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t length = 0;
    const char32_t code = CodePointAt(text, at, length);
    bool symbol = false;
    std::size_t end = at + length;
    if (code == U'\u03BD' || code == U'\u03C7') {
      symbol = true;
    } else if (IsAsciiLetter(code) && !IsAsciiAlphanumeric(previous)) {
      std::size_t nextLength = 0;
      const char32_t next = end < text.size() ? CodePointAt(text, end, nextLength) : 0;
      symbol = !IsAsciiAlphanumeric(next);
      // The products of two cells of the four-fold table, "ad" and "bc".
      if (!symbol && IsCell(code) && IsCell(next) && end + 1 <= text.size()) {
        const char32_t after =
            end + 1 < text.size() ? static_cast<unsigned char>(text[end + 1]) : 0;
        if (!IsAsciiAlphanumeric(after)) {
          symbol = true;
          end += 1;
        }
      }
    }
    if (!symbol) {
      add(at, end, false);
      previous = code;
      at = end;
      continue;
    }
    char32_t last = code;
    while (end < text.size()) {
      std::size_t markLength = 0;
      const char32_t mark = CodePointAt(text, end, markLength);
      if (!IsSymbolMark(mark)) break;
      last = mark;
      end += markLength;
    }
    add(at, end, true);
    previous = last;
    at = end;
  }
  return runs;
}

namespace {

std::string Html(const std::string& text) { return InlineHtml(text); }

constexpr const char* kHeavyRule = "1.5pt solid #000000";
constexpr const char* kThinRule = "0.75pt solid #000000";

enum class Align { Left, Right };

// Word processors drop the cells' padding on paste; an en space keeps the formulas clear of the
// numbers beside them.
constexpr const char* kGap = "&#8194;";

// One cell. Every style is inline, so that a word processor keeps it on paste. Qt's rich text
// reads padding only in pixels, and a cell that declares a side's border "none" loses its
// padding there: rules are declared only where they are drawn.
std::string Cell(const char* tag, const std::string& html, Align align, const std::string& rules,
                 const std::string& extra = {}) {
  const char* side = align == Align::Right ? "right" : "left";
  return std::string("<") + tag + extra + " align=\"" + side +
         "\" valign=\"top\" style=\"padding-left:8px;padding-right:8px;"
         "padding-top:2px;padding-bottom:2px;text-align:" +
         side + ";" + rules + "\">" + html + "</" + tag + ">";
}

}  // namespace

std::string MissingText(const Figure& figure) { return "—（" + figure.reason + "）"; }

std::string NumberText(const Figure& figure) {
  if (!figure) return MissingText(figure);
  const double magnitude = std::fabs(*figure);
  // The fixed range is written as the main window writes its values, so a figure shown in both
  // places is the same text.
  if (magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e12)) return FormatFixed4(*figure);
  return Printed("%.4E", *figure);
}

std::string CountText(const Figure& figure) {
  if (figure && IsWhole(*figure) && std::fabs(*figure) < 1e15) return Printed("%.0f", *figure);
  return NumberText(figure);
}

std::string PCellText(PStyle style, const Figure& figure, double level) {
  if (!figure) return MissingText(figure);
  std::string rest = FormatP(style, figure, level).rest;
  const std::size_t start = rest.find_first_not_of(" =");
  return start == std::string::npos ? rest : rest.substr(start);
}

std::string PText(PStyle style, const Figure& figure, double level) {
  if (!figure) return FormatP(style, figure).symbol + " " + MissingText(figure);
  return FormatP(style, figure, level).Plain();
}

std::string IntervalText(PStyle style, const Figure& lower, const Figure& upper,
                         IntervalNull null) {
  if (!lower || !upper) return MissingText(lower ? upper : lower);
  auto bound = [&](const Figure& value) {
    return GuardedBound(*value, *lower, *upper, 4, null, NumberText(value));
  };
  return JoinBounds(style, bound(lower), bound(upper));
}

std::string InlineHtml(const std::string& text) {
  std::string html;
  for (const TextRun& run : SymbolRuns(text)) {
    html += run.italic ? "<i>" + HtmlEscaped(run.text) + "</i>" : HtmlEscaped(run.text);
  }
  return html;
}

// A value that is a number or an interval stays on one line; a reason may wrap.
std::string ValueCellHtml(const std::string& value) {
  if (value.starts_with("—")) return InlineHtml(value);
  return "<span style=\"white-space:nowrap;\">" + InlineHtml(value) + "</span>";
}

namespace {

// The report as HTML, its table whole or, given the columns' widths, cut into one table per row
// (the header, each section's heading, each figure), every cell of one column as wide.
std::string ReportHtmlOf(const Report& report, const ColumnWidths* widths) {
  std::string table =
      "<table cellspacing=\"0\" cellpadding=\"4\" style=\"border-collapse:collapse;\"";
  std::array<std::string, 3> width;
  std::string headingTable = table;  // a heading spans the three columns' width
  if (widths != nullptr) {
    headingTable +=
        " width=\"" + std::to_string(widths->label + widths->value + widths->formula) + "\"";
    width = {" width=\"" + std::to_string(widths->label) + "\"",
             " width=\"" + std::to_string(widths->value) + "\"",
             " width=\"" + std::to_string(widths->formula) + "\""};
  }
  table += ">\n";
  headingTable += ">\n";
  // With widths, the table is closed and another begun before each row.
  auto cut = [&](const std::string& next) {
    return widths != nullptr ? "</table>\n" + next : std::string();
  };
  std::string html =
      "<html><head><meta charset=\"utf-8\"></head><body>\n"
      "<p style=\"font-weight:bold;margin-bottom:4pt;\">" +
      HtmlEscaped(report.title) + "</p>\n" + PaperTableHtml(report.paper) +
      (report.paper.empty() ? ""
                            : "<p style=\"font-weight:bold;margin-bottom:4pt;\">" +
                                  std::string("计算过程与全部结果") + "</p>\n") +
      table;
  const std::string headerRules =
      std::string("border-top:") + kHeavyRule + ";border-bottom:" + kThinRule + ";";
  html += "<tr>" + Cell("th", "项目", Align::Left, headerRules, width[0]) +
          Cell("th", "数值", Align::Right, headerRules, width[1]) +
          Cell("th", kGap + std::string("公式或方法"), Align::Left, headerRules, width[2]) +
          "</tr>\n";
  std::size_t remaining = 0;
  for (const ReportSection& section : report.sections) remaining += 1 + section.rows.size();
  // The bottom rule goes on the cells of the last row, which word processors keep.
  auto rules = [&] {
    return --remaining == 0 ? std::string("border-bottom:") + kHeavyRule + ";" : std::string();
  };
  for (const ReportSection& section : report.sections) {
    html += cut(headingTable) + "<tr>" +
            Cell("td", Html(section.heading), Align::Left,
                 rules() + "font-weight:bold;padding-top:6px;", " colspan=\"3\"") +
            "</tr>\n";
    for (const ReportRow& row : section.rows) {
      const std::string rowRules = rules();
      const bool number = !row.value.starts_with("—");
      html += cut(table) + "<tr>" + Cell("td", Html(row.label), Align::Left, rowRules, width[0]) +
              Cell("td", ValueCellHtml(row.value), Align::Right, rowRules,
                   (number ? " nowrap" : "") + width[1]) +
              Cell("td", kGap + Html(row.formula), Align::Left, rowRules, width[2]) + "</tr>\n";
    }
  }
  html += "</table>\n";
  for (const std::string& sentence : report.sentences) {
    html += "<p>" + Html(sentence) + "</p>\n";
  }
  for (const std::string* paragraph : {&report.results, &report.methods}) {
    if (!paragraph->empty()) html += "<p>" + Html(*paragraph) + "</p>\n";
  }
  return html + "</body></html>\n";
}

}  // namespace

std::string PaperCellHtml(const std::string& text) {
  std::string html;
  for (const TextRun& run : SymbolRuns(text)) {
    // Each run of subscripts becomes one <sub>, inside the run's italics where it has them.
    std::string part;
    std::string sub;
    auto flush = [&] {
      if (!sub.empty()) part += "<sub>" + sub + "</sub>";
      sub.clear();
    };
    std::size_t at = 0;
    std::size_t plainFrom = 0;
    while (at < run.text.size()) {
      std::size_t length = 0;
      const char letter = SubscriptOf(CodePointAt(run.text, at, length));
      if (letter != 0) {
        if (plainFrom < at) part += HtmlEscaped(run.text.substr(plainFrom, at - plainFrom));
        sub += letter;
        plainFrom = at + length;
      } else if (!sub.empty()) {
        flush();
      }
      at += length;
    }
    if (plainFrom < run.text.size()) {
      flush();
      part += HtmlEscaped(run.text.substr(plainFrom));
    }
    flush();
    html += run.italic ? "<i>" + part + "</i>" : part;
  }
  return html;
}

std::string PaperTableHtml(const PaperTable& paper) {
  if (paper.empty()) return {};
  std::string html = "<p style=\"font-weight:bold;margin-bottom:4pt;\">" + Html(paper.caption) +
                     "</p>\n<table cellspacing=\"0\" cellpadding=\"4\" "
                     "style=\"border-collapse:collapse;\">\n<tr>";
  const std::string headerRules =
      std::string("border-top:") + kHeavyRule + ";border-bottom:" + kThinRule + ";";
  for (std::size_t k = 0; k < paper.header.size(); ++k) {
    html += Cell("th", PaperCellHtml(paper.header[k]), k == 0 ? Align::Left : Align::Right,
                 headerRules, " nowrap");
  }
  html += "</tr>\n";
  for (std::size_t r = 0; r < paper.rows.size(); ++r) {
    const std::string rules =
        r + 1 == paper.rows.size() ? std::string("border-bottom:") + kHeavyRule + ";" : "";
    html += "<tr>";
    for (std::size_t k = 0; k < paper.rows[r].size(); ++k) {
      html += Cell("td", PaperCellHtml(paper.rows[r][k]), k == 0 ? Align::Left : Align::Right,
                   rules, " nowrap");
    }
    html += "</tr>\n";
  }
  html += "</table>\n";
  if (!paper.note.empty()) html += "<p>" + Html(paper.note) + "</p>\n";
  return html;
}

std::string PaperHtml(const Report& report) {
  std::string html =
      "<html><head><meta charset=\"utf-8\"></head><body>\n" + PaperTableHtml(report.paper);
  for (const std::string* paragraph : {&report.results, &report.methods}) {
    if (!paragraph->empty()) html += "<p>" + Html(*paragraph) + "</p>\n";
  }
  return html + "</body></html>\n";
}

namespace {

std::string PaperTableText(const PaperTable& paper) {
  if (paper.empty()) return {};
  std::string text = paper.caption + "\n";
  auto line = [&](const std::vector<std::string>& cells) {
    for (std::size_t k = 0; k < cells.size(); ++k) text += (k == 0 ? "" : "\t") + cells[k];
    text += "\n";
  };
  line(paper.header);
  for (const std::vector<std::string>& row : paper.rows) line(row);
  if (!paper.note.empty()) text += paper.note + "\n";
  return text;
}

}  // namespace

std::string PaperPlainText(const Report& report) {
  std::string text = PaperTableText(report.paper);
  if (!text.empty() && (!report.results.empty() || !report.methods.empty())) text += "\n";
  for (const std::string* paragraph : {&report.results, &report.methods}) {
    if (!paragraph->empty()) text += *paragraph + "\n";
  }
  return text;
}

std::string ReportHtml(const Report& report) { return ReportHtmlOf(report, nullptr); }

std::string ReportHtmlByRow(const Report& report, const ColumnWidths& widths) {
  return ReportHtmlOf(report, &widths);
}

std::string ReportPlainText(const Report& report) {
  std::string text = report.title + "\n";
  if (!report.paper.empty()) text += "\n" + PaperTableText(report.paper);
  for (const ReportSection& section : report.sections) {
    text += "\n【" + section.heading + "】\n";
    for (const ReportRow& row : section.rows) {
      text += row.label + "\t" + row.value + "\t" + row.formula + "\n";
    }
  }
  if (!report.sentences.empty()) text += "\n";
  for (const std::string& sentence : report.sentences) text += sentence + "\n";
  if (!report.results.empty() || !report.methods.empty()) text += "\n";
  for (const std::string* paragraph : {&report.results, &report.methods}) {
    if (!paragraph->empty()) text += *paragraph + "\n";
  }
  return text;
}

}  // namespace quillon
