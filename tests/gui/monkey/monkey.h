#pragma once
// The monkey test's fixture: the real main window, the controls it drives and checks, the
// random source and what the run has learnt so far. The events it sends are defined in
// monkey_typing.cpp (keys, scrolling, analysis switches, the calculator) and
// monkey_transfers.cpp (group files, drops, pastes, exports), the checks in monkey_checks.cpp and
// the run itself in monkey_test.cpp.

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/analyses/sample_grid.h"
#include "counts/calculator.h"
#include "tests/gui/scratch_folder.h"
#include "tests/gui/window_fixture.h"

class QAction;
class QPushButton;
class QScrollBar;

namespace monkey {

using quillon::Group;
using quillon::SampleLists;
using quillon::ui::AnalysisMode;

// Keeps an event for the report of a failure or a crash (monkey_test.cpp).
void Remember(const std::string& line);

QString Filtered(QString text);
QString Ascii(QString text);
QString Shown(QString text);

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

class MonkeyTest : public MainWindowTest {
 protected:
  enum class Summary { Empty, FromList, Typed };

  struct Reach {
    std::size_t longest = 0;
    long scrolled = 0;               // events after which the view was not at the top
    std::array<long, 5> verdicts{};  // events after which each analysis showed a verdict
    long pastesTakenBack = 0;        // grid and cell pastes undone by Ctrl+Z and checked
    long reportsChecked = 0;         // times the report's text was checked
  };

  struct GeneratedFile {
    QString path;
    QStringList lines;  // as they will be read; empty when the file is not a group file
  };

  void SetUp() override;

  QLabel* Label(const QString& name) const { return Control<QLabel>(name); }

  // ---- Randomness ----

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
  }

  int Mode() const;
  bool CountMode() const { return Mode() >= 3; }
  std::vector<QLineEdit*> Inputs() const;
  QString Name(QObject* object) const { return object->objectName(); }
  QLineEdit* Target();
  std::string RandomEvent();

  // ---- Keys, scrolling, analysis switches and the calculator ----

  QString RandomText();
  std::string TypeEvent(bool selectFirst);
  std::string EditKeyEvent();
  std::string NavigationEvent(Qt::Key key, const char* name);
  std::string ScrollEvent();
  std::string SwitchEvent();
  std::string CalculatorEvent();
  // A name typed above the report, or one of its choices.
  std::string NameEvent();

  // ---- Group files, drops, pastes and exports ----

  QString RandomLine();
  GeneratedFile WriteGroupFile();
  void DropFiles(Group g, const QStringList& paths);
  std::string ImportEvent(bool drop);
  QString RandomClipboard(std::string* kind);
  std::vector<std::string> Entries(Group g) const;
  std::string PasteEvent();
  std::string ExportEvent();
  std::string KeepEvent();
  // After a whole analysis was put back: which summary boxes follow the lists, as it reads now.
  void ResyncSummaries();

  // ---- Checks ----

  void Fail(const std::string& message);
  void ExpectText(QWidget* control, const QString& shown, const QString& expected, bool strict);
  void ExpectLabel(QLabel* label, std::string_view expected, bool strict);
  void ExpectEmpty(QLabel* label) { ExpectLabel(label, "", true); }
  void CheckGrid();
  void CheckSums();
  void CheckTwoSample(bool current);
  void CheckPaired(bool current);
  void CheckCorrelation(bool current);
  void CheckCounts(int mode);
  void CheckEverything(bool thorough);
  void CheckReport();

  Reach reach;

  std::mt19937_64 rng;
  long eventNumber = 0;
  std::string failure;

  quillon::ui::SampleGrid* grid = nullptr;
  std::array<QLineEdit*, 9> text1{}, text2{}, text3{};
  std::array<QLineEdit*, 6> text4{};
  std::array<QLineEdit*, 4> text11{};
  std::array<QPushButton*, 5> command1{};
  std::array<QLabel*, 5> label18{};
  std::array<QLabel*, 9> label20{};
  std::array<QLabel*, 24> label5{};
  std::array<QLabel*, 13> label13{};
  QLabel* label1 = nullptr;
  QScrollBar* vs1 = nullptr;
  QLineEdit* text5 = nullptr;
  std::vector<std::pair<QPushButton*, std::function<void(quillon::Calculator&)>>> calculatorKeys;
  std::vector<QAction*> fileItems;

  quillon::Calculator calculator;
  QLineEdit* typedBox = nullptr;  // the grid box the user's last event edited
  bool sampleFresh = false;
  bool countFresh = false;
  std::array<Summary, 2> summary{Summary::Empty, Summary::Empty};

  ScratchFolder folder;
  int fileCount = 0;
  QStringList exported;
  QString chosenPath;
  bool replace = true;
  QStringList told;
};

}  // namespace monkey
