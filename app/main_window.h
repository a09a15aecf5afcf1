#pragma once
// The main window: every input and result of the five analyses, the calculator, the menu bar,
// the toolbar and the banner. The window only reads its inputs, asks the core for results and
// shows them.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>

#include "app/analysis_modes.h"
#include "app/planning/sample_size_window.h"
#include "app/report/report_window.h"
#include "app/tools/t_table_window.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolButton;

namespace quillon::ui {

class AnalysisKeeper;
class BannerStrip;
class ChiSquarePanels;
class CorrelationPanel;
class EntryTransfer;
class FourfoldTable;
class GroupFiles;
class PairedPanel;
class ReportFeed;
class RuledPanel;
class SampleGrid;
class TwoSamplePanel;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Operations run by the menu, the toolbar and the buttons.
  void ImportGroup1();
  void ImportGroup2();
  void ExportGroup1();
  void ExportGroup2();
  void ShowTTableWindow();
  void ShowReportWindow();
  void ShowSampleSizeWindow();
  void OpenTutorial();
  void OpenVendorPage(const QString& address);
  void ExitProgram();

  // A toolbar drop-down item: runs the operation of its key ("导入1", "导入2", "导出1",
  // "导出2"); any other key does nothing.
  void RunToolbarItem(const QString& key);

  AnalysisModes* Modes() const { return modes_; }
  SampleGrid* Grid() const { return grid_; }
  GroupFiles* Files() const { return files_.get(); }
  FourfoldTable* Fourfold() const { return fourfoldTable_; }
  EntryTransfer* Transfer() const { return transfer_; }
  TwoSamplePanel* TwoSample() const { return twoSample_; }
  AnalysisKeeper* Keeper() const { return keeper_; }
  // The report's feed, made when first needed: the report's choices live there.
  ReportFeed* Feed();
  // The sample-size window's design, what it solves for and its boxes: its own while it is open,
  // otherwise those it will open with.
  SampleSizeWindow::Plan PlanningState() const;
  void SetPlanningState(const SampleSizeWindow::Plan& plan);

  TTableWindow* TTableWindowIfOpen() const { return tTableWindow_; }
  ReportWindow* ReportWindowIfOpen() const { return reportWindow_; }
  SampleSizeWindow* SampleSizeWindowIfOpen() const { return sampleSizeWindow_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Tab and Shift+Tab pass by the result labels that show nothing.
  bool focusNextPrevChild(bool next) override;
  // A file dropped anywhere on the window (outside a group's column) is opened as an analysis.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Layout of the design state, one region at a time (main_window_layout.cpp).
  void BuildMenus();
  void BuildTopStrip(QWidget* client);
  void BuildSelector(QWidget* client);
  void BuildResultPanels(QWidget* client);
  void SetTabOrder();

  // The Load steps of the window; the banner's tick.
  void Load();
  void AdvanceBanner();

  // Controls the code works with; the rest are found by name.
  std::array<QPushButton*, AnalysisModeCount> analysisButtons_{};
  QLabel* label1_ = nullptr;
  std::array<QWidget*, 12> pictures_{};  // Picture2 .. Picture11 by their design number
  BannerStrip* banner_ = nullptr;
  QTimer* timer1_ = nullptr;
  int bannerCounter_ = 0;

  SampleGrid* grid_ = nullptr;
  TwoSamplePanel* twoSample_ = nullptr;
  PairedPanel* paired_ = nullptr;
  CorrelationPanel* correlation_ = nullptr;
  FourfoldTable* fourfoldTable_ = nullptr;
  ChiSquarePanels* chiSquares_ = nullptr;
  AnalysisModes* modes_ = nullptr;
  std::unique_ptr<GroupFiles> files_;
  EntryTransfer* transfer_ = nullptr;

  // The t table window has no parent widget, so that it outlives a closed main window.
  QPointer<TTableWindow> tTableWindow_;
  // Likewise the report window; the feed it reads belongs to this window.
  QPointer<ReportWindow> reportWindow_;
  ReportFeed* reportFeed_ = nullptr;
  // The sample-size window: no parent either; it shares the report's journal style.
  QPointer<SampleSizeWindow> sampleSizeWindow_;
  bool centred_ = false;
  AnalysisKeeper* keeper_ = nullptr;
  // What a sample-size window not yet opened opens with, once an analysis file has set it.
  std::optional<SampleSizeWindow::Plan> planning_;
};

}  // namespace quillon::ui
