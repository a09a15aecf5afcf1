#include "app/analyses/entry_transfer.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <memory>

#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/files/group_files.h"
#include "app/widgets/gbk_text.h"
#include "app/widgets/text_boxes.h"
#include "entry/grid_paste.h"
#include "entry/grid_rows.h"

namespace quillon::ui {

namespace {

// One local analysis file (.quillon) or table of columns (.csv): the whole window's, wherever it
// is dropped; a group's text file (.txt) stays the column's own import.
bool ClaimsWholeAnalysis(const QList<QUrl>& urls) {
  if (urls.size() != 1 || !urls.front().isLocalFile()) return false;
  const QString path = urls.front().toLocalFile();
  return path.endsWith(QStringLiteral(".quillon"), Qt::CaseInsensitive) ||
         path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
}

// Dropped files: any local file among the URLs makes the drop a drop of files (several of them,
// a folder or a remote address among them is refused when dropped).
bool HoldsFiles(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return true;
  }
  return false;
}

QString ClipboardText(QClipboard::Mode mode) { return QGuiApplication::clipboard()->text(mode); }

// An action of a box's standard context menu, known by its name where Qt gives one and else by
// its caption (in the interface's language), which is followed by a tab and the shortcut.
bool IsMenuAction(const QAction* action, const char* name, const QString& caption) {
  return action->objectName() == QLatin1String(name) ||
         action->text().section(QLatin1Char('\t'), 0, 0) == caption;
}

}  // namespace

EntryTransfer::EntryTransfer(QObject* parent, SampleGrid* grid, FourfoldTable* table,
                             GroupFiles* files)
    : QObject(parent), grid_(grid), table_(table), files_(files) {
  for (const Group group : {Group::First, Group::Second}) {
    for (QLineEdit* box : grid_->EntryBoxes(group)) box->installEventFilter(this);
  }
  for (int cell = 0; cell < 4; ++cell) table_->Cell(cell)->installEventFilter(this);
  grid_->Panel()->setAcceptDrops(true);
  grid_->Panel()->installEventFilter(this);
}

bool EntryTransfer::Paste(QLineEdit* box, const QString& text) {
  if (const auto found = grid_->FindEntryBox(box)) {
    return PasteIntoGrid(found->first, found->second, text);
  }
  return PasteIntoCells(text);
}

bool EntryTransfer::PasteFromFirstRow(const QString& text) {
  return PasteIntoGridAt(Group::First, 0, text);
}

bool EntryTransfer::PasteIntoGrid(Group group, int box, const QString& text) {
  return PasteIntoGridAt(group, static_cast<std::size_t>(grid_->RowOffset() + box), text);
}

bool EntryTransfer::PasteIntoGridAt(Group group, std::size_t firstRow, const QString& text) {
  const std::string utf8 = ToUtf8(text);
  const PastedCells cells = SplitPastedText(utf8);
  if (!HoldsSeveralCells(cells)) return false;
  if (cells.columns > 2) {
    files_->Tell(QStringLiteral("粘贴的数据有 %1 列：数据表只能粘贴一列（填入这一组）或两列（"
                                "填入第一组和第二组）。\n数据未改变。")
                     .arg(cells.columns));
    return true;
  }
  GridPaste paste = PrepareGridPaste(cells, firstRow, GbkCharacterCode);
  const std::size_t leftOut = paste.leftOut;
  grid_->Paste(group, firstRow, std::move(paste));
  if (leftOut > 0) {
    files_->Tell(QStringLiteral("粘贴的行数超过数据表最多可容纳的 %1 行：已粘贴到第 %1 行，其余 %2 "
                                "行未粘贴。")
                     .arg(kMaxGridRows)
                     .arg(leftOut));
  }
  return true;
}

bool EntryTransfer::PasteIntoCells(const QString& text) {
  const std::string utf8 = ToUtf8(text);
  const PastedCells cells = SplitPastedText(utf8);
  if (!HoldsSeveralCells(cells)) return false;
  const auto block = FourfoldBlock(cells);
  if (!block) {
    files_->Tell(
        QStringLiteral("四格表只能粘贴两行两列的数据（a、b 一行，c、d 一行）。\n"
                       "四格表数据未改变。"));
    return true;
  }
  table_->Paste(
      {FromUtf8((*block)[0]), FromUtf8((*block)[1]), FromUtf8((*block)[2]), FromUtf8((*block)[3])});
  return true;
}

bool EntryTransfer::UndoPaste(QLineEdit* box) {
  if (undoFirst_ && undoFirst_()) return true;
  if (grid_->FindEntryBox(box)) {
    if (!grid_->CanUndoPaste()) return false;
    grid_->UndoPaste();
    return true;
  }
  if (!table_->CanUndoPaste()) return false;
  table_->UndoPaste();
  return true;
}

void EntryTransfer::ShowContextMenu(QLineEdit* box, const QPoint& globalPos) {
  // The box's own menu, whose paste takes several cells here and whose undo takes back a paste.
  const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
  for (QAction* action : menu->actions()) {
    if (IsMenuAction(action, "edit-paste", QLineEdit::tr("&Paste"))) {
      disconnect(action, &QAction::triggered, nullptr, nullptr);
      connect(action, &QAction::triggered, box, [this, box] {
        if (!Paste(box, ClipboardText(QClipboard::Clipboard))) box->paste();
      });
    } else if (IsMenuAction(action, "edit-undo", QLineEdit::tr("&Undo")) &&
               (grid_->FindEntryBox(box) ? grid_->CanUndoPaste() : table_->CanUndoPaste())) {
      disconnect(action, &QAction::triggered, nullptr, nullptr);
      action->setEnabled(true);
      connect(action, &QAction::triggered, box, [this, box] { UndoPaste(box); });
    }
  }
  menu->exec(globalPos);
}

bool EntryTransfer::HandleDrag(QObject* watched, QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  const QMimeData* data = drop->mimeData();
  auto* box = qobject_cast<QLineEdit*>(watched);
  std::optional<Group> group;
  if (box != nullptr) {
    if (const auto found = grid_->FindEntryBox(box)) group = found->first;
  } else {
    group = grid_->GroupColumnAt(drop->position().toPoint());
  }

  if (HoldsFiles(data) && openDropped_ && ClaimsWholeAnalysis(data->urls())) {
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
      QMetaObject::invokeMethod(
          this, [this, urls = data->urls()] { openDropped_(urls); }, Qt::QueuedConnection);
    }
    return true;
  }
  if (HoldsFiles(data)) {
    // Files go to a group's column; a four-fold cell or the row numbers take none.
    if (!group) {
      drop->ignore();
      return true;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
      // Once the drop is over, so that the program the files came from is not kept waiting by
      // the import or by a message.
      QMetaObject::invokeMethod(
          this,
          [this, target = *group, urls = data->urls()] { files_->ImportDropped(target, urls); },
          Qt::QueuedConnection);
    }
    return true;
  }
  if (box == nullptr || data == nullptr || !data->hasText()) return false;
  // A dropped text of several cells is pasted into the box; a single cell the box takes itself.
  if (!HoldsSeveralCells(SplitPastedText(ToUtf8(data->text())))) return false;
  drop->acceptProposedAction();
  if (event->type() == QEvent::Drop) {
    QMetaObject::invokeMethod(
        this,
        [this, target = QPointer<QLineEdit>(box), text = data->text()] {
          if (target) Paste(target, text);
        },
        Qt::QueuedConnection);
  }
  return true;
}

bool EntryTransfer::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return HandleDrag(watched, event);
    default:
      break;
  }
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box == nullptr) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Paste))
        return Paste(box, ClipboardText(QClipboard::Clipboard));
      if (key->matches(QKeySequence::Undo)) return UndoPaste(box);
      return false;
    }
    case QEvent::ContextMenu:
      ShowContextMenu(box, static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    case QEvent::MouseButtonRelease: {
      // The middle button pastes the selection where the system has one.
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::MiddleButton ||
          !QGuiApplication::clipboard()->supportsSelection()) {
        return false;
      }
      return Paste(box, ClipboardText(QClipboard::Selection));
    }
    default:
      return false;
  }
}

}  // namespace quillon::ui
