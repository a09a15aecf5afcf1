// The command line's two questions, the file it names, and Qt's own options that must still reach
// the window.

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QDir>

using quillon::ui::AnswerCommandLine;

namespace {
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale Chinese(QLocale::Chinese, QLocale::China);

QStringList Arguments(std::initializer_list<const char*> words) {
  QStringList list{QStringLiteral("/usr/bin/quillon")};
  for (const char* word : words) list.append(QString::fromUtf8(word));
  return list;
}
}  // namespace

TEST(CommandLine, QtsOwnOptionsStartTheWindow) {
  EXPECT_FALSE(AnswerCommandLine(Arguments({}), English));
  EXPECT_FALSE(AnswerCommandLine(Arguments({"-reverse", "-platform", "offscreen"}), English));
  EXPECT_FALSE(AnswerCommandLine(Arguments({"-platformtheme", "gtk3", "data.txt"}), Chinese));
}

TEST(CommandLine, HelpWinsOverVersionAndNamesTheProgramWithoutItsFolder) {
  const auto answer = AnswerCommandLine(Arguments({"--version", "-h"}), Chinese);
  ASSERT_TRUE(answer);
  EXPECT_TRUE(answer->contains(QStringLiteral("用法：quillon [选项]"))) << answer->toStdString();
  EXPECT_FALSE(answer->contains(QStringLiteral("/usr/bin")));
}

TEST(CommandLine, TheFirstArgumentThatIsNoOptionIsTheFileToOpen) {
  using quillon::ui::FileToOpen;
  EXPECT_EQ(FileToOpen(Arguments({})), QString());
  EXPECT_EQ(FileToOpen(Arguments({"--unknown"})), QString());
  EXPECT_EQ(FileToOpen(Arguments({"-reverse", "/data/随访.quillon", "b.quillon"})),
            QStringLiteral("/data/随访.quillon"));
  EXPECT_EQ(FileToOpen(Arguments({"--", "-a.quillon"})),
            QDir::current().absoluteFilePath(QStringLiteral("-a.quillon")));
}
