// The print preview, built as a module that the program loads when the user prints, so that Qt
// Print Support is not loaded at every start.

#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/report/print_preview.h"

extern "C" Q_DECL_EXPORT void QuillonShowPrintPreview(QWidget* owner,
                                                      const quillon::ui::PrintJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  job.setUpPage(printer);
  QPrintPreviewDialog preview(&printer, owner);
  preview.setWindowTitle(job.title);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&job](QPrinter* target) { job.paint(*target); });
  preview.exec();
}
