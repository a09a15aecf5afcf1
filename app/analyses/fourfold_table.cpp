#include "app/analyses/fourfold_table.h"

#include <QLabel>
#include <QLineEdit>

#include "app/widgets/form_layout.h"
#include "app/widgets/gbk_text.h"
#include "app/widgets/painted_widgets.h"
#include "app/widgets/text_boxes.h"

namespace quillon::ui {

namespace {

// The captions a count-data analysis sets, in the order they are set: Label17(0), Label17(1),
// Label17(3), Label17(4), then the title Label16.
struct TableCaptions {
  QString rowHeading, columnHeading, row1, row2, title;
};

TableCaptions FourfoldCaptions() {
  return {QStringLiteral("组  别"), QStringLiteral("结     果"), QStringLiteral("试验组"),
          QStringLiteral("对照组"), AnalysisCaption(AnalysisMode::FourfoldChiSquare)};
}

TableCaptions PairedCaptions() {
  return {QStringLiteral("治疗后"), QStringLiteral("  治疗前  "), QStringLiteral("（+）"),
          QStringLiteral("（-）"), AnalysisCaption(AnalysisMode::PairedChiSquare)};
}

}  // namespace

FourfoldTable::FourfoldTable(QWidget* client) : QObject(client) {
  panel_ = new RuledPanel(client, QStringLiteral("Picture8"), DataArea(), TitleTextColour());
  panel_->AddRule(0, 540, 5715, 540, Black, 2);
  panel_->AddRule(0, 2820, 5715, 2820, Black, 2);
  panel_->AddRule(0, 1260, 5715, 1260, Black);
  panel_->AddRule(1320, 900, 4320, 900, Black);
  for (int y : {1260, 1800, 2340}) panel_->AddRule(1320, y, 4320, y, Red);
  for (int x : {1320, 2820, 4320}) panel_->AddRule(x, 1260, x, 2340, Red);

  const TableCaptions design = FourfoldCaptions();
  title_ =
      MakeCaption(panel_, QStringLiteral("Label16"), 1980, 240, design.title, FontWeight::Bold);
  struct Caption {
    int left, top;
    QString text;
  };
  const Caption captions[] = {
      {300, 840, design.rowHeading},
      {2280, 600, design.columnHeading},
      {1860, 960, QStringLiteral("（+）           （-）")},
      {300, 1500, design.row1},
      {300, 2040, design.row2},
      {300, 2520, QStringLiteral("合  计")},
      {4920, 840, QStringLiteral("合计")},
  };
  for (std::size_t i = 0; i < headings_.size(); ++i) {
    const Caption& c = captions[i];
    headings_[i] = MakeCaption(panel_, IndexedName(QStringLiteral("Label17"), static_cast<int>(i)),
                               c.left, c.top, c.text);
  }

  for (int cell = 0; cell < 4; ++cell) {
    QLineEdit* box =
        MakeLineEdit(panel_, IndexedName(QStringLiteral("Text11"), cell),
                     TwipsRect(cell % 2 == 0 ? 1440 : 2940, cell < 2 ? 1440 : 1980, 1275, 330));
    box->setFrame(false);
    box->setAlignment(Qt::AlignCenter);
    SetTextColour(box, Blue);
    cells_[static_cast<std::size_t>(cell)] = box;
    connect(box, &QLineEdit::textChanged, this, [this, cell] { RecomputeFourfoldTable(cell); });
  }
  cells_[0]->setMaxLength(6);

  struct Total {
    int left, top, width;
  };
  const Total totals[] = {{1320, 2520, 1515},
                          {2820, 2520, 1515},
                          {4440, 1500, 1095},
                          {4440, 2040, 1095},
                          {4440, 2520, 1095}};
  for (std::size_t i = 0; i < totals_.size(); ++i) {
    const Total& t = totals[i];
    auto* total = new QLabel(QStringLiteral("0"), panel_);
    total->setObjectName(IndexedName(QStringLiteral("Label18"), static_cast<int>(i)));
    total->setGeometry(TwipsRect(t.left, t.top, t.width, 225));
    total->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    totals_[i] = total;
  }
  panel_->hide();
}

QWidget* FourfoldTable::Panel() const { return panel_; }

FourfoldCells FourfoldTable::Cells() const {
  std::array<std::string, 4> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = ToUtf8(cells_[i]->text());
  return ReadFourfoldCells(texts);
}

void FourfoldTable::RecomputeFourfoldTable(int index) {
  // A removal by the filter runs this again, nested, on the shortened text; this run then goes
  // on with the box's current text.
  QLineEdit* box = cells_[static_cast<std::size_t>(index)];
  if (!isPasting_) beforePaste_.reset();       // an edit after a paste: nothing to take back now
  NormaliseNumberInput(box, FullStops::Keep);  // "。" is a character the filter removes here
  ApplyEntryFilter(box);
  PutCaretAtEnd(box);

  const FourfoldTotals totals = TotalFourfoldTable(Cells());
  for (std::size_t i = 0; i < totals.margins.size(); ++i) {
    totals_[i]->setText(FromUtf8(totals.margins[i]));
  }
  totals_[4]->setText(FromUtf8(totals.grandTotal));
  emit TotalsChanged();
}

void FourfoldTable::Clear() {
  for (std::size_t k = 0; k < cells_.size(); ++k) {
    cells_[k]->setText(QString());
    totals_[k]->setText(QString());
  }
  totals_[4]->setText(QString());
}

void FourfoldTable::ShowCaptionsFor(AnalysisMode mode) {
  TableCaptions captions;
  if (mode == AnalysisMode::FourfoldChiSquare) {
    captions = FourfoldCaptions();
  } else if (mode == AnalysisMode::PairedChiSquare) {
    captions = PairedCaptions();
  } else {
    return;
  }
  const std::pair<QLabel*, const QString*> writes[] = {{headings_[0], &captions.rowHeading},
                                                       {headings_[1], &captions.columnHeading},
                                                       {headings_[3], &captions.row1},
                                                       {headings_[4], &captions.row2},
                                                       {title_, &captions.title}};
  for (const auto& [label, text] : writes) {
    label->setText(*text);
    label->adjustSize();  // captions size themselves to their text
  }
}

void FourfoldTable::FocusFirstCell() { FocusAtEnd(cells_[0]); }

void FourfoldTable::WriteCells(const std::array<QString, 4>& cells) {
  isPasting_ = true;
  for (std::size_t i = 0; i < cells_.size(); ++i) cells_[i]->setText(cells[i]);
  isPasting_ = false;
}

void FourfoldTable::Paste(const std::array<QString, 4>& cells) {
  std::array<QString, 4> before;
  for (std::size_t i = 0; i < cells_.size(); ++i) before[i] = cells_[i]->text();
  WriteCells(cells);
  beforePaste_ = std::move(before);
}

void FourfoldTable::UndoPaste() {
  if (!beforePaste_) return;
  const std::array<QString, 4> before = std::move(*beforePaste_);
  beforePaste_.reset();
  WriteCells(before);
}

}  // namespace quillon::ui
