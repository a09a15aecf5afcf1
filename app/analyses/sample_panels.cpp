#include "app/analyses/sample_panels.h"

#include <QLabel>
#include <QLineEdit>

#include "app/widgets/form_layout.h"
#include "app/widgets/painted_widgets.h"
#include "app/widgets/text_boxes.h"
#include "counts/summary_t_test.h"
#include "entry/group_summary.h"
#include "stats/correlation.h"
#include "stats/paired_t_test.h"

namespace quillon::ui {

namespace {

void ShowCritical(const std::array<QLabel*, 3>& labels, const TCriticalValues& critical) {
  labels[0]->setText(FromUtf8(critical.c05));
  labels[1]->setText(FromUtf8(critical.c01));
  labels[2]->setText(FromUtf8(critical.c001));
}

void ClearLabels(std::initializer_list<QLabel*> labels) {
  for (QLabel* label : labels) label->clear();
}

// The two t-test panels end alike: t with subscripts 0.05, 0.01 and 0.001 beside their critical
// values, then "结果判断：" and the red verdict line. Numbers are array indices.
struct TTestRows {
  std::array<QLabel*, 3> critical;
  QLabel* verdict;
};
TTestRows BuildTTestRows(QWidget* panel, std::array<int, 3> boxes, std::array<int, 3> values,
                         int verdictCaption, int verdictValue) {
  const QString subscripts[] = {QStringLiteral("0.05"), QStringLiteral("0.01"),
                                QStringLiteral("0.001")};
  const int lefts[] = {180, 1920, 3660};
  const int valueLefts[] = {900, 2640, 4440};
  TTestRows rows{};
  for (std::size_t i = 0; i < 3; ++i) {
    new SymbolBox(panel, boxes[i], lefts[i], 1200, valueLefts[i], Symbol::T, subscripts[i]);
    rows.critical[i] = MakeValueLabel(panel, Label5Name(values[i]), valueLefts[i], 1260);
  }
  MakeCaption(panel, Label5Name(verdictCaption), 180, 1560, QStringLiteral("结果判断："),
              FontWeight::Bold);
  rows.verdict = MakeColouredValue(panel, Label5Name(verdictValue), 1200, 1560, Red);
  return rows;
}

}  // namespace

// ---- Two-sample t test ----

TwoSamplePanel::TwoSamplePanel(RuledPanel* panel) : QObject(panel), panel_(panel) {
  // Group 1 in the left column, group 2 in the right: mean, standard deviation, count.
  struct SummaryRow {
    const char* captionName;
    QString caption;
    int top, boxTop, boxHeight;
  };
  const SummaryRow rows[] = {
      {"Label3(0)", QStringLiteral("均  数(X1)="), 105, 60, 285},
      {"Label4(0)", QStringLiteral("标准差(S1)="), 450, 420, 270},
      {"Label5(0)", QStringLiteral("例  数(N1)="), 810, 780, 270},
      {"Label3(1)", QStringLiteral("均  数(X2)="), 105, 60, 285},
      {"Label4(1)", QStringLiteral("标准差(S2)="), 450, 420, 270},
      {"Label5(1)", QStringLiteral("例  数(N2)="), 810, 780, 270},
  };
  for (int i = 0; i < 6; ++i) {
    const SummaryRow& row = rows[i];
    const int columnLeft = i < 3 ? 180 : 3000;
    MakeCaption(panel, QString::fromLatin1(row.captionName), columnLeft, row.top, row.caption,
                FontWeight::Bold);
    QLineEdit* box = MakeLineEdit(panel, IndexedName(QStringLiteral("Text4"), i),
                                  TwipsRect(columnLeft + 1260, row.boxTop, 1275, row.boxHeight));
    SetTextColour(box, HighlightColour());
    text4_[static_cast<std::size_t>(i)] = box;
  }

  const TTestRows tRows = BuildTTestRows(panel, {0, 1, 2}, {3, 4, 5}, 2, 6);
  critical_ = tRows.critical;
  verdict_ = tRows.verdict;

  for (std::size_t i = 0; i < text4_.size(); ++i) {
    const int index = static_cast<int>(i);
    connect(text4_[i], &QLineEdit::textChanged, this, [this, index] { RunSummaryTTest(index); });
    // Enter goes round the six boxes: X1, S1, N1, X2, S2, N2, X1.
    connect(text4_[i], &QLineEdit::returnPressed, this,
            [this, i] { FocusAtEnd(text4_[(i + 1) % text4_.size()]); });
  }
}

QWidget* TwoSamplePanel::Panel() const { return panel_; }

void TwoSamplePanel::RunSummaryTTest(int index) {
  QLineEdit* changed = text4_[static_cast<std::size_t>(index)];
  NormaliseNumberInput(changed, FullStops::Replace);
  PutCaretAtEnd(changed);

  const std::optional<SummaryTTestResult> result = SummaryTTest(SummaryTexts());
  if (!result) {
    ClearSummaryTResult();
  } else {
    ShowCritical(critical_, result->verdict.critical);
    verdict_->setText(FromUtf8(result->verdict.line));
  }
  emit SummaryChanged();
}

void TwoSamplePanel::SetSummaryTexts(const std::array<std::string, kSummaryBoxCount>& texts) {
  for (std::size_t k = 0; k < kSummaryBoxCount; ++k) {
    const QString text = FromUtf8(texts[k]);
    if (text4_[k]->text() != text) text4_[k]->setText(text);
  }
}

std::array<std::string, kSummaryBoxCount> TwoSamplePanel::SummaryTexts() const {
  std::array<std::string, kSummaryBoxCount> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = ToUtf8(text4_[i]->text());
  return texts;
}

void TwoSamplePanel::ClearSummaryTResult() {
  ClearLabels({verdict_, critical_[0], critical_[1], critical_[2]});
}

void TwoSamplePanel::UpdateGroupSummary(Group group, const GroupSums& sums) {
  const GroupSummaryTexts texts = SummarizeGroup(sums);
  const std::size_t first = group == Group::First ? 0 : 3;
  QLineEdit* mean = text4_[first];
  QLineEdit* deviation = text4_[first + 1];
  QLineEdit* count = text4_[first + 2];
  mean->setText(FromUtf8(texts.plainMean));
  mean->setText(FromUtf8(texts.mean));
  deviation->setText(FromUtf8(texts.plainDeviation));
  deviation->setText(FromUtf8(texts.deviation));
  count->setText(FromUtf8(texts.count));
}

void TwoSamplePanel::ClearSummaryBoxes() {
  // setText, unlike clear(), leaves nothing for the box's own undo to bring back.
  for (QLineEdit* box : text4_) box->setText(QString());
}

void TwoSamplePanel::ClearCriticalValues() {
  ClearLabels({critical_[0], critical_[1], critical_[2]});
}

// ---- Paired t test ----

PairedPanel::PairedPanel(RuledPanel* panel) : QObject(panel), panel_(panel) {
  MakeCaption(panel, Label13Name(0), 180, 120, QStringLiteral("对子数(N)="));
  MakeCaption(panel, Label13Name(1), 180, 480, QStringLiteral("对子差值均数(d)="));
  MakeCaption(panel, Label13Name(2), 180, 840, QStringLiteral("对子差值均数标准差(Sd)="));
  pairs_ = MakeColouredValue(panel, Label13Name(5), 1140, 120, HighlightColour());
  mean_ = MakeColouredValue(panel, Label13Name(4), 1680, 480, HighlightColour());
  deviation_ = MakeColouredValue(panel, Label13Name(3), 2340, 840, HighlightColour());

  const TTestRows rows = BuildTTestRows(panel, {5, 4, 3}, {10, 9, 8}, 11, 7);
  critical_ = rows.critical;
  verdict_ = rows.verdict;
}

QWidget* PairedPanel::Panel() const { return panel_; }

void PairedPanel::RunPairedTTest(const PairSums& pairs) {
  const std::optional<PairedTTestResult> result = PairedTTest(pairs);
  if (!result) {
    ClearResults();
    return;
  }
  pairs_->setText(QString::number(result->differences.n));
  mean_->setText(FromUtf8(result->meanText));
  deviation_->setText(FromUtf8(result->deviationText));
  ShowCritical(critical_, result->verdict.critical);
  verdict_->setText(FromUtf8(result->verdict.line));
}

void PairedPanel::ClearResults() {
  ClearLabels({deviation_, mean_, pairs_, verdict_, critical_[2], critical_[1], critical_[0]});
}

// ---- Correlation and regression ----

CorrelationPanel::CorrelationPanel(RuledPanel* panel) : QObject(panel), panel_(panel) {
  MakeCaption(panel, Label13Name(9), 180, 120, QStringLiteral("例数(N)="));
  count_ = MakeColouredValue(panel, Label13Name(6), 960, 120, HighlightColour());
  new SymbolBox(panel, 10, 180, 420, 660, Symbol::R);
  r_ = MakeColouredValue(panel, Label13Name(7), 660, 480, HighlightColour());
  new SymbolBox(panel, 9, 2880, 420, 3420, Symbol::T, QStringLiteral("r"));
  MakeColouredValue(panel, Label13Name(10), 3420, 480, HighlightColour());
  t_ = MakeColouredValue(panel, Label13Name(12), 3420, 480, HighlightColour());

  new SymbolBox(panel, 6, 180, 780, 960, Symbol::T, QStringLiteral("r 0.05"));
  new SymbolBox(panel, 7, 1920, 780, 2700, Symbol::T, QStringLiteral("r 0.01"));
  new SymbolBox(panel, 8, 3660, 780, 4500, Symbol::T, QStringLiteral("r 0.001"));
  MakeColouredValue(panel, Label13Name(8), 2340, 840, HighlightColour());
  critical_[0] = MakeValueLabel(panel, Label5Name(13), 960, 840);
  critical_[1] = MakeValueLabel(panel, Label5Name(14), 2700, 840);
  critical_[2] = MakeValueLabel(panel, Label5Name(15), 4500, 840);

  MakeCaption(panel, Label5Name(12), 180, 1200, QStringLiteral("结果判断："), FontWeight::Bold);
  verdict_ = MakeColouredValue(panel, Label5Name(16), 1200, 1200, Red);
  MakeCaption(panel, Label13Name(11), 180, 1560, QStringLiteral("回归方程："), FontWeight::Bold);
  equation_ = MakeColouredValue(panel, Label5Name(17), 1200, 1560, Red);
}

QWidget* CorrelationPanel::Panel() const { return panel_; }

void CorrelationPanel::RunCorrelationRegression(const PairSums& pairs) {
  const CorrelationResult result = CorrelationRegression(pairs);
  count_->setText(FromUtf8(result.n));
  r_->setText(FromUtf8(result.r));
  t_->setText(FromUtf8(result.t));
  if (result.critical) {
    ShowCritical(critical_, *result.critical);
  } else {
    ClearLabels({critical_[0], critical_[1], critical_[2]});
  }
  verdict_->setText(FromUtf8(result.verdict));
  equation_->setText(FromUtf8(result.equation));
}

void CorrelationPanel::ClearResults() {
  ClearLabels({critical_[0], critical_[1], critical_[2], verdict_, equation_, count_, r_, t_});
}

}  // namespace quillon::ui
