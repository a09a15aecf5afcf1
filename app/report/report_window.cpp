#include "app/report/report_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>

#include "app/application.h"
#include "app/report/picture_view.h"
#include "app/report/report_feed.h"
#include "app/report/report_hypothesis.h"
#include "app/report/report_names.h"
#include "app/report/shown_report.h"
#include "app/widgets/utf8.h"
#include "plots/agreement_plot.h"
#include "plots/box_plot.h"
#include "plots/estimation_plot.h"
#include "plots/margin_plot.h"
#include "plots/paired_lines.h"
#include "plots/residual_plot.h"
#include "plots/scatter_plot.h"

namespace quillon::ui {

namespace {
// The report's text. It shows the table as one table a row; the whole text selected and copied
// gives what "复制" gives, the one three-line table.
class ReportText : public QTextBrowser {
 public:
  ReportText(QWidget* parent, std::function<QMimeData*()> whole)
      : QTextBrowser(parent), whole_(std::move(whole)) {}

 protected:
  QMimeData* createMimeDataFromSelection() const override {
    const QTextCursor selection = textCursor();
    if (selection.selectionStart() == 0 &&
        selection.selectionEnd() >= document()->characterCount() - 1) {
      return whole_();
    }
    return QTextBrowser::createMimeDataFromSelection();
  }

 private:
  std::function<QMimeData*()> whole_;
};

// A drop-down list whose entries carry an enumeration's values, showing `current`; `chosen` is
// told each value chosen.
template <typename Value>
QComboBox* Choice(QWidget* window, const char* name, const QString& tip,
                  const std::vector<std::pair<QString, Value>>& entries, Value current,
                  std::function<void(Value)> chosen) {
  auto* box = new QComboBox(window);
  box->setObjectName(QString::fromLatin1(name));
  box->setToolTip(tip);
  for (const auto& [text, value] : entries) box->addItem(text, static_cast<int>(value));
  box->setCurrentIndex(box->findData(static_cast<int>(current)));
  QObject::connect(box, &QComboBox::currentIndexChanged, window, [box, chosen = std::move(chosen)] {
    chosen(static_cast<Value>(box->currentData().toInt()));
  });
  return box;
}

// A view of a new picture in the row of pictures; the picture is kept typed beside it.
template <typename Picture>
PictureView* Show(std::unique_ptr<Picture> picture, Picture*& kept, QWidget* row) {
  kept = picture.get();
  return new PictureView(std::move(picture), row);
}
}  // namespace

ReportWindow::ReportWindow(ReportFeed* feed) : QWidget(nullptr, Qt::Window), feed_(feed) {
  setObjectName(QStringLiteral("ReportWindow"));
  setWindowTitle(QStringLiteral("结果报告"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(640, 720);

  browser_ = new ReportText(this, [this] { return ReportMimeData(); });
  browser_->setObjectName(QStringLiteral("ReportText"));
  browser_->document()->setUndoRedoEnabled(false);
  // The pictures of the sample analyses, one row of them under the text.
  pictures_ = new QWidget(this);
  plotView_ = Show(std::make_unique<plots::ScatterPlot>(), plot_, pictures_);
  residualsView_ = Show(std::make_unique<plots::ResidualPlot>(), residuals_, pictures_);
  agreementView_ = Show(std::make_unique<plots::AgreementPlot>(), agreement_, pictures_);
  estimationView_ = Show(std::make_unique<plots::EstimationPlot>(), estimation_, pictures_);
  plotView_->setObjectName(QStringLiteral("picScatter"));
  residualsView_->setObjectName(QStringLiteral("picResiduals"));
  agreementView_->setObjectName(QStringLiteral("picAgreement"));
  estimationView_->setObjectName(QStringLiteral("picEstimation"));
  boxesView_ = Show(std::make_unique<plots::BoxPlot>(), boxes_, pictures_);
  boxesView_->setObjectName(QStringLiteral("picBoxPlot"));
  pairedLinesView_ = Show(std::make_unique<plots::PairedLinesPlot>(), pairedLines_, pictures_);
  pairedLinesView_->setObjectName(QStringLiteral("picPairedLines"));
  marginView_ = Show(std::make_unique<plots::MarginPlot>(), margin_, pictures_);
  marginView_->setObjectName(QStringLiteral("picMargin"));
  names_ = new ReportNamesRow(this);
  connect(names_, &ReportNamesRow::Edited, this, [this](const ReportNames& names) {
    if (feed_ != nullptr) feed_->SetNames(names);
  });
  hypothesis_ = new ReportHypothesisRow(this);
  connect(hypothesis_, &ReportHypothesisRow::Edited, this, [this](const MarginSetting& setting) {
    if (feed_ != nullptr) feed_->SetMargin(setting);
  });
  auto* pictureRow = new QHBoxLayout(pictures_);
  pictureRow->setContentsMargins(0, 0, 0, 0);
  for (QWidget* picture : Pictures()) pictureRow->addWidget(picture);
  auto* copyButton = new QPushButton(QStringLiteral("复制"), this);
  copyButton->setObjectName(QStringLiteral("cmdCopyReport"));
  copyButton->setToolTip(QStringLiteral("复制论文用的表格与结果、方法句子"));
  auto* copyWholeButton = new QPushButton(QStringLiteral("复制完整报告"), this);
  copyWholeButton->setObjectName(QStringLiteral("cmdCopyWholeReport"));
  copyWholeButton->setToolTip(QStringLiteral("复制全部计算过程、结果与句子"));
  auto* saveReportButton = new QPushButton(QStringLiteral("保存报告"), this);
  saveReportButton->setObjectName(QStringLiteral("SaveReport"));
  auto* printButton = new QPushButton(QStringLiteral("打印"), this);
  printButton->setObjectName(QStringLiteral("PrintReport"));
  saveButton_ = new QPushButton(QStringLiteral("保存图片"), this);
  saveButton_->setObjectName(QStringLiteral("cmdSavePicture"));
  auto* copyRButton = new QPushButton(QStringLiteral("复制R代码"), this);
  copyRButton->setObjectName(QStringLiteral("CopyRCode"));
  copyRButton->setToolTip(QStringLiteral("复制重算报告中全部数值的R脚本（只用base R）"));
  auto* saveRButton = new QPushButton(QStringLiteral("保存R代码"), this);
  saveRButton->setObjectName(QStringLiteral("SaveRCode"));
  std::vector<std::pair<QString, PStyle>> styles;
  for (const PStyle style : kPStyles) styles.emplace_back(FromUtf8(PStyleName(style)), style);
  styles_ = Choice<PStyle>(this, "cmbReportStyle", QStringLiteral("P值、置信区间与结果句子的写法"),
                           styles, feed_->Style(), [this](PStyle style) {
                             if (feed_ != nullptr) feed_->SetStyle(style);
                           });
  auto* styleLabel = new QLabel(QStringLiteral("格式："), this);
  styleLabel->setBuddy(styles_);
  // Which tests the sentences report, for the sample analyses.
  paths_ = Choice<TestPath>(
      this, "cmbReportTest", QStringLiteral("结果句子与方法句子采用的检验；表中两种检验都列出"),
      {{QStringLiteral("t检验"), TestPath::TTest}, {QStringLiteral("秩检验"), TestPath::RankTest}},
      feed_->Path(), [this](TestPath path) {
        if (feed_ != nullptr) feed_->SetPath(path);
      });
  pathsLabel_ = new QLabel(QStringLiteral("检验："), this);
  pathsLabel_->setBuddy(paths_);
  // What "(+)" of the four-fold table stands for, shown with that table's report alone.
  positives_ = Choice<PositiveMeans>(
      this, "cmbPositiveMeans", QStringLiteral("四格表中（+）代表的结局，决定NNTB与NNTH的写法"),
      {{QStringLiteral("有效"), PositiveMeans::Benefit},
       {QStringLiteral("不良事件"), PositiveMeans::Harm}},
      feed_->Positive(), [this](PositiveMeans positive) {
        if (feed_ != nullptr) feed_->SetPositiveMeans(positive);
      });
  positivesLabel_ = new QLabel(QStringLiteral("（+）表示："), this);
  positivesLabel_->setBuddy(positives_);
  connect(copyButton, &QPushButton::clicked, this, &ReportWindow::CopyReport);
  connect(copyWholeButton, &QPushButton::clicked, this, &ReportWindow::CopyWholeReport);
  connect(saveButton_, &QPushButton::clicked, this, &ReportWindow::SavePicture);
  connect(saveReportButton, &QPushButton::clicked, this, &ReportWindow::SaveReport);
  connect(printButton, &QPushButton::clicked, this, &ReportWindow::PrintReport);
  connect(copyRButton, &QPushButton::clicked, this, &ReportWindow::CopyRCode);
  connect(saveRButton, &QPushButton::clicked, this, &ReportWindow::SaveRCode);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(styleLabel);
  buttons->addWidget(styles_);
  buttons->addWidget(pathsLabel_);
  buttons->addWidget(paths_);
  buttons->addWidget(positivesLabel_);
  buttons->addWidget(positives_);
  buttons->addStretch();
  buttons->addWidget(copyButton);
  buttons->addWidget(copyWholeButton);
  buttons->addWidget(saveReportButton);
  buttons->addWidget(printButton);
  buttons->addWidget(saveButton_);
  buttons->addWidget(copyRButton);
  buttons->addWidget(saveRButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(names_);
  layout->addWidget(hypothesis_);
  layout->addWidget(browser_, 1);
  layout->addWidget(pictures_, 1);
  layout->addLayout(buttons);
  // Tab through the names above the text, then along the bottom row as it reads, the drop-down
  // lists before the buttons to their right.
  std::vector<QWidget*> row = names_->TabOrder();
  for (QWidget* widget : hypothesis_->TabOrder()) row.push_back(widget);
  row.push_back(browser_);
  for (QWidget* widget :
       {static_cast<QWidget*>(styles_), static_cast<QWidget*>(paths_),
        static_cast<QWidget*>(positives_), static_cast<QWidget*>(copyButton),
        static_cast<QWidget*>(copyWholeButton), static_cast<QWidget*>(saveReportButton),
        static_cast<QWidget*>(printButton), static_cast<QWidget*>(saveButton_),
        static_cast<QWidget*>(copyRButton), static_cast<QWidget*>(saveRButton)}) {
    row.push_back(widget);
  }
  for (std::size_t i = 1; i < row.size(); ++i) setTabOrder(row[i - 1], row[i]);

  pending_ = new QTimer(this);
  pending_->setSingleShot(true);
  pending_->setInterval(0);
  connect(pending_, &QTimer::timeout, this, &ReportWindow::Refresh);
  // Qt lays the text out at its width without the scroll bar and then with it: the columns are
  // measured once the width has settled.
  remeasure_ = new QTimer(this);
  remeasure_->setSingleShot(true);
  remeasure_->setInterval(0);
  connect(remeasure_, &QTimer::timeout, this, [this] {
    if (browser_->document()->textWidth() == widthsAt_) return;
    ShowAnew(report_);
    FitToContent(false);
  });
  // The text's height follows its layout, which settles once the text has its width; a new
  // width, of the window or of the scroll bar beside the text, measures the columns anew.
  connect(browser_->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
          this, [this] {
            FitToContent(false);
            if (browser_->document()->textWidth() != widthsAt_ && !remeasure_->isActive()) {
              remeasure_->start();
            }
          });

  // The feed lives as long as the main window; a report window left open after it closes keeps
  // its last report.
  connect(feed_, &ReportFeed::Changed, pending_, qOverload<>(&QTimer::start));
  connect(feed_, &QObject::destroyed, this, [this] { feed_ = nullptr; });
  Refresh();
}

void ReportWindow::Refresh() {
  pending_->stop();
  if (feed_ == nullptr) return;
  // The style is the run's: the sample-size window may have chosen it.
  styles_->setCurrentIndex(styles_->findData(static_cast<int>(feed_->Style())));
  // So are the test path and what (+) means: an opened analysis file sets them.
  paths_->setCurrentIndex(paths_->findData(static_cast<int>(feed_->Path())));
  positives_->setCurrentIndex(positives_->findData(static_cast<int>(feed_->Positive())));
  // The names are the analysis's: another analysis, or an opened file, shows its own.
  if (feed_->Names() != names_->Names() || feed_->Current() != names_->Analysis()) {
    names_->Show(feed_->Current(), feed_->Names());
  }
  if (feed_->Margin() != hypothesis_->Setting() || feed_->Current() != hypothesis_->Analysis()) {
    hypothesis_->Show(feed_->Current(), feed_->Margin());
  }
  ReportView view = feed_->CurrentView();
  pathsLabel_->setVisible(view.samples);
  paths_->setVisible(view.samples);
  positivesLabel_->setVisible(view.fourfold);
  positives_->setVisible(view.fourfold);
  Report report = std::move(view.report);
  // A report of another shape (another analysis, or figures where there were none) fits the
  // window to it again.
  const bool otherShape = !SameShape(report, report_);
  // A keystroke that changes no figure leaves the text as it is; one that changes figures
  // rewrites only their cells and sentences; a report of another shape is laid out anew.
  const bool otherWidth = browser_->document()->textWidth() != widthsAt_;
  if (otherShape || otherWidth || (report != report_ && !UpdateInPlace(report))) ShowAnew(report);
  report_ = std::move(report);
  ShowPictures(std::move(view));
  FitToContent(otherShape);
}

std::vector<PictureView*> ReportWindow::Pictures() const {
  return {plotView_,       residualsView_, agreementView_, pairedLinesView_,
          estimationView_, boxesView_,     marginView_};
}

void ReportWindow::ShowPictures(ReportView view) {
  // Only a shown picture is given its data: a hidden one would draw for nothing.
  plotView_->setVisible(view.scatter.has_value());
  residualsView_->setVisible(view.scatter.has_value());
  if (view.scatter) {
    plot_->SetData(std::move(*view.scatter));
    residuals_->SetData(view.residuals, view.noResiduals);
  }
  agreementView_->setVisible(view.agreement.has_value());
  if (view.agreement) agreement_->SetData(std::move(*view.agreement));
  estimationView_->setVisible(view.estimation.has_value());
  if (view.estimation) estimation_->SetData(std::move(*view.estimation));
  boxesView_->setVisible(view.boxes.has_value());
  if (view.boxes) boxes_->SetData(std::move(*view.boxes));
  pairedLinesView_->setVisible(view.pairedLines.has_value());
  if (view.pairedLines) pairedLines_->SetData(std::move(*view.pairedLines));
  marginView_->setVisible(view.margin.has_value());
  if (view.margin) margin_->SetData(std::move(*view.margin));
  const bool any = view.scatter || view.agreement || view.estimation || view.boxes ||
                   view.pairedLines || view.margin;
  pictures_->setVisible(any);
  saveButton_->setEnabled(any);
}

void ReportWindow::ShowAnew(const Report& report) {
  QTextDocument* shown = browser_->document();
  // The columns as wide as the whole table would have them at the text's width: measured on the
  // table laid out whole, off the screen, in the shown text's font.
  QTextDocument whole;
  whole.setDefaultFont(shown->defaultFont());
  whole.setDocumentMargin(shown->documentMargin());
  whole.setTextWidth(shown->textWidth());
  whole.setHtml(FromUtf8(ReportHtml(report)));
  const std::vector<QTextTable*> tables = Tables(whole);
  widthsAt_ = shown->textWidth();
  widths_ = {};
  if (tables.size() > PaperTables(report)) {
    const QTextTable* header = tables[PaperTables(report)];
    std::array<double, 3> measured{};
    for (int column = 0; column < 3; ++column) {
      const QTextTableCell cell = header->cellAt(0, column);
      const QTextTableCellFormat format = cell.format().toTableCellFormat();
      measured[static_cast<std::size_t>(column)] =
          whole.documentLayout()->blockBoundingRect(cell.firstCursorPosition().block()).width() +
          format.leftPadding() + format.rightPadding();
    }
    // The value column, whose numbers never wrap, is rounded up; the others, which wrap, down,
    // so that the table is no wider than the whole one was.
    widths_ = {static_cast<int>(std::floor(measured[0])), static_cast<int>(std::ceil(measured[1])),
               static_cast<int>(std::floor(measured[2]))};
    const QTextTableCellFormat value = header->cellAt(0, 1).format().toTableCellFormat();
    valueRoom_ = widths_.value - value.leftPadding() - value.rightPadding();
  }
  // The text is laid out anew where it was scrolled to.
  const int scrolled = browser_->verticalScrollBar()->value();
  browser_->setHtml(FromUtf8(ReportHtmlByRow(report, widths_)));
  KeepShapedText(*browser_->document());
  browser_->verticalScrollBar()->setValue(scrolled);
}

bool ReportWindow::UpdateInPlace(const Report& next) {
  QTextDocument* document = browser_->document();
  const std::vector<QTextTable*> tables = Tables(*document);
  if (tables.size() != TableCount(next) || PaperTables(next) != PaperTables(report_) ||
      !FitsColumns(next)) {
    return false;
  }
  QAbstractTextDocumentLayout* layout = document->documentLayout();
  // The rows that change, where they are shown before the change.
  std::vector<std::pair<QTextFrame*, QRectF>> changed;
  ForEachRow(next, report_, [&](std::size_t table, const ReportRow& now, const ReportRow& shown) {
    if (now != shown) changed.emplace_back(tables[table], layout->frameBoundingRect(tables[table]));
  });
  if (next.paper != report_.paper) {
    changed.emplace_back(tables.front(), layout->frameBoundingRect(tables.front()));
  }
  const std::vector<const std::string*> before = Paragraphs(report_);
  const std::vector<const std::string*> after = Paragraphs(next);
  const bool paragraphs =
      !std::equal(before.begin(), before.end(), after.begin(), after.end(),
                  [](const std::string* a, const std::string* b) { return *a == *b; });
  const QSizeF size = layout->documentSize();
  // Qt would paint the whole text again after each edit; it is told instead what changed.
  layout->blockSignals(true);
  const bool done = WriteChanges(tables, next);
  layout->blockSignals(false);
  if (!done) return false;
  if (before.size() != after.size()) KeepShapedText(*document);  // paragraphs written anew

  const QSizeF now = layout->documentSize();
  bool moved = now != size;
  QRegion region;
  for (const auto& [table, shown] : changed) {
    const QRectF rewritten = layout->frameBoundingRect(table);
    // A row that grew or shrank moves everything under it.
    moved = moved || rewritten != shown;
    region += rewritten.toAlignedRect();
  }
  if (paragraphs) {
    // The paragraphs close the text, under the last table.
    const double top = layout->frameBoundingRect(tables.back()).bottom();
    region += QRectF(0, top, now.width(), now.height() - top).toAlignedRect();
  }
  if (now != size) emit layout->documentSizeChanged(now);  // the scroll bars and the fit
  QWidget* viewport = browser_->viewport();
  if (moved) {
    viewport->update();
  } else {
    viewport->update(region.translated(-browser_->horizontalScrollBar()->value(),
                                       -browser_->verticalScrollBar()->value()));
  }
  return true;
}

bool ReportWindow::FitsColumns(const Report& next) const {
  const QFontMetricsF metrics(browser_->document()->defaultFont());
  for (std::size_t i = 0; i < next.sections.size(); ++i) {
    for (std::size_t k = 0; k < next.sections[i].rows.size(); ++k) {
      const ReportRow& now = next.sections[i].rows[k];
      const ReportRow& shown = report_.sections[i].rows[k];
      // A new label or method is rare: the columns are measured for it anew.
      if (now.label != shown.label || now.formula != shown.formula) return false;
      if (now.value != shown.value && !now.value.starts_with("—") &&
          metrics.horizontalAdvance(FromUtf8(now.value)) > valueRoom_) {
        return false;
      }
    }
  }
  return true;
}

bool ReportWindow::WriteChanges(const std::vector<QTextTable*>& tables, const Report& next) {
  // Each row is one edit, laid out when it ends: Qt lays out again every table from the first
  // change of an edit to its last, so that the rows left as they were are not touched.
  if (!next.paper.empty() && !WritePaperChanges(tables.front(), next.paper)) return false;
  QTextCursor edit(tables.front()->document());
  ForEachRow(next, report_, [&](std::size_t table, const ReportRow& now, const ReportRow& shown) {
    if (now == shown) return;
    const EditBlock row(edit);
    const std::pair<const std::string*, const std::string*> cells[] = {
        {&now.label, &shown.label}, {&now.value, &shown.value}, {&now.formula, &shown.formula}};
    for (int column = 0; column < 3; ++column) {
      if (*cells[column].first == *cells[column].second) continue;
      const QTextTableCell cell = tables[table]->cellAt(0, column);
      QTextCursor cursor = cell.firstCursorPosition();
      cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
      Replace(cursor, *cells[column].first);
    }
  });
  const std::vector<const std::string*> before = Paragraphs(report_);
  const std::vector<const std::string*> after = Paragraphs(next);
  const EditBlock paragraphs(edit);
  // Qt leaves an empty block after a table; the paragraphs follow it.
  QTextBlock block = tables.back()->document()->findBlock(tables.back()->lastPosition() + 1);
  while (block.isValid() && block.length() <= 1) block = block.next();
  if (before.size() != after.size()) {
    // A line of guidance came or went: the paragraphs are written anew, in the first one's format.
    if (before.empty() || after.empty() || !block.isValid()) return false;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    for (std::size_t k = 0; k < after.size(); ++k) {
      if (k > 0) cursor.insertBlock();
      Replace(cursor, *after[k]);
    }
    return true;
  }
  for (std::size_t k = 0; k < after.size(); ++k, block = block.next()) {
    if (!block.isValid()) return false;
    if (*after[k] == *before[k]) continue;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Replace(cursor, *after[k]);
  }
  return true;
}

bool ReportWindow::WritePaperChanges(QTextTable* table, const PaperTable& next) {
  const PaperTable& shown = report_.paper;
  // A new caption, heading, note or name is laid out anew with the rest.
  if (next.caption != shown.caption || next.header != shown.header || next.note != shown.note ||
      next.rows.size() != shown.rows.size() ||
      table->rows() != static_cast<int>(next.rows.size()) + 1) {
    return false;
  }
  for (std::size_t r = 0; r < next.rows.size(); ++r) {
    if (next.rows[r].size() != shown.rows[r].size() ||
        next.rows[r].front() != shown.rows[r].front()) {
      return false;
    }
  }
  QTextCursor edit(table->document());
  const EditBlock block(edit);
  for (std::size_t r = 0; r < next.rows.size(); ++r) {
    for (std::size_t k = 1; k < next.rows[r].size(); ++k) {
      if (next.rows[r][k] == shown.rows[r][k]) continue;
      const QTextTableCell cell = table->cellAt(static_cast<int>(r) + 1, static_cast<int>(k));
      QTextCursor cursor = cell.firstCursorPosition();
      cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
      Replace(cursor, next.rows[r][k]);
    }
  }
  return true;
}

void ReportWindow::FitToContent(bool resizeWindow) {
  // The text's own height: with a picture, the picture takes everything below it; without one,
  // the window is made as tall as the text when the analysis changes.
  const int text = static_cast<int>(std::ceil(browser_->document()->size().height())) +
                   2 * browser_->frameWidth() + 2;
  if (pictures_->isVisibleTo(this)) {
    // The text keeps its height up to three fifths of the window; the picture takes the rest.
    browser_->setFixedHeight(std::min(text, height() * 3 / 5));
  } else {
    browser_->setMinimumHeight(0);
    browser_->setMaximumHeight(QWIDGETSIZE_MAX);
  }
  if (!resizeWindow || !isVisible()) return;
  const bool picture = pictures_->isVisibleTo(this);
  const QMargins margins = layout()->contentsMargins();
  const int spacing = layout()->spacing();
  const int wanted = margins.top() + text + spacing + (picture ? kPlotHeight + spacing : 0) +
                     saveButton_->sizeHint().height() + margins.bottom();
  const QScreen* shown = screen();
  const int room = shown != nullptr ? shown->availableGeometry().height() - 60 : wanted;
  resize(width(), std::min(wanted, room));
}

void ReportWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitToContent(false);
  // The text takes its new width once laid out: its columns are measured again then, whether or
  // not its size changed with it.
  remeasure_->start();
}

void ReportWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    FitToContent(true);
    CentreOnScreen(this);
  }
}

}  // namespace quillon::ui
