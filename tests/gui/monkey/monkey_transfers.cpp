// The monkey's transfers: group files generated, imported from the menu or dropped on the grid,
// groups exported, and pastes of values, columns, blocks and junk (Ctrl+V, Shift+Insert or a
// dropped text), now and then taken back by Ctrl+Z. Each checks its own outcome, where what went
// in is known.

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringEncoder>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "app/analysis_keeper.h"
#include "entry/grid_paste.h"
#include "entry/grid_rows.h"
#include "tests/gui/monkey/monkey.h"

namespace monkey {

// A line of a generated file.
QString MonkeyTest::RandomLine() {
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

MonkeyTest::GeneratedFile MonkeyTest::WriteGroupFile() {
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
    // An empty last line is a line only when a terminator ends it; an empty line's LF after a
    // lone CR would make one CR LF of them.
    if (!last || file.lines[i].isEmpty() || Chance(0.7)) {
      const bool lf = Chance(0.1) && !(bytes.endsWith('\r') && file.lines[i].isEmpty());
      bytes += lf ? QByteArray("\n") : Chance(0.9) ? QByteArray("\r\n") : QByteArray("\r");
    }
  }
  QFile out(file.path);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
    ADD_FAILURE() << "cannot write " << file.path.toStdString();
  }
  return file;
}

// Drops the files on a box of the group's column or on the column's area of the grid's panel.
void MonkeyTest::DropFiles(Group g, const QStringList& paths) {
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
std::string MonkeyTest::ImportEvent(bool drop) {
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
    if ((kind != 0 || drop) && told.size() != toldBefore + 1) Fail("a refused import said nothing");
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
QString MonkeyTest::RandomClipboard(std::string* kind) {
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

std::vector<std::string> MonkeyTest::Entries(Group g) const {
  std::vector<std::string> entries;
  for (std::size_t row = 0; row < grid->Lists().Size(g); ++row) {
    entries.push_back(grid->Lists().Text(g, row));
  }
  return entries;
}

// A paste by the keys or a dropped text; now and then Ctrl+Z at once, which must give back the
// groups or the cells as they were.
std::string MonkeyTest::PasteEvent() {
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
  // A refused paste changes nothing: right after a switch, Ctrl+Z then brings the analysis back.
  if (!gridPaste && !cellPaste) ResyncSummaries();
  return what;
}

std::string MonkeyTest::ExportEvent() {
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

// The whole analysis saved and opened again at a random moment: it must come back as it was.
std::string MonkeyTest::KeepEvent() {
  quillon::ui::AnalysisKeeper* keeper = window->Keeper();
  quillon::ui::AnalysisKeeper::Dialogs dialogs;
  dialogs.tell = [this](QWidget*, const QString& message) {
    Fail("the analysis file was refused: " + message.toStdString());
  };
  keeper->SetDialogs(dialogs);
  const quillon::AnalysisState before = keeper->Capture();
  const QString path = folder.Path(QStringLiteral("analysis%1.quillon").arg(Uniform(1, 3)));
  if (const auto refused = quillon::ui::AnalysisKeeper::WriteStateFile(path, before)) {
    Fail("the analysis could not be saved: " + refused->toStdString());
  } else if (keeper->Open(path) && !(keeper->Capture() == before)) {
    Fail("the analysis opened again is not the one saved");
  }
  ResyncSummaries();
  return "save and open " + QFileInfo(path).fileName().toStdString();
}

}  // namespace monkey
