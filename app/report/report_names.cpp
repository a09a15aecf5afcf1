#include "app/report/report_names.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/widgets/utf8.h"

namespace quillon::ui {

namespace {

struct BoxSpec {
  const char* name;
  const char* label;
  const char* tip;
};

// The longest name kept, as in the analysis file.
constexpr int kLongestName = 40;

constexpr std::array<BoxSpec, 12> kBoxes = {{
    {"ReportGroup1Name", "第1组：", "第1组的名称，如“试验组”"},
    {"ReportGroup2Name", "第2组：", "第2组的名称，如“对照组”"},
    {"ReportBeforeName", "第1列：", "第1列（X）的名称，如“治疗前”"},
    {"ReportAfterName", "第2列：", "第2列（Y）的名称，如“治疗后”"},
    {"ReportXName", "X：", "X变量的名称，如“年龄”"},
    {"ReportXUnit", "单位：", "X的单位，如“岁”"},
    {"ReportYName", "Y：", "Y变量的名称，如“收缩压”"},
    {"ReportYUnit", "单位：", "Y的单位，如“mmHg”"},
    {"ReportOutcomeName", "指标：", "结局指标的名称，如“收缩压”"},
    {"ReportOutcomeUnit", "单位：", "结局指标的单位，如“mmHg”"},
    {"ReportPositiveName", "（+）：", "（+）结果的名称，如“有效”"},
    {"ReportNegativeName", "（-）：", "（-）结果的名称，如“无效”"},
}};

}  // namespace

ReportNamesRow::ReportNamesRow(QWidget* parent) : QWidget(parent) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(4);
  for (std::size_t k = 0; k < kBoxes.size(); ++k) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(kBoxes[k].name));
    box->setMaxLength(kLongestName);
    box->setToolTip(FromUtf8(kBoxes[k].tip));
    box->setAccessibleName(FromUtf8(kBoxes[k].tip).section(QStringLiteral("，"), 0, 0));
    box->setMinimumWidth(60);
    auto* label = new QLabel(FromUtf8(kBoxes[k].label), this);
    label->setBuddy(box);
    boxes_[k] = box;
    labels_[k] = label;
    connect(box, &QLineEdit::textEdited, this, &ReportNamesRow::Read);
  }
  meaning_ = new QComboBox(this);
  meaning_->setObjectName(QStringLiteral("cmbPairedMeaning"));
  meaning_->setToolTip(
      QStringLiteral("配对的两列是同一对象处理前后的测量，还是两种方法对同一对象的测量"));
  meaning_->addItem(QStringLiteral("同一对象处理前后"),
                    static_cast<int>(PairedMeaning::BeforeAfter));
  meaning_->addItem(QStringLiteral("两种方法测量同一对象"),
                    static_cast<int>(PairedMeaning::TwoMethods));
  meaningLabel_ = new QLabel(QStringLiteral("配对的含义："), this);
  meaningLabel_->setBuddy(meaning_);
  connect(meaning_, &QComboBox::activated, this, &ReportNamesRow::Read);
  Show(analysis_, names_);
}

std::vector<QWidget*> ReportNamesRow::TabOrder() const {
  std::vector<QWidget*> order{meaning_};
  for (QLineEdit* box : boxes_) order.push_back(box);
  return order;
}

void ReportNamesRow::Show(AnalysisMode analysis, const ReportNames& names) {
  analysis_ = analysis;
  names_ = names;
  // Which boxes the analysis has, and what each shows: its name, or its default in grey.
  struct Shown {
    Box box;
    const std::string* name;
    const char* fallback;
    const char* label;
  };
  std::vector<Shown> shown;
  const bool twoMethods = names.meaning == PairedMeaning::TwoMethods;
  switch (analysis) {
    case AnalysisMode::TwoSampleMeans:
      shown = {{Group1, &names.first, kFirstGroup, "第1组："},
               {Group2, &names.second, kSecondGroup, "第2组："},
               {Outcome, &names.outcome, "", nullptr},
               {Unit, &names.unit, "", nullptr}};
      break;
    case AnalysisMode::PairedMeans:
      shown = {
          {Before, &names.first, twoMethods ? kX : kBefore, twoMethods ? "方法1：" : "处理前："},
          {After, &names.second, twoMethods ? kY : kAfter, twoMethods ? "方法2：" : "处理后："},
          {Outcome, &names.outcome, "", nullptr},
          {Unit, &names.unit, "", nullptr}};
      break;
    case AnalysisMode::CorrelationRegression:
      shown = {{X, &names.first, kX, nullptr},
               {XUnit, &names.firstUnit, "", nullptr},
               {Y, &names.second, kY, nullptr},
               {YUnit, &names.secondUnit, "", nullptr}};
      break;
    case AnalysisMode::FourfoldChiSquare:
      shown = {{Group1, &names.first, kTreated, "第1行："},
               {Group2, &names.second, kControl, "第2行："},
               {Outcome, &names.outcome, "", nullptr},
               {Positive, &names.positive, kPositive, nullptr},
               {Negative, &names.negative, kNegative, nullptr}};
      break;
    case AnalysisMode::PairedChiSquare:
      shown = {{Group1, &names.first, kLater, "行："},
               {Group2, &names.second, kEarlier, "列："},
               {Outcome, &names.outcome, "", nullptr},
               {Positive, &names.positive, kPositive, nullptr},
               {Negative, &names.negative, kNegative, nullptr}};
      break;
  }
  auto* grid = static_cast<QGridLayout*>(layout());
  for (std::size_t k = 0; k < boxes_.size(); ++k) {
    grid->removeWidget(labels_[k]);
    grid->removeWidget(boxes_[k]);
    labels_[k]->hide();
    boxes_[k]->hide();
  }
  grid->removeWidget(meaningLabel_);
  grid->removeWidget(meaning_);
  // Two lines, so that the window stays narrow: the two groups (after what pairs mean), then
  // the outcome and the results.
  if (analysis == AnalysisMode::PairedMeans) {
    grid->addWidget(meaningLabel_, 0, 0);
    grid->addWidget(meaning_, 0, 1, 1, 3);
    meaning_->setCurrentIndex(meaning_->findData(static_cast<int>(names.meaning)));
  }
  const int firstLine = analysis == AnalysisMode::PairedMeans ? 1 : 0;
  int placed = 0;
  meaningLabel_->setVisible(analysis == AnalysisMode::PairedMeans);
  meaning_->setVisible(analysis == AnalysisMode::PairedMeans);
  for (const Shown& item : shown) {
    QLineEdit* box = boxes_[item.box];
    QLabel* label = labels_[item.box];
    if (item.label != nullptr) label->setText(FromUtf8(item.label));
    const QString text = FromUtf8(*item.name);
    if (box->text() != text) box->setText(text);
    box->setPlaceholderText(FromUtf8(item.fallback));
    const int line = firstLine + (placed < 2 ? 0 : 1);
    const int column = 2 * (placed < 2 ? placed : (placed - 2) % 3);
    ++placed;
    grid->addWidget(label, line, column);
    grid->addWidget(box, line, column + 1);
    label->show();
    box->show();
  }
  grid->setColumnStretch(6, 1);
}

void ReportNamesRow::Read() {
  auto text = [this](Box box) { return ToUtf8(boxes_[box]->text()); };
  ReportNames names = names_;
  switch (analysis_) {
    case AnalysisMode::TwoSampleMeans:
    case AnalysisMode::FourfoldChiSquare:
    case AnalysisMode::PairedChiSquare:
      names.first = text(Group1);
      names.second = text(Group2);
      break;
    case AnalysisMode::PairedMeans:
      names.first = text(Before);
      names.second = text(After);
      names.meaning = static_cast<PairedMeaning>(meaning_->currentData().toInt());
      break;
    case AnalysisMode::CorrelationRegression:
      names.first = text(X);
      names.firstUnit = text(XUnit);
      names.second = text(Y);
      names.secondUnit = text(YUnit);
      break;
  }
  if (analysis_ != AnalysisMode::CorrelationRegression) names.outcome = text(Outcome);
  if (analysis_ == AnalysisMode::TwoSampleMeans || analysis_ == AnalysisMode::PairedMeans) {
    names.unit = text(Unit);
  }
  if (analysis_ == AnalysisMode::FourfoldChiSquare || analysis_ == AnalysisMode::PairedChiSquare) {
    names.positive = text(Positive);
    names.negative = text(Negative);
  }
  const bool relabel = names.meaning != names_.meaning;
  names_ = names;
  if (relabel) Show(analysis_, names_);
  emit Edited(names_);
}

}  // namespace quillon::ui
