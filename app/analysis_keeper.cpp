#include "app/analysis_keeper.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <map>

#include "analysis_file/csv.h"
#include "app/analyses/entry_transfer.h"
#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/main_window.h"
#include "app/report/report_feed.h"
#include "app/widgets/gbk_text.h"
#include "app/widgets/utf8.h"
#include "app/widgets/write_failures.h"

namespace quillon::ui {

namespace {

constexpr int kRecentCount = 8;
const QString kSuffix = QStringLiteral(".quillon");

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

bool IsColumnsFile(const QString& path) {
  return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
         path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

AnalysisMode ModeOf(AnalysisKind kind) { return static_cast<AnalysisMode>(kind); }

QString RecentListPath() { return AnalysisKeeper::StateFolder() + QStringLiteral("/recent"); }

// The captions of each group as the main window's grid names them, for the CSV's header.
std::pair<QString, QString> ColumnCaptions(const AnalysisModes& modes) {
  if (modes.IsCurrent(AnalysisMode::CorrelationRegression)) {
    return {QStringLiteral("X"), QStringLiteral("Y")};
  }
  if (modes.IsCurrent(AnalysisMode::PairedMeans)) {
    return {QStringLiteral("处理前"), QStringLiteral("处理后")};
  }
  return {QStringLiteral("第一组"), QStringLiteral("第二组")};
}

// The report's names of the analysis by the file's keys: the two groups (or times, variables,
// methods, rows), the outcome and units, the count tables' results, and what pairs mean.
constexpr std::array<std::pair<const char*, std::string ReportNames::*>, 8> kNameKeys = {{
    {"group1", &ReportNames::first},
    {"group2", &ReportNames::second},
    {"outcome", &ReportNames::outcome},
    {"unit", &ReportNames::unit},
    {"unit1", &ReportNames::firstUnit},
    {"unit2", &ReportNames::secondUnit},
    {"positive", &ReportNames::positive},
    {"negative", &ReportNames::negative},
}};
constexpr const char* kMeaningKey = "pairedMeaning";
constexpr const char* kTwoMethods = "two-methods";

std::map<std::string, std::string> NamesMap(const ReportNames& names) {
  std::map<std::string, std::string> map;
  for (const auto& [key, member] : kNameKeys) {
    if (!(names.*member).empty()) map[key] = names.*member;
  }
  if (names.meaning == PairedMeaning::TwoMethods) map[kMeaningKey] = kTwoMethods;
  return map;
}

ReportNames NamesOf(const std::map<std::string, std::string>& map) {
  ReportNames names;
  for (const auto& [key, member] : kNameKeys) {
    if (const auto found = map.find(key); found != map.end()) names.*member = found->second;
  }
  const auto meaning = map.find(kMeaningKey);
  if (meaning != map.end() && meaning->second == kTwoMethods) {
    names.meaning = PairedMeaning::TwoMethods;
  }
  return names;
}

}  // namespace

AnalysisKeeper::Dialogs AnalysisKeeper::StandardDialogs() {
  Dialogs dialogs;
  dialogs.choosePathToOpen = [](QWidget* owner) {
    return QFileDialog::getOpenFileName(
        owner, QStringLiteral("打开分析"), QString(),
        QStringLiteral("Quillon 分析文件 (*.quillon);;两列数据 (*.csv *.txt);;所有文件 (*)"),
        nullptr, QFileDialog::DontUseNativeDialog);
  };
  dialogs.choosePathToSave = [](QWidget* owner, const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(owner, QStringLiteral("保存"), suggested, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
  };
  dialogs.tell = [](QWidget* owner, const QString& message) {
    QMessageBox::warning(owner, QStringLiteral("Quillon V3.0"), message);
  };
  return dialogs;
}

AnalysisKeeper::AnalysisKeeper(MainWindow* window)
    : QObject(window), window_(window), dialogs_(StandardDialogs()) {
  const auto touched = [this] { NoteChange(); };
  connect(window_->Grid(), &SampleGrid::EntryChanged, this, touched);
  connect(window_->TwoSample(), &TwoSamplePanel::SummaryChanged, this, touched);
  connect(window_->Fourfold(), &FourfoldTable::TotalsChanged, this, touched);
  connect(window_->Feed(), &ReportFeed::Changed, this, touched);
  connect(window_->Modes(), &AnalysisModes::AnalysisAboutToChange, this, [this] {
    if (!restoring_) beforeSwitch_ = Capture();
    switching_ = true;
  });
  connect(window_->Modes(), &AnalysisModes::AnalysisSelected, this, [this] {
    // The switch is a change, but not one that ends its own undo.
    switching_ = false;
    if (restoring_) return;
    MarkModified(true);
    emit Changed();
  });
  window_->Transfer()->SetUndoFirst([this] { return UndoSwitch(); });
  window_->Transfer()->SetOpenDropped(
      [this](const QList<QUrl>& urls) { return Open(urls.front().toLocalFile()); });
  FillRecentMenu();
}

void AnalysisKeeper::NoteChange() {
  if (restoring_ || switching_) return;
  beforeSwitch_.reset();
  MarkModified(true);
  emit Changed();
}

AnalysisState AnalysisKeeper::Capture() const {
  AnalysisState state;
  state.analysis = static_cast<AnalysisKind>(window_->Modes()->Current());
  const SampleLists& lists = window_->Grid()->Lists();
  for (const Group group : {Group::First, Group::Second}) {
    std::vector<std::string>& rows = group == Group::First ? state.group1 : state.group2;
    rows.resize(lists.Size(group));
    for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = lists.Text(group, row);
  }
  state.summary = window_->TwoSample()->SummaryTexts();
  for (int cell = 0; cell < 4; ++cell) {
    state.fourfold[static_cast<std::size_t>(cell)] =
        ToUtf8(window_->Fourfold()->Cell(cell)->text());
  }
  const ReportFeed* feed = window_->Feed();
  state.style = feed->Style();
  state.testPath = feed->Path();
  state.positiveMeans = feed->Positive();
  state.names = NamesMap(feed->Names());
  const MarginSetting& margin = feed->Margin();
  state.hypothesis = margin.hypothesis;
  state.better = margin.better;
  state.margin = margin.margin;
  state.alpha = margin.alpha;
  const SampleSizeWindow::Plan plan = window_->PlanningState();
  state.design = plan.design;
  state.solveFor = plan.solve;
  state.sampleSize = plan.boxes;
  return state;
}

void AnalysisKeeper::Restore(const AnalysisState& state, const QString& filePath, bool modified) {
  restoring_ = true;
  beforeSwitch_.reset();
  window_->Modes()->SelectAnalysis(ModeOf(state.analysis));
  window_->Grid()->ReplaceGroup(Group::First, state.group1);
  window_->Grid()->ReplaceGroup(Group::Second, state.group2);
  // A file without the summary boxes leaves them to what the grid's values give.
  if (state.summaryGiven) window_->TwoSample()->SetSummaryTexts(state.summary);
  for (int cell = 0; cell < 4; ++cell) {
    QLineEdit* box = window_->Fourfold()->Cell(cell);
    const QString text = FromUtf8(state.fourfold[static_cast<std::size_t>(cell)]);
    if (box->text() != text) box->setText(text);
  }
  ReportFeed* feed = window_->Feed();
  feed->SetStyle(state.style);
  feed->SetPath(state.testPath);
  feed->SetPositiveMeans(state.positiveMeans);
  feed->SetNames(NamesOf(state.names));
  feed->SetMargin({state.hypothesis, state.better, state.margin, state.alpha});
  window_->SetPlanningState({state.design, state.solveFor, state.sampleSize});
  restoring_ = false;
  filePath_ = filePath;
  MarkModified(modified);
  emit Changed();
}

bool AnalysisKeeper::UndoSwitch() {
  // A paste since the switch is the later step: Ctrl+Z takes that back first.
  if (!beforeSwitch_ || window_->Grid()->CanUndoPaste() || window_->Fourfold()->CanUndoPaste()) {
    return false;
  }
  const AnalysisState before = std::move(*beforeSwitch_);
  beforeSwitch_.reset();
  Restore(before, filePath_, true);
  return true;
}

void AnalysisKeeper::MarkModified(bool modified) {
  modified_ = modified;
  window_->setWindowFilePath(filePath_);
  window_->setWindowTitle(filePath_.isEmpty() ? QStringLiteral("Quillon V3.0")
                                              : QFileInfo(filePath_).fileName() +
                                                    QStringLiteral("[*] - Quillon V3.0"));
  window_->setWindowModified(modified && !filePath_.isEmpty());
}

QString AnalysisKeeper::StateFolder() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
    base = QDir::homePath() + QStringLiteral("/.local/state");
  }
  const QString folder = base + QStringLiteral("/quillon");
  QDir().mkpath(folder);
  return folder;
}

namespace {

// Writes the bytes beside the old file and puts them in its place once complete; the reason in
// Chinese on failure.
std::optional<QString> WriteWhole(const QString& path, const std::string& bytes) {
  QSaveFile file(path);
  const auto size = static_cast<qint64>(bytes.size());
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), size) != size ||
      !file.commit()) {
    return WriteFailureReason(path, file, size);
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> AnalysisKeeper::WriteStateFile(const QString& path,
                                                      const AnalysisState& state) {
  return WriteWhole(path, WriteAnalysis(state));
}

std::variant<AnalysisState, QString> AnalysisKeeper::ReadStateFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return QStringLiteral("无法读取文件（%1）").arg(file.errorString());
  if (file.size() > static_cast<qint64>(kMaxAnalysisFileBytes)) {
    return QStringLiteral("文件超过%1 MiB，不是Quillon写的分析文件")
        .arg(kMaxAnalysisFileBytes >> 20);
  }
  const QByteArray bytes = file.read(static_cast<qint64>(kMaxAnalysisFileBytes) + 1);
  auto read =
      ReadAnalysis(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (auto* error = std::get_if<AnalysisFileError>(&read)) return FromUtf8(error->reason);
  return std::get<AnalysisState>(std::move(read));
}

void AnalysisKeeper::OpenWithDialog() {
  const QString path = dialogs_.choosePathToOpen(window_);
  if (!path.isEmpty()) Open(path);
}

bool AnalysisKeeper::Open(const QString& path) {
  if (IsColumnsFile(path)) return OpenColumns(path);
  auto read = ReadStateFile(path);
  if (auto* reason = std::get_if<QString>(&read)) {
    dialogs_.tell(window_, QStringLiteral("无法打开分析文件：\n%1\n%2。\n窗口中的数据未改变。")
                               .arg(Shown(path), *reason));
    return false;
  }
  Restore(std::get<AnalysisState>(read), QFileInfo(path).absoluteFilePath(), false);
  RememberRecent(filePath_);
  return true;
}

// A table of one or two columns, from a spreadsheet or another program: filled in from the
// grid's first row as the same text pasted there would be, and taken back by Ctrl+Z.
bool AnalysisKeeper::OpenColumns(const QString& path) {
  const auto* modes = window_->Modes();
  if (modes->IsCurrent(AnalysisMode::FourfoldChiSquare) ||
      modes->IsCurrent(AnalysisMode::PairedChiSquare)) {
    dialogs_.tell(window_, QStringLiteral("四格表资料不能从两列数据文件读入：\n%1\n"
                                          "请先选择两样本t检验、配对t检验或相关与回归。")
                               .arg(Shown(path)));
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > static_cast<qint64>(kMaxAnalysisFileBytes)) {
    dialogs_.tell(window_, QStringLiteral("无法读取文件：\n%1\n数据未改变。").arg(Shown(path)));
    return false;
  }
  QByteArray bytes = file.readAll();
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  // UTF-8 where the bytes are UTF-8, otherwise the GBK of Chinese spreadsheets.
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError()) text = FromGbk(bytes);
  if (!window_->Transfer()->PasteFromFirstRow(text)) {
    dialogs_.tell(window_,
                  QStringLiteral("文件中没有可读入的数据：\n%1\n数据未改变。").arg(Shown(path)));
    return false;
  }
  return true;
}

bool AnalysisKeeper::Save() {
  if (filePath_.isEmpty()) return SaveAs();
  if (const std::optional<QString> failure = WriteStateFile(filePath_, Capture())) {
    dialogs_.tell(window_, QStringLiteral("无法保存分析文件：\n%1\n%2。\n原有文件未改变。")
                               .arg(Shown(filePath_), *failure));
    return false;
  }
  MarkModified(false);
  RememberRecent(filePath_);
  return true;
}

bool AnalysisKeeper::SaveAs() {
  const QString suggested = filePath_.isEmpty()
                                ? QStringLiteral("%1-%2%3").arg(
                                      window_->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                                      QDate::currentDate().toString(Qt::ISODate), kSuffix)
                                : filePath_;
  QString path =
      dialogs_.choosePathToSave(window_, suggested, QStringLiteral("Quillon 分析文件 (*.quillon)"));
  if (path.isEmpty()) return false;
  if (!path.endsWith(kSuffix)) path += kSuffix;
  if (const std::optional<QString> failure = WriteStateFile(path, Capture())) {
    dialogs_.tell(window_, QStringLiteral("无法保存分析文件：\n%1\n%2。\n原有文件未改变。")
                               .arg(Shown(path), *failure));
    return false;
  }
  filePath_ = QFileInfo(path).absoluteFilePath();
  MarkModified(false);
  RememberRecent(filePath_);
  return true;
}

void AnalysisKeeper::ExportCsv() {
  const auto* modes = window_->Modes();
  const bool counts = modes->IsCurrent(AnalysisMode::FourfoldChiSquare) ||
                      modes->IsCurrent(AnalysisMode::PairedChiSquare);
  const QString suggested = QStringLiteral("%1-%2.csv")
                                .arg(window_->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                                     QDate::currentDate().toString(Qt::ISODate));
  QString path = dialogs_.choosePathToSave(window_, suggested, QStringLiteral("CSV (*.csv)"));
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
  const AnalysisState state = Capture();
  std::string bytes;
  if (counts) {
    // The table as the window captions it: the row heading in the corner, the rows' captions,
    // and the column heading with (+) and (-); the captions' spacing for the eye left out.
    const auto caption = [this](int index) {
      const auto* label = window_->findChild<QLabel*>(QStringLiteral("Label17(%1)").arg(index));
      QString text = label != nullptr ? label->text() : QString();
      return ToUtf8(text.remove(QLatin1Char(' ')));
    };
    const std::string column = caption(1);
    bytes = FourfoldCsv({caption(3), caption(4)}, {column + "（+）", column + "（-）"},
                        state.fourfold, caption(0));
  } else {
    const auto [first, second] = ColumnCaptions(*modes);
    bytes = SamplesCsv(ToUtf8(first), ToUtf8(second), state.group1, state.group2);
  }
  if (const std::optional<QString> failure = WriteWhole(path, bytes)) {
    dialogs_.tell(window_, QStringLiteral("无法写入文件：\n%1\n%2。").arg(Shown(path), *failure));
  }
}

QStringList AnalysisKeeper::RecentFiles() const {
  QFile file(RecentListPath());
  QStringList paths;
  if (!file.open(QIODevice::ReadOnly)) return paths;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
    if (!line.isEmpty() && !paths.contains(line) && paths.size() < kRecentCount) paths << line;
  }
  return paths;
}

void AnalysisKeeper::RememberRecent(const QString& path) {
  QStringList paths = RecentFiles();
  paths.removeAll(path);
  paths.prepend(path);
  while (paths.size() > kRecentCount) paths.removeLast();
  QSaveFile file(RecentListPath());
  if (file.open(QIODevice::WriteOnly)) {
    file.write(paths.join(QLatin1Char('\n')).toUtf8() + '\n');
    file.commit();
  }
  FillRecentMenu();
}

void AnalysisKeeper::FillRecentMenu() {
  auto* menu = window_->findChild<QMenu*>(QStringLiteral("mnuRecentAnalyses"));
  if (menu == nullptr) return;
  menu->clear();
  const QStringList paths = RecentFiles();
  int number = 0;
  for (const QString& path : paths) {
    QAction* action =
        menu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(QFileInfo(path).fileName()));
    action->setToolTip(Shown(path));
    action->setStatusTip(Shown(path));
    connect(action, &QAction::triggered, this, [this, path] { Open(path); });
  }
  menu->setEnabled(!paths.isEmpty());
}

}  // namespace quillon::ui
