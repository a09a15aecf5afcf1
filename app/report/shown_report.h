#pragma once
// How the report window changes the shown report in place: which reports share a table's shape,
// the tables and paragraphs a shown report is made of, and the edits that rewrite a cell.

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <string>
#include <vector>

#include "app/widgets/utf8.h"
#include "report/writing/text.h"

namespace quillon::ui {

// Whether two reports have the same table, whatever its texts: the same sections under the same
// headings with as many rows. A row's label or method may change with the data (an exact P
// becomes a normal approximation once values tie), and a line of guidance may come or go under
// the table: the table keeps its shape for those.
inline bool SameShape(const Report& a, const Report& b) {
  if (a.title != b.title || a.sections.size() != b.sections.size()) return false;
  for (std::size_t i = 0; i < a.sections.size(); ++i) {
    if (a.sections[i].heading != b.sections[i].heading ||
        a.sections[i].rows.size() != b.sections[i].rows.size()) {
      return false;
    }
  }
  return true;
}

// The paragraphs under the table, in their order.
inline std::vector<const std::string*> Paragraphs(const Report& report) {
  std::vector<const std::string*> paragraphs;
  for (const std::string& sentence : report.sentences) paragraphs.push_back(&sentence);
  for (const std::string* text : {&report.results, &report.methods}) {
    if (!text->empty()) paragraphs.push_back(text);
  }
  return paragraphs;
}

// The selected text replaced by another, its symbols in italics as the full rendering has them.
inline void Replace(QTextCursor cursor, const std::string& text) {
  cursor.removeSelectedText();
  QTextCharFormat format;
  for (const TextRun& run : SymbolRuns(text)) {
    format.setFontItalic(run.italic);
    cursor.insertText(FromUtf8(run.text), format);
  }
}

// Changes made through a cursor between its construction and its end, laid out once.
class EditBlock {
 public:
  explicit EditBlock(QTextCursor& cursor) : cursor_(cursor) { cursor_.beginEditBlock(); }
  ~EditBlock() { cursor_.endEditBlock(); }
  EditBlock(const EditBlock&) = delete;
  EditBlock& operator=(const EditBlock&) = delete;

 private:
  QTextCursor& cursor_;
};

// The tables a report is shown in: the header's, then each section's heading's and one for each
// of its rows.
// The paper's table, where there is one, comes first.
inline std::size_t PaperTables(const Report& report) { return report.paper.empty() ? 0 : 1; }

inline std::size_t TableCount(const Report& report) {
  std::size_t count = 1 + PaperTables(report);
  for (const ReportSection& section : report.sections) count += 1 + section.rows.size();
  return count;
}

// Calls `row(table, now, shown)` for each figure's row of two reports of the same shape, with
// the index of the table that shows it.
template <typename Row>
inline void ForEachRow(const Report& next, const Report& shown, Row row) {
  std::size_t table = 1 + PaperTables(next);  // after the paper's and the header's
  for (std::size_t i = 0; i < next.sections.size(); ++i) {
    ++table;  // the section's heading
    for (std::size_t k = 0; k < next.sections[i].rows.size(); ++k, ++table) {
      row(table, next.sections[i].rows[k], shown.sections[i].rows[k]);
    }
  }
}

// Each paragraph keeps its text shaped once laid out, so that a repaint draws the glyphs as they
// are instead of shaping every line it shows again.
inline void KeepShapedText(const QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    block.layout()->setCacheEnabled(true);
  }
}

// The text's tables, in their order.
inline std::vector<QTextTable*> Tables(const QTextDocument& document) {
  std::vector<QTextTable*> tables;
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) tables.push_back(table);
  }
  return tables;
}

}  // namespace quillon::ui
