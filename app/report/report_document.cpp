#include "app/report/report_document.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/widgets/utf8.h"
#include "app/widgets/write_failures.h"
#include "plots/plot_canvas.h"

namespace quillon::ui {

namespace {

constexpr double kMarginMillimetres = 20;
// Five-point type (五号), the body size of Chinese papers.
constexpr double kTextPointSize = 10.5;
// Qt's PNG quality 80 is zlib's level 1.
constexpr int kQuickPngQuality = 80;
// The room between the text and a picture, and between pictures, in millimetres.
constexpr double kPictureGapMillimetres = 6;

struct FormatName {
  DocumentFormat format;
  const char* extension;
  const char* filter;
};
constexpr std::array<FormatName, 3> kFormats = {{
    {DocumentFormat::Pdf, "pdf", "PDF 文档 (*.pdf)"},
    {DocumentFormat::Odt, "odt", "ODT 文档 (*.odt)"},
    {DocumentFormat::Html, "html", "HTML 网页 (*.html)"},
}};

const FormatName& NameOf(DocumentFormat format) {
  return kFormats[static_cast<std::size_t>(format)];
}

// The ODF writer keeps only what the text's formats set themselves, so the font's size goes on
// every character; and it writes the cells' alignment to the top as raised small text, so that
// goes.
void SuitOdfWriter(QTextDocument& text) {
  // The runs are noted first: a format set anew may join a run with the next.
  std::vector<std::pair<QTextCursor, QTextCharFormat>> runs;
  for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      QTextCursor run(&text);
      run.setPosition(fragment.fragment().position());
      run.setPosition(fragment.fragment().position() + fragment.fragment().length(),
                      QTextCursor::KeepAnchor);
      QTextCharFormat format = fragment.fragment().charFormat();
      format.clearProperty(QTextFormat::TextVerticalAlignment);
      format.setFontPointSize(kTextPointSize);
      runs.emplace_back(run, format);
    }
  }
  for (auto& [run, format] : runs) run.setCharFormat(format);
  // The table, whose cells the writer can frame only all round, gets no frame, its padding once
  // and its columns as wide as their contents need.
  for (QTextFrame* frame : text.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (table == nullptr) continue;
    QTextTableFormat format = table->format();
    format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    format.setBorder(0);
    format.setCellPadding(0);
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 41),
                                      QTextLength(QTextLength::PercentageLength, 17),
                                      QTextLength(QTextLength::PercentageLength, 42)});
    table->setFormat(format);
  }
}

}  // namespace

namespace {
// A cell's padding on one side, its own or the table's.
double Padding(const QTextTableCellFormat& cell, QTextFormat::Property side,
               const QTextTableFormat& table) {
  return cell.hasProperty(side) ? cell.doubleProperty(side) : table.cellPadding();
}
}  // namespace

void KeepRowsWhole(QTextDocument& text, double deviceScale) {
  const double pageHeight = text.pageSize().height();
  QAbstractTextDocumentLayout* layout = text.documentLayout();
  for (QTextFrame* frame : text.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (table == nullptr) continue;
    // The top and bottom of a row's lines, where the layout has them now.
    auto lines = [&](int row) {
      QRectF all;
      for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        if (cell.row() != row || cell.column() != column) continue;
        for (QTextBlock block = cell.firstCursorPosition().block();
             block.isValid() && block.position() <= cell.lastPosition(); block = block.next()) {
          all |= layout->blockBoundingRect(block);
        }
      }
      return all;
    };
    const QTextTableFormat format = table->format();
    for (int row = 1; row < table->rows(); ++row) {
      const QRectF shown = lines(row);
      const double pageEnd = (std::floor(shown.top() / pageHeight) + 1) * pageHeight;
      if (shown.isNull() || shown.bottom() <= pageEnd || shown.height() >= pageHeight) continue;
      // The row above reaches down to the end of the page, its text at the top of its cells and
      // the room under it: it carries no rule there (only the header and the last row do), and
      // Qt then moves this row to the next page, whole. Qt keeps a cell's lines above its bottom
      // padding, the cell spacing, the border and the margins; a few pixels more are left to what
      // it rounds, and this row's cells begin as much lower. In pixels of 1/96 inch.
      constexpr double kSlack = 3;
      const double room = (pageEnd - lines(row - 1).bottom()) / deviceScale -
                          text.documentMargin() - format.bottomMargin() - format.padding() -
                          format.cellSpacing() - format.border() - kSlack;
      for (int column = 0; column < table->columns(); ++column) {
        QTextTableCell above = table->cellAt(row - 1, column);
        if (above.column() == column) {
          QTextTableCellFormat cell = above.format().toTableCellFormat();
          cell.setBottomPadding(
              std::max(Padding(cell, QTextFormat::TableCellBottomPadding, format), room));
          cell.setVerticalAlignment(QTextCharFormat::AlignTop);
          above.setFormat(cell);
        }
        QTextTableCell moved = table->cellAt(row, column);
        if (moved.column() == column) {
          QTextTableCellFormat cell = moved.format().toTableCellFormat();
          cell.setTopPadding(Padding(cell, QTextFormat::TableCellTopPadding, format) + kSlack);
          moved.setFormat(cell);
        }
      }
    }
  }
}

void KeepMinusSignsWithTheirNumbers(QTextDocument& text) {
  // A hyphen before a digit that does not follow one: a range or a date keeps its hyphen.
  static const QRegularExpression sign(QStringLiteral(R"((?<!\d)-(?=\d))"));
  static const QString minus = QStringLiteral("\u2212\u2060");
  for (QTextCursor found = text.find(sign); !found.isNull(); found = text.find(sign, found)) {
    found.insertText(minus, found.charFormat());
  }
}

QString SuggestedReportName(const std::string& title, QDate date) {
  QString name = FromUtf8(title);
  static const QRegularExpression unsafe(QStringLiteral(R"([/\\:*?"<>|])"));
  name.replace(unsafe, QStringLiteral("-"));
  return name + QLatin1Char('-') + date.toString(Qt::ISODate) + QStringLiteral(".pdf");
}

std::optional<DocumentFormat> FormatOfPath(const QString& path) {
  const QString name = path.section(QLatin1Char('/'), -1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot <= 0) return std::nullopt;
  const QString extension = name.mid(dot + 1).toLower();
  if (extension == QStringLiteral("htm")) return DocumentFormat::Html;
  for (const FormatName& known : kFormats) {
    if (extension == QLatin1String(known.extension)) return known.format;
  }
  return std::nullopt;
}

QString ReportPath(const QString& chosen, DocumentFormat selected) {
  if (FormatOfPath(chosen)) return chosen;
  return chosen + QLatin1Char('.') + QLatin1String(NameOf(selected).extension);
}

QString AskForReportPath(QWidget* owner, const QString& suggested) {
  QStringList filters;
  for (const FormatName& known : kFormats) filters << QString::fromUtf8(known.filter);
  QFileDialog dialog(owner, QStringLiteral("保存报告"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  // A name typed without an extension gets the selected type's before the dialog asks whether
  // to replace a file of that name.
  auto suffix = [&dialog, filters](const QString& filter) {
    const auto index = static_cast<std::size_t>(std::max<qsizetype>(0, filters.indexOf(filter)));
    dialog.setDefaultSuffix(QLatin1String(kFormats[index].extension));
  };
  suffix(filters.front());
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, suffix);
  // Qt's dialog gives the suggested name the extension of another type chosen.
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const auto selected = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
  return ReportPath(dialog.selectedFiles().front(),
                    kFormats[static_cast<std::size_t>(selected)].format);
}

ReportDocument::ReportDocument(const Report& report, std::vector<const plots::PlotCanvas*> pictures)
    : report_(report), pictures_(std::move(pictures)) {}

void ReportDocument::SetUpPage(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
      QPageLayout::Millimeter));
}

void ReportDocument::SetText(QTextDocument& text) const {
  QFont font = QGuiApplication::font();
  font.setPointSizeF(kTextPointSize);
  text.setDefaultFont(font);
  text.setHtml(FromUtf8(ReportHtml(report_)));
}

bool ReportDocument::Paint(QPagedPaintDevice& device) const {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  // The painter's origin is the top left corner of the area inside the margins.
  const double width = device.width();
  const double height = device.height();
  const double millimetre = device.logicalDpiY() / 25.4;

  // The text in device pixels: points, pixels of the cells' padding and rules are scaled to the
  // device's resolution, and no line is split between two pages.
  QTextDocument text;
  text.documentLayout()->setPaintDevice(&device);
  text.setDocumentMargin(0);
  SetText(text);
  text.setPageSize(QSizeF(width, height));
  KeepRowsWhole(text, device.logicalDpiY() / 96.0);
  const int pages = text.pageCount();
  // A page shows the lines that lie on it. A line moved to the next page may begin a hair above
  // its top, where the layout rounds; it is left to that page, not drawn clipped on this one.
  const double hair = device.logicalDpiY() / 72.0;
  QAbstractTextDocumentLayout::PaintContext lines;
  lines.palette.setColor(QPalette::Text, Qt::black);
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return false;
    const QRectF shown(0, page * height, width, height);
    painter.save();
    painter.translate(0, -page * height);
    painter.setClipRect(shown);
    lines.clip = shown.adjusted(0, hair, 0, -hair);
    text.documentLayout()->draw(&painter, lines);
    painter.restore();
  }

  // The pictures under the text, each as wide as the text and whole on one page.
  const QRectF last = text.documentLayout()->blockBoundingRect(text.lastBlock());
  double top = last.bottom() - (pages - 1) * height + kPictureGapMillimetres * millimetre;
  const double scale = width / plots::PlotCanvas::kSavedSize.width();
  const double pictureHeight = plots::PlotCanvas::kSavedSize.height() * scale;
  for (const plots::PlotCanvas* picture : pictures_) {
    if (top + pictureHeight > height) {
      if (!device.newPage()) return false;
      top = 0;
    }
    painter.save();
    painter.translate(0, top);
    painter.scale(scale, scale);
    picture->Draw(painter, QRect(QPoint(0, 0), plots::PlotCanvas::kSavedSize));
    painter.restore();
    top += pictureHeight + kPictureGapMillimetres * millimetre;
  }
  return painter.end();
}

QByteArray ReportDocument::Pdf() const {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    SetUpPage(writer);
    writer.setTitle(FromUtf8(report_.title));
    writer.setCreator(QStringLiteral("Quillon"));
    if (!Paint(writer)) return {};
  }
  return buffer.data();
}

QByteArray ReportDocument::Odt() const {
  QTextDocument text;
  SetText(text);
  SuitOdfWriter(text);
  KeepMinusSignsWithTheirNumbers(text);
  QTextCursor cursor(&text);
  cursor.movePosition(QTextCursor::End);
  int number = 0;
  for (const plots::PlotCanvas* picture : pictures_) {
    const QString name = QStringLiteral("picture-%1.png").arg(++number);
    // Handed over as PNG already, which the writer stores as it is: compressed at zlib's quickest
    // level, a picture of tens of thousands of dots takes a few times less time than at its
    // default.
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    if (!picture->Image().save(&pngBuffer, "PNG", kQuickPngQuality)) return {};
    text.addResource(QTextDocument::ImageResource, QUrl(name), png);
    cursor.insertBlock();
    QTextImageFormat image;
    image.setName(name);
    // The size the picture is shown at, in pixels of 1/96 inch; the image has twice as many.
    image.setWidth(plots::PlotCanvas::kSavedSize.width());
    image.setHeight(plots::PlotCanvas::kSavedSize.height());
    cursor.insertImage(image);
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QTextDocumentWriter writer(&buffer, "odf");
  if (!writer.write(&text)) return {};
  return buffer.data();
}

QByteArray ReportDocument::Html() const {
  std::string html = ReportHtml(report_);
  std::string pictures;
  for (const plots::PlotCanvas* picture : pictures_) {
    const QByteArray svg = picture->Svg();
    if (svg.isEmpty()) continue;
    pictures += "<p><img src=\"data:image/svg+xml;base64," + svg.toBase64().toStdString() +
                "\" width=\"" + std::to_string(plots::PlotCanvas::kSavedSize.width()) +
                "\" height=\"" + std::to_string(plots::PlotCanvas::kSavedSize.height()) +
                "\" alt=\"" + picture->Name().toStdString() + "\"></p>\n";
  }
  // A page of its own: its title, and the pictures at the end of its body.
  const std::string head = "<head>";
  if (const std::size_t at = html.find(head); at != std::string::npos) {
    html.insert(at + head.size(),
                "<title>" + FromUtf8(report_.title).toHtmlEscaped().toStdString() + "</title>");
  }
  if (const std::size_t at = html.rfind("</body>"); at != std::string::npos) {
    html.insert(at, pictures);
  }
  return QByteArray::fromStdString(html);
}

QByteArray ReportDocument::Contents(DocumentFormat format) const {
  switch (format) {
    case DocumentFormat::Pdf:
      return Pdf();
    case DocumentFormat::Odt:
      return Odt();
    case DocumentFormat::Html:
      return Html();
  }
  return {};
}

std::optional<QString> ReportDocument::Save(const QString& path, DocumentFormat format) const {
  const QByteArray contents = Contents(format);
  if (contents.isEmpty()) return QStringLiteral("无法生成文档");
  QSaveFile file(path);
  // A failed write is discarded by the commit, which leaves the old file as it was.
  if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
      !file.commit()) {
    return WriteFailureReason(path, file, contents.size());
  }
  return std::nullopt;
}

}  // namespace quillon::ui
