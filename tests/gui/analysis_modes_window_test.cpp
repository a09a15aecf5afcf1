// Switching between the five analyses, and the paired t test and correlation typed into the grid.

#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

#include "app/analyses/sample_grid.h"
#include "window_fixture.h"

namespace {

class AnalysisModesWindowTest : public MainWindowTest {
 protected:
  void Choose(int mode) {
    QTest::mouseClick(Control<QPushButton>(QStringLiteral("Command1(%1)").arg(mode)),
                      Qt::LeftButton);
  }
  QLineEdit* Cell(const char* column, int box) const {
    return Box(QStringLiteral("%1(%2)").arg(QString::fromLatin1(column)).arg(box));
  }
  void TypeRows(const std::vector<std::pair<QString, QString>>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      Type(Cell("Text1", static_cast<int>(i)), rows[i].first);
      Type(Cell("Text2", static_cast<int>(i)), rows[i].second);
    }
  }
  QStringList Labels(std::initializer_list<const char*> names) const {
    QStringList texts;
    for (const char* name : names) texts << LabelText(QString::fromLatin1(name));
    return texts;
  }
  bool ImportExportEnabled() const {
    bool all = true, any = false;
    for (const char* name : {"mnuImport1", "mnuImport2", "mnuExport1", "mnuExport2"}) {
      const bool enabled = Control<QAction>(QString::fromLatin1(name))->isEnabled();
      all = all && enabled;
      any = any || enabled;
    }
    for (const char* name : {"tbImport", "tbExport"}) {
      const bool enabled = Control<QToolButton>(QString::fromLatin1(name))->isEnabled();
      all = all && enabled;
      any = any || enabled;
    }
    EXPECT_EQ(all, any) << "the six import and export controls go together";
    return all;
  }
};

TEST_F(AnalysisModesWindowTest, PairedTTestOnTypedPairs) {
  Choose(1);
  EXPECT_EQ(LabelText("Label1"), "配对资料T检验");
  EXPECT_TRUE(Control("Picture6")->isVisible());
  EXPECT_FALSE(Control("Picture4")->isVisible());
  TypeRows({{"1", "2"}, {"3", "5"}, {"4", "4"}, {"", ""}, {"6", "9"}, {"8", ""}});
  EXPECT_EQ(
      Labels({"Label13(5)", "Label13(4)", "Label13(3)", "Label5(10)", "Label5(9)", "Label5(8)",
              "Label5(7)"}),
      (QStringList{"4", "1.5000", "1.2910", "3.182", "5.841", "12.92", "T = 2.3238  P > 0.05"}));
  // The two-sample boxes are left alone in this analysis.
  EXPECT_EQ(Box("Text4(0)")->text(), "");
  // Equal differences: nothing to show.
  Choose(1);
  TypeRows({{"1.1", "1"}, {"2.2", "2.1"}, {"3.3", "3.2"}, {"4.4", "4.3"}});
  EXPECT_EQ(LabelText("Label5(7)"), "");
  EXPECT_EQ(LabelText("Label5(10)"), "");
}

TEST_F(AnalysisModesWindowTest, CorrelationAndRegressionOnTypedRows) {
  Choose(2);
  TypeRows({{"1", "2"}, {"2", "4"}, {"3", "5"}, {"4", "4"}, {"5", "5"}});
  EXPECT_EQ(
      Labels({"Label13(6)", "Label13(7)", "Label13(12)", "Label5(13)", "Label5(16)", "Label5(17)"}),
      (QStringList{"5", "0.7746", "2.1213", "3.182", "P > 0.05", "Y=2.2000+0.6000X"}));
  Choose(2);
  TypeRows({{"1", "6"}, {"2", "4"}, {"3", "2"}});
  EXPECT_EQ(Labels({"Label13(7)", "Label13(12)", "Label5(13)", "Label5(16)", "Label5(17)"}),
            (QStringList{"-1.0000", "", "12.70", "完全负相关", "Y=8.0000-2.0000X"}));
}

TEST_F(AnalysisModesWindowTest, SwitchingEmptiesEverythingAndShowsThePanelsOfTheAnalysis) {
  // Data in the grid, the summaries and a scrolled view.
  Type(Cell("Text1", 0), "3");
  for (int i = 0; i < 3; ++i) QTest::keyClick(Cell("Text1", 8), Qt::Key_Return);
  ASSERT_EQ(Control<QScrollBar>("VS1")->value(), 3);
  ASSERT_EQ(Box("Text4(0)")->text(), "3.0000");

  Choose(0);  // the current analysis again: a clean slate
  EXPECT_EQ(LabelText("Label1"), "两样本均数T检验");
  EXPECT_EQ(Control<QScrollBar>("VS1")->maximum(), 0);
  EXPECT_FALSE(Control<QScrollBar>("VS1")->isEnabled());
  EXPECT_EQ(Cell("Text3", 0)->text(), "1");
  EXPECT_EQ(Cell("Text1", 0)->text(), "");
  EXPECT_EQ(window->Grid()->Lists().Size(quillon::Group::First), 9u);
  EXPECT_EQ(Box("Text4(0)")->text(), "");
  EXPECT_EQ(QApplication::focusWidget(), Cell("Text1", 0));

  Choose(4);
  EXPECT_FALSE(ImportExportEnabled());
  EXPECT_TRUE(Control("Picture8")->isVisible());
  EXPECT_TRUE(Control("Picture2")->isVisible() || !Control("Picture2")->isHidden());
  EXPECT_TRUE(Control("Picture11")->isVisible());
  EXPECT_FALSE(Control("Picture9")->isVisible());
  EXPECT_EQ(Labels({"Label16", "Label17(0)", "Label17(1)", "Label17(3)", "Label17(4)"}),
            (QStringList{"配对资料卡方检验", "治疗后", "  治疗前  ", "（+）", "（-）"}));
  EXPECT_EQ(QApplication::focusWidget(), Box("Text11(0)"));

  Choose(3);
  EXPECT_EQ(Labels({"Label16", "Label17(0)", "Label17(1)", "Label17(3)", "Label17(4)"}),
            (QStringList{"计数资料卡方检验", "组  别", "结     果", "试验组", "对照组"}));
  Choose(2);
  EXPECT_TRUE(ImportExportEnabled());
  EXPECT_FALSE(Control("Picture8")->isVisible());
  EXPECT_TRUE(Control("Picture7")->isVisible());
  int bold = 0;
  for (int mode = 0; mode < 5; ++mode) {
    bold += Control<QPushButton>(QStringLiteral("Command1(%1)").arg(mode))->font().bold() ? 1 : 0;
  }
  EXPECT_EQ(bold, 1);
  EXPECT_TRUE(Control<QPushButton>("Command1(2)")->font().bold());
}

TEST_F(AnalysisModesWindowTest, ImportAndExportShortcutsDoNothingInTheCountAnalyses) {
  Choose(3);
  QSignalSpy importing(Control<QAction>("mnuImport1"), &QAction::triggered);
  QTest::keyClick(Box("Text11(0)"), Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(importing.count(), 0);
}

}  // namespace
