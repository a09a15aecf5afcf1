// The design state of the main window: every control with its name, position, caption,
// colours and fonts. Positions are in twips relative to the control's container.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/analyses/chi_square_panels.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/analysis_keeper.h"
#include "app/application.h"
#include "app/main_window.h"
#include "app/widgets/form_layout.h"
#include "app/widgets/keyboard_access.h"
#include "app/widgets/painted_widgets.h"
#include "entry/grid_rows.h"

namespace quillon::ui {

namespace {

QGroupBox* MakeFrame(QWidget* parent, const QString& name, QRect geometry,
                     const QString& title = {}) {
  auto* frame = new QGroupBox(title, parent);
  frame->setObjectName(name);
  frame->setGeometry(geometry);
  return frame;
}

}  // namespace

void MainWindow::BuildMenus() {
  struct Item {
    const char* name;  // nullptr for a separator
    QString text;
    QKeySequence shortcut;
    std::function<void()> run;
  };
  auto addMenu = [this](const QString& title, const char* name, std::initializer_list<Item> items) {
    QMenu* menu = menuBar()->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    for (const Item& item : items) {
      if (item.name == nullptr) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(item.text);
      action->setObjectName(QString::fromLatin1(item.name));
      action->setShortcut(item.shortcut);
      connect(action, &QAction::triggered, this, item.run);
    }
  };
  const Item separator{nullptr, {}, {}, {}};

  // clang-format off
  addMenu(QStringLiteral("文件(F)"), "mnuFile", {
      {"mnuImport1", QStringLiteral("导入第一组数据"), QKeySequence(Qt::CTRL | Qt::Key_G), [this] { ImportGroup1(); }},
      {"mnuImport2", QStringLiteral("导入第二组数据"), QKeySequence(Qt::CTRL | Qt::Key_F), [this] { ImportGroup2(); }},
      separator,
      {"mnuExport1", QStringLiteral("导出第一组数据"), QKeySequence(Qt::CTRL | Qt::Key_I), [this] { ExportGroup1(); }},
      {"mnuExport2", QStringLiteral("导出第二组数据"), QKeySequence(Qt::CTRL | Qt::Key_L), [this] { ExportGroup2(); }},
      {"mnuExportCsv", QStringLiteral("导出为CSV…"), {}, [this] { keeper_->ExportCsv(); }},
      {"mnuOpenAnalysis", QStringLiteral("打开分析…"), QKeySequence(Qt::CTRL | Qt::Key_O), [this] { keeper_->OpenWithDialog(); }},
      {"mnuSaveAnalysis", QStringLiteral("保存分析"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { keeper_->Save(); }},
      {"mnuSaveAnalysisAs", QStringLiteral("分析另存为…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { keeper_->SaveAs(); }},
      // Enabled and run by the recovery of unsaved work (work_recovery).
      {"mnuRestoreWork", QStringLiteral("恢复上次的工作"), {}, [] {}},
      separator,
      {"mnuTTable", QStringLiteral("t界值表"), QKeySequence(Qt::CTRL | Qt::Key_T), [this] { ShowTTableWindow(); }},
      {"mnuReport", QStringLiteral("结果报告"), QKeySequence(Qt::CTRL | Qt::Key_R), [this] { ShowReportWindow(); }},
      {"mnuSampleSize", QStringLiteral("样本量估计"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { ShowSampleSizeWindow(); }},
      separator,
      {"mnuExit", QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] { ExitProgram(); }},
  });
  addMenu(QStringLiteral("帮助(H)"), "mnuHelp", {
      {"mnuHomePage", QStringLiteral("访问作者主页"), QKeySequence(Qt::CTRL | Qt::Key_H), [this] { OpenVendorPage(VendorHomePage); }},
      {"mnuOnlineHelp", QStringLiteral("在线帮助"), QKeySequence(Qt::CTRL | Qt::Key_K), [this] { OpenVendorPage(VendorHelpPage); }},
  });
  // clang-format on

  // The recent analysis files, before the item that restores the work of the last run (which is
  // enabled while there is such work).
  auto* fileMenu = menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
  auto* restore = findChild<QAction*>(QStringLiteral("mnuRestoreWork"));
  restore->setEnabled(false);
  auto* recent = new QMenu(QStringLiteral("最近的分析"), fileMenu);
  recent->setObjectName(QStringLiteral("mnuRecentAnalyses"));
  fileMenu->insertMenu(restore, recent);
}

void MainWindow::BuildTopStrip(QWidget* client) {
  QGroupBox* frame1 = MakeFrame(client, QStringLiteral("Frame1"), TwipsRect(60, -60, 8115, 855));

  auto* toolbar = new QToolBar(frame1);
  toolbar->setObjectName(QStringLiteral("Toolbar1"));
  toolbar->setMovable(false);
  toolbar->setFloatable(false);
  toolbar->setIconSize(QSize(32, 32));
  toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

  auto makeButton = [toolbar](const char* name, const QString& text, const char* icon) {
    auto* button = new QToolButton(toolbar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1").arg(QString::fromLatin1(icon))));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    toolbar->addWidget(button);
    return button;
  };
  // The drop-down buttons: the face does nothing, the items run the operation of their key.
  auto makeDropDown = [&](const char* name, const QString& text, const char* icon,
                          const QString& key1, const QString& key2) {
    QToolButton* button = makeButton(name, text, icon);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(button);
    for (const auto& [key, caption] : {std::pair{key1, QStringLiteral("第一组数据")},
                                       std::pair{key2, QStringLiteral("第二组数据")}}) {
      QAction* item = menu->addAction(caption);
      item->setObjectName(key);
      connect(item, &QAction::triggered, this,
              [this, item] { RunToolbarItem(item->objectName()); });
    }
    button->setMenu(menu);
    OpenMenuFromKeyboard(button);
  };
  makeDropDown("tbImport", QStringLiteral("导入"), "import.svg", QStringLiteral("导入1"),
               QStringLiteral("导入2"));
  makeDropDown("tbExport", QStringLiteral("导出"), "export.svg", QStringLiteral("导出1"),
               QStringLiteral("导出2"));
  QToolButton* tbHelp = makeButton("tbHelp", QStringLiteral("帮助"), "help.svg");
  connect(tbHelp, &QToolButton::clicked, this, &MainWindow::OpenTutorial);

  // The toolbar takes the height its buttons need; it starts where the design puts it, or a
  // little higher where the strip would otherwise cut off the captions.
  const QRect designed = TwipsRect(60, 180, 5175, 570);
  toolbar->setContentsMargins(0, 0, 0, 0);
  const int height = toolbar->sizeHint().height();
  const int top = std::max(0, std::min(designed.top(), frame1->height() - height - 1));
  toolbar->setGeometry(designed.left(), top, designed.width(), height);

  banner_ = new BannerStrip(frame1, TwipsRect(5220, 270, 2655, 375), SongFace());
}

void MainWindow::BuildSelector(QWidget* client) {
  QGroupBox* frame2 = MakeFrame(client, QStringLiteral("Frame2"), TwipsRect(60, 780, 2355, 2805));
  for (int mode = 0; mode < AnalysisModeCount; ++mode) {
    QPushButton* button = MakeButton(frame2, IndexedName(QStringLiteral("Command1"), mode),
                                     TwipsRect(140, 180 + 420 * mode, 2065, 390),
                                     AnalysisCaptions()[static_cast<std::size_t>(mode)]);
    analysisButtons_[static_cast<std::size_t>(mode)] = button;
  }
  SetBold(analysisButtons_[0], true);
  QPushButton* tutorial =
      MakeButton(frame2, QStringLiteral("Command19"), TwipsRect(140, 2280, 2065, 390),
                 QStringLiteral("统计学傻瓜教程"));
  connect(tutorial, &QPushButton::clicked, this, &MainWindow::OpenTutorial);

  QGroupBox* frame3 = MakeFrame(client, QStringLiteral("Frame3"), TwipsRect(2460, 780, 5715, 495));
  label1_ = MakeCaption(frame3, QStringLiteral("Label1"), 60, 240,
                        AnalysisCaption(AnalysisMode::TwoSampleMeans));
  SetTextColour(label1_, HighlightColour());
}

void MainWindow::BuildResultPanels(QWidget* client) {
  auto makePanel = [&](int number, const QColor& background) {
    auto* panel =
        new RuledPanel(client, QStringLiteral("Picture%1").arg(number), ResultArea(), background);
    pictures_[static_cast<std::size_t>(number)] = panel;
    return panel;
  };
  twoSample_ = new TwoSamplePanel(makePanel(4, Qt::white));
  paired_ = new PairedPanel(makePanel(6, Qt::white));
  correlation_ = new CorrelationPanel(makePanel(7, Qt::white));
  for (int hidden : {6, 7}) pictures_[static_cast<std::size_t>(hidden)]->hide();
  chiSquares_ = new ChiSquarePanels(client);
}

namespace {

// The controls of a region that Tab reaches, row by row from the top, left to right in a row.
std::vector<QWidget*> InReadingOrder(QWidget* region) {
  std::vector<QWidget*> found;
  for (QWidget* control : region->findChildren<QWidget*>()) {
    if (control->focusPolicy() & Qt::TabFocus) found.push_back(control);
  }
  auto place = [region](const QWidget* control) {
    const QPoint at = control->mapTo(region, QPoint(0, 0));
    return std::pair{at.y(), at.x()};
  };
  std::stable_sort(found.begin(), found.end(),
                   [&](const QWidget* a, const QWidget* b) { return place(a) < place(b); });
  return found;
}

}  // namespace

void MainWindow::SetTabOrder() {
  // Tab goes through the regions in reading order: the choice of analysis, the data, the
  // summary boxes, the results, the calculator, then the toolbar and the banner, and round.
  // Qt passes by the controls of the hidden panels, so one chain serves the five analyses.
  std::vector<QWidget*> chain;
  auto add = [&chain](QWidget* control) {
    if (std::find(chain.begin(), chain.end(), control) == chain.end()) chain.push_back(control);
  };
  auto addRegion = [&](const char* name) {
    for (QWidget* control : InReadingOrder(findChild<QWidget*>(QString::fromLatin1(name)))) {
      add(control);
    }
  };
  addRegion("Frame2");
  // The grid down the first group's column, then down the second's; its row numbers are read
  // with their row and passed by.
  for (const Group group : {Group::First, Group::Second}) {
    for (QLineEdit* box : grid_->EntryBoxes(group)) add(box);
  }
  for (int row = 0; row < kVisibleRows; ++row) {
    findChild<QLineEdit*>(IndexedName(QStringLiteral("Text3"), row))
        ->setFocusPolicy(Qt::ClickFocus);
  }
  addRegion("Picture8");
  // The summary boxes group by group, as Enter takes them, before the results under them.
  for (int box = 0; box < 6; ++box)
    add(findChild<QWidget*>(IndexedName(QStringLiteral("Text4"), box)));
  for (const char* results : {"Picture4", "Picture6", "Picture7", "Picture9", "Picture11"}) {
    addRegion(results);
  }
  addRegion("Frame4");
  addRegion("Toolbar1");
  add(banner_);
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace quillon::ui
