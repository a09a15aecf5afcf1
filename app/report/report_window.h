#pragma once
// The results report window: the current analysis's figures with their formulas, following the
// data as they are typed, and under them the pictures of the sample analyses (the two groups'
// values, the agreement of paired measurements, the scatter plot and the residuals). "复制" puts
// the report on the clipboard as HTML (a three-line table) and as plain text; "保存报告" keeps the
// text and the pictures as a PDF, ODT or HTML file, "打印" prints the PDF's pages after a preview;
// "保存图片" saves the pictures shown. It has no parent widget, like the t table window.

#include <QWidget>
#include <vector>

#include "report/writing/text.h"

class QComboBox;
class QLabel;
class QMimeData;
class QPushButton;
class QTextBrowser;
class QTextTable;
class QTimer;

namespace quillon::plots {
class AgreementPlot;
class BoxPlot;
class PairedLinesPlot;
class PlotCanvas;
class EstimationPlot;
class MarginPlot;
class ResidualPlot;
class ScatterPlot;
}  // namespace quillon::plots

namespace quillon::ui {

class PictureView;
class ReportFeed;
class ReportHypothesisRow;
class ReportNamesRow;
struct ReportView;

class ReportWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ReportWindow(ReportFeed* feed);

  // Rebuilds the report now; a change of the data asks for it once the event loop is reached
  // again, so that the nested changes of one keystroke rebuild it once.
  void Refresh();
  const Report& Current() const { return report_; }

  // "复制": what a paper takes as it is, the paper's table and the sentences.
  void CopyReport() const;
  QMimeData* PaperMimeData() const;
  // "复制完整报告": the whole report, HTML with its three-line tables, and plain text.
  void CopyWholeReport() const;
  QMimeData* ReportMimeData() const;
  // Asks for a file name and saves the pictures shown there, a second one beside the first.
  void SavePicture();
  // Asks for a file name and saves the report there, as SaveReportTo.
  void SaveReport();
  // Saves the report and the pictures shown in the format the path's extension names (PDF when it
  // names none); a failure is told in a message box that names the file, and returns false.
  bool SaveReportTo(const QString& path);
  // Shows the pages in a print preview, from which they are printed.
  void PrintReport();
  // "复制R代码": the R script that reproduces the report's figures, on the clipboard as text.
  void CopyRCode() const;
  std::string RCode() const;
  // "保存R代码": asks for a file name (".R") and saves the script there, as SaveRCodeTo.
  void SaveRCode();
  // Writes the script atomically; a failure is told in a message box that names the file, and
  // returns false.
  bool SaveRCodeTo(const QString& path);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The height a picture is given when the window is fitted to a new analysis.
  static constexpr int kPlotHeight = 300;

  void FitToContent(bool resizeWindow);
  std::vector<PictureView*> Pictures() const;
  std::vector<const plots::PlotCanvas*> ShownPictures() const;
  void ShowPictures(ReportView view);
  // Writes the figures and sentences of a report of the shown one's shape into the shown text;
  // false, changing nothing, when the shown text does not hold the table it expects.
  bool UpdateInPlace(const Report& next);
  // Whether the shown columns still hold a report of the same shape: its labels and methods are
  // the shown ones and its numbers fit the value column.
  bool FitsColumns(const Report& next) const;
  bool WriteChanges(const std::vector<QTextTable*>& tables, const Report& next);
  // Writes the paper's table's changed cells; false where its shape or names changed.
  bool WritePaperChanges(QTextTable* table, const PaperTable& next);
  // Lays the report out anew, its table shown row by row with the columns the whole
  // table has at the text's width.
  void ShowAnew(const Report& report);

  ReportFeed* feed_;
  Report report_;
  ReportNamesRow* names_ = nullptr;
  ReportHypothesisRow* hypothesis_ = nullptr;
  // The columns the shown rows share, and the text's width they were measured at.
  ColumnWidths widths_;
  double widthsAt_ = -1;
  double valueRoom_ = 0;  // the value column's width inside its padding
  QTextBrowser* browser_ = nullptr;
  QWidget* pictures_ = nullptr;  // the row of pictures under the text
  // Each picture with the view that shows it and owns it.
  plots::ScatterPlot* plot_ = nullptr;
  plots::ResidualPlot* residuals_ = nullptr;
  plots::AgreementPlot* agreement_ = nullptr;
  plots::EstimationPlot* estimation_ = nullptr;
  plots::BoxPlot* boxes_ = nullptr;
  plots::PairedLinesPlot* pairedLines_ = nullptr;
  plots::MarginPlot* margin_ = nullptr;
  PictureView* plotView_ = nullptr;
  PictureView* residualsView_ = nullptr;
  PictureView* agreementView_ = nullptr;
  PictureView* estimationView_ = nullptr;
  PictureView* boxesView_ = nullptr;
  PictureView* pairedLinesView_ = nullptr;
  PictureView* marginView_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QComboBox* styles_ = nullptr;  // cmbReportStyle
  QComboBox* paths_ = nullptr;   // cmbReportTest
  QLabel* pathsLabel_ = nullptr;
  QComboBox* positives_ = nullptr;  // cmbPositiveMeans
  QLabel* positivesLabel_ = nullptr;
  QTimer* pending_ = nullptr;
  QTimer* remeasure_ = nullptr;  // measures the columns again at a new width of the text
  bool centred_ = false;
};

}  // namespace quillon::ui
