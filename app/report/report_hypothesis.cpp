#include "app/report/report_hypothesis.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/report/report_feed.h"
#include "app/widgets/utf8.h"

namespace quillon::ui {

namespace {

constexpr int kLongestNumber = 20;

QString WhyDifferenceAlone(AnalysisMode analysis) {
  return analysis == AnalysisMode::CorrelationRegression
             ? QStringLiteral("相关与回归分析没有界值，只做差异性检验")
             : QStringLiteral("配对四格表（McNemar）的报告只做差异性检验");
}

}  // namespace

ReportHypothesisRow::ReportHypothesisRow(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  hypothesis_ = new QComboBox(this);
  hypothesis_->setObjectName(QStringLiteral("cmbReportHypothesis"));
  hypothesis_->setAccessibleName(QStringLiteral("假设"));
  auto* hypothesisLabel = new QLabel(QStringLiteral("假设："), this);
  hypothesisLabel->setBuddy(hypothesis_);
  margin_ = new QLineEdit(this);
  margin_->setObjectName(QStringLiteral("ReportMargin"));
  margin_->setMaxLength(kLongestNumber);
  margin_->setAccessibleName(QStringLiteral("界值Δ"));
  margin_->setToolTip(QStringLiteral("界值Δ，正数，与差值同一尺度：均数差的单位，或率差（如0.1）"));
  margin_->setMaximumWidth(90);
  marginLabel_ = new QLabel(QStringLiteral("界值Δ："), this);
  marginLabel_->setBuddy(margin_);
  better_ = new QComboBox(this);
  better_->setObjectName(QStringLiteral("cmbReportBetter"));
  better_->setAccessibleName(QStringLiteral("高值为优或低值为优"));
  better_->setToolTip(QStringLiteral("结局指标的高值为优还是低值为优"));
  for (const Better better : kBetters) {
    better_->addItem(FromUtf8(BetterName(better)), static_cast<int>(better));
  }
  alpha_ = new QLineEdit(this);
  alpha_->setObjectName(QStringLiteral("ReportAlpha"));
  alpha_->setMaxLength(kLongestNumber);
  alpha_->setMaximumWidth(70);
  alphaLabel_ = new QLabel(this);
  alphaLabel_->setBuddy(alpha_);
  row->addWidget(hypothesisLabel);
  row->addWidget(hypothesis_);
  row->addWidget(marginLabel_);
  row->addWidget(margin_);
  row->addWidget(better_);
  row->addWidget(alphaLabel_);
  row->addWidget(alpha_);
  row->addStretch();
  connect(hypothesis_, &QComboBox::activated, this, &ReportHypothesisRow::Read);
  connect(better_, &QComboBox::activated, this, &ReportHypothesisRow::Read);
  connect(margin_, &QLineEdit::textEdited, this, &ReportHypothesisRow::Read);
  connect(alpha_, &QLineEdit::textEdited, this, &ReportHypothesisRow::Read);
  Show(analysis_, setting_);
}

std::vector<QWidget*> ReportHypothesisRow::TabOrder() const {
  return {hypothesis_, margin_, better_, alpha_};
}

void ReportHypothesisRow::Show(AnalysisMode analysis, const MarginSetting& setting) {
  analysis_ = analysis;
  setting_ = setting;
  hypothesis_->clear();
  if (ReportFeed::MarginApplies(analysis)) {
    for (const Hypothesis hypothesis : kHypotheses) {
      hypothesis_->addItem(FromUtf8(HypothesisName(hypothesis)), static_cast<int>(hypothesis));
    }
    hypothesis_->setToolTip(QStringLiteral("差异性检验、非劣效、优效或等效"));
  } else {
    setting_.hypothesis = Hypothesis::Difference;
    hypothesis_->addItem(FromUtf8(HypothesisName(Hypothesis::Difference)),
                         static_cast<int>(Hypothesis::Difference));
    hypothesis_->setToolTip(WhyDifferenceAlone(analysis));
  }
  hypothesis_->setCurrentIndex(hypothesis_->findData(static_cast<int>(setting_.hypothesis)));
  better_->setCurrentIndex(better_->findData(static_cast<int>(setting_.better)));
  const QString margin = FromUtf8(setting_.margin);
  if (margin_->text() != margin) margin_->setText(margin);
  const QString alpha = FromUtf8(setting_.alpha);
  if (alpha_->text() != alpha) alpha_->setText(alpha);
  ShowParts();
}

void ReportHypothesisRow::ShowParts() {
  const Hypothesis hypothesis = setting_.hypothesis;
  const bool margin = HasMargin(hypothesis);
  marginLabel_->setVisible(margin);
  margin_->setVisible(margin);
  better_->setVisible(HasDirection(hypothesis));
  alphaLabel_->setVisible(margin);
  alpha_->setVisible(margin);
  // An empty α box shows its default in grey, and the report uses it.
  const QString label = FromUtf8(AlphaLabel(hypothesis));
  alphaLabel_->setText(label + QStringLiteral("："));
  alpha_->setAccessibleName(label);
  alpha_->setToolTip(hypothesis == Hypothesis::Equivalence
                         ? QStringLiteral("两个单侧检验每侧的检验水准α")
                         : QStringLiteral("单侧检验的检验水准α"));
  alpha_->setPlaceholderText(FromUtf8(DefaultAlphaText(hypothesis)));
}

void ReportHypothesisRow::Read() {
  MarginSetting setting = setting_;
  setting.hypothesis = static_cast<Hypothesis>(hypothesis_->currentData().toInt());
  setting.better = static_cast<Better>(better_->currentData().toInt());
  setting.margin = ToUtf8(margin_->text().trimmed());
  setting.alpha = ToUtf8(alpha_->text().trimmed());
  const bool reshow = setting.hypothesis != setting_.hypothesis;
  setting_ = setting;
  if (reshow) ShowParts();
  emit Edited(setting_);
}

}  // namespace quillon::ui
