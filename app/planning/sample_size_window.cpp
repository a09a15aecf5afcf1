#include "app/planning/sample_size_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis_file/analysis_file.h"
#include "app/application.h"
#include "app/report/picture_view.h"
#include "app/report/report_feed.h"
#include "app/widgets/text_boxes.h"
#include "app/widgets/utf8.h"
#include "plots/power_curve.h"
#include "rscript/power_script.h"

namespace quillon::ui {

namespace {

constexpr PowerDesign kTwoSample = PowerDesign::TwoSample;
constexpr PowerDesign kPaired = PowerDesign::Paired;
constexpr PowerDesign kCorrelation = PowerDesign::Correlation;
constexpr PowerDesign kProportions = PowerDesign::TwoProportions;
constexpr PowerDesign kMcNemar = PowerDesign::McNemar;

// What n counts in a design, as the box's label and its accessible name.
std::pair<QString, QString> NNames(PowerDesign design) {
  switch (design) {
    case PowerDesign::Paired:
    case PowerDesign::McNemar:
      return {QStringLiteral("对子数 n"), QStringLiteral("计划的对子数 n")};
    case PowerDesign::Correlation:
      return {QStringLiteral("例数 n"), QStringLiteral("计划的例数 n")};
    default:
      return {QStringLiteral("第1组例数 n1"),
              QStringLiteral("计划的第1组例数 n1（比例为1时即每组例数）")};
  }
}

}  // namespace

SampleSizeWindow::SampleSizeWindow(AnalysisMode design, ReportFeed* styles, PilotReader pilot)
    : QWidget(nullptr, Qt::Window), styles_(styles), pilot_(std::move(pilot)) {
  setObjectName(QStringLiteral("SampleSizeWindow"));
  setWindowTitle(QStringLiteral("样本量估计"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(860, 660);

  design_ = new QComboBox(this);
  design_->setObjectName(QStringLiteral("ssDesign"));
  design_->setAccessibleName(QStringLiteral("研究设计"));
  for (const QString& caption : AnalysisCaptions()) design_->addItem(caption);
  design_->setCurrentIndex(static_cast<int>(design));
  solve_ = new QComboBox(this);
  solve_->setObjectName(QStringLiteral("ssSolve"));
  solve_->setAccessibleName(QStringLiteral("求解内容：样本量或检验效能"));
  for (const SolveFor solve : {SolveFor::SampleSize, SolveFor::Power}) {
    solve_->addItem(FromUtf8(SolveForName(solve)), static_cast<int>(solve));
  }

  hypothesis_ = new QComboBox(this);
  hypothesis_->setObjectName(QStringLiteral("ssHypothesis"));
  hypothesis_->setAccessibleName(QStringLiteral("研究假设：差异性、非劣效、优效或等效"));
  better_ = new QComboBox(this);
  better_->setObjectName(QStringLiteral("ssBetter"));
  better_->setAccessibleName(QStringLiteral("疗效方向：高值为优或低值为优"));
  better_->setToolTip(QStringLiteral("结局指标的值越高越好，还是越低越好"));
  for (const Better better : kBetters) {
    better_->addItem(FromUtf8(BetterName(better)), static_cast<int>(better));
  }

  form_ = new QFormLayout;
  form_->addRow(QStringLiteral("设计："), design_);
  form_->addRow(QStringLiteral("计算："), solve_);
  auto* hypothesisLabel = new QLabel(QStringLiteral("假设："), this);
  hypothesisLabel->setBuddy(hypothesis_);
  form_->addRow(hypothesisLabel, hypothesis_);
  auto* betterLabel = new QLabel(QStringLiteral("方向："), this);
  betterLabel->setBuddy(better_);
  form_->addRow(betterLabel, better_);
  const std::vector<PowerDesign> groups = {kTwoSample, kProportions};
  margin_ =
      AddBox("ssMargin", QStringLiteral("界值Δ"), QStringLiteral("界值Δ：均数的单位或率差，大于0"),
             QString(), {kTwoSample, kPaired, kProportions});
  margin_->setToolTip(
      QStringLiteral("非劣效、优效或等效的界值，与差值同一尺度：均数的单位，或两组率之差"));
  alpha_ = AddBox("ssAlpha", QStringLiteral("双侧α"), QStringLiteral("双侧检验水准α"),
                  QStringLiteral("0.05"), {});
  alphaLabel_ = qobject_cast<QLabel*>(form_->labelForField(alpha_));
  power_ = AddBox("ssPower", QStringLiteral("检验效能 1−β"), QStringLiteral("要求的检验效能1−β"),
                  QStringLiteral("0.80"), {});
  n_ = AddBox("ssN", NNames(kTwoSample).first, NNames(kTwoSample).second, QString(), {});
  nLabel_ = qobject_cast<QLabel*>(form_->labelForField(n_));
  mean1_ = AddBox("ssMean1", QStringLiteral("均数1"), QStringLiteral("第1组总体均数的估计"),
                  QString(), {kTwoSample});
  mean2_ = AddBox("ssMean2", QStringLiteral("均数2"), QStringLiteral("第2组总体均数的估计"),
                  QString(), {kTwoSample});
  sd_ = AddBox("ssSD", QStringLiteral("共同标准差"), QStringLiteral("两组共同的总体标准差"),
               QString(), {kTwoSample});
  meanDiff_ = AddBox("ssMeanDiff", QStringLiteral("差值的均数"),
                     QStringLiteral("配对差值的总体均数"), QString(), {kPaired});
  sdDiff_ = AddBox("ssSDDiff", QStringLiteral("差值的标准差"),
                   QStringLiteral("配对差值的总体标准差"), QString(), {kPaired});
  r_ = AddBox("ssR", QStringLiteral("总体相关系数 ρ"), QStringLiteral("预期的总体相关系数ρ"),
              QString(), {kCorrelation});
  p1_ = AddBox("ssP1", QStringLiteral("第1组率 p1"), QStringLiteral("第1组的预期率p1"), QString(),
               {kProportions});
  p2_ = AddBox("ssP2", QStringLiteral("第2组率 p2"), QStringLiteral("第2组的预期率p2"), QString(),
               {kProportions});
  p10_ = AddBox("ssP10", QStringLiteral("不一致比例 p10"),
                QStringLiteral("甲阳性乙阴性的对子所占比例p10"), QString(), {kMcNemar});
  p01_ = AddBox("ssP01", QStringLiteral("不一致比例 p01"),
                QStringLiteral("甲阴性乙阳性的对子所占比例p01"), QString(), {kMcNemar});
  ratio_ = AddBox("ssRatio", QStringLiteral("样本量之比 n2/n1"),
                  QStringLiteral("第2组与第1组的样本量之比n2/n1"), QStringLiteral("1"), groups);
  dropout_ = AddBox("ssDropout", QStringLiteral("预计脱落率 %"),
                    QStringLiteral("预计脱落率（百分数）"), QStringLiteral("0"), {});

  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("SampleSizeText"));
  text_->setAccessibleName(QStringLiteral("样本量估计的结果与方案句子"));
  text_->setReadOnly(true);
  text_->setUndoRedoEnabled(false);
  auto curve = std::make_unique<plots::PowerCurvePlot>();
  curve_ = curve.get();
  curveView_ = new PictureView(std::move(curve), this);
  curveView_->setAccessibleName(QStringLiteral("检验效能曲线：检验效能随样本量的变化"));

  style_ = new QComboBox(this);
  style_->setObjectName(QStringLiteral("ssStyle"));
  style_->setAccessibleName(QStringLiteral("方案句子的期刊格式"));
  style_->setToolTip(QStringLiteral("方案句子的写法"));
  for (const PStyle style : kPStyles) {
    style_->addItem(FromUtf8(PStyleName(style)), static_cast<int>(style));
  }
  auto* styleLabel = new QLabel(QStringLiteral("格式："), this);
  styleLabel->setBuddy(style_);
  auto* copyButton = new QPushButton(QStringLiteral("复制"), this);
  copyButton->setObjectName(QStringLiteral("ssCopy"));
  copyButton->setAccessibleName(QStringLiteral("复制结果与方案句子"));
  auto* copyRButton = new QPushButton(QStringLiteral("复制R代码"), this);
  copyRButton->setObjectName(QStringLiteral("ssCopyRCode"));
  copyRButton->setAccessibleName(QStringLiteral("复制重算样本量与检验效能的R脚本"));
  auto* saveButton = new QPushButton(QStringLiteral("保存图片"), this);
  saveButton->setObjectName(QStringLiteral("ssSavePicture"));
  saveButton->setAccessibleName(QStringLiteral("保存检验效能曲线图片"));

  auto* pilotButton = new QPushButton(QStringLiteral("用当前数据作预试验估计"), this);
  pilotButton->setObjectName(QStringLiteral("ssPilot"));
  pilotButton->setAccessibleName(
      QStringLiteral("用主窗口当前数据作预试验估计，填入本设计的输入框"));
  pilotButton->setToolTip(
      QStringLiteral("把主窗口当前数据的均数、标准差、相关系数或率作为预试验的估计值填入"));
  pilotButton->setEnabled(static_cast<bool>(pilot_));
  pilotNote_ = new QLabel(this);
  pilotNote_->setObjectName(QStringLiteral("ssPilotNote"));
  pilotNote_->setWordWrap(true);

  auto* names = new QGroupBox(QStringLiteral("方案句子"), this);
  names->setObjectName(QStringLiteral("ssNames"));
  namesForm_ = new QFormLayout(names);
  outcome_ =
      AddName("ssOutcome", QStringLiteral("主要结局指标"),
              QStringLiteral("方案句子中的主要结局指标"), QStringLiteral("治疗12周后的收缩压"),
              QStringLiteral("方案句子所写的主要结局指标；只改变句子，不改变样本量"));
  unit_ = AddName("ssUnit", QStringLiteral("单位"), QStringLiteral("主要结局指标的单位"),
                  QStringLiteral("mmHg"),
                  QStringLiteral("写在均数、差值和标准差之后；率和相关系数不带单位"));
  group1_ = AddName("ssGroup1", QStringLiteral("第1组名称"), QStringLiteral("第1组的名称"),
                    QStringLiteral("试验组"), QStringLiteral("方案句子中第1组的名称"));
  group2_ = AddName("ssGroup2", QStringLiteral("第2组名称"), QStringLiteral("第2组的名称"),
                    QStringLiteral("对照组"), QStringLiteral("方案句子中第2组的名称"));
  source_ = AddName(
      "ssSource", QStringLiteral("估计值来源"), QStringLiteral("均数、标准差、率等估计值的来源"),
      QStringLiteral("文献[12]、预试验"), QStringLiteral("估计值出自何处，如“文献[12]”或“预试验”"));

  // Room for a long outcome; the fields of both forms fill the column, so that their right edges
  // line up.
  outcome_->setMinimumWidth(
      outcome_->fontMetrics().horizontalAdvance(QStringLiteral("如：治疗12周后的收缩压（mmHg）")));
  form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  namesForm_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

  auto* inputs = new QVBoxLayout;
  inputs->addLayout(form_);
  inputs->addWidget(pilotButton);
  inputs->addWidget(pilotNote_);
  inputs->addWidget(names);
  inputs->addStretch();
  auto* outputs = new QVBoxLayout;
  outputs->addWidget(text_, 1);
  outputs->addWidget(curveView_, 1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(inputs);
  columns->addLayout(outputs, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(styleLabel);
  buttons->addWidget(style_);
  buttons->addStretch();
  buttons->addWidget(copyButton);
  buttons->addWidget(copyRButton);
  buttons->addWidget(saveButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(buttons);

  // Reading order: the design and what to solve for, the boxes down the form, the pilot button,
  // the sentence's names, the text, the picture, then the row of buttons.
  QWidget* previous = better_;
  setTabOrder(design_, solve_);
  setTabOrder(solve_, hypothesis_);
  setTabOrder(hypothesis_, better_);
  for (const InputRow& row : rows_) {
    setTabOrder(previous, row.box);
    previous = row.box;
  }
  for (QWidget* next :
       std::initializer_list<QWidget*>{pilotButton, outcome_, unit_, group1_, group2_, source_,
                                       text_, style_, copyButton, copyRButton, saveButton}) {
    setTabOrder(previous, next);
    previous = next;
  }

  connect(design_, &QComboBox::currentIndexChanged, this, [this] {
    ListHypotheses();
    FollowHypothesis();
    ShowBoxes();
    Recompute();
  });
  connect(hypothesis_, &QComboBox::currentIndexChanged, this, [this] {
    chosen_ = ChosenHypothesis();
    FollowHypothesis();
    ShowBoxes();
    Recompute();
  });
  connect(better_, &QComboBox::currentIndexChanged, this, &SampleSizeWindow::Recompute);
  connect(solve_, &QComboBox::currentIndexChanged, this, [this] {
    ShowBoxes();
    Recompute();
  });
  connect(style_, &QComboBox::currentIndexChanged, this, [this] {
    if (styles_ != nullptr) styles_->SetStyle(Style());
    Recompute();
  });
  connect(pilotButton, &QPushButton::clicked, this, &SampleSizeWindow::FillFromPilot);
  connect(copyButton, &QPushButton::clicked, this, &SampleSizeWindow::CopyResult);
  connect(copyRButton, &QPushButton::clicked, this, &SampleSizeWindow::CopyRCode);
  connect(saveButton, &QPushButton::clicked, this, &SampleSizeWindow::SavePicture);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
  // The report window may change the run's style too.
  if (styles_ != nullptr)
    connect(styles_, &ReportFeed::Changed, this, &SampleSizeWindow::SyncStyle);

  SyncStyle();
  ListHypotheses();
  ShowBoxes();
  Recompute();
}

QLineEdit* SampleSizeWindow::AddBox(const char* name, const QString& label,
                                    const QString& accessibleName, const QString& text,
                                    std::vector<PowerDesign> designs) {
  auto* box = new QLineEdit(text, this);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(accessibleName);
  auto* caption = new QLabel(label + QStringLiteral("："), this);
  caption->setBuddy(box);
  form_->addRow(caption, box);
  rows_.push_back({caption, box, std::move(designs)});
  // Full-width digits, point and minus read as the grid reads them; a box changed that way comes
  // back here once more.
  connect(box, &QLineEdit::textChanged, this, [this, box] {
    NormaliseNumberInput(box, FullStops::Replace);
    Recompute();
  });
  return box;
}

QLineEdit* SampleSizeWindow::AddName(const char* name, const QString& label,
                                     const QString& accessibleName, const QString& example,
                                     const QString& toolTip) {
  auto* box = new QLineEdit(this);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(accessibleName);
  box->setToolTip(toolTip);
  box->setPlaceholderText(QStringLiteral("如：") + example);
  // UTF-16 units, so never past the code points the analysis file keeps.
  box->setMaxLength(static_cast<int>(kMaxAnalysisNameLength));
  auto* caption = new QLabel(label + QStringLiteral("："), this);
  caption->setBuddy(box);
  namesForm_->addRow(caption, box);
  connect(box, &QLineEdit::textChanged, this, &SampleSizeWindow::Recompute);
  return box;
}

PowerDesign SampleSizeWindow::Design() const {
  return kPowerDesigns[static_cast<std::size_t>(std::max(0, design_->currentIndex()))];
}

SolveFor SampleSizeWindow::Solve() const {
  return static_cast<SolveFor>(solve_->currentData().toInt());
}

PStyle SampleSizeWindow::Style() const {
  return static_cast<PStyle>(style_->currentData().toInt());
}

Hypothesis SampleSizeWindow::ChosenHypothesis() const {
  return hypothesis_->count() == 0 ? Hypothesis::Difference
                                   : static_cast<Hypothesis>(hypothesis_->currentData().toInt());
}

void SampleSizeWindow::ListHypotheses() {
  const PowerDesign design = Design();
  const bool onlyDifference = design == kCorrelation || design == kMcNemar;
  const QSignalBlocker blocker(hypothesis_);
  hypothesis_->clear();
  for (const Hypothesis hypothesis : kHypotheses) {
    if (onlyDifference && hypothesis != Hypothesis::Difference) continue;
    hypothesis_->addItem(FromUtf8(HypothesisName(hypothesis)), static_cast<int>(hypothesis));
  }
  hypothesis_->setCurrentIndex(std::max(
      0,
      hypothesis_->findData(static_cast<int>(onlyDifference ? Hypothesis::Difference : chosen_))));
  hypothesis_->setToolTip(
      design == kCorrelation
          ? QStringLiteral(
                "直线相关只作差异性检验：非劣效、优效与等效的界值是两组之差（均数差或率差）"
                "的界值，相关系数没有这样的差值")
      : design == kMcNemar
          ? QStringLiteral("配对资料χ²检验只作差异性检验：配对率的非劣效与等效设计需另有专门的"
                           "方法，本窗口未提供")
          : QStringLiteral(
                "差异性检验为双侧检验；非劣效、优效与等效按界值Δ作单侧检验或双单侧检验"));
}

void SampleSizeWindow::FollowHypothesis() {
  const Hypothesis now = ChosenHypothesis();
  // "双侧α" as the label, "双侧检验水准α" as the accessible name.
  const QString label = FromUtf8(AlphaLabel(now));
  alphaLabel_->setText(label + QStringLiteral("："));
  alpha_->setAccessibleName(label.chopped(1) + QStringLiteral("检验水准α"));
  // A typed α stays; the default follows the hypothesis.
  if (now != followed_ && alpha_->text() == FromUtf8(DefaultAlphaText(followed_))) {
    alpha_->setText(FromUtf8(DefaultAlphaText(now)));
  }
  followed_ = now;
}

void SampleSizeWindow::ShowBoxes() {
  const PowerDesign design = Design();
  const bool forPower = Solve() == SolveFor::Power;
  const Hypothesis hypothesis = ChosenHypothesis();
  for (const InputRow& row : rows_) {
    bool shown = row.designs.empty() ||
                 std::find(row.designs.begin(), row.designs.end(), design) != row.designs.end();
    if (row.box == power_) shown = !forPower;
    if (row.box == n_) shown = forPower;
    if (row.box == margin_) shown = shown && HasMargin(hypothesis);
    form_->setRowVisible(row.box, shown);
  }
  form_->setRowVisible(better_, HasDirection(hypothesis));
  const bool twoGroups = design == kTwoSample || design == kProportions;
  namesForm_->setRowVisible(group1_, twoGroups);
  namesForm_->setRowVisible(group2_, twoGroups);
  const auto [label, accessibleName] = NNames(design);
  nLabel_->setText(label + QStringLiteral("："));
  n_->setAccessibleName(accessibleName);
}

void SampleSizeWindow::SyncStyle() {
  if (styles_ == nullptr) return;
  style_->setCurrentIndex(style_->findData(static_cast<int>(styles_->Style())));
}

std::vector<std::pair<QLineEdit*, std::string SampleSizeBoxes::*>> SampleSizeWindow::BoxFields()
    const {
  return {{alpha_, &SampleSizeBoxes::alpha},
          {power_, &SampleSizeBoxes::power},
          {dropout_, &SampleSizeBoxes::dropout},
          {mean1_, &SampleSizeBoxes::mean1},
          {mean2_, &SampleSizeBoxes::mean2},
          {sd_, &SampleSizeBoxes::sd},
          {ratio_, &SampleSizeBoxes::ratio},
          {meanDiff_, &SampleSizeBoxes::meanDiff},
          {sdDiff_, &SampleSizeBoxes::sdDiff},
          {r_, &SampleSizeBoxes::r},
          {p1_, &SampleSizeBoxes::p1},
          {p2_, &SampleSizeBoxes::p2},
          {p10_, &SampleSizeBoxes::p10},
          {p01_, &SampleSizeBoxes::p01},
          {n_, &SampleSizeBoxes::n},
          {margin_, &SampleSizeBoxes::margin},
          {outcome_, &SampleSizeBoxes::outcome},
          {unit_, &SampleSizeBoxes::unit},
          {group1_, &SampleSizeBoxes::group1},
          {group2_, &SampleSizeBoxes::group2},
          {source_, &SampleSizeBoxes::source}};
}

SampleSizeBoxes SampleSizeWindow::Boxes() const {
  SampleSizeBoxes boxes;
  for (const auto& [box, field] : BoxFields()) boxes.*field = ToUtf8(box->text());
  boxes.hypothesis = ChosenHypothesis();
  boxes.better = static_cast<Better>(better_->currentData().toInt());
  return boxes;
}

SampleSizeWindow::Plan SampleSizeWindow::CurrentPlan() const {
  return {Design(), Solve(), Boxes()};
}

void SampleSizeWindow::SetPlan(const Plan& plan) {
  // Each write recomputes; the last one leaves the window as the plan has it.
  design_->setCurrentIndex(static_cast<int>(
      std::find(kPowerDesigns.begin(), kPowerDesigns.end(), plan.design) - kPowerDesigns.begin()));
  solve_->setCurrentIndex(solve_->findData(static_cast<int>(plan.solve)));
  hypothesis_->setCurrentIndex(
      std::max(0, hypothesis_->findData(static_cast<int>(plan.boxes.hypothesis))));
  chosen_ = plan.boxes.hypothesis;
  better_->setCurrentIndex(better_->findData(static_cast<int>(plan.boxes.better)));
  for (const auto& [box, field] : BoxFields()) box->setText(FromUtf8(plan.boxes.*field));
  ShowBoxes();
  Recompute();
}

void SampleSizeWindow::Recompute() {
  // Called while the boxes are being built; the first whole computation comes at the end.
  if (style_ == nullptr) return;
  result_ = ComputeSampleSize(Design(), Boxes(), Solve(), Style());
  const QString shown = ShownText();
  if (shown != text_->toPlainText()) text_->setPlainText(shown);
  // Without a curve the picture says why: the first missing figure's reason.
  const Figure& missing = result_.plan.n1 ? result_.plan.power : result_.plan.n1;
  curve_->SetData(result_.curve, FromUtf8(missing.reason));
  emit PlanChanged();
}

QString SampleSizeWindow::ShownText() const {
  QStringList lines;
  for (const std::string& line : result_.lines) lines << FromUtf8(line);
  return lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + FromUtf8(result_.sentence);
}

void SampleSizeWindow::FillFromPilot() {
  if (!pilot_) return;
  const PilotEstimates estimates = pilot_(Design());
  if (const auto* reason = std::get_if<QString>(&estimates)) {
    pilotNote_->setText(QStringLiteral("无法作预试验估计：") + *reason);
    return;
  }
  for (const auto& [name, text] : std::get<0>(estimates)) {
    if (auto* box = findChild<QLineEdit*>(name)) box->setText(text);
  }
  pilotNote_->setText(QStringLiteral("已填入主窗口当前数据的预试验估计值"));
}

std::string SampleSizeWindow::RCode() const {
  const ScriptHeader header{QUILLON_VERSION,
                            QDate::currentDate().toString(Qt::ISODate).toStdString()};
  return SampleSizeScript(Design(), Boxes(), Solve(), result_, header);
}

void SampleSizeWindow::CopyRCode() const { QApplication::clipboard()->setText(FromUtf8(RCode())); }

void SampleSizeWindow::CopyResult() const {
  auto* mime = new QMimeData;
  const QString text = ShownText();
  mime->setText(text);
  QString html;
  for (const QString& paragraph : text.split(QStringLiteral("\n\n"))) {
    html += QStringLiteral("<p>") + paragraph.toHtmlEscaped().replace(QLatin1Char('\n'), "<br>") +
            QStringLiteral("</p>");
  }
  mime->setHtml(html);
  QApplication::clipboard()->setMimeData(mime);
}

void SampleSizeWindow::SavePicture() {
  const QString path = AskPicturePath(this);
  if (!path.isEmpty()) curve_->Save(path);
}

void SampleSizeWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
  }
}

}  // namespace quillon::ui
