#pragma once
// The results report as text: rows of a label, a value and the name of its formula, grouped in
// sections, with closing sentences; rendered as HTML with a three-line table (rules above and
// below the table and under its header, no vertical lines, every style inline on the cells so
// that word processors keep it on paste) and as plain text with tab-separated columns.

#include <string>
#include <vector>

#include "report/figure.h"
#include "report/p_style.h"

namespace quillon {

struct ReportRow {
  std::string label;
  std::string value;    // the figure's text, or "—（reason）"
  std::string formula;  // the formula or method the figure comes from

  friend bool operator==(const ReportRow&, const ReportRow&) = default;
};

struct ReportSection {
  std::string heading;
  std::vector<ReportRow> rows;

  friend bool operator==(const ReportSection&, const ReportSection&) = default;
};

// The short three-line table a paper prints at the head of its results (组别, n, x̄±s, t, P):
// a caption, a header and rows of cells. Subscripts are the Unicode ones ("P₂₅", "rₛ"), set as
// real subscripts in HTML.
struct PaperTable {
  std::string caption;
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  std::string note;  // under the table; may be empty

  bool empty() const { return header.empty(); }
  friend bool operator==(const PaperTable&, const PaperTable&) = default;
};

struct Report {
  std::string title;
  std::vector<ReportSection> sections;
  std::vector<std::string> sentences;  // notes on the rules and assumptions, under the table
  std::string results;                 // the results sentence, ready for a paper
  std::string methods;                 // the methods sentence
  PaperTable paper;                    // at the head of the report; may be empty

  friend bool operator==(const Report&, const Report&) = default;
};

// "—（reason）"
std::string MissingText(const Figure& figure);
// Four decimals from 1E-04 up to below 1E+12, otherwise "1.2346E-05"; never "-0.0000".
std::string NumberText(const Figure& figure);
// Whole numbers without decimals (counts, degrees of freedom), others as NumberText.
std::string CountText(const Figure& figure);
// A P value in the table's value column, in the style: "0.025", "<0.001", ".03", "< .001".
// A P below `level` never reads as the level (FormatP).
std::string PCellText(PStyle style, const Figure& figure, double level = 0.05);
// A P value in a sentence, in the style: "P=0.025", "P < .001", "p = .025".
std::string PText(PStyle style, const Figure& figure, double level = 0.05);
// The bounds with NumberText joined as the style joins them ("0.0156～2.1844"), or the reason of
// the first missing bound. A bound that would read as a guarded value the interval excludes gets
// more decimals (GuardedBound).
std::string IntervalText(PStyle style, const Figure& lower, const Figure& upper,
                         IntervalNull null = IntervalNull::None);

std::string ReportHtml(const Report& report);

// The widths of the table's three columns, in pixels, padding included.
struct ColumnWidths {
  int label = 0;
  int value = 0;
  int formula = 0;

  friend bool operator==(const ColumnWidths&, const ColumnWidths&) = default;
};
// The same report with its table cut into one table per row (the header, each section's heading,
// each figure) and the columns of every one as wide as given, so that the rows line up: a shown
// report whose figure changes then lays out only that figure's row again.
std::string ReportHtmlByRow(const Report& report, const ColumnWidths& widths);

// A text cut where its statistical symbols begin and end, as GB 3358 sets them in italics: a
// single Latin letter standing alone (t, P, F, r, n, a, X …, not the E of 1.2E-05 nor the letters
// of a word or an abbreviation such as CI or OR), the cell products ad and bc, and the Greek ν
// and χ, each with its marks (prime, ², ₁, ₂, a bar or a hat).
struct TextRun {
  std::string text;
  bool italic = false;
};
std::vector<TextRun> SymbolRuns(const std::string& text);
// The pieces ReportHtml is made of, for updating a shown report in place: a text with its
// symbols in italics, and a value cell's content.
std::string InlineHtml(const std::string& text);
std::string ValueCellHtml(const std::string& value);
std::string ReportPlainText(const Report& report);
// What a paper takes as it is: the paper's table and the results and methods sentences, as HTML
// and as plain text (the table's cells tab-separated).
std::string PaperHtml(const Report& report);
std::string PaperPlainText(const Report& report);
// The paper's table alone as HTML, and a cell's content.
std::string PaperTableHtml(const PaperTable& table);
std::string PaperCellHtml(const std::string& text);

}  // namespace quillon
