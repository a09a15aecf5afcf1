#include "report/text.h"

#include <cfloat>
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

std::string Escaped(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char character : text) {
    switch (character) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += character;
    }
  }
  return escaped;
}

constexpr const char* kHeavyRule = "1.5pt solid #000000";
constexpr const char* kThinRule = "0.75pt solid #000000";
constexpr const char* kCellStyle =
    "padding:2pt 10pt;border-left:none;border-right:none;vertical-align:top;";

std::string Cell(const char* tag, const std::string& text, const std::string& rules,
                 const std::string& extra = {}) {
  return std::string("<") + tag + extra + " style=\"" + kCellStyle + "text-align:left;" + rules +
         "\">" + Escaped(text) + "</" + tag + ">";
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

std::string PText(const Figure& figure) {
  if (!figure) return MissingText(figure);
  if (*figure >= 1e-4) return Printed("%.4f", *figure);
  if (*figure < DBL_MIN) return "< 2.2E-308";
  return Printed("%.2E", *figure);
}

std::string IntervalText(const Figure& lower, const Figure& upper) {
  if (!lower || !upper) return MissingText(lower ? upper : lower);
  return "(" + NumberText(lower) + ", " + NumberText(upper) + ")";
}

std::string ReportHtml(const Report& report) {
  std::string html =
      "<html><head><meta charset=\"utf-8\"></head><body>\n"
      "<p style=\"font-weight:bold;\">" +
      Escaped(report.title) +
      "</p>\n"
      "<table style=\"border-collapse:collapse;border:none;border-top:" +
      std::string(kHeavyRule) + ";border-bottom:" + kHeavyRule +
      ";\" cellspacing=\"0\" cellpadding=\"0\">\n";
  const std::string headerRules =
      std::string("border-top:") + kHeavyRule + ";border-bottom:" + kThinRule + ";";
  html += "<tr>" + Cell("th", "项目", headerRules) + Cell("th", "数值", headerRules) +
          Cell("th", "公式或方法", headerRules) + "</tr>\n";
  std::size_t remaining = 0;
  for (const ReportSection& section : report.sections) remaining += 1 + section.rows.size();
  // The bottom rule goes on the cells of the last row, which word processors keep.
  auto rules = [&] {
    return --remaining == 0 ? std::string("border-bottom:") + kHeavyRule + ";"
                            : std::string("border-bottom:none;");
  };
  for (const ReportSection& section : report.sections) {
    html += "<tr>" + Cell("td", section.heading, rules() + "font-weight:bold;", " colspan=\"3\"") +
            "</tr>\n";
    for (const ReportRow& row : section.rows) {
      const std::string rowRules = rules();
      html += "<tr>" + Cell("td", row.label, rowRules) + Cell("td", row.value, rowRules) +
              Cell("td", row.formula, rowRules) + "</tr>\n";
    }
  }
  html += "</table>\n";
  for (const std::string& sentence : report.sentences) {
    html += "<p>" + Escaped(sentence) + "</p>\n";
  }
  return html + "</body></html>\n";
}

std::string ReportPlainText(const Report& report) {
  std::string text = report.title + "\n";
  for (const ReportSection& section : report.sections) {
    text += "\n【" + section.heading + "】\n";
    for (const ReportRow& row : section.rows) {
      text += row.label + "\t" + row.value + "\t" + row.formula + "\n";
    }
  }
  if (!report.sentences.empty()) text += "\n";
  for (const std::string& sentence : report.sentences) text += sentence + "\n";
  return text;
}

}  // namespace quillon
