#include "app/report_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/report_feed.h"
#include "app/scatter_plot.h"
#include "app/utf8.h"

namespace quillon::ui {

ReportWindow::ReportWindow(ReportFeed* feed) : QWidget(nullptr, Qt::Window), feed_(feed) {
  setObjectName(QStringLiteral("ReportWindow"));
  setWindowTitle(QStringLiteral("结果报告"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(640, 720);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("ReportText"));
  plot_ = new ScatterPlot(this);
  auto* copyButton = new QPushButton(QStringLiteral("复制"), this);
  copyButton->setObjectName(QStringLiteral("cmdCopyReport"));
  saveButton_ = new QPushButton(QStringLiteral("保存图片"), this);
  saveButton_->setObjectName(QStringLiteral("cmdSavePicture"));
  connect(copyButton, &QPushButton::clicked, this, &ReportWindow::CopyReport);
  connect(saveButton_, &QPushButton::clicked, this, &ReportWindow::SavePicture);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copyButton);
  buttons->addWidget(saveButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 3);
  layout->addWidget(plot_, 2);
  layout->addLayout(buttons);

  pending_ = new QTimer(this);
  pending_->setSingleShot(true);
  pending_->setInterval(0);
  connect(pending_, &QTimer::timeout, this, &ReportWindow::Refresh);
  // The feed lives as long as the main window; a report window left open after it closes keeps
  // its last report.
  connect(feed_, &ReportFeed::Changed, pending_, qOverload<>(&QTimer::start));
  connect(feed_, &QObject::destroyed, this, [this] { feed_ = nullptr; });
  Refresh();
}

void ReportWindow::Refresh() {
  pending_->stop();
  if (feed_ == nullptr) return;
  report_ = feed_->CurrentReport();
  browser_->setHtml(FromUtf8(ReportHtml(report_)));
  const std::optional<ScatterData> scatter = feed_->CurrentScatter();
  plot_->setVisible(scatter.has_value());
  saveButton_->setEnabled(scatter.has_value());
  plot_->SetData(scatter.value_or(ScatterData{}));
}

void ReportWindow::CopyReport() const {
  auto* mime = new QMimeData;
  mime->setHtml(FromUtf8(ReportHtml(report_)));
  mime->setText(FromUtf8(ReportPlainText(report_)));
  QApplication::clipboard()->setMimeData(mime);
}

void ReportWindow::SavePicture() {
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("保存图片"), QString(),
                                   QStringLiteral("PNG 图片 (*.png);;SVG 图片 (*.svg)"));
  if (!path.isEmpty()) plot_->Save(path);
}

void ReportWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
  }
}

}  // namespace quillon::ui
