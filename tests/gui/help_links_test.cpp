// The banner, the web links and the tutorial: what the user sees and what the desktop is asked
// to open.

#include "app/tools/help_links.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <map>

#include "app/application.h"
#include "app/tools/banner_messages.h"
#include "app/widgets/form_layout.h"
#include "counts/chi_square.h"
#include "counts/summary_t_test.h"
#include "stats/correlation.h"
#include "stats/number_text.h"
#include "stats/paired_t_test.h"
#include "window_fixture.h"

namespace {

using quillon::ui::TutorialPage;
using quillon::ui::TutorialPath;
using quillon::ui::WriteTutorial;

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// Closes every message box that opens while it lives and keeps what it said and who owned it,
// so that a test sees the box instead of waiting for a user.
class MessageBoxCatcher {
 public:
  MessageBoxCatcher() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      texts << box->text();
      owners << box->parentWidget();
      box->reject();
    });
    poll_.start(10);
  }
  QStringList texts;
  QList<QWidget*> owners;

 private:
  QTimer poll_;
};

class BannerTest : public MainWindowTest {
 protected:
  void Tick(int count) {
    auto* timer = Control<QTimer>("Timer1");
    for (int i = 0; i < count; ++i) QMetaObject::invokeMethod(timer, "timeout");
  }
  QImage Strip() { return Control("Picture3")->grab().toImage(); }

  // The strip's colours: its background and whether any pixel has the text colour, and the first
  // column that holds one.
  static int FirstColumnOf(const QImage& strip, const QColor& colour) {
    for (int x = 0; x < strip.width(); ++x) {
      for (int y = 0; y < strip.height(); ++y) {
        if (strip.pixelColor(x, y) == colour) return x;
      }
    }
    return -1;
  }
};

TEST_F(BannerTest, TicksCycleThroughTheFiveMessagesWithTheirColoursAndPlaces) {
  const QImage welcome = Strip();
  const QColor white(255, 255, 255), paleYellow(255, 255, 192);

  Tick(1);
  QImage strip = Strip();
  EXPECT_EQ(strip.pixelColor(0, 0), QColor(255, 0, 0));
  const int first = FirstColumnOf(strip, white);
  EXPECT_GE(first, 3);  // drawn from x = 50 twips (3 px), the glyph's own margin after it
  EXPECT_LT(first, 10);

  Tick(1);
  strip = Strip();
  EXPECT_EQ(strip.pixelColor(0, 0), QColor(0, 128, 128));
  const int second = FirstColumnOf(strip, paleYellow);
  EXPECT_GE(second, 6);  // x = 100 twips
  EXPECT_LT(second, 14);
  EXPECT_EQ(FirstColumnOf(strip, white), -1);  // nothing left of the red message

  Tick(1);
  const int third = FirstColumnOf(Strip(), white);
  EXPECT_GE(third, 40);  // x = 600 twips
  EXPECT_LT(third, 48);

  Tick(7);  // ten ticks in all: the welcome message again
  EXPECT_EQ(Strip(), welcome);
  EXPECT_EQ(welcome.pixelColor(0, 0), QColor(0, 128, 0));
}

TEST_F(BannerTest, MessageIsRedrawnWhenTheStripIsUncovered) {
  Tick(2);
  QWidget* banner = Control("Picture3");
  const QImage before = Strip();
  banner->hide();
  banner->show();
  banner->repaint();
  EXPECT_EQ(Strip(), before);
  EXPECT_EQ(banner->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(BannerTest, ClickingTheStripOrTheMenuOpensTheVendorsPages) {
  Tick(3);
  QTest::mouseClick(Control("Picture3"), Qt::LeftButton);
  QTest::keySequence(window, QKeySequence("Ctrl+H"));
  QTest::keySequence(window, QKeySequence("Ctrl+K"));
  const QUrl home(QStringLiteral("https://quillon.example.com/"));
  const QUrl help(QStringLiteral("https://quillon.example.com/help/"));
  EXPECT_EQ(urls.opened, (QList<QUrl>{home, home, help}));
}

TEST(BannerMessages, AreShortEnoughForTheStrip) {
  const QFontMetrics metrics([] {
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(11);
    font.setBold(true);
    return font;
  }());
  for (const quillon::ui::BannerMessage& message : quillon::ui::BannerMessages()) {
    EXPECT_LE(quillon::ui::Px(message.textLeftTwips) + metrics.horizontalAdvance(message.message),
              quillon::ui::Px(2655))
        << message.message.toStdString();
  }
}

TEST_F(MainWindowTest, TutorialButtonsWriteTheTutorialAndOpenIt) {
  const QString path = TutorialPath();
  EXPECT_EQ(path, quillon::ui::TempDirectory() + QStringLiteral("qlstat.html"));
  const MessageBoxCatcher boxes;

  QTest::mouseClick(Control<QPushButton>("Command19"), Qt::LeftButton);
  ASSERT_EQ(urls.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
  const QByteArray written = FileBytes(path);
  EXPECT_EQ(written, TutorialPage());

  WriteFile(path, "stale");
  QTest::mouseClick(Control<QToolButton>("tbHelp"), Qt::LeftButton);
  EXPECT_EQ(urls.opened.size(), 2);
  EXPECT_EQ(FileBytes(path), written);  // rewritten, identically
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowTest, TutorialThatCannotBeWrittenIsReportedAndNotOpened) {
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  const QString missing = scratch.filePath(QStringLiteral("no-such-directory")) + QLatin1Char('/');
  const MessageBoxCatcher boxes;
  quillon::ui::WriteAndOpenTutorial(window, missing);
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("教程文件无法写入")))
      << boxes.texts[0].toStdString();
  EXPECT_EQ(boxes.owners[0], window.data());
  EXPECT_TRUE(urls.opened.isEmpty());
}

TEST(Tutorial, ReplacesALinkPlantedAtItsNameInsteadOfWritingThroughIt) {
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  const QString victim = scratch.filePath(QStringLiteral("victim.txt"));
  WriteFile(victim, "untouched");
  const QString path = TutorialPath(scratch.path() + QLatin1Char('/'));
  ASSERT_TRUE(QFile::link(victim, path));

  EXPECT_EQ(WriteTutorial(path), QString());
  EXPECT_EQ(FileBytes(victim), QByteArray("untouched"));
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  EXPECT_EQ(FileBytes(path), TutorialPage());
  // Nothing else is left beside it.
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            (QStringList{"qlstat.html", "victim.txt"}));
}

TEST(Tutorial, IsOneSelfContainedPageWithItsContentsAndNineDrawings) {
  const QByteArray page = TutorialPage();
  EXPECT_EQ(TutorialPage(), page);
  const QString text = QString::fromUtf8(page);
  EXPECT_EQ(text.count(QStringLiteral("<svg ")), 9);
  EXPECT_EQ(text.count(QStringLiteral("<figcaption>")), 9);
  EXPECT_FALSE(text.contains(QStringLiteral("<!--figure:")));
  EXPECT_FALSE(text.contains(QStringLiteral("<?xml")));
  EXPECT_FALSE(text.contains(QStringLiteral(" src=")));
  for (const char* heading :
       {"id=\"toc\"", "软件简介", "医学统计学傻瓜教程", "两样本均数T检验", "配对资料T检验",
        "直线相关与回归", "计数资料卡方检验", "配对资料卡方检验"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(heading))) << heading;
  }
}

// The worked examples of the tutorial: each names its analysis, its input, and the numbers the
// reader should see.
struct WorkedExample {
  QString analysis;
  QStringList input;
  std::map<std::string, std::string> shown;
};

std::vector<WorkedExample> WorkedExamples() {
  const QString page = QString::fromUtf8(TutorialPage());
  static const QRegularExpression block(
      QStringLiteral("<div class=\"example\" data-analysis=\"([a-z-]+)\" data-input=\"([^\"]*)\">"
                     "(.*?)</div>"),
      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression value(
      QStringLiteral("<span class=\"v\" data-key=\"([a-z0-9]+)\">([^<]*)</span>"));
  std::vector<WorkedExample> examples;
  for (const QRegularExpressionMatch& match : block.globalMatch(page)) {
    WorkedExample example{match.captured(1), match.captured(2).split(QLatin1Char(' ')), {}};
    for (const QRegularExpressionMatch& shown : value.globalMatch(match.captured(3))) {
      QString text = shown.captured(2);
      text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
          .replace(QStringLiteral("&gt;"), QStringLiteral(">"));
      example.shown[shown.captured(1).toStdString()] = text.toStdString();
    }
    examples.push_back(example);
  }
  return examples;
}

quillon::PairSums Pairs(const QStringList& input) {
  quillon::PairSums sums;
  for (const QString& pair : input) {
    const QStringList xy = pair.split(QLatin1Char(','));
    sums.Add(quillon::Fixed4::Parse(xy.at(0).toStdString()).value(),
             quillon::Fixed4::Parse(xy.at(1).toStdString()).value());
  }
  return sums;
}

quillon::FourfoldCells Cells(const QStringList& input) {
  std::array<std::string, 4> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = input.at(i).toStdString();
  return quillon::ReadFourfoldCells(texts);
}

std::map<std::string, std::string> CriticalTexts(const quillon::TCriticalValues& critical) {
  return {{"c05", critical.c05}, {"c01", critical.c01}, {"c001", critical.c001}};
}

// What the core computes for an example, under the names the tutorial uses.
std::map<std::string, std::string> Computed(const WorkedExample& example) {
  std::map<std::string, std::string> computed;
  if (example.analysis == QLatin1String("two-sample")) {
    std::array<std::string, quillon::kSummaryBoxCount> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i] = example.input.at(i).toStdString();
    const auto result = quillon::SummaryTTest(boxes);
    if (!result) return computed;
    computed = CriticalTexts(result->verdict.critical);
    computed["t"] = quillon::FormatFixed4(result->t);
    computed["df"] = result->df.ToPlainText();
    computed["line"] = result->verdict.line;
  } else if (example.analysis == QLatin1String("paired")) {
    const auto result = quillon::PairedTTest(Pairs(example.input));
    if (!result) return computed;
    computed = CriticalTexts(result->verdict.critical);
    computed["n"] = std::to_string(result->differences.n);
    computed["mean"] = result->meanText;
    computed["sd"] = result->deviationText;
    computed["line"] = result->verdict.line;
  } else if (example.analysis == QLatin1String("correlation")) {
    const quillon::CorrelationResult result = quillon::CorrelationRegression(Pairs(example.input));
    if (result.critical) computed = CriticalTexts(*result.critical);
    computed["n"] = result.n;
    computed["r"] = result.r;
    computed["t"] = result.t;
    computed["verdict"] = result.verdict;
    computed["equation"] = result.equation;
  } else if (example.analysis == QLatin1String("fourfold")) {
    const quillon::FourfoldChiSquareResult result =
        quillon::FourfoldChiSquare(Cells(example.input));
    const auto& expected = result.expected;
    const bool allEqual = std::equal(expected.begin() + 1, expected.end(), expected.begin());
    computed["expected"] = allEqual ? expected[0] : "(four different expected counts)";
    computed["n"] = result.n;
    computed["chi2"] = result.chiSquare;
    computed["verdict"] = result.verdict;
  } else if (example.analysis == QLatin1String("mcnemar")) {
    const quillon::PairedChiSquareResult result = quillon::PairedChiSquare(Cells(example.input));
    computed["n"] = result.n;
    computed["chi2"] = result.chiSquare;
    computed["verdict"] = result.verdict;
  }
  return computed;
}

TEST(Tutorial, WorkedExamplesShowWhatTheProgramComputes) {
  const std::vector<WorkedExample> examples = WorkedExamples();
  QStringList analyses;
  for (const WorkedExample& example : examples) analyses << example.analysis;
  EXPECT_EQ(analyses, (QStringList{"two-sample", "paired", "correlation", "fourfold", "mcnemar"}));

  for (const WorkedExample& example : examples) {
    EXPECT_FALSE(example.shown.empty()) << example.analysis.toStdString();
    const std::map<std::string, std::string> computed = Computed(example);
    for (const auto& [key, text] : example.shown) {
      const auto found = computed.find(key);
      ASSERT_NE(found, computed.end()) << example.analysis.toStdString() << " " << key;
      EXPECT_EQ(text, found->second) << example.analysis.toStdString() << " " << key;
    }
  }
}

}  // namespace
