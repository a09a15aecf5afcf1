#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "app/analyses/entry_transfer.h"
#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/analysis_keeper.h"
#include "app/application.h"
#include "app/files/group_files.h"
#include "app/report/report_feed.h"
#include "app/tools/banner_messages.h"
#include "app/tools/calculator_panel.h"
#include "app/tools/help_links.h"
#include "app/tools/t_table_window.h"
#include "app/widgets/accessible_names.h"
#include "app/widgets/keyboard_access.h"
#include "app/widgets/painted_widgets.h"

namespace quillon::ui {

namespace {
constexpr int ClientWidth = 549;   // 8235 twips
constexpr int ClientHeight = 429;  // 6435 twips
constexpr int BannerIntervalMs = 2000;
}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quillon V3.0"));
  setAttribute(Qt::WA_DeleteOnClose);

  InstallLabelReadings();  // before the first label is made

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(ClientWidth, ClientHeight);
  setCentralWidget(client);

  BuildMenus();
  BuildTopStrip(client);
  BuildSelector(client);
  grid_ = new SampleGrid(client);
  fourfoldTable_ = new FourfoldTable(client);
  BuildResultPanels(client);
  new CalculatorPanel(client);
  NameMainWindow(this);  // first: the named results join the Tab chain
  SetTabOrder();
  FollowResultTexts(this);

  AnalysisControls controls;
  controls.buttons = analysisButtons_;
  controls.label1 = label1_;
  for (const char* name : {"tbImport", "tbExport"}) {
    controls.importExportButtons.push_back(findChild<QToolButton*>(QString::fromLatin1(name)));
  }
  for (const char* name : {"mnuExport1", "mnuExport2", "mnuImport1", "mnuImport2"}) {
    controls.importExportItems.push_back(findChild<QAction*>(QString::fromLatin1(name)));
  }
  controls.grid = grid_;
  controls.twoSample = twoSample_;
  controls.paired = paired_;
  controls.correlation = correlation_;
  controls.fourfoldTable = fourfoldTable_;
  controls.chiSquares = chiSquares_;
  modes_ = new AnalysisModes(this, std::move(controls));
  connect(modes_, &AnalysisModes::AnalysisSelected, this, [this] { NameFourfoldCells(this); });
  files_ = std::make_unique<GroupFiles>(
      this, grid_->Lists(), [grid = grid_](Group group, std::vector<std::string> lines) {
        grid->ReplaceGroup(group, std::move(lines));
      });
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->installEventFilter(this);
  // Installed last, so that it sees a box's events before the window's and the grid's filters.
  transfer_ = new EntryTransfer(this, grid_, fourfoldTable_, files_.get());

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(BannerIntervalMs);
  connect(timer1_, &QTimer::timeout, this, &MainWindow::AdvanceBanner);
  connect(banner_, &BannerStrip::clicked, this, [this] { OpenVendorPage(VendorHomePage); });

  keeper_ = new AnalysisKeeper(this);
  setAcceptDrops(true);

  MarkFocus(this);
  OpenMenusFromKeyboard(this, menuBar());

  setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
  Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::Load() {
  banner_->Show(WelcomeBannerMessage());
  timer1_->start();
  grid_->Load();
  grid_->EntryBox(Group::First, 0)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
  }
}

bool MainWindow::focusNextPrevChild(bool next) {
  FollowResultTexts(this);
  return QMainWindow::focusNextPrevChild(next);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The entry boxes would take some Ctrl keys for their own editing (Ctrl+K deletes to the end
  // of the line on some desktops); the menu's shortcuts come first.
  // Every keystroke passes here first; only Ctrl keys can be menu shortcuts.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::ControlModifier) {
      const QKeySequence pressed(key->keyCombination());
      for (const QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->isEnabled() && action->shortcut() == pressed) return true;
      }
    }
  }
  // Ctrl+Z right after an analysis switch, in any box, brings the analysis before it back.
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) && keeper_ != nullptr &&
      keeper_->UndoSwitch()) {
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::AdvanceBanner() {
  bannerCounter_ = bannerCounter_ % BannerMessageCount + 1;
  banner_->Show(BannerMessages()[static_cast<std::size_t>(bannerCounter_ - 1)]);
}

void MainWindow::RunToolbarItem(const QString& key) {
  if (key == QStringLiteral("导入1")) {
    ImportGroup1();
  } else if (key == QStringLiteral("导入2")) {
    ImportGroup2();
  } else if (key == QStringLiteral("导出1")) {
    ExportGroup1();
  } else if (key == QStringLiteral("导出2")) {
    ExportGroup2();
  }
}

void MainWindow::ImportGroup1() { files_->Import(Group::First); }
void MainWindow::ImportGroup2() { files_->Import(Group::Second); }
void MainWindow::ExportGroup1() { files_->Export(Group::First); }
void MainWindow::ExportGroup2() { files_->Export(Group::Second); }
void MainWindow::OpenTutorial() { WriteAndOpenTutorial(this); }
void MainWindow::OpenVendorPage(const QString& address) { OpenWebPage(address); }

void MainWindow::ShowTTableWindow() {
  if (tTableWindow_ == nullptr) {
    tTableWindow_ = new TTableWindow();
    CloseOnEscape(tTableWindow_);
  }
  tTableWindow_->show();
  tTableWindow_->raise();
  tTableWindow_->activateWindow();
}

ReportFeed* MainWindow::Feed() {
  if (reportFeed_ == nullptr) {
    reportFeed_ = new ReportFeed(this, {modes_, grid_, twoSample_, fourfoldTable_});
  }
  return reportFeed_;
}

void MainWindow::ShowReportWindow() {
  if (reportWindow_ == nullptr) {
    reportWindow_ = new ReportWindow(Feed());
    NameReportWindow(reportWindow_);
    CloseOnEscape(reportWindow_);
    MarkFocus(reportWindow_);
  }
  reportWindow_->show();
  reportWindow_->raise();
  reportWindow_->activateWindow();
}

void MainWindow::ShowSampleSizeWindow() {
  if (sampleSizeWindow_ == nullptr) {
    // It opens on the analysis shown here; after that the two go their own ways.
    const AnalysisMode shown = modes_->Current();
    // The pilot estimates read this window's data while it is open.
    const PilotSources sources{grid_, twoSample_, fourfoldTable_};
    auto pilot = [self = QPointer<MainWindow>(this), sources](PowerDesign design) {
      return self != nullptr ? ReadPilotEstimates(design, sources)
                             : PilotEstimates(QStringLiteral("主窗口已关闭"));
    };
    sampleSizeWindow_ = new SampleSizeWindow(shown, Feed(), pilot);
    if (planning_) sampleSizeWindow_->SetPlan(*planning_);
    planning_.reset();
    connect(sampleSizeWindow_, &SampleSizeWindow::PlanChanged, keeper_,
            &AnalysisKeeper::NoteChange);
    MarkFocus(sampleSizeWindow_);
  }
  sampleSizeWindow_->show();
  sampleSizeWindow_->raise();
  sampleSizeWindow_->activateWindow();
}

SampleSizeWindow::Plan MainWindow::PlanningState() const {
  if (sampleSizeWindow_ != nullptr) return sampleSizeWindow_->CurrentPlan();
  if (planning_) return *planning_;
  // As the window would open: on the analysis shown here.
  SampleSizeWindow::Plan plan;
  plan.design = kPowerDesigns[static_cast<std::size_t>(modes_->Current())];
  return plan;
}

void MainWindow::SetPlanningState(const SampleSizeWindow::Plan& plan) {
  if (sampleSizeWindow_ != nullptr) {
    sampleSizeWindow_->SetPlan(plan);
  } else {
    planning_ = plan;
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  // Once the drop is over, so that the program the file came from is not kept waiting.
  QMetaObject::invokeMethod(
      this, [this, path = urls.front().toLocalFile()] { keeper_->Open(path); },
      Qt::QueuedConnection);
}

void MainWindow::ExitProgram() {
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}

}  // namespace quillon::ui
