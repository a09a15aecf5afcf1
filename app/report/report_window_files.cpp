// The report window's ways out: the clipboard, the saved pictures, report and R script, and
// printing.

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>

#include "app/report/picture_view.h"
#include "app/report/print_preview.h"
#include "app/report/report_document.h"
#include "app/report/report_feed.h"
#include "app/report/report_window.h"
#include "app/widgets/utf8.h"
#include "app/widgets/write_failures.h"

namespace quillon::ui {

QMimeData* ReportWindow::ReportMimeData() const {
  auto* mime = new QMimeData;
  mime->setHtml(FromUtf8(ReportHtml(report_)));
  mime->setText(FromUtf8(ReportPlainText(report_)));
  return mime;
}

QMimeData* ReportWindow::PaperMimeData() const {
  auto* mime = new QMimeData;
  mime->setHtml(FromUtf8(PaperHtml(report_)));
  mime->setText(FromUtf8(PaperPlainText(report_)));
  return mime;
}

void ReportWindow::CopyReport() const { QApplication::clipboard()->setMimeData(PaperMimeData()); }

void ReportWindow::CopyWholeReport() const {
  QApplication::clipboard()->setMimeData(ReportMimeData());
}

void ReportWindow::SavePicture() {
  const QString path = AskPicturePath(this);
  if (path.isEmpty()) return;
  // The first picture shown goes to the chosen file, a second one beside it ("散点图-2.png").
  int saved = 0;
  for (PictureView* view : Pictures()) {
    if (!view->isVisibleTo(this)) continue;
    QString target = path;
    if (saved > 0) {
      const int dot = static_cast<int>(path.lastIndexOf(QLatin1Char('.')));
      target.insert(dot < 0 ? static_cast<int>(path.size()) : dot,
                    QStringLiteral("-%1").arg(saved + 1));
    }
    view->Picture().Save(target);
    ++saved;
  }
}

std::vector<const plots::PlotCanvas*> ReportWindow::ShownPictures() const {
  std::vector<const plots::PlotCanvas*> shown;
  for (PictureView* view : Pictures()) {
    if (view->isVisibleTo(this)) shown.push_back(&view->Picture());
  }
  return shown;
}

void ReportWindow::SaveReport() {
  const QString path =
      AskForReportPath(this, SuggestedReportName(report_.title, QDate::currentDate()));
  if (!path.isEmpty()) SaveReportTo(path);
}

bool ReportWindow::SaveReportTo(const QString& chosen) {
  const QString path = ReportPath(chosen, DocumentFormat::Pdf);
  const std::optional<QString> failure =
      ReportDocument(report_, ShownPictures()).Save(path, *FormatOfPath(path));
  if (failure) {
    QMessageBox::warning(
        this, QStringLiteral("保存报告"),
        QStringLiteral("无法保存报告“%1”：%2").arg(QDir::toNativeSeparators(path), *failure));
  }
  return !failure;
}

void ReportWindow::PrintReport() {
  const ReportDocument document(report_, ShownPictures());
  const PrintJob job{QStringLiteral("打印预览"), &ReportDocument::SetUpPage,
                     [&document](QPagedPaintDevice& device) { document.Paint(device); }};
  if (const std::optional<QString> failure = ShowPrintPreview(this, job)) {
    QMessageBox::warning(this, QStringLiteral("打印"),
                         QStringLiteral("无法打印：%1").arg(*failure));
  }
}

std::string ReportWindow::RCode() const {
  if (feed_ == nullptr) return {};
  const ScriptHeader header{QUILLON_VERSION,
                            QDate::currentDate().toString(Qt::ISODate).toStdString()};
  return feed_->RScript(report_, header);
}

void ReportWindow::CopyRCode() const { QApplication::clipboard()->setText(FromUtf8(RCode())); }

void ReportWindow::SaveRCode() {
  QFileDialog dialog(this, QStringLiteral("保存R代码"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("R脚本 (*.R)"));
  dialog.setDefaultSuffix(QStringLiteral("R"));
  dialog.selectFile(SuggestedReportName(report_.title, QDate::currentDate())
                        .replace(QStringLiteral(".pdf"), QStringLiteral(".R")));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    SaveRCodeTo(dialog.selectedFiles().front());
  }
}

bool ReportWindow::SaveRCodeTo(const QString& path) {
  const QByteArray script = QByteArray::fromStdString(RCode());
  QSaveFile file(path);
  const bool saved =
      file.open(QIODevice::WriteOnly) && file.write(script) == script.size() && file.commit();
  if (!saved) {
    QMessageBox::warning(
        this, QStringLiteral("保存R代码"),
        QStringLiteral("无法保存R代码“%1”：%2")
            .arg(QDir::toNativeSeparators(path), WriteFailureReason(path, file, script.size())));
  }
  return saved;
}

}  // namespace quillon::ui
