#pragma once
// The sample-size window "样本量估计": a study planned before its data exist. The design, what to
// solve for and the assumed values go in; the method, the sample size (or the power at a given n),
// the numbers to enrol after dropout and the protocol sentence (with the outcome, unit, groups and
// source typed for it, which change nothing else) come out, recomputed at every
// keystroke, with the power curve under them. Nothing here is computed from the main window's
// data. It has no parent widget, like the report window, and closes with Esc.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/analysis_mode.h"
#include "app/planning/pilot_estimates.h"
#include "power/sample_size.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillon::plots {
class PowerCurvePlot;
}  // namespace quillon::plots

namespace quillon::ui {

class PictureView;
class ReportFeed;

class SampleSizeWindow : public QWidget {
  Q_OBJECT
 public:
  // The main window's data as pilot estimates for a design.
  using PilotReader = std::function<PilotEstimates(PowerDesign)>;

  // Opens on the design of an analysis. The journal style of the sentence is the run's, kept by
  // the report's feed and shared with the report window; without a feed the window keeps its own.
  // Without a reader of pilot estimates the button that asks for them is disabled.
  SampleSizeWindow(AnalysisMode design, ReportFeed* styles, PilotReader pilot = {});

  const SampleSizeResult& Current() const { return result_; }

  // What the window is set to: the design, what it solves for and every box, as typed.
  struct Plan {
    PowerDesign design = PowerDesign::TwoSample;
    SolveFor solve = SolveFor::SampleSize;
    SampleSizeBoxes boxes;
  };
  Plan CurrentPlan() const;
  // Sets every choice and box as given and computes anew.
  void SetPlan(const Plan& plan);
  // The result text and the sentence, as shown.
  QString ShownText() const;

  // Puts the figures and the sentence on the clipboard, as plain text and as HTML.
  void CopyResult() const;
  // "复制R代码": the R script that obtains the plan's sizes and powers again, as text.
  void CopyRCode() const;
  std::string RCode() const;
  // Asks for a file name and saves the power curve there, as SVG or PNG.
  void SavePicture();
  // Fills the design's boxes with the main window's estimates, or says why there are none.
  void FillFromPilot();

 signals:
  // After every recomputation: a box, a choice or the style changed.
  void PlanChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // An input box with its label; shown for the designs it names.
  struct InputRow {
    QLabel* label;
    QLineEdit* box;
    std::vector<PowerDesign> designs;  // empty: every design
  };

  QLineEdit* AddBox(const char* name, const QString& label, const QString& accessibleName,
                    const QString& text, std::vector<PowerDesign> designs);
  // A name for the sentence in the group "方案句子": free text, never a number.
  QLineEdit* AddName(const char* name, const QString& label, const QString& accessibleName,
                     const QString& example, const QString& toolTip);
  PowerDesign Design() const;
  SolveFor Solve() const;
  PStyle Style() const;
  Hypothesis ChosenHypothesis() const;
  // Lists the hypotheses the design can take (only a difference for correlation and McNemar, with
  // a tooltip saying why), keeping the choice where the design takes it.
  void ListHypotheses();
  // The α box's label and, while it still holds the default of the hypothesis it followed last,
  // the default of the one chosen now.
  void FollowHypothesis();
  // Shows the boxes of the chosen design and of what is solved for, and names n as it counts.
  void ShowBoxes();
  void SyncStyle();
  void Recompute();
  SampleSizeBoxes Boxes() const;
  std::vector<std::pair<QLineEdit*, std::string SampleSizeBoxes::*>> BoxFields() const;

  QPointer<ReportFeed> styles_;
  PilotReader pilot_;
  QLabel* pilotNote_ = nullptr;      // ssPilotNote: what the pilot button did
  QComboBox* design_ = nullptr;      // ssDesign
  QComboBox* solve_ = nullptr;       // ssSolve
  QComboBox* style_ = nullptr;       // ssStyle
  QComboBox* hypothesis_ = nullptr;  // ssHypothesis
  QComboBox* better_ = nullptr;      // ssBetter
  // The hypothesis last chosen, restored when a design that takes it comes back.
  Hypothesis chosen_ = Hypothesis::Difference;
  // The hypothesis the α box's label and default last followed.
  Hypothesis followed_ = Hypothesis::Difference;
  QLabel* alphaLabel_ = nullptr;
  QLineEdit* margin_ = nullptr;  // ssMargin
  QFormLayout* form_ = nullptr;
  std::vector<InputRow> rows_;
  QLineEdit* alpha_ = nullptr;
  QLineEdit* power_ = nullptr;
  QLineEdit* dropout_ = nullptr;
  QLineEdit* mean1_ = nullptr;
  QLineEdit* mean2_ = nullptr;
  QLineEdit* sd_ = nullptr;
  QLineEdit* ratio_ = nullptr;
  QLineEdit* meanDiff_ = nullptr;
  QLineEdit* sdDiff_ = nullptr;
  QLineEdit* r_ = nullptr;
  QLineEdit* p1_ = nullptr;
  QLineEdit* p2_ = nullptr;
  QLineEdit* p10_ = nullptr;
  QLineEdit* p01_ = nullptr;
  QLineEdit* n_ = nullptr;
  QLabel* nLabel_ = nullptr;
  // The sentence's names: ssOutcome, ssUnit, ssGroup1, ssGroup2 (two groups only), ssSource.
  QFormLayout* namesForm_ = nullptr;
  QLineEdit* outcome_ = nullptr;
  QLineEdit* unit_ = nullptr;
  QLineEdit* group1_ = nullptr;
  QLineEdit* group2_ = nullptr;
  QLineEdit* source_ = nullptr;
  QPlainTextEdit* text_ = nullptr;  // SampleSizeText
  plots::PowerCurvePlot* curve_ = nullptr;
  PictureView* curveView_ = nullptr;
  SampleSizeResult result_;
  bool centred_ = false;
};

}  // namespace quillon::ui
