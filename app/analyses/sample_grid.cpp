#include "app/analyses/sample_grid.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/widgets/form_layout.h"
#include "app/widgets/gbk_text.h"
#include "app/widgets/painted_widgets.h"
#include "app/widgets/text_boxes.h"
#include "entry/grid_rows.h"

namespace quillon::ui {

SampleGrid::SampleGrid(QWidget* client) : QObject(client) {
  panel_ = new RuledPanel(client, QStringLiteral("Picture2"), DataArea(), Qt::white);
  for (int row = 1; row <= 10; ++row) panel_->AddRule(0, 300 * row, 5400, 300 * row, LightGrey);
  panel_->AddRule(1140, 0, 1140, 3000, LightGrey);
  panel_->AddRule(3300, 0, 3300, 3000, LightGrey);

  const QString headings[] = {QStringLiteral("序号"), QStringLiteral("第一组"),
                              QStringLiteral("第二组")};
  const int headingLefts[] = {60, 1680, 3840};
  for (int i = 0; i < 3; ++i) {
    auto* heading = new QLabel(headings[i], panel_);
    heading->setObjectName(IndexedName(QStringLiteral("Label2"), i));
    heading->setGeometry(TwipsRect(headingLefts[i], 60, 1035, 195));
    heading->setAlignment(Qt::AlignCenter);
    SetTextColour(heading, HighlightColour());
  }

  auto makeRowBox = [this](const char* array, int row, int left, int width) {
    QLineEdit* box = MakeLineEdit(panel_, IndexedName(QString::fromLatin1(array), row),
                                  TwipsRect(left, 360 + 300 * row, width, 225));
    box->setFrame(false);
    box->setAlignment(Qt::AlignCenter);
    box->installEventFilter(this);
    return box;
  };
  const QString entryTip = QStringLiteral("按回车键输入下一个数据");
  for (int row = 0; row < kVisibleRows; ++row) {
    const auto i = static_cast<std::size_t>(row);
    text3_[i] = makeRowBox("Text3", row, 60, 1035);
    text3_[i]->setReadOnly(true);
    text1_[i] = makeRowBox("Text1", row, 1200, 2055);
    text2_[i] = makeRowBox("Text2", row, 3360, 1995);
    for (const Group group : {Group::First, Group::Second}) {
      QLineEdit* box = EntryBox(group, row);
      box->setToolTip(entryTip);
      connect(box, &QLineEdit::textChanged, this, [this, group, row] { HandleChange(group, row); });
    }
  }

  vs1_ = new QScrollBar(Qt::Vertical, panel_);
  vs1_->setObjectName(QStringLiteral("VS1"));
  vs1_->setGeometry(TwipsRect(5400, 0, 255, 2990));
  vs1_->setRange(0, 0);
  vs1_->setPageStep(kVisibleRows);
  vs1_->setEnabled(false);
  panel_->installEventFilter(this);  // the wheel between the boxes
  // Any change of the offset, by the arrows, the track, a drag or the program, refreshes.
  connect(vs1_, &QScrollBar::valueChanged, this, &SampleGrid::RefreshVisibleRows);
}

QWidget* SampleGrid::Panel() const { return panel_; }

int SampleGrid::RowOffset() const { return vs1_->value(); }

const std::array<QLineEdit*, 9>& SampleGrid::EntryBoxes(Group group) const {
  return group == Group::First ? text1_ : text2_;
}

QLineEdit* SampleGrid::EntryBox(Group group, int box) const {
  return EntryBoxes(group)[static_cast<std::size_t>(box)];
}

std::optional<Group> SampleGrid::GroupColumnAt(const QPoint& point) const {
  // The columns between the panel's vertical rules, in twips: 1140, 3300, then the scroll bar.
  if (point.x() >= Px(1140) && point.x() < Px(3300)) return Group::First;
  if (point.x() >= Px(3300) && point.x() < Px(5400)) return Group::Second;
  return std::nullopt;
}

std::optional<std::pair<Group, int>> SampleGrid::FindEntryBox(const QObject* object) const {
  for (const Group group : {Group::First, Group::Second}) {
    const std::array<QLineEdit*, 9>& column = EntryBoxes(group);
    for (std::size_t i = 0; i < column.size(); ++i) {
      if (column[i] == object) return std::pair{group, static_cast<int>(i)};
    }
  }
  return std::nullopt;
}

void SampleGrid::Load() {
  vs1_->setMaximum(0);
  lists_.Reset(kVisibleRows);
  for (int row = 0; row < kVisibleRows; ++row) {
    text3_[static_cast<std::size_t>(row)]->setText(QString::number(row + 1));
  }
}

void SampleGrid::ResetDataGrid() {
  beforePaste_.reset();
  lists_.Reset(kVisibleRows);
  vs1_->setRange(0, 0);  // a lower maximum clamps the offset, which refreshes the rows
  vs1_->setValue(0);
  vs1_->setEnabled(false);
  for (int row = 0; row < kVisibleRows; ++row) {
    text3_[static_cast<std::size_t>(row)]->setText(QString::number(row + 1));
  }
  // Blanked by setText, which also forgets each box's own undo: Ctrl+Z after a switch brings
  // back nothing of the analysis before it (clear() could be undone).
  for (int row = 0; row < kVisibleRows; ++row) {
    text1_[static_cast<std::size_t>(row)]->setText(QString());
    text2_[static_cast<std::size_t>(row)]->setText(QString());
  }
}

void SampleGrid::RefreshVisibleRows() {
  isRefreshing_ = true;
  const int offset = RowOffset();
  for (int row = 0; row < kVisibleRows; ++row) {
    const auto i = static_cast<std::size_t>(row);
    const auto listRow = static_cast<std::size_t>(offset + row);
    text1_[i]->setText(FromUtf8(lists_.Text(Group::First, listRow)));
    text2_[i]->setText(FromUtf8(lists_.Text(Group::Second, listRow)));
    text3_[i]->setText(QString::number(offset + row + 1));
  }
  isRefreshing_ = false;
}

void SampleGrid::HandleChange(Group group, int box) {
  QLineEdit* edit = EntryBox(group, box);
  NormaliseNumberInput(edit, FullStops::Replace);
  ApplyEntryFilter(edit);
  PutCaretAtEnd(edit);
  if (!isRefreshing_) {
    beforePaste_.reset();  // an edit after a paste: there is no paste to take back any more
    lists_.SetText(group, static_cast<std::size_t>(RowOffset() + box), ToUtf8(edit->text()));
  }
  if (!isQuiet_) emit EntryChanged(group);
}

void SampleGrid::ScrollTo(int rowOffset) {
  if (rowOffset != RowOffset()) {
    vs1_->setValue(rowOffset);  // refreshes through valueChanged
  } else {
    RefreshVisibleRows();
  }
}

void SampleGrid::SetScrollRange() {
  vs1_->setMaximum(ScrollMaximumFor(lists_.LongerSize()));
  vs1_->setEnabled(lists_.LongerSize() > static_cast<std::size_t>(kVisibleRows));
}

void SampleGrid::HandleEnter(Group group, int box) {
  const GridMove move = EnterMove(box, RowOffset(), vs1_->maximum(), lists_.LongerSize());
  const std::array<QLineEdit*, 9>& column = EntryBoxes(group);
  switch (move.kind) {
    case GridMove::Kind::Nothing:
      return;
    case GridMove::Kind::FocusBox:
      FocusAtEnd(column[static_cast<std::size_t>(move.box)]);
      return;
    case GridMove::Kind::AddRow:
      beforePaste_.reset();
      lists_.AppendRow();
      SetScrollRange();
      [[fallthrough]];
    case GridMove::Kind::Scroll:
      ScrollTo(move.rowOffset);
      PutCaretAtEnd(column[static_cast<std::size_t>(box)]);
      return;
  }
}

void SampleGrid::HandleArrow(const std::array<QLineEdit*, 9>& column, int box, bool down) {
  const GridMove move =
      down ? DownMove(box, RowOffset(), vs1_->maximum()) : UpMove(box, RowOffset());
  if (move.kind == GridMove::Kind::FocusBox) {
    FocusAtEnd(column[static_cast<std::size_t>(move.box)]);
  } else if (move.kind == GridMove::Kind::Scroll) {
    ScrollTo(move.rowOffset);
    PutCaretAtEnd(column[static_cast<std::size_t>(box)]);
  }
}

const std::array<QLineEdit*, 9>& SampleGrid::Column(QObject* box, int* index) const {
  for (const std::array<QLineEdit*, 9>* column : {&text1_, &text2_, &text3_}) {
    for (std::size_t i = 0; i < column->size(); ++i) {
      if ((*column)[i] == box) {
        *index = static_cast<int>(i);
        return *column;
      }
    }
  }
  *index = -1;
  return text3_;
}

bool SampleGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    // The wheel over the boxes, the row numbers or the rules between them scrolls the rows as it
    // does over VS1: the bar takes the event, with its rows a notch and what it keeps of partial
    // turns (a touchpad's small deltas add up). Over the bar itself the bar has had it already.
    const auto* wheel = static_cast<QWheelEvent*>(event);
    if (watched == panel_ && panel_->childAt(wheel->position().toPoint()) == vs1_) return false;
    QCoreApplication::sendEvent(vs1_, event);
    return true;
  }
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  int box = -1;
  const std::array<QLineEdit*, 9>& column = Column(watched, &box);
  if (box < 0) return false;
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && &column != &text3_) {
    HandleEnter(&column == &text1_ ? Group::First : Group::Second, box);
    return true;  // Enter inserts nothing
  }
  if (key == Qt::Key_Up || key == Qt::Key_Down) {
    HandleArrow(column, box, key == Qt::Key_Down);
  }
  return false;  // the box's own handling of the key still takes place
}

void SampleGrid::ReplaceGroup(Group group, std::vector<std::string> lines) {
  if (lines.size() > kMaxGridRows) lines.resize(kMaxGridRows);
  beforePaste_.reset();
  ScrollTo(0);  // refilled from the top, so that no other row is overwritten
  // setText, not clear(): a cleared box could take its old text back with its own Ctrl+Z.
  for (QLineEdit* box : EntryBoxes(group)) box->setText(QString());
  lists_.Clear(group);
  for (std::string& line : lines) lists_.Append(group, std::move(line));
  SetScrollRange();
  const std::size_t shown = std::min<std::size_t>(lists_.Size(group), kVisibleRows);
  for (std::size_t row = 0; row < shown; ++row) {
    EntryBoxes(group)[row]->setText(FromUtf8(lists_.Text(group, row)));
  }
  // Boxes that already showed their new text ran nothing: the analysis sees the new list now.
  emit EntryChanged(group);
}

void SampleGrid::Paste(Group group, std::size_t firstRow, GridPaste paste) {
  BeforePaste before;
  before.firstRow = firstRow;
  before.sizes = {lists_.Size(Group::First), lists_.Size(Group::Second)};
  if (paste.columns == 2) {
    before.groups = {Group::First, Group::Second};
  } else if (paste.columns == 1) {
    before.groups = {group};
  }
  const std::size_t rows = paste.values[0].size();
  if (before.groups.empty() || rows == 0) return;

  while (lists_.LongerSize() < firstRow + rows) lists_.AppendRow();
  for (std::size_t c = 0; c < before.groups.size(); ++c) {
    const Group target = before.groups[c];
    std::vector<std::string>& replaced = before.texts[static_cast<std::size_t>(target)];
    replaced.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
      replaced.push_back(lists_.Text(target, firstRow + i));
      lists_.SetText(target, firstRow + i, std::move(paste.values[c][i]));
    }
  }
  ShowChangedGroups(before.groups);
  beforePaste_ = std::move(before);
}

void SampleGrid::UndoPaste() {
  if (!beforePaste_) return;
  BeforePaste before = std::move(*beforePaste_);
  beforePaste_.reset();
  for (const Group group : before.groups) {
    std::vector<std::string>& texts = before.texts[static_cast<std::size_t>(group)];
    for (std::size_t i = 0; i < texts.size(); ++i) {
      lists_.SetText(group, before.firstRow + i, std::move(texts[i]));
    }
  }
  lists_.Truncate(Group::First, before.sizes[0]);
  lists_.Truncate(Group::Second, before.sizes[1]);
  ShowChangedGroups(before.groups);
}

void SampleGrid::ShowChangedGroups(const std::vector<Group>& changed) {
  isQuiet_ = true;
  SetScrollRange();  // a lower maximum clamps the offset, which refreshes the rows
  RefreshVisibleRows();
  isQuiet_ = false;
  for (const Group group : changed) emit EntryChanged(group);
}

}  // namespace quillon::ui
