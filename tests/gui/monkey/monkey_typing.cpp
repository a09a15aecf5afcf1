// The monkey's keys: text typed into the inputs (keys and the input method), the editing keys,
// Enter, the arrows and Tab, the scroll bar and the mouse wheel, the switches between analyses and
// the calculator's keys.

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/analysis_keeper.h"
#include "app/report/report_window.h"
#include "tests/gui/monkey/monkey.h"

namespace monkey {

QString MonkeyTest::RandomText() {
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

std::string MonkeyTest::TypeEvent(bool selectFirst) {
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

std::string MonkeyTest::EditKeyEvent() {
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

std::string MonkeyTest::NavigationEvent(Qt::Key key, const char* name) {
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

std::string MonkeyTest::ScrollEvent() {
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

std::string MonkeyTest::SwitchEvent() {
  const int mode = Uniform(0, 4);
  const quillon::AnalysisState before = window->Keeper()->Capture();
  QTest::mouseClick(command1[static_cast<std::size_t>(mode)], Qt::LeftButton);
  std::string what = "click Command1(" + std::to_string(mode) + ")";
  if (Chance(0.5)) {
    // Ctrl+Z straight after: the analysis before comes back whole, as it was.
    QLineEdit* box = Pick(Inputs());
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    what += ", then Ctrl+Z in " + Name(box).toStdString();
    if (!(window->Keeper()->Capture() == before)) {
      Fail("Ctrl+Z after a switch did not bring the analysis before it back");
    }
    ResyncSummaries();
  }
  return what;
}

std::string MonkeyTest::NameEvent() {
  quillon::ui::ReportWindow* report = window->ReportWindowIfOpen();
  if (report == nullptr) return {};
  // A name of the shown analysis, what the pairs mean, the test the report follows, or the
  // hypothesis with its margin, direction and α.
  std::vector<QWidget*> choices;
  for (QLineEdit* box : report->findChildren<QLineEdit*>()) {
    if (box->isVisibleTo(report)) choices.push_back(box);
  }
  for (const char* name : {"cmbPairedMeaning", "cmbReportTest", "cmbReportStyle",
                           "cmbReportHypothesis", "cmbReportBetter"}) {
    auto* list = report->findChild<QComboBox*>(QString::fromLatin1(name));
    if (list != nullptr && list->isVisibleTo(report)) choices.push_back(list);
  }
  if (choices.empty()) return {};
  QWidget* chosen = Pick(choices);
  std::string what;
  if (auto* list = qobject_cast<QComboBox*>(chosen)) {
    const int index = Uniform(0, list->count() - 1);
    list->setCurrentIndex(index);
    emit list->activated(index);
    what = "choose " + std::to_string(index) + " in " + Name(list).toStdString();
  } else {
    auto* box = static_cast<QLineEdit*>(chosen);
    static const std::vector<QString> names = {QString(),
                                               QStringLiteral("试验组"),
                                               QStringLiteral("收缩压"),
                                               QStringLiteral("mmHg"),
                                               QStringLiteral("<b>&amp;\"'"),
                                               QStringLiteral("P₂₅ rₛ_{x}"),
                                               QStringLiteral("　 "),
                                               QStringLiteral("A"),
                                               QString(40, QChar(0x4E2D)),
                                               QStringLiteral("5"),
                                               QStringLiteral("0.1"),
                                               QStringLiteral("-2"),
                                               QStringLiteral("0.5"),
                                               QStringLiteral("1e308")};
    const QString text = Pick(names);
    box->selectAll();
    QInputMethodEvent typed;  // as an input method commits it, replacing the selection
    typed.setCommitString(text);
    QApplication::sendEvent(box, &typed);
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
    what = "name " + Quoted(text).toStdString() + " in " + Name(box).toStdString();
  }
  // The report, rewritten in place, reads as the report laid out anew.
  CheckReport();
  return what;
}

std::string MonkeyTest::CalculatorEvent() {
  const auto& [button, press] = Pick(calculatorKeys);
  QTest::mouseClick(button, Qt::LeftButton);
  press(calculator);
  return "click " + Name(button).toStdString();
}

}  // namespace monkey
