// A random user at the real window: keys typed into every input, Enter and the arrows,
// scrolling, analysis switches, imports and exports of generated files, files dropped on the
// grid, pastes of values, blocks and junk (and Ctrl+Z after them) and calculator keys.
// After every event the window must agree with itself: the visible boxes with the group lists,
// the running sums with sums taken afresh, every result shown with the core's result on the
// inputs shown, the calculator with a calculator fed the same keys.
//
// QUILLON_MONKEY_SEED replays a run ("random" for a new one); QUILLON_MONKEY_EVENTS sets the
// number of events.

#include "tests/gui/monkey/monkey.h"

#include <unistd.h>

#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "app/analysis_mode.h"
#include "app/analysis_modes.h"
#include "app/files/group_files.h"
#include "app/main_window.h"

namespace monkey {
namespace {

// ---- The last events, kept where a crash handler can still print them ----

constexpr int kHistory = 20;
constexpr std::size_t kLineLength = 200;
char history[kHistory][kLineLength];
long historyCount = 0;
char crashHeader[kLineLength];

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

}  // namespace

void Remember(const std::string& line) {
  char* slot = history[historyCount % kHistory];
  std::snprintf(slot, kLineLength, "%s\n", line.c_str());
  ++historyCount;
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

// ---- The fixture ----

void MonkeyTest::SetUp() {
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
  QObject::connect(window->Modes(), &quillon::ui::AnalysisModes::AnalysisSelected, window, [this] {
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

int MonkeyTest::Mode() const {
  for (int mode = 0; mode < quillon::ui::AnalysisModeCount; ++mode) {
    if (label1->text() == quillon::ui::AnalysisCaptions()[static_cast<std::size_t>(mode)]) {
      return mode;
    }
  }
  return -1;
}

// The boxes a user can type into in the current analysis.
std::vector<QLineEdit*> MonkeyTest::Inputs() const {
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

// The box with the focus when it is an input, else a random input that the user clicks.
QLineEdit* MonkeyTest::Target() {
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

// One event, each kind with its share of a thousand.
std::string MonkeyTest::RandomEvent() {
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
  if (roll < 990) return CalculatorEvent();
  if (roll < 995) return NameEvent();
  if (roll < 998) return KeepEvent();
  QCoreApplication::processEvents();
  return "let pending events run";
}

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

}  // namespace monkey
