#pragma once
// The results report kept as a file or printed: the text as the window shows it (the three-line
// table with its italics, the notes and the sentences) and under it the pictures shown.
//   PDF   A4 with margins of 20 mm, the text over as many pages as it needs, the pictures drawn
//         as vectors, each whole on one page; the fonts embedded, so that the Chinese text shows
//         on a machine without them. A printer gets the same pages.
//   ODT   the text with the pictures as PNG at twice the pixel density, inside the file; a
//         number's minus sign kept on its line.
//   HTML  one self-contained page in UTF-8, the pictures inline as SVG.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "report/writing/text.h"

class QPagedPaintDevice;
class QTextDocument;
class QWidget;

namespace quillon::plots {
class PlotCanvas;
}

namespace quillon::ui {

enum class DocumentFormat { Pdf, Odt, Html };

// The format a file name's extension names (.pdf, .odt, .html or .htm, in any case); nothing for
// another extension or none.
std::optional<DocumentFormat> FormatOfPath(const QString& path);
// The name the report is written to: the chosen one when its extension names a format, otherwise
// the chosen one with the extension of the file type selected in the dialog.
QString ReportPath(const QString& chosen, DocumentFormat selected);
// The name the save dialog suggests: the report's title and the day,
// "两样本均数t检验-2026-12-08.pdf".
QString SuggestedReportName(const std::string& title, QDate date);
// Asks for a file name in Qt's own dialog ("保存报告", PDF, ODT or HTML, PDF first), suggesting
// one, with the extension as ReportPath gives it; the empty text when the dialog was cancelled.
QString AskForReportPath(QWidget* owner, const QString& suggested);

// Moves each table row that a page's end would cut to the next page, whole (Qt moves a row only
// when none of its cells' first lines fits): the row above takes the rest of the page as room
// under its text, and the row moved begins a few pixels below the page's top. The text has its
// page size; `deviceScale` is the device's pixels to one of 1/96 inch.
void KeepRowsWhole(QTextDocument& text, double deviceScale);

// Each minus sign of a number becomes U+2212 joined to its digits by a word joiner (U+2060), which
// LibreOffice never breaks after; after a hyphen it may break a line, leaving "-" at a line's end.
void KeepMinusSignsWithTheirNumbers(QTextDocument& text);

class ReportDocument {
 public:
  ReportDocument(const Report& report, std::vector<const plots::PlotCanvas*> pictures);

  // A4 with margins of 20 mm, as the PDF has them; a printer is set up so before its preview.
  static void SetUpPage(QPagedPaintDevice& device);
  // Lays the pages out on a PDF writer or a printer and draws them; false when the device could
  // not be painted on.
  bool Paint(QPagedPaintDevice& device) const;
  // The file's contents in a format; empty when they could not be made.
  QByteArray Contents(DocumentFormat format) const;
  // Writes the file through a temporary one that replaces it only once it is complete; the reason
  // when that failed, the old file left as it was.
  std::optional<QString> Save(const QString& path, DocumentFormat format) const;

 private:
  QByteArray Pdf() const;
  QByteArray Odt() const;
  QByteArray Html() const;
  // The report's text in a document of the page's font.
  void SetText(QTextDocument& text) const;

  const Report& report_;
  std::vector<const plots::PlotCanvas*> pictures_;
};

}  // namespace quillon::ui
