// A random user at the real window: keys typed into every input, Enter and the arrows,
// scrolling, analysis switches, imports and exports of generated files, files dropped on the
// grid, pastes of values, blocks and junk (and Ctrl+Z after them) and calculator keys.
// After every event the window must agree with itself: the visible boxes with the group lists,
// the running sums with sums taken afresh, every result shown with the core's result on the
// inputs shown, the calculator with a calculator fed the same keys.
//
// QUILLON_MONKEY_SEED replays a run ("random" for a new one); QUILLON_MONKEY_EVENTS sets the
// number of events.

#include <unistd.h>

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWheelEvent>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string_view>

#include "app/analyses/sample_grid.h"
#include "app/analysis_modes.h"
#include "app/files/group_files.h"
#include "app/main_window.h"
#include "counts/calculator.h"
#include "counts/chi_square.h"
#include "counts/summary_t_test.h"
#include "entry/grid_paste.h"
#include "entry/grid_rows.h"
#include "entry/group_summary.h"
#include "report/text.h"
#include "scratch_folder.h"
#include "stats/correlation.h"
#include "stats/paired_t_test.h"
#include "window_fixture.h"

namespace {

using quillon::Group;
using quillon::SampleLists;
using quillon::ui::AnalysisMode;

// ---- The last events, kept where a crash handler can still print them ----

constexpr int kHistory = 20;
constexpr std::size_t kLineLength = 200;
char history[kHistory][kLineLength];
long historyCount = 0;
char crashHeader[kLineLength];

void Remember(const std::string& line) {
  char* slot = history[historyCount % kHistory];
  std::snprintf(slot, kLineLength, "%s\n", line.c_str());
  ++historyCount;
}

std::string LastEvents() {
  std::string out;
  for (long i = std::max(0L, historyCount - kHistory); i < historyCount; ++i) {
    out += history[i % kHistory];
  }
  return out;
}

void WriteRaw(const char* text) {
  const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
  static_cast<void>(ignored);
}

extern "C" void OnCrash(int signal) {
  WriteRaw(crashHeader);
  WriteRaw("last events:\n");
  for (long i = std::max(0L, historyCount - kHistory); i < historyCount; ++i) {
    WriteRaw(history[i % kHistory]);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// A fixed seed unless one is given, so that every run of the suite is the same run;
// QUILLON_MONKEY_SEED=random explores a new one.
std::uint64_t SeedFromEnvironment() {
  constexpr std::uint64_t kDefaultSeed = 20261207;
  const char* text = std::getenv("QUILLON_MONKEY_SEED");
  if (text == nullptr || *text == '\0') return kDefaultSeed;
  if (std::string_view(text) == "random") {
    return (static_cast<std::uint64_t>(std::random_device{}()) << 32) | std::random_device{}();
  }
  return std::strtoull(text, nullptr, 10);
}

long EventsFromEnvironment() {
  if (const char* text = std::getenv("QUILLON_MONKEY_EVENTS"); text != nullptr && *text != '\0') {
    return std::strtol(text, nullptr, 10);
  }
  return 100000;
}

// A data cell's text after its filter: trailing characters dropped until the text ends in a
// digit, "-" or ".".
QString Filtered(QString text) {
  while (!text.isEmpty()) {
    const char16_t last = text.back().unicode();
    if ((last >= u'0' && last <= u'9') || last == u'-' || last == u'.') break;
    const bool pair = text.size() >= 2 && text.back().isLowSurrogate() &&
                      text.at(text.size() - 2).isHighSurrogate();
    text.chop(pair ? 2 : 1);
  }
  return text;
}

// A number typed in full-width characters, in ASCII: "０" to "９", "．" and "－".
QString Ascii(QString text) {
  for (QChar& c : text) {
    const char16_t code = c.unicode();
    if (code == 0xFF0D || code == 0xFF0E || (code >= 0xFF10 && code <= 0xFF19)) {
      c = QChar(code - 0xFEE0);
    }
  }
  return text;
}

// What a grid box shows for a list entry: full-width digits and "。" read as ASCII, then
// filtered.
QString Shown(QString text) {
  return Filtered(Ascii(text).replace(QChar(0x3002), QLatin1Char('.')));
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

class MonkeyTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    grid = window->Grid();
    for (int i = 0; i < 9; ++i) {
      text1[i] = Box(QStringLiteral("Text1(%1)").arg(i));
      text2[i] = Box(QStringLiteral("Text2(%1)").arg(i));
      text3[i] = Box(QStringLiteral("Text3(%1)").arg(i));
    }
    for (int i = 0; i < 6; ++i) text4[i] = Box(QStringLiteral("Text4(%1)").arg(i));
    for (int i = 0; i < 4; ++i) text11[i] = Box(QStringLiteral("Text11(%1)").arg(i));
    for (int i = 0; i < 5; ++i) {
      command1[i] = Control<QPushButton>(QStringLiteral("Command1(%1)").arg(i));
      label18[i] = Label(QStringLiteral("Label18(%1)").arg(i));
    }
    for (int i = 1; i <= 8; ++i) label20[i] = Label(QStringLiteral("Label20(%1)").arg(i));
    for (int i = 3; i <= 23; ++i) {
      if (QLabel* label = window->findChild<QLabel*>(QStringLiteral("Label5(%1)").arg(i))) {
        label5[i] = label;
      }
    }
    for (int i = 3; i <= 12; ++i) {
      label13[i] = window->findChild<QLabel*>(QStringLiteral("Label13(%1)").arg(i));
    }
    label1 = Label(QStringLiteral("Label1"));
    vs1 = Control<QScrollBar>(QStringLiteral("VS1"));
    text5 = Box(QStringLiteral("Text5"));
    // Each key with what it does to a calculator fed in parallel.
    using Op = quillon::Calculator::Operator;
    using Press = std::function<void(quillon::Calculator&)>;
    for (int i = 0; i <= 10; ++i) {
      const char digit = "7894561230."[i];
      calculatorKeys.push_back({Control<QPushButton>(QStringLiteral("Command2(%1)").arg(i)),
                                [digit](quillon::Calculator& c) { c.PressDigit(digit); }});
    }
    const std::pair<const char*, Press> keys[] = {
        {"Command4", [](quillon::Calculator& c) { c.PressEquals(); }},
        {"Command5", [](quillon::Calculator& c) { c.PressOperator(Op::Divide); }},
        {"Command6", [](quillon::Calculator& c) { c.PressOperator(Op::Multiply); }},
        {"Command7", [](quillon::Calculator& c) { c.PressOperator(Op::Add); }},
        {"Command8", [](quillon::Calculator& c) { c.PressOperator(Op::Subtract); }},
        {"Command21", [](quillon::Calculator& c) { c.PressClear(); }},
        {"Command22", [](quillon::Calculator& c) { c.PressClearEntry(); }}};
    for (const auto& [name, press] : keys) {
      calculatorKeys.push_back({Control<QPushButton>(QString::fromLatin1(name)), press});
    }
    for (const char* name : {"mnuImport1", "mnuImport2", "mnuExport1", "mnuExport2"}) {
      fileItems.push_back(window->findChild<QAction*>(QString::fromLatin1(name)));
      ASSERT_NE(fileItems.back(), nullptr) << name;
    }

    quillon::ui::GroupFiles::Dialogs dialogs;
    dialogs.choosePathToOpen = [this](QWidget*) { return chosenPath; };
    dialogs.choosePathToSave = [this](QWidget*) { return chosenPath; };
    dialogs.confirmReplace = [this](QWidget*, const QString&) { return replace; };
    dialogs.tell = [this](QWidget*, const QString& message) { told << message; };
    window->Files()->SetDialogs(std::move(dialogs));

    // Which results must follow the inputs exactly, and which may still be blank after a
    // switch emptied them.
    QObject::connect(grid, &quillon::ui::SampleGrid::EntryChanged, window, [this](Group group) {
      sampleFresh = true;
      summary[static_cast<int>(group)] = Summary::FromList;
    });
    QObject::connect(window->Modes(), &quillon::ui::AnalysisModes::AnalysisSelected, window,
                     [this] {
                       sampleFresh = false;
                       countFresh = false;
                       summary[0] = summary[1] = Summary::Empty;
                     });
    for (QLineEdit* box : text1) {
      QObject::connect(box, &QLineEdit::textEdited, window, [this, box] { typedBox = box; });
    }
    for (QLineEdit* box : text2) {
      QObject::connect(box, &QLineEdit::textEdited, window, [this, box] { typedBox = box; });
    }
    for (QLineEdit* cell : text11) {
      QObject::connect(cell, &QLineEdit::textChanged, window, [this] { countFresh = true; });
    }
  }

  QLabel* Label(const QString& name) const { return Control<QLabel>(name); }

  // ---- Randomness ----

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
  }

  int Mode() const {
    for (int mode = 0; mode < quillon::ui::AnalysisModeCount; ++mode) {
      if (label1->text() == quillon::ui::AnalysisCaptions()[static_cast<std::size_t>(mode)]) {
        return mode;
      }
    }
    return -1;
  }
  bool CountMode() const { return Mode() >= 3; }

  // The boxes a user can type into in the current analysis.
  std::vector<QLineEdit*> Inputs() const {
    std::vector<QLineEdit*> boxes;
    if (CountMode()) {
      boxes.assign(text11.begin(), text11.end());
      return boxes;
    }
    boxes.insert(boxes.end(), text1.begin(), text1.end());
    boxes.insert(boxes.end(), text2.begin(), text2.end());
    if (Mode() == 0) boxes.insert(boxes.end(), text4.begin(), text4.end());
    return boxes;
  }

  QString Name(QObject* object) const { return object->objectName(); }

  // The box with the focus when it is an input, else a random input that the user clicks.
  QLineEdit* Target() {
    const std::vector<QLineEdit*> inputs = Inputs();
    auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (focused != nullptr && Chance(0.8) &&
        std::find(inputs.begin(), inputs.end(), focused) != inputs.end()) {
      return focused;
    }
    QLineEdit* box = Pick(inputs);
    box->setFocus(Qt::MouseFocusReason);
    box->setCursorPosition(Uniform(0, static_cast<int>(box->text().size())));
    return box;
  }

  // ---- Events ----

  QString RandomText() {
    static const std::vector<QString> pieces = {"0",
                                                "1",
                                                "2",
                                                "3",
                                                "4",
                                                "5",
                                                "6",
                                                "7",
                                                "8",
                                                "9",
                                                "0",
                                                "1",
                                                "5",
                                                "9",
                                                ".",
                                                ".",
                                                "-",
                                                "-",
                                                QStringLiteral("。"),
                                                "a",
                                                "x",
                                                "E",
                                                "e",
                                                " ",
                                                "/",
                                                ",",
                                                "+",
                                                QStringLiteral("中"),
                                                QStringLiteral("１"),
                                                QStringLiteral("😀"),
                                                "\t",
                                                QStringLiteral("3。5"),
                                                "12a",
                                                "-.5",
                                                "1.2.3",
                                                "999999999999999",
                                                "0.00005",
                                                QStringLiteral("七"),
                                                "abc",
                                                "-0",
                                                "1e3"};
    return Pick(pieces);
  }

  std::string TypeEvent(bool selectFirst) {
    QLineEdit* box = Target();
    const QString text = RandomText();
    std::string what = "type " + Quoted(text).toStdString() + " into " + Name(box).toStdString();
    if (selectFirst) {
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      what = "select all, then " + what;
    }
    const bool single = text.size() == 1 && text.at(0).unicode() < 0x80;
    if (single && Chance(0.9)) {
      QTest::keyClick(box, text.at(0).toLatin1());
    } else {
      // Through the input method: a Chinese character, "。", or several characters at once.
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(box, &commit);
      what += " (input method)";
    }
    return what;
  }

  std::string EditKeyEvent() {
    QLineEdit* box = Target();
    static const std::vector<std::pair<Qt::Key, const char*>> keys = {
        {Qt::Key_Backspace, "Backspace"},
        {Qt::Key_Backspace, "Backspace"},
        {Qt::Key_Delete, "Delete"},
        {Qt::Key_Home, "Home"},
        {Qt::Key_End, "End"},
        {Qt::Key_Left, "Left"},
        {Qt::Key_Right, "Right"}};
    const auto& [key, name] = Pick(keys);
    QTest::keyClick(box, key);
    return std::string(name) + " in " + Name(box).toStdString();
  }

  std::string NavigationEvent(Qt::Key key, const char* name) {
    QLineEdit* box = nullptr;
    if (!CountMode() && Chance(0.15)) {
      box = text3[static_cast<std::size_t>(Uniform(0, 8))];
      box->setFocus(Qt::MouseFocusReason);
    } else {
      box = Target();
    }
    QTest::keyClick(box, key);
    return std::string(name) + " in " + Name(box).toStdString();
  }

  std::string ScrollEvent() {
    if (!vs1->isEnabled()) return "scroll bar disabled: nothing";
    const int kind = Uniform(0, 6);
    using Action = QAbstractSlider::SliderAction;
    static const std::array<std::pair<Action, const char*>, 4> actions = {{
        {QAbstractSlider::SliderSingleStepAdd, "scroll arrow down"},
        {QAbstractSlider::SliderSingleStepSub, "scroll arrow up"},
        {QAbstractSlider::SliderPageStepAdd, "scroll page down"},
        {QAbstractSlider::SliderPageStepSub, "scroll page up"},
    }};
    if (kind < 4) {
      const auto& [action, name] = actions[static_cast<std::size_t>(kind)];
      vs1->triggerAction(action);
      return name;
    }
    switch (kind) {
      case 4: {
        QWheelEvent wheel(QPointF(5, 5), vs1->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, Chance(0.5) ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(vs1, &wheel);
        return "mouse wheel on the scroll bar";
      }
      default: {
        const int target = Uniform(0, vs1->maximum());
        vs1->setSliderDown(true);
        const int steps = Uniform(1, 3);
        for (int step = 1; step <= steps; ++step) {
          vs1->setSliderPosition(vs1->sliderPosition() +
                                 (target - vs1->sliderPosition()) * step / steps);
        }
        vs1->setSliderDown(false);
        return "drag the scroll bar to " + std::to_string(target);
      }
    }
  }

  std::string SwitchEvent() {
    const int mode = Uniform(0, 4);
    QTest::mouseClick(command1[static_cast<std::size_t>(mode)], Qt::LeftButton);
    return "click Command1(" + std::to_string(mode) + ")";
  }

  std::string CalculatorEvent() {
    const auto& [button, press] = Pick(calculatorKeys);
    QTest::mouseClick(button, Qt::LeftButton);
    press(calculator);
    return "click " + Name(button).toStdString();
  }

  // A line of a generated file.
  QString RandomLine() {
    const int kind = Uniform(0, 19);
    if (kind < 9) return QString::number(Uniform(-500, 500));
    if (kind < 12) {
      return QString::number(Uniform(-99999, 99999) / 100.0, 'f', Uniform(0, 4));
    }
    if (kind < 14) return QString();
    if (kind < 18) {
      static const std::vector<QString> junk = {"abc",
                                                "12a",
                                                "-",
                                                ".",
                                                "-.",
                                                "1.2.3",
                                                QStringLiteral("3中4"),
                                                QStringLiteral("5中"),
                                                "12.5 ",
                                                " 7",
                                                QStringLiteral("4。25"),
                                                "1\n2",
                                                "8\n",
                                                "\t",
                                                "1,5",
                                                "0x10",
                                                "+3",
                                                "1e3",
                                                "922337203685477",
                                                "-922337203685477.5807",
                                                "99999999999999999999",
                                                QStringLiteral("全角１２")};
      return Pick(junk);
    }
    return QString(Uniform(30, 300), QLatin1Char('7'));  // a long line
  }

  struct GeneratedFile {
    QString path;
    QStringList lines;  // as they will be read; empty when the file is not a group file
  };

  GeneratedFile WriteGroupFile() {
    const int size = Uniform(0, 99);
    int lines = 0;
    if (size < 40) {
      lines = Uniform(0, 12);
    } else if (size < 80) {
      lines = Uniform(13, 60);
    } else if (size < 98) {
      lines = Uniform(61, 600);
    } else {
      lines = static_cast<int>(quillon::kMaxGridRows) + Uniform(-3, 40);
    }
    GeneratedFile file;
    file.path = folder.Path(QStringLiteral("group%1.txt").arg(++fileCount));
    for (int i = 0; i < lines; ++i) file.lines << RandomLine();
    const bool utf8 = lines > 0 && Chance(0.2);
    QByteArray bytes = utf8 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    QStringEncoder gbk("GBK");
    for (int i = 0; i < lines; ++i) {
      bytes += utf8 ? file.lines[i].toUtf8() : QByteArray(gbk.encode(file.lines[i]));
      const bool last = i + 1 == lines;
      // An empty last line is a line only when a terminator ends it.
      if (!last || file.lines[i].isEmpty() || Chance(0.7))
        bytes += Chance(0.9) ? QByteArray("\r\n") : QByteArray("\r");
    }
    QFile out(file.path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
      ADD_FAILURE() << "cannot write " << file.path.toStdString();
    }
    return file;
  }

  // Drops the files on a box of the group's column or on the column's area of the grid's panel.
  void DropFiles(Group g, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> dropped;
    for (const QString& path : paths) dropped << QUrl::fromLocalFile(path);
    data.setUrls(dropped);
    QWidget* target = (g == Group::First ? text1 : text2)[static_cast<std::size_t>(Uniform(0, 8))];
    QPoint at(Uniform(0, target->width() - 1), Uniform(0, target->height() - 1));
    if (Chance(0.3)) {
      at = target->geometry().topLeft() + QPoint(at.x(), -2);  // just above the box
      target = target->parentWidget();
    }
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();  // the import follows the drop
  }

  // An import from the menu, or a file dropped on a group's column (several files or a folder
  // are refused, as a cancelled dialog changes nothing).
  std::string ImportEvent(bool drop) {
    const int group = Uniform(0, 1);
    QAction* item = fileItems[static_cast<std::size_t>(group)];
    if (!item->isEnabled()) return "import: menu item disabled";  // the grid is hidden too
    const Group g = group == 0 ? Group::First : Group::Second;
    GeneratedFile file;
    bool fromExport = false;
    const int kind = Uniform(0, 19);
    if (kind == 0) {
      file.path = QString();  // cancelled
    } else if (kind == 1) {
      file.path = folder.Path(QStringLiteral("missing%1.txt").arg(++fileCount));
    } else if (kind == 2) {
      file.path = folder.Path(QStringLiteral("DATA%1.TXT").arg(++fileCount));
    } else if (kind == 3 && !exported.isEmpty()) {
      fromExport = true;
      file.path = exported.at(Uniform(0, static_cast<int>(exported.size()) - 1));
    } else {
      file = WriteGroupFile();
    }
    chosenPath = file.path;
    const qsizetype toldBefore = told.size();
    const quillon::GroupSums before = grid->Lists().Sums(g);
    const std::size_t sizeBefore = grid->Lists().Size(g);
    std::ostringstream what;
    what << (drop ? "drop on group " : "import group ") << group + 1 << " from "
         << Quoted(QFileInfo(file.path).fileName()).toStdString() << " (" << file.lines.size()
         << " lines)";
    Remember("#" + std::to_string(eventNumber) + " " + what.str());
    if (!drop) {
      item->trigger();
    } else if (kind == 0) {
      DropFiles(g, Chance(0.5) ? QStringList{folder.FolderPath()}
                               : QStringList{folder.Path("a.txt"), folder.Path("b.txt")});
    } else {
      DropFiles(g, {file.path});
    }

    // Check the outcome here, where the file is known.
    const SampleLists& lists = grid->Lists();
    const bool readable = kind > 2;
    if (!readable) {
      if (lists.Size(g) != sizeBefore || !(lists.Sums(g) == before)) {
        Fail("a refused or failed import changed the group");
      }
      if ((kind != 0 || drop) && told.size() != toldBefore + 1)
        Fail("a refused import said nothing");
      return {};
    }
    if (fromExport) return {};  // an exported file: its lines are whatever the group held
    const std::size_t expected =
        std::min<std::size_t>(static_cast<std::size_t>(file.lines.size()), quillon::kMaxGridRows);
    if (lists.Size(g) != expected) {
      Fail("import of " + std::to_string(file.lines.size()) + " lines left " +
           std::to_string(lists.Size(g)) + " entries");
      return {};
    }
    const bool cut = static_cast<std::size_t>(file.lines.size()) > quillon::kMaxGridRows;
    if (cut != (told.size() == toldBefore + 1)) Fail("the cut of a long file was not told");
    for (std::size_t row = 0; row < expected; ++row) {
      const QString line = file.lines.at(static_cast<qsizetype>(row));
      // The shown rows pass through their boxes and are stored as the boxes clean them.
      const QString want = row < quillon::kVisibleRows ? Shown(line) : line;
      if (Q(lists.Text(g, row)) != want) {
        Fail("imported row " + std::to_string(row) + " holds " +
             Quoted(Q(lists.Text(g, row))).toStdString() + ", the file " +
             Quoted(line).toStdString());
        return {};
      }
    }
    return {};
  }

  // Text as a clipboard holds it: a value, a column of values (a header now and then), two
  // columns, a block of two rows of two, or junk; line ends of every kind.
  QString RandomClipboard(std::string* kind) {
    static const std::vector<QString> lineEnds = {"\r\n", "\n", "\r"};
    const QString end = Pick(lineEnds);
    const int roll = Uniform(0, 99);
    QStringList lines;
    if (roll < 15) {
      *kind = "a value";
      return RandomText();
    }
    if (roll < 75) {
      const bool columns = roll >= 50;
      *kind = columns ? "two columns" : "a column";
      const int size = Uniform(0, 99);
      const int rows = size < 70   ? Uniform(2, 30)
                       : size < 98 ? Uniform(31, 700)
                                   : static_cast<int>(quillon::kMaxGridRows) + Uniform(-12, 30);
      const QString separator = Chance(0.7) ? QStringLiteral("\t") : QStringLiteral(",");
      if (Chance(0.3)) lines << (columns ? QStringLiteral("身高") + separator + "体重" : "x");
      for (int row = 0; row < rows; ++row) {
        lines << (columns ? RandomLine() + separator + RandomLine() : RandomLine());
      }
    } else if (roll < 88) {
      *kind = "a 2x2 block";
      for (int row = 0; row < 2; ++row) {
        lines << QString::number(Uniform(0, 60)) + Pick(std::vector<QString>{"\t", ","}) +
                     (Chance(0.9) ? QString::number(Uniform(0, 60)) : RandomText());
      }
    } else {
      *kind = "junk";
      QString junk;
      const int length = Uniform(1, 60);
      for (int i = 0; i < length; ++i) {
        const int pick = Uniform(0, 9);
        char16_t code = 0;
        if (pick < 3) {
          code = static_cast<char16_t>(Uniform(0, 31));  // NUL, tabs, line ends, controls
        } else if (pick < 7) {
          code = static_cast<char16_t>(Uniform(32, 126));
        } else if (pick < 8) {
          code = static_cast<char16_t>(Uniform(0xFF01, 0xFF5E));  // full-width forms
        } else {
          code = static_cast<char16_t>(Uniform(0x80, 0xD7FF));
        }
        junk += QChar(code);
      }
      return junk;
    }
    return lines.join(end) + (Chance(0.6) ? end : QString());
  }

  std::vector<std::string> Entries(Group g) const {
    std::vector<std::string> entries;
    for (std::size_t row = 0; row < grid->Lists().Size(g); ++row) {
      entries.push_back(grid->Lists().Text(g, row));
    }
    return entries;
  }

  // A paste by the keys or a dropped text; now and then Ctrl+Z at once, which must give back the
  // groups or the cells as they were.
  std::string PasteEvent() {
    QLineEdit* box = Target();
    std::string kind;
    const QString text = RandomClipboard(&kind);
    std::string what = "paste " + kind + " (" + std::to_string(text.size()) + " characters) into " +
                       Name(box).toStdString();
    Remember("#" + std::to_string(eventNumber) + " " + what);
    const std::array<std::vector<std::string>, 2> before = {Entries(Group::First),
                                                            Entries(Group::Second)};
    std::array<QString, 4> cellsBefore;
    for (std::size_t i = 0; i < 4; ++i) cellsBefore[i] = text11[i]->text();

    const int way = Uniform(0, 9);
    if (way < 7) {
      QGuiApplication::clipboard()->setText(text);
      QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else if (way < 9) {
      QGuiApplication::clipboard()->setText(text);
      QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
      what += " (Shift+Insert)";
    } else {
      QMimeData data;
      data.setText(text);
      const QPoint at(box->width() / 2, box->height() / 2);
      QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(box, &enter);
      QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(box, &drop);
      QCoreApplication::processEvents();  // the paste follows the drop
      what += " (dropped)";
    }
    if (!Chance(0.3)) return what;
    // Only a paste that changed something can be checked: a refused or empty one leaves any
    // earlier paste the one that Ctrl+Z takes back.
    const bool gridPaste = grid->CanUndoPaste() && (Entries(Group::First) != before[0] ||
                                                    Entries(Group::Second) != before[1]);
    const std::string utf8 = text.toStdString();
    const bool cellPaste = std::find(text11.begin(), text11.end(), box) != text11.end() &&
                           quillon::FourfoldBlock(quillon::SplitPastedText(utf8)).has_value();
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    what += ", then Ctrl+Z";
    if (gridPaste || cellPaste) ++reach.pastesTakenBack;
    if (gridPaste && (Entries(Group::First) != before[0] || Entries(Group::Second) != before[1])) {
      Fail("Ctrl+Z after a paste did not give the groups back");
    }
    for (std::size_t i = 0; cellPaste && i < 4; ++i) {
      if (text11[i]->text() != cellsBefore[i])
        Fail("Ctrl+Z after a paste did not give the cells back");
    }
    return what;
  }

  std::string ExportEvent() {
    const int group = Uniform(0, 1);
    QAction* item = fileItems[static_cast<std::size_t>(2 + group)];
    if (!item->isEnabled()) return "export: menu item disabled";
    const QString name = QStringLiteral("export%1").arg(Uniform(1, 5));
    chosenPath = folder.Path(Chance(0.5) ? name : name + QStringLiteral(".txt"));
    replace = Chance(0.8);
    item->trigger();
    if (!exported.contains(folder.Path(name + QStringLiteral(".txt")))) {
      exported << folder.Path(name + QStringLiteral(".txt"));
    }
    return "export group " + std::to_string(group + 1) + " to " +
           QFileInfo(chosenPath).fileName().toStdString();
  }

  std::string RandomEvent() {
    typedBox = nullptr;
    const int roll = Uniform(0, 999);
    if (roll < 330) return TypeEvent(false);
    if (roll < 360) return TypeEvent(true);
    if (roll < 460) return EditKeyEvent();
    if (roll < 590) return NavigationEvent(Qt::Key_Return, "Enter");
    if (roll < 650) return NavigationEvent(Qt::Key_Down, "Down");
    if (roll < 700) return NavigationEvent(Qt::Key_Up, "Up");
    if (roll < 710) return NavigationEvent(Qt::Key_Tab, "Tab");
    if (roll < 800) return ScrollEvent();
    if (roll < 812) return SwitchEvent();
    if (roll < 822) return ImportEvent(false);
    if (roll < 826) return ImportEvent(true);
    if (roll < 832) return ExportEvent();
    if (roll < 862) return PasteEvent();
    if (roll < 995) return CalculatorEvent();
    QCoreApplication::processEvents();
    return "let pending events run";
  }

  // ---- Checks ----

  void Fail(const std::string& message) {
    if (failure.empty()) failure = message;
  }

  void ExpectText(QWidget* control, const QString& shown, const QString& expected, bool strict) {
    if (shown == expected || (!strict && shown.isEmpty())) return;
    Fail(Name(control).toStdString() + " shows " + Quoted(shown).toStdString() + ", expected " +
         Quoted(expected).toStdString());
  }
  void ExpectLabel(QLabel* label, std::string_view expected, bool strict) {
    ExpectText(label, label->text(), Q(expected), strict);
  }
  void ExpectEmpty(QLabel* label) { ExpectLabel(label, "", true); }

  void CheckGrid() {
    const SampleLists& lists = grid->Lists();
    const int offset = vs1->value();
    const std::size_t rows = lists.LongerSize();
    if (offset < 0 || offset > vs1->maximum()) Fail("VS1 value outside its range");
    if (vs1->maximum() != quillon::ScrollMaximumFor(rows)) {
      Fail("VS1 maximum " + std::to_string(vs1->maximum()) + " for " + std::to_string(rows) +
           " rows");
    }
    if (vs1->isEnabled() != (rows > static_cast<std::size_t>(quillon::kVisibleRows))) {
      Fail("VS1 enabled " + std::to_string(vs1->isEnabled()) + " with " + std::to_string(rows) +
           " rows");
    }
    if (rows > quillon::kMaxGridRows) Fail("the grid outgrew its bound");
    if (grid->RowOffset() != offset) Fail("RowOffset is not the value of VS1");
    for (std::size_t i = 0; i < 9; ++i) {
      const std::size_t row = static_cast<std::size_t>(offset) + i;
      ExpectText(text3[i], text3[i]->text(), QString::number(row + 1), true);
      for (const Group g : {Group::First, Group::Second}) {
        QLineEdit* box = (g == Group::First ? text1 : text2)[i];
        const QString entry = Q(lists.Text(g, row));
        ExpectText(box, box->text(), Shown(entry), true);
        // A box typed into holds exactly what its list entry holds.
        if (box == typedBox && box->text() != entry) {
          Fail(Name(box).toStdString() + " was typed into and shows " +
               Quoted(box->text()).toStdString() + ", its list entry is " +
               Quoted(entry).toStdString());
        }
      }
    }
  }

  void CheckSums() {
    const SampleLists& lists = grid->Lists();
    for (const Group g : {Group::First, Group::Second}) {
      if (!(lists.Sums(g) == lists.RecomputeSums(g))) {
        Fail("running sums of group " + std::to_string(static_cast<int>(g) + 1) +
             " differ from the list");
      }
    }
    if (!(lists.Pairs() == lists.RecomputePairs())) Fail("running pair sums differ from the lists");
  }

  void CheckTwoSample(bool current) {
    std::array<std::string, quillon::kSummaryBoxCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = text4[i]->text().toStdString();
    const auto result = quillon::SummaryTTest(texts);
    const std::array<QLabel*, 4> labels = {label5[3], label5[4], label5[5], label5[6]};
    if (result) {
      ExpectLabel(labels[0], result->verdict.critical.c05, true);
      ExpectLabel(labels[1], result->verdict.critical.c01, true);
      ExpectLabel(labels[2], result->verdict.critical.c001, true);
      ExpectLabel(labels[3], result->verdict.line, true);
    } else {
      for (QLabel* label : labels) ExpectEmpty(label);
    }
    for (int g = 0; g < 2; ++g) {
      const std::array<QLineEdit*, 3> boxes = {text4[3 * g], text4[3 * g + 1], text4[3 * g + 2]};
      if (!current || summary[g] == Summary::Empty) {
        for (QLineEdit* box : boxes) ExpectText(box, box->text(), QString(), true);
      } else if (summary[g] == Summary::FromList) {
        const auto texts3 = quillon::SummarizeGroup(
            grid->Lists().RecomputeSums(g == 0 ? Group::First : Group::Second));
        ExpectText(boxes[0], boxes[0]->text(), Q(texts3.mean), true);
        ExpectText(boxes[1], boxes[1]->text(), Q(texts3.deviation), true);
        ExpectText(boxes[2], boxes[2]->text(), Q(texts3.count), true);
      }
    }
  }

  void CheckPaired(bool current) {
    const std::array<QLabel*, 7> labels = {label13[5], label13[4], label13[3], label5[10],
                                           label5[9],  label5[8],  label5[7]};
    const auto result = quillon::PairedTTest(grid->Lists().RecomputePairs());
    if (!current || !result) {
      for (QLabel* label : labels) ExpectEmpty(label);
      return;
    }
    ExpectLabel(labels[0], std::to_string(result->differences.n), sampleFresh);
    ExpectLabel(labels[1], result->meanText, sampleFresh);
    ExpectLabel(labels[2], result->deviationText, sampleFresh);
    ExpectLabel(labels[3], result->verdict.critical.c05, sampleFresh);
    ExpectLabel(labels[4], result->verdict.critical.c01, sampleFresh);
    ExpectLabel(labels[5], result->verdict.critical.c001, sampleFresh);
    ExpectLabel(labels[6], result->verdict.line, sampleFresh);
  }

  void CheckCorrelation(bool current) {
    const std::array<QLabel*, 8> labels = {label13[6], label13[7], label13[12], label5[13],
                                           label5[14], label5[15], label5[16],  label5[17]};
    if (!current) {
      for (QLabel* label : labels) ExpectEmpty(label);
      return;
    }
    const quillon::CorrelationResult result =
        quillon::CorrelationRegression(grid->Lists().RecomputePairs());
    ExpectLabel(labels[0], result.n, sampleFresh);
    ExpectLabel(labels[1], result.r, sampleFresh);
    ExpectLabel(labels[2], result.t, sampleFresh);
    ExpectLabel(labels[3], result.critical ? result.critical->c05 : "", sampleFresh);
    ExpectLabel(labels[4], result.critical ? result.critical->c01 : "", sampleFresh);
    ExpectLabel(labels[5], result.critical ? result.critical->c001 : "", sampleFresh);
    ExpectLabel(labels[6], result.verdict, sampleFresh);
    ExpectLabel(labels[7], result.equation, sampleFresh);
  }

  void CheckCounts(int mode) {
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < 4; ++i) texts[i] = text11[i]->text().toStdString();
    if (mode < 3) {
      for (const std::string& text : texts) {
        if (!text.empty()) Fail("a four-fold cell holds text in a sample analysis");
      }
    }
    for (std::size_t i = 0; i < 4; ++i) {
      if (texts[i] != Filtered(Q(texts[i])).toStdString()) {
        Fail(Name(text11[i]).toStdString() + " kept an unclean text");
      }
    }
    const quillon::FourfoldCells cells = quillon::ReadFourfoldCells(texts);
    const quillon::FourfoldTotals totals = quillon::TotalFourfoldTable(cells);
    for (std::size_t i = 0; i < 4; ++i) ExpectLabel(label18[i], totals.margins[i], countFresh);
    ExpectLabel(label18[4], totals.grandTotal, countFresh);

    const std::array<QLabel*, 7> fourfold = {label20[1], label20[2], label20[3], label20[4],
                                             label20[5], label20[6], label5[21]};
    const std::array<QLabel*, 3> paired = {label20[8], label20[7], label5[23]};
    if (mode == 3) {
      const quillon::FourfoldChiSquareResult result = quillon::FourfoldChiSquare(cells);
      for (std::size_t i = 0; i < 4; ++i) ExpectLabel(fourfold[i], result.expected[i], countFresh);
      ExpectLabel(fourfold[4], result.n, countFresh);
      ExpectLabel(fourfold[5], result.chiSquare, countFresh);
      ExpectLabel(fourfold[6], result.verdict, countFresh);
    } else {
      for (QLabel* label : fourfold) ExpectEmpty(label);
    }
    if (mode == 4) {
      const quillon::PairedChiSquareResult result = quillon::PairedChiSquare(cells);
      ExpectLabel(paired[0], result.n, countFresh);
      ExpectLabel(paired[1], result.chiSquare, countFresh);
      ExpectLabel(paired[2], result.verdict, countFresh);
    } else {
      for (QLabel* label : paired) ExpectEmpty(label);
    }
  }

  void CheckEverything(bool thorough) {
    const int mode = Mode();
    if (mode < 0) {
      Fail("Label1 names no analysis: " + Quoted(label1->text()).toStdString());
      return;
    }
    CheckGrid();
    if (thorough) {
      CheckSums();
      CheckTwoSample(mode == 0);
      CheckPaired(mode == 1);
      CheckCorrelation(mode == 2);
    }
    CheckCounts(mode);
    // How far the run got, so that a run that stayed in shallow states shows it.
    reach.longest = std::max(reach.longest, grid->Lists().LongerSize());
    if (vs1->value() > 0) ++reach.scrolled;
    const std::array<QLabel*, 5> verdicts = {label5[6], label5[7], label5[16], label5[21],
                                             label5[23]};
    if (!verdicts[static_cast<std::size_t>(mode)]->text().isEmpty()) {
      ++reach.verdicts[static_cast<std::size_t>(mode)];
    }
    if (text5->text().isEmpty()) Fail("the calculator display is empty");
    ExpectText(text5, text5->text(), Q(calculator.Display()), true);
  }

  // The results report, open through the whole run, follows the events by rewriting its
  // figures in place: now and then its text must read as the same report laid out anew.
  void CheckReport() {
    QCoreApplication::processEvents();
    quillon::ui::ReportWindow* report = window->ReportWindowIfOpen();
    if (report == nullptr) return;
    QTextDocument fresh;
    fresh.setHtml(QString::fromStdString(quillon::ReportHtml(report->Current())));
    // Compared word by word: the empty blocks Qt keeps around a table are no figure.
    const QString shown =
        report->findChild<QTextBrowser*>(QStringLiteral("ReportText"))->toPlainText();
    if (shown.simplified() != fresh.toPlainText().simplified()) {
      Fail("the report's text is not the report laid out anew:\n" + shown.toStdString() +
           "\n--- laid out anew ---\n" + fresh.toPlainText().toStdString());
    }
    ++reach.reportsChecked;
  }

  enum class Summary { Empty, FromList, Typed };

  struct Reach {
    std::size_t longest = 0;
    long scrolled = 0;               // events after which the view was not at the top
    std::array<long, 5> verdicts{};  // events after which each analysis showed a verdict
    long pastesTakenBack = 0;        // grid and cell pastes undone by Ctrl+Z and checked
    long reportsChecked = 0;         // times the report's text was checked
  } reach;

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

TEST_F(MonkeyTest, EveryEventLeavesListsBoxesAndResultsInStep) {
  const std::uint64_t seed = SeedFromEnvironment();
  const long events = EventsFromEnvironment();
  rng.seed(seed);
  std::cout << "monkey: seed " << seed << ", " << events
            << " events (replay with QUILLON_MONKEY_SEED=" << seed << ")" << std::endl;
  for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) std::signal(signal, OnCrash);

  // Text4 typed by the user no longer follows the lists until the grid reports a change.
  for (std::size_t i = 0; i < text4.size(); ++i) {
    QObject::connect(text4[i], &QLineEdit::textEdited, window,
                     [this, i] { summary[i / 3] = Summary::Typed; });
  }

  window->ShowReportWindow();
  const auto start = std::chrono::steady_clock::now();
  CheckEverything(true);
  ASSERT_EQ(failure, "") << "at start";
  for (eventNumber = 1; eventNumber <= events; ++eventNumber) {
    std::snprintf(crashHeader, kLineLength, "monkey crashed: seed %llu, event %ld\n",
                  static_cast<unsigned long long>(seed), eventNumber);
    const std::string what = RandomEvent();
    if (!what.empty()) Remember("#" + std::to_string(eventNumber) + " " + what);
    if (window.isNull()) Fail("the main window went away");
    // The sums over very long lists are taken afresh now and then, not after every event.
    const bool thorough = grid->Lists().LongerSize() <= 4000 || eventNumber % 64 == 0;
    if (failure.empty() && !window.isNull()) CheckEverything(thorough);
    if (failure.empty() && !window.isNull() && eventNumber % 997 == 0) CheckReport();
    if (!failure.empty()) {
      FAIL() << "seed " << seed << ", event " << eventNumber << ": " << failure
             << "\nlast events:\n"
             << LastEvents();
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "monkey: " << events << " events in " << seconds << " s ("
            << static_cast<long>(static_cast<double>(events) / seconds) << " events/s), "
            << fileCount << " files generated" << std::endl;
  std::cout << "monkey: longest list " << reach.longest << " rows, scrolled after "
            << reach.scrolled << " events, verdicts shown after";
  for (long count : reach.verdicts) std::cout << ' ' << count;
  std::cout << " events (by analysis), " << reach.pastesTakenBack
            << " pastes taken back by Ctrl+Z, the report checked " << reach.reportsChecked
            << " times" << std::endl;
}

}  // namespace
