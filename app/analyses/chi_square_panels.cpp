#include "app/analyses/chi_square_panels.h"

#include <QLabel>

#include "app/widgets/form_layout.h"
#include "app/widgets/painted_widgets.h"
#include "app/widgets/text_boxes.h"

namespace quillon::ui {

ChiSquarePanels::ChiSquarePanels(QWidget* client) : QObject(client) {
  picture9_ = new RuledPanel(client, QStringLiteral("Picture9"), ResultArea(), TitleTextColour());
  picture11_ = new RuledPanel(client, QStringLiteral("Picture11"), ResultArea(), TitleTextColour());
  BuildFourfoldPanel();
  BuildPairedPanel();
  picture9_->hide();
  picture11_->hide();
}

QLabel* ChiSquarePanels::BuildChiSquareRows(QWidget* panel, const ChiSquareRows& rows) {
  constexpr int ValueOffset = 60;  // a value label sits this much below its symbol box's top
  SetTextColour(MakeCaption(panel, Label19Name(rows.countCaption), 120, rows.countTop,
                            QStringLiteral("例数(n)=")),
                WindowFrameColour());
  label20_[static_cast<std::size_t>(rows.countValue)] =
      MakeColouredValue(panel, Label20Name(rows.countValue), 960, rows.countTop, Red);

  const int criticalTop = rows.criticalTop;
  new SymbolBox(panel, rows.box05, 120, criticalTop, 960, Symbol::ChiSquare,
                QStringLiteral("  0.05"));
  new SymbolBox(panel, rows.box01, 1860, criticalTop, 2700, Symbol::ChiSquare,
                QStringLiteral("  0.01"));
  MakeValueLabel(panel, Label5Name(rows.label05), 960, criticalTop + ValueOffset)
      ->setText(QStringLiteral("3.84"));
  MakeValueLabel(panel, Label5Name(rows.label01), 2700, criticalTop + ValueOffset)
      ->setText(QStringLiteral("6.63"));

  new SymbolBox(panel, rows.statisticBox, rows.statisticLeft, rows.statisticTop,
                rows.statisticValueLeft, Symbol::ChiSquare);
  label20_[static_cast<std::size_t>(rows.statisticValue)] =
      MakeColouredValue(panel, Label20Name(rows.statisticValue), rows.statisticValueLeft,
                        rows.statisticTop + ValueOffset, Red);

  MakeCaption(panel, Label5Name(rows.verdictCaption), 120, rows.verdictTop,
              QStringLiteral("结果判断："), FontWeight::Bold);
  return MakeColouredValue(panel, Label5Name(rows.verdictValue), 1140, rows.verdictTop, Red);
}

void ChiSquarePanels::BuildFourfoldPanel() {
  struct Expected {
    int index, left, top, valueLeft;
    QString caption;
  };
  const Expected expected[] = {
      {1, 120, 120, 1500, QStringLiteral("a 的理论数(T)=")},
      {2, 120, 480, 1500, QStringLiteral("b 的理论数(T)=")},
      {3, 3060, 120, 4440, QStringLiteral("c 的理论数(T)=")},
      {4, 3060, 480, 4440, QStringLiteral("d 的理论数(T)=")},
  };
  for (const Expected& e : expected) {
    SetTextColour(MakeCaption(picture9_, Label19Name(e.index), e.left, e.top, e.caption),
                  WindowFrameColour());
    label20_[static_cast<std::size_t>(e.index)] =
        MakeColouredValue(picture9_, Label20Name(e.index), e.valueLeft, e.top, Black);
  }
  // clang-format off
  fourfoldVerdict_ = BuildChiSquareRows(picture9_, {
      .countTop = 840, .countCaption = 6, .countValue = 5,
      .criticalTop = 1200, .box05 = 11, .box01 = 12, .label05 = 20, .label01 = 19,
      .statisticBox = 14, .statisticLeft = 3600, .statisticTop = 1200, .statisticValueLeft = 4200, .statisticValue = 6,
      .verdictTop = 1560, .verdictCaption = 22, .verdictValue = 21});
  // clang-format on
}

void ChiSquarePanels::BuildPairedPanel() {
  // clang-format off
  pairedVerdict_ = BuildChiSquareRows(picture11_, {
      .countTop = 120, .countCaption = 0, .countValue = 8,
      .criticalTop = 480, .box05 = 16, .box01 = 15, .label05 = 24, .label01 = 25,
      .statisticBox = 13, .statisticLeft = 120, .statisticTop = 900, .statisticValueLeft = 720, .statisticValue = 7,
      .verdictTop = 1320, .verdictCaption = 18, .verdictValue = 23});
  // clang-format on
}

void ChiSquarePanels::RunFourfoldChiSquare(const FourfoldCells& cells) {
  const FourfoldChiSquareResult result = FourfoldChiSquare(cells);
  for (std::size_t i = 0; i < result.expected.size(); ++i) {
    label20_[i + 1]->setText(FromUtf8(result.expected[i]));
  }
  label20_[5]->setText(FromUtf8(result.n));
  label20_[6]->setText(FromUtf8(result.chiSquare));
  fourfoldVerdict_->setText(FromUtf8(result.verdict));
}

void ChiSquarePanels::RunPairedChiSquare(const FourfoldCells& cells) {
  const PairedChiSquareResult result = PairedChiSquare(cells);
  label20_[8]->setText(FromUtf8(result.n));
  label20_[7]->setText(FromUtf8(result.chiSquare));
  pairedVerdict_->setText(FromUtf8(result.verdict));
}

void ChiSquarePanels::ClearVerdicts() {
  fourfoldVerdict_->clear();
  pairedVerdict_->clear();
}

void ChiSquarePanels::ClearValues() {
  for (std::size_t i = 1; i < label20_.size(); ++i) label20_[i]->clear();
}

}  // namespace quillon::ui
