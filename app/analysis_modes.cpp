#include "app/analysis_modes.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/form_layout.h"
#include "app/sample_grid.h"
#include "app/sample_panels.h"

namespace quillon::ui {

namespace {

// The four-fold table's headings: the groups and outcomes of the four-fold test, the outcomes
// after and before treatment of the paired test.
struct TableCaptions {
  QString rowHeading, columnHeading, row1, row2;
};

TableCaptions CaptionsFor(AnalysisMode mode) {
  if (mode == AnalysisMode::PairedChiSquare) {
    return {QStringLiteral("治疗后"), QStringLiteral("  治疗前  "), QStringLiteral("（+）"),
            QStringLiteral("（-）")};
  }
  return {QStringLiteral("组  别"), QStringLiteral("结     果"), QStringLiteral("试验组"),
          QStringLiteral("对照组")};
}

bool IsCountData(AnalysisMode mode) {
  return mode == AnalysisMode::FourfoldChiSquare || mode == AnalysisMode::PairedChiSquare;
}

}  // namespace

AnalysisModes::AnalysisModes(QObject* parent, AnalysisControls controls)
    : QObject(parent), controls_(std::move(controls)) {
  for (int mode = 0; mode < AnalysisModeCount; ++mode) {
    connect(controls_.buttons[static_cast<std::size_t>(mode)], &QPushButton::clicked, this,
            [this, mode] { SelectAnalysis(static_cast<AnalysisMode>(mode)); });
  }
  connect(controls_.grid, &SampleGrid::EntryChanged, this, &AnalysisModes::RerunSampleAnalysis);
}

bool AnalysisModes::IsCurrent(AnalysisMode mode) const {
  return controls_.label1->text() == AnalysisCaption(mode);
}

void AnalysisModes::RerunSampleAnalysis(Group group) {
  const SampleLists& lists = controls_.grid->Lists();
  if (IsCurrent(AnalysisMode::PairedMeans)) {
    controls_.paired->RunPairedTTest(lists.Pairs());
  } else if (IsCurrent(AnalysisMode::TwoSampleMeans)) {
    controls_.twoSample->UpdateGroupSummary(group, lists.Sums(group));
  } else if (IsCurrent(AnalysisMode::CorrelationRegression)) {
    controls_.correlation->RunCorrelationRegression(lists.Pairs());
  }
}

void AnalysisModes::SelectAnalysis(AnalysisMode mode) {
  const bool countData = IsCountData(mode);
  for (QWidget* button : controls_.importExportButtons) button->setEnabled(!countData);
  for (QAction* item : controls_.importExportItems) item->setEnabled(!countData);

  for (QPushButton* button : controls_.buttons) SetBold(button, false);
  QPushButton* chosen = controls_.buttons[static_cast<std::size_t>(mode)];
  SetBold(chosen, true);

  // From here on the new analysis is current: the change handling run by the emptying below
  // already sees it.
  controls_.label1->setText(chosen->text());
  controls_.label1->adjustSize();

  controls_.grid->ResetDataGrid();
  controls_.twoSample->ClearSummaryBoxes();
  controls_.twoSample->ClearCriticalValues();
  controls_.paired->ClearResults();
  controls_.correlation->ClearResults();
  ClearCountResults();
  ClearFourfoldTable();
  ClearChiSquareValues();

  controls_.twoSample->Panel()->setVisible(mode == AnalysisMode::TwoSampleMeans);
  controls_.paired->Panel()->setVisible(mode == AnalysisMode::PairedMeans);
  controls_.correlation->Panel()->setVisible(mode == AnalysisMode::CorrelationRegression);
  controls_.fourfoldTable->setVisible(countData);
  controls_.fourfoldResult->setVisible(mode == AnalysisMode::FourfoldChiSquare);
  controls_.pairedChiResult->setVisible(mode == AnalysisMode::PairedChiSquare);
  if (countData) {
    RelabelFourfoldTable(mode);
    controls_.fourfoldTable->findChild<QLineEdit*>(QStringLiteral("Text11(0)"))->setFocus();
  } else {
    controls_.grid->EntryBox(Group::First, 0)->setFocus();
  }
}

void AnalysisModes::ClearCountResults() {
  for (QWidget* panel : {controls_.fourfoldResult, controls_.pairedChiResult}) {
    for (const int index : {21, 23}) {
      if (auto* label = panel->findChild<QLabel*>(Label5Name(index))) label->clear();
    }
  }
}

void AnalysisModes::ClearFourfoldTable() {
  QWidget* table = controls_.fourfoldTable;
  for (int k = 0; k < 4; ++k) {
    table->findChild<QLineEdit*>(IndexedName(QStringLiteral("Text11"), k))->clear();
    table->findChild<QLabel*>(IndexedName(QStringLiteral("Label18"), k))->clear();
  }
  table->findChild<QLabel*>(IndexedName(QStringLiteral("Label18"), 4))->clear();
}

void AnalysisModes::ClearChiSquareValues() {
  for (int index = 0; index <= 8; ++index) {
    for (QWidget* panel : {controls_.fourfoldResult, controls_.pairedChiResult}) {
      if (auto* label = panel->findChild<QLabel*>(Label20Name(index))) label->clear();
    }
  }
}

void AnalysisModes::RelabelFourfoldTable(AnalysisMode mode) {
  const TableCaptions captions = CaptionsFor(mode);
  QWidget* table = controls_.fourfoldTable;
  auto set = [table](int index, const QString& text) {
    auto* label = table->findChild<QLabel*>(IndexedName(QStringLiteral("Label17"), index));
    label->setText(text);
    label->adjustSize();
  };
  set(0, captions.rowHeading);
  set(1, captions.columnHeading);
  set(3, captions.row1);
  set(4, captions.row2);
  auto* title = table->findChild<QLabel*>(QStringLiteral("Label16"));
  title->setText(AnalysisCaption(mode));
  title->adjustSize();
}

}  // namespace quillon::ui
