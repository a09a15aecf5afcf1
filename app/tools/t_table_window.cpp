#include "app/tools/t_table_window.h"

#include <QIcon>
#include <QPainter>
#include <algorithm>

#include "app/application.h"
#include "app/widgets/form_layout.h"
#include "app/widgets/utf8.h"

namespace quillon::ui {

namespace {
// The picture, in pixels: 433 x 400, drawn from the top left of the 436 x 387 client area.
constexpr int PictureWidth = 433;
constexpr int PictureHeight = 400;
constexpr int Margin = 4;
constexpr int BlockWidth = PictureWidth / 2;
constexpr int TitleHeight = 30;
constexpr int HeadTop = 34;
constexpr int HeadHeight = 20;
constexpr int FirstRowTop = HeadTop + HeadHeight + 2;
constexpr int RowHeight = 13;
constexpr std::size_t RowsPerBlock = 25;
constexpr int TableBottom = FirstRowTop + static_cast<int>(RowsPerBlock) * RowHeight + 2;
// The df column and the three value columns of one block.
constexpr int ColumnWidths[] = {52, 54, 54, 54};

QFont PictureFont(const QFont& base, int pixelSize, bool bold) {
  QFont font = base;
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}
}  // namespace

TTableWindow::TTableWindow()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      rows_(TCriticalTableRows()) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("t界值表"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/ttable.svg")));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(Px(6540), Px(5805));
  // The table is drawn; a screen reader reads its rows here.
  QStringList rows;
  for (const TTableRow& row : rows_) {
    rows << QStringLiteral("自由度%1：0.05 %2，0.01 %3，0.001 %4")
                .arg(FromUtf8(row.df), FromUtf8(row.critical.c05), FromUtf8(row.critical.c01),
                     FromUtf8(row.critical.c001));
  }
  setAccessibleDescription(rows.join(QStringLiteral("；")));
}

void TTableWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
  }
}

void TTableWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setClipRect(QRect(0, 0, PictureWidth, PictureHeight));
  painter.setPen(Qt::black);

  painter.setFont(PictureFont(font(), 18, true));
  painter.drawText(QRect(0, 0, PictureWidth, TitleHeight), Qt::AlignCenter,
                   QStringLiteral("t界值表"));

  const QPen rule(Qt::black, 1);
  const QPen boldRule(Qt::black, 2);
  painter.setPen(boldRule);
  painter.drawLine(Margin, HeadTop - 1, PictureWidth - Margin, HeadTop - 1);
  painter.drawLine(Margin, TableBottom, PictureWidth - Margin, TableBottom);
  painter.setPen(rule);
  painter.drawLine(Margin, FirstRowTop - 1, PictureWidth - Margin, FirstRowTop - 1);
  painter.drawLine(BlockWidth, HeadTop, BlockWidth, TableBottom);

  const std::size_t leftRows = std::min(RowsPerBlock, rows_.size());
  PaintBlock(painter, 0, 0, leftRows);
  PaintBlock(painter, BlockWidth + 1, leftRows, rows_.size() - leftRows);
}

void TTableWindow::PaintBlock(QPainter& painter, int left, std::size_t firstRow,
                              std::size_t rowCount) {
  auto cell = [left](int column, int top, int height) {
    int x = left + Margin;
    for (int c = 0; c < column; ++c) x += ColumnWidths[c];
    return QRect(x, top, ColumnWidths[column], height);
  };

  painter.setPen(Qt::black);
  painter.setFont(PictureFont(font(), 12, true));
  const QString heads[] = {QStringLiteral("自由度"), QStringLiteral("0.05"), QStringLiteral("0.01"),
                           QStringLiteral("0.001")};
  for (int column = 0; column < 4; ++column) {
    painter.drawText(cell(column, HeadTop, HeadHeight), Qt::AlignCenter, heads[column]);
  }

  painter.setFont(PictureFont(font(), 12, false));
  for (std::size_t i = 0; i < rowCount; ++i) {
    const TTableRow& row = rows_[firstRow + i];
    const int top = FirstRowTop + static_cast<int>(i) * RowHeight;
    const std::string* texts[] = {&row.df, &row.critical.c05, &row.critical.c01,
                                  &row.critical.c001};
    for (int column = 0; column < 4; ++column) {
      painter.drawText(cell(column, top, RowHeight), Qt::AlignCenter, FromUtf8(*texts[column]));
    }
  }
}

}  // namespace quillon::ui
