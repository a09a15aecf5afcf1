#pragma once
// The result panels of the three sample analyses: the two-sample t test (Picture4, whose six
// summary boxes are input and output), the paired t test (Picture6) and correlation and
// regression (Picture7). Each panel builds its controls, asks the core for its result and shows it.

#include <QObject>
#include <array>
#include <string>

#include "counts/summary_t_test.h"
#include "entry/sample_lists.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace quillon::ui {

class RuledPanel;

class TwoSamplePanel : public QObject {
  Q_OBJECT
 public:
  explicit TwoSamplePanel(RuledPanel* panel);
  QWidget* Panel() const;

  // The two-sample t test from the six summary boxes; runs on every change of one of them.
  void RunSummaryTTest(int index);
  // Writes the mean, standard deviation and count of one group into its three boxes; each write
  // that changes a box runs the test.
  void UpdateGroupSummary(Group group, const GroupSums& sums);
  // Empties the six boxes, in order (each emptied box runs the test).
  void ClearSummaryBoxes();
  // Empties the three critical values.
  void ClearCriticalValues();

  // The texts of the six boxes, in their order on screen.
  std::array<std::string, kSummaryBoxCount> SummaryTexts() const;
  // Writes the six boxes' texts; each box that changes runs the test.
  void SetSummaryTexts(const std::array<std::string, kSummaryBoxCount>& texts);

 signals:
  // After every change of a summary box and the test it ran.
  void SummaryChanged();

 private:
  void ClearSummaryTResult();

  RuledPanel* panel_;
  std::array<QLineEdit*, 6> text4_{};
  std::array<QLabel*, 3> critical_{};  // Label5(3), Label5(4), Label5(5)
  QLabel* verdict_ = nullptr;          // Label5(6)
};

class PairedPanel : public QObject {
  Q_OBJECT
 public:
  explicit PairedPanel(RuledPanel* panel);
  QWidget* Panel() const;

  void RunPairedTTest(const PairSums& pairs);
  void ClearResults();

 private:
  RuledPanel* panel_;
  QLabel* pairs_;                      // Label13(5)
  QLabel* mean_;                       // Label13(4)
  QLabel* deviation_;                  // Label13(3)
  std::array<QLabel*, 3> critical_{};  // Label5(10), Label5(9), Label5(8)
  QLabel* verdict_;                    // Label5(7)
};

class CorrelationPanel : public QObject {
  Q_OBJECT
 public:
  explicit CorrelationPanel(RuledPanel* panel);
  QWidget* Panel() const;

  void RunCorrelationRegression(const PairSums& pairs);
  void ClearResults();

 private:
  RuledPanel* panel_;
  QLabel* count_;                      // Label13(6)
  QLabel* r_;                          // Label13(7)
  QLabel* t_;                          // Label13(12)
  std::array<QLabel*, 3> critical_{};  // Label5(13), Label5(14), Label5(15)
  QLabel* verdict_;                    // Label5(16)
  QLabel* equation_;                   // Label5(17)
};

}  // namespace quillon::ui
