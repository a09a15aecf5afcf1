#include "app/widgets/accessible_names.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextDocument>
#include <QtGlobal>
#include <utility>
#include <vector>

#include "app/widgets/form_layout.h"

namespace quillon::ui {

namespace {

QString PlainText(const QLabel* label) {
  if (label->textFormat() == Qt::RichText ||
      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
    QTextDocument document;
    document.setHtml(label->text());
    return document.toPlainText();
  }
  return label->text();
}

// A label as Qt reads it, except that a label named for a screen reader reads its text, asked
// for at the time, as its value and description; an empty result reads "空".
class LabelReading : public QAccessibleWidget {
 public:
  explicit LabelReading(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    const auto* label = static_cast<const QLabel*>(widget());
    const bool named = !label->accessibleName().isEmpty();
    switch (kind) {
      case QAccessible::Name:
        return named ? label->accessibleName() : PlainText(label);
      case QAccessible::Value:
        return named ? PlainText(label) : QString();
      case QAccessible::Description:
        if (named && label->accessibleDescription().isEmpty()) {
          const QString shown = PlainText(label);
          return shown.isEmpty() ? QStringLiteral("空") : shown;
        }
        return QAccessibleWidget::text(kind);
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  // A label with a buddy names it.
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    auto found = QAccessibleWidget::relations(match);
    const auto* label = static_cast<const QLabel*>(widget());
    if ((match & QAccessible::Labelled) && label->buddy() != nullptr) {
      found.append({QAccessible::queryAccessibleInterface(label->buddy()), QAccessible::Labelled});
    }
    return found;
  }
};

QAccessibleInterface* LabelReadings(const QString& className, QObject* object) {
  // The banner is drawn, and Space or Enter opens its page: a button to a screen reader.
  if (className == QLatin1String("quillon::ui::BannerStrip")) {
    return new QAccessibleWidget(qobject_cast<QWidget*>(object), QAccessible::Button);
  }
  if (className != QLatin1String("QLabel")) return nullptr;
  auto* label = qobject_cast<QLabel*>(object);
  return label != nullptr ? new LabelReading(label) : nullptr;
}

QString Utf8(const char* text) { return text != nullptr ? QString::fromUtf8(text) : QString(); }

// clang-format off
constexpr AccessibleName MainWindowNames[] = {
    // The top strip and the choice of analysis.
    {"Frame1", "工具栏与横幅"},
    {"Toolbar1", "工具栏"},
    {"tbImport", "导入", Spoken::Name, "按空格键或下箭头选择导入第一组或第二组数据"},
    {"tbExport", "导出", Spoken::Name, "按空格键或下箭头选择导出第一组或第二组数据"},
    {"Picture3", "横幅", Spoken::Name},
    {"Frame2", "统计方法"},
    {"Frame3", "当前统计方法"},
    // The data.
    {"Picture2", "数据表格"},
    {"VS1", "数据行滚动条"},
    {"Picture8", "四格表"},
    {"Label18(0)", "第一列合计", Spoken::NameAndResult},
    {"Label18(1)", "第二列合计", Spoken::NameAndResult},
    {"Label18(2)", "第一行合计", Spoken::NameAndResult},
    {"Label18(3)", "第二行合计", Spoken::NameAndResult},
    {"Label18(4)", "总合计", Spoken::NameAndResult},
    // Two-sample t test: the summary boxes, then the results.
    {"Picture4", "两样本均数T检验结果"},
    {"Text4(0)", "第一组均数(X1)"},
    {"Text4(1)", "第一组标准差(S1)"},
    {"Text4(2)", "第一组例数(N1)"},
    {"Text4(3)", "第二组均数(X2)"},
    {"Text4(4)", "第二组标准差(S2)"},
    {"Text4(5)", "第二组例数(N2)"},
    {"Label5(3)", "t界值（0.05）", Spoken::NameAndResult},
    {"Label5(4)", "t界值（0.01）", Spoken::NameAndResult},
    {"Label5(5)", "t界值（0.001）", Spoken::NameAndResult},
    {"Label5(6)", "t值与P值判断", Spoken::NameAndResult},
    // Paired t test.
    {"Picture6", "配对资料T检验结果"},
    {"Label13(5)", "对子数(N)", Spoken::NameAndResult},
    {"Label13(4)", "对子差值均数(d)", Spoken::NameAndResult},
    {"Label13(3)", "对子差值均数标准差(Sd)", Spoken::NameAndResult},
    {"Label5(10)", "t界值（0.05）", Spoken::NameAndResult},
    {"Label5(9)", "t界值（0.01）", Spoken::NameAndResult},
    {"Label5(8)", "t界值（0.001）", Spoken::NameAndResult},
    {"Label5(7)", "t值与P值判断", Spoken::NameAndResult},
    // Correlation and regression.
    {"Picture7", "直线相关与回归结果"},
    {"Label13(6)", "例数(N)", Spoken::NameAndResult},
    {"Label13(7)", "相关系数r", Spoken::NameAndResult},
    {"Label13(12)", "t值（r的t检验）", Spoken::NameAndResult},
    {"Label5(13)", "t界值（0.05）", Spoken::NameAndResult},
    {"Label5(14)", "t界值（0.01）", Spoken::NameAndResult},
    {"Label5(15)", "t界值（0.001）", Spoken::NameAndResult},
    {"Label5(16)", "P值判断", Spoken::NameAndResult},
    {"Label5(17)", "回归方程", Spoken::NameAndResult},
    // Four-fold chi-square test.
    {"Picture9", "计数资料卡方检验结果"},
    {"Label20(1)", "a的理论数(T)", Spoken::NameAndResult},
    {"Label20(2)", "b的理论数(T)", Spoken::NameAndResult},
    {"Label20(3)", "c的理论数(T)", Spoken::NameAndResult},
    {"Label20(4)", "d的理论数(T)", Spoken::NameAndResult},
    {"Label20(5)", "例数(n)", Spoken::NameAndResult},
    {"Label5(20)", "卡方界值（0.05）", Spoken::NameAndResult},
    {"Label5(19)", "卡方界值（0.01）", Spoken::NameAndResult},
    {"Label20(6)", "卡方值", Spoken::NameAndResult},
    {"Label5(21)", "P值判断", Spoken::NameAndResult},
    // Paired chi-square test.
    {"Picture11", "配对资料卡方检验结果"},
    {"Label20(8)", "例数(n)", Spoken::NameAndResult},
    {"Label5(24)", "卡方界值（0.05）", Spoken::NameAndResult},
    {"Label5(25)", "卡方界值（0.01）", Spoken::NameAndResult},
    {"Label20(7)", "卡方值", Spoken::NameAndResult},
    {"Label5(23)", "P值判断", Spoken::NameAndResult},
    // The calculator; the digit keys read their captions.
    {"Text5", "计算器显示"},
    {"Picture1", "计算器指示框"},
    {"Command22", "清除输入(CE)"},
    {"Command21", "全部清除(C)"},
    {"Command2(10)", "小数点"},
    {"Command4", "等于"},
    {"Command5", "除以"},
    {"Command6", "乘以"},
    {"Command7", "加"},
    {"Command8", "减"},
};

constexpr AccessibleName ReportWindowNames[] = {
    {"ReportText", "报告正文"},
    {"cmbReportStyle", "报告格式"},
    {"cmbPositiveMeans", "四格表中（+）代表的结局"},
    {"picScatter", "散点图"},
    {"picResiduals", "残差图"},
    {"picAgreement", "一致性图"},
    {"picEstimation", "两组数据图"},
    {"picBoxPlot", "箱线图"},
    {"picPairedLines", "配对连线图"},
    {"cmbPairedMeaning", "配对的含义"},
    {"cmdCopyWholeReport", "复制完整报告"},
};
// clang-format on

// The grid's entry boxes, each with its name, "%1" standing for the row: the first group's column
// from the top, then the second's.
using GridBoxes = std::vector<std::pair<QLineEdit*, QString>>;

GridBoxes FindGridBoxes(QWidget* window) {
  GridBoxes boxes;
  for (const auto& [array, name] : {std::pair{"Text1", QStringLiteral("第一组 第%1行")},
                                    std::pair{"Text2", QStringLiteral("第二组 第%1行")}}) {
    for (int box = 0;; ++box) {
      auto* edit = window->findChild<QLineEdit*>(IndexedName(QString::fromLatin1(array), box));
      if (edit == nullptr) break;
      boxes.emplace_back(edit, name);
    }
  }
  return boxes;
}

void NameGridRows(const GridBoxes& boxes, int rowOffset) {
  const std::size_t rows = boxes.size() / 2;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    boxes[i].first->setAccessibleName(
        boxes[i].second.arg(rowOffset + static_cast<int>(i % rows) + 1));
  }
}

QString Caption(QWidget* window, int index) {
  const auto* label = window->findChild<QLabel*>(IndexedName(QStringLiteral("Label17"), index));
  if (label == nullptr) return {};
  return label->text().simplified().remove(QLatin1Char(' '));
}

}  // namespace

void InstallLabelReadings() {
  static const bool installed = [] {
    QAccessible::installFactory(&LabelReadings);
    return true;
  }();
  Q_UNUSED(installed);
}

void ApplyAccessibleNames(QWidget* window, std::span<const AccessibleName> names) {
  for (const AccessibleName& entry : names) {
    auto* control = window->findChild<QWidget*>(QString::fromLatin1(entry.control));
    if (control == nullptr) continue;
    control->setAccessibleName(Utf8(entry.name));
    if (entry.description != nullptr) control->setAccessibleDescription(Utf8(entry.description));
    if (entry.spoken == Spoken::NameAndResult) control->setFocusPolicy(Qt::TabFocus);
  }
}

void FollowResultTexts(QWidget* window) {
  for (const AccessibleName& entry : MainWindowNames) {
    if (entry.spoken != Spoken::NameAndResult) continue;
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(entry.control));
    if (label != nullptr) {
      label->setFocusPolicy(label->text().isEmpty() ? Qt::NoFocus : Qt::TabFocus);
    }
  }
}

void NameMainWindow(QWidget* window) {
  ApplyAccessibleNames(window, MainWindowNames);
  if (auto* bar = window->findChild<QMenuBar*>()) bar->setAccessibleName(QStringLiteral("菜单栏"));
  // The row numbers read as their value; their name stays.
  for (int box = 0;; ++box) {
    auto* number = window->findChild<QLineEdit*>(IndexedName(QStringLiteral("Text3"), box));
    if (number == nullptr) break;
    number->setAccessibleName(QStringLiteral("序号"));
  }
  if (auto* scroll = window->findChild<QScrollBar*>(QStringLiteral("VS1"))) {
    // Found once: a scroll step renames them.
    GridBoxes boxes = FindGridBoxes(window);
    NameGridRows(boxes, scroll->value());
    QObject::connect(scroll, &QScrollBar::valueChanged, window,
                     [boxes = std::move(boxes)](int offset) { NameGridRows(boxes, offset); });
  }
  NameFourfoldCells(window);
}

void NameFourfoldCells(QWidget* window) {
  const QString rowHeading = Caption(window, 0);
  const QString columnHeading = Caption(window, 1);
  // One label holds both columns' captions: "（+）           （-）".
  const auto* columnCaptions =
      window->findChild<QLabel*>(IndexedName(QStringLiteral("Label17"), 2));
  if (columnCaptions == nullptr) return;
  const QStringList columns = columnCaptions->text().simplified().split(QLatin1Char(' '));
  const QString rows[] = {Caption(window, 3), Caption(window, 4)};
  const QString ordinals[] = {QStringLiteral("一"), QStringLiteral("二")};
  for (int cell = 0; cell < 4; ++cell) {
    auto* box = window->findChild<QLineEdit*>(IndexedName(QStringLiteral("Text11"), cell));
    if (box == nullptr) continue;
    const int row = cell / 2;
    const int column = cell % 2;
    box->setAccessibleName(QStringLiteral("%1：第%2行第%3列（%4：%5；%6：%7）")
                               .arg(QChar(u'a' + cell))
                               .arg(ordinals[row], ordinals[column], rowHeading, rows[row],
                                    columnHeading, columns.value(column)));
  }
}

void NameReportWindow(QWidget* window) { ApplyAccessibleNames(window, ReportWindowNames); }

}  // namespace quillon::ui
