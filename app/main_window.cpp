#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "app/application.h"
#include "app/banner_messages.h"
#include "app/calculator_panel.h"
#include "app/help_links.h"
#include "app/painted_widgets.h"
#include "app/t_table_window.h"
#include "counts/summary_t_test.h"
#include "stats/number_text.h"

namespace quillon::ui {

namespace {
constexpr int ClientWidth = 549;   // 8235 twips
constexpr int ClientHeight = 429;  // 6435 twips
constexpr int BannerIntervalMs = 2000;

std::string ToUtf8(const QString& text) { return text.toStdString(); }
QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quillon V3.0"));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(ClientWidth, ClientHeight);
  setCentralWidget(client);

  BuildMenus();
  BuildTopStrip(client);
  BuildSelector(client);
  BuildSampleGrid(client);
  BuildFourfoldTable(client);
  BuildResultPanels(client);
  new CalculatorPanel(client);
  SetTabOrder();

  for (std::size_t i = 0; i < text4_.size(); ++i) {
    const int index = static_cast<int>(i);
    connect(text4_[i], &QLineEdit::textChanged, this, [this, index] { RunSummaryTTest(index); });
    connect(text4_[i], &QLineEdit::returnPressed, this, [this, i] {
      QLineEdit* next = text4_[(i + 1) % text4_.size()];
      next->setFocus(Qt::OtherFocusReason);
      next->setCursorPosition(static_cast<int>(next->text().size()));
    });
  }
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->installEventFilter(this);

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(BannerIntervalMs);
  connect(timer1_, &QTimer::timeout, this, &MainWindow::AdvanceBanner);
  connect(banner_, &BannerStrip::clicked, this, [this] { OpenVendorPage(VendorHomePage); });

  setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
  Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::Load() {
  banner_->Show(WelcomeBannerMessage());
  timer1_->start();
  vs1_->setMaximum(0);
  for (std::size_t row = 0; row < text1_.size(); ++row) {
    list1_.append(QString());
    list2_.append(QString());
    text3_[row]->setText(QString::number(row + 1));
  }
  text1_[0]->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
  }
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

void MainWindow::ImportGroup1() {}
void MainWindow::ImportGroup2() {}
void MainWindow::ExportGroup1() {}
void MainWindow::ExportGroup2() {}
void MainWindow::OpenTutorial() { WriteAndOpenTutorial(this); }
void MainWindow::OpenVendorPage(const QString& address) { OpenWebPage(address); }

void MainWindow::ShowTTableWindow() {
  if (tTableWindow_ == nullptr) tTableWindow_ = new TTableWindow();
  tTableWindow_->show();
  tTableWindow_->raise();
  tTableWindow_->activateWindow();
}

void MainWindow::ExitProgram() {
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}

void MainWindow::RunSummaryTTest(int index) {
  QLineEdit* changed = text4_[static_cast<std::size_t>(index)];
  const QString normalised = FromUtf8(ReplaceFullStops(ToUtf8(changed->text())));
  if (normalised != changed->text()) changed->setText(normalised);  // runs this again, nested
  changed->setCursorPosition(static_cast<int>(changed->text().size()));

  std::array<std::string, 6> summaries;
  for (std::size_t i = 0; i < summaries.size(); ++i) summaries[i] = ToUtf8(text4_[i]->text());
  const std::optional<SummaryTTestResult> result = SummaryTTest(summaries);
  if (!result) {
    ClearSummaryTResult();
    return;
  }
  const TCriticalValues& critical = result->verdict.critical;
  label5_[3]->setText(FromUtf8(critical.c05));
  label5_[4]->setText(FromUtf8(critical.c01));
  label5_[5]->setText(FromUtf8(critical.c001));
  label5_[6]->setText(FromUtf8(result->verdict.line));
}

void MainWindow::ClearSummaryTResult() {
  for (int index : {6, 3, 4, 5}) label5_[static_cast<std::size_t>(index)]->clear();
}

}  // namespace quillon::ui
