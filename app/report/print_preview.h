#pragma once
// Printing through Qt's print preview. Qt Print Support is loaded only when the user prints:
// the preview lives in a module of its own (quillon_print, print_module.cpp), which this finds
// beside the program, in the installed library folder or in the build.

#include <QString>
#include <functional>
#include <optional>

class QPagedPaintDevice;
class QWidget;

namespace quillon::ui {

struct PrintJob {
  QString title;                                      // the preview window's
  std::function<void(QPagedPaintDevice&)> setUpPage;  // page size and margins, before the preview
  std::function<void(QPagedPaintDevice&)> paint;      // every page, for the preview and the print
};

// Shows the pages in the preview, from which they are printed; the reason when the printing
// module could not be loaded.
std::optional<QString> ShowPrintPreview(QWidget* owner, const PrintJob& job);

// The module's one function, by name.
inline constexpr char kPrintPreviewFunction[] = "QuillonShowPrintPreview";
using PrintPreviewFunction = void (*)(QWidget* owner, const PrintJob& job);

}  // namespace quillon::ui
