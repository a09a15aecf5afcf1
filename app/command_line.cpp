#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

#include "app/widgets/utf8.h"

namespace quillon::ui {

namespace {
struct Texts {
  const char* about;
  const char* usage;
  const char* options;
  const char* help;
  const char* version;
};

// UTF-8 texts of the two languages.
constexpr Texts English = {"a statistics assistant for clinicians", "Usage: %1 [options]",
                           "Options:", "Displays this help and exits.",
                           "Displays the version and exits."};
constexpr Texts Chinese = {"临床统计助手", "用法：%1 [选项]", "选项：", "显示本帮助并退出。",
                           "显示版本并退出。"};

QString Utf8(const char* text) { return FromUtf8(text); }
}  // namespace

std::optional<QString> AnswerCommandLine(const QStringList& arguments, const QLocale& locale) {
  const Texts& texts = locale.language() == QLocale::Chinese ? Chinese : English;
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, Utf8(texts.help));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   Utf8(texts.version));
  QCommandLineParser parser;
  // Qt's own options (-platform, -reverse ...) are words, not bundles of letters: "-reverse"
  // holds a "v" but asks for no version. Unknown here, they are left to the window start.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOption(help);
  parser.addOption(version);
  static_cast<void>(parser.parse(arguments));

  const QString versionLine =
      QStringLiteral("Quillon %1 %2\n").arg(QStringLiteral(QUILLON_VERSION), Utf8(texts.about));
  if (parser.isSet(help)) {
    const QString program =
        arguments.isEmpty() ? QStringLiteral("quillon") : QFileInfo(arguments.first()).fileName();
    QString text = versionLine + Utf8(texts.usage).arg(program) + QStringLiteral("\n\n") +
                   Utf8(texts.options) + QLatin1Char('\n');
    for (const QCommandLineOption* option : {&help, &version}) {
      const QStringList names = option->names();
      const QString flags =
          QStringLiteral("-%1, --%2").arg(names.first(), names.last()).leftJustified(16);
      text += QStringLiteral("  ") + flags + option->description() + QLatin1Char('\n');
    }
    return text;
  }
  if (parser.isSet(version)) return versionLine;
  return std::nullopt;
}

bool AnswerOwnCommandLine(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  const std::optional<QString> answer = AnswerCommandLine(arguments, QLocale::system());
  if (!answer) return false;
  std::fputs(answer->toUtf8().constData(), stdout);
  return true;
}

QString FileToOpen(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  static_cast<void>(parser.parse(arguments));
  const QStringList files = parser.positionalArguments();
  return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}

}  // namespace quillon::ui
