// The monkey's checks after each event: the grid's boxes, row numbers and scroll bar against the
// group lists, the running sums against sums taken afresh, every result shown against the core's
// result on the inputs shown, the calculator against one fed the same keys, and now and then the
// results report against the same report laid out anew, and its R script against its rows.

#include <QCoreApplication>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <string>

#include "app/main_window.h"
#include "counts/chi_square.h"
#include "counts/summary_t_test.h"
#include "entry/grid_rows.h"
#include "entry/group_summary.h"
#include "report/writing/text.h"
#include "rscript/script_writer.h"
#include "stats/correlation.h"
#include "stats/paired_t_test.h"
#include "tests/gui/monkey/monkey.h"

namespace monkey {

void MonkeyTest::Fail(const std::string& message) {
  if (failure.empty()) failure = message;
}

void MonkeyTest::ExpectText(QWidget* control, const QString& shown, const QString& expected,
                            bool strict) {
  if (shown == expected || (!strict && shown.isEmpty())) return;
  Fail(Name(control).toStdString() + " shows " + Quoted(shown).toStdString() + ", expected " +
       Quoted(expected).toStdString());
}
void MonkeyTest::ExpectLabel(QLabel* label, std::string_view expected, bool strict) {
  ExpectText(label, label->text(), Q(expected), strict);
}

void MonkeyTest::CheckGrid() {
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
      // A screen reader says the row the box shows.
      ExpectText(
          box, box->accessibleName(),
          (g == Group::First ? QStringLiteral("第一组 第%1行") : QStringLiteral("第二组 第%1行"))
              .arg(row + 1),
          true);
      // A box typed into holds exactly what its list entry holds.
      if (box == typedBox && box->text() != entry) {
        Fail(Name(box).toStdString() + " was typed into and shows " +
             Quoted(box->text()).toStdString() + ", its list entry is " +
             Quoted(entry).toStdString());
      }
    }
  }
}

void MonkeyTest::CheckSums() {
  const SampleLists& lists = grid->Lists();
  for (const Group g : {Group::First, Group::Second}) {
    if (!(lists.Sums(g) == lists.RecomputeSums(g))) {
      Fail("running sums of group " + std::to_string(static_cast<int>(g) + 1) +
           " differ from the list");
    }
  }
  if (!(lists.Pairs() == lists.RecomputePairs())) Fail("running pair sums differ from the lists");
}

void MonkeyTest::CheckTwoSample(bool current) {
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

void MonkeyTest::ResyncSummaries() {
  for (int g = 0; g < 2; ++g) {
    const auto texts3 =
        quillon::SummarizeGroup(grid->Lists().RecomputeSums(g == 0 ? Group::First : Group::Second));
    const QStringList shown = {text4[3 * g]->text(), text4[3 * g + 1]->text(),
                               text4[3 * g + 2]->text()};
    summary[g] = shown == QStringList{Q(texts3.mean), Q(texts3.deviation), Q(texts3.count)}
                     ? Summary::FromList
                 : shown.join(QString()).isEmpty() ? Summary::Empty
                                                   : Summary::Typed;
  }
}

void MonkeyTest::CheckPaired(bool current) {
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

void MonkeyTest::CheckCorrelation(bool current) {
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

void MonkeyTest::CheckCounts(int mode) {
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

void MonkeyTest::CheckEverything(bool thorough) {
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
// figures in place: now and then its text must read as the same report laid out anew, and its R
// script must print each of its rows.
void MonkeyTest::CheckReport() {
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
  // A sentence carries figures, never a missing figure's reason (the table does), unless there
  // is no test to report at all.
  const std::string& results = report->Current().results;
  if (results.find("—（") != std::string::npos && results.rfind("尚无法给出检验结果", 0) != 0) {
    Fail("the results sentence carries a reason meant for the table: " + results);
  }
  // The R script prints every row of the report, in its order, by the row's own label; without
  // data it says so and prints none.
  const std::string script = report->RCode();
  std::size_t at = 0;
  const bool nothing = script.find("cat(\"没有可计算的数据：") != std::string::npos;
  for (const quillon::ReportSection& section :
       nothing ? std::vector<quillon::ReportSection>{} : report->Current().sections) {
    for (const quillon::ReportRow& row : section.rows) {
      const std::string call = ".row(" + quillon::RString(row.label) + ", ";
      at = script.find(call, at);
      if (at == std::string::npos) Fail("the R script leaves out the report's row " + row.label);
      if (at == std::string::npos) return;
      at += call.size();
    }
  }
  ++reach.reportsChecked;
}

}  // namespace monkey
