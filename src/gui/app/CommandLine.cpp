// SPDX-License-Identifier: MIT
// Reading the program's command line: the file to open or print, help, version and errors.
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

TCommandLine ReadCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  // "-platform" is one option, not six letters: the toolkit's options have one dash.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(QStringLiteral("Dadezivu, a vocabulary trainer."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and end."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the version and end."));
  const QCommandLineOption print(
      {QStringLiteral("p"), QStringLiteral("print")},
      QStringLiteral("Print FILE without showing a window, then end (the same as /p FILE)."),
      QStringLiteral("FILE"));
  parser.addOption(help);
  parser.addOption(version);
  parser.addOption(print);
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("The vocabulary file to open; /p FILE prints it."),
                               QStringLiteral("[file]"));
  // The toolkit reads these itself; they must not count as unknown here.
  for (const char* name :
       {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
        "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet",
        "name", "title", "visual", "qmljsdebugger"}) {
    QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
    QCommandLineOption option(QString::fromLatin1(name));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  TCommandLine result;
  const QString program =
      arguments.isEmpty() ? QStringLiteral("dadezivu") : QFileInfo(arguments[0]).fileName();
  const auto usageError = [&result, &program](const QString& text) {
    result.Action = TCommandLine::caError;
    result.Message =
        QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, text);
    return result;
  };
  if (!parser.parse(arguments)) return usageError(parser.errorText());
  result.PlatformGiven = parser.isSet(QStringLiteral("platform"));
  if (parser.isSet(help)) {
    result.Action = TCommandLine::caHelp;
    // Without an application object the parser does not know the program's name.
    result.Message = parser.helpText().replace(QLatin1String("<executable_name>"), program);
    return result;
  }
  if (parser.isSet(version)) {
    result.Action = TCommandLine::caVersion;
    result.Message = QStringLiteral("Dadezivu %1\n").arg(QStringLiteral(DADEZIVU_PROJECT_VERSION));
    return result;
  }
  if (parser.isSet(print)) {
    // Which of two files would be meant is unclear, and a file left out silently is worse.
    if (!parser.positionalArguments().isEmpty()) {
      return usageError(QStringLiteral("-p prints one file; '%1' is one too many.")
                            .arg(parser.positionalArguments().first()));
    }
    result.Arguments = {QStringLiteral("/p"), parser.value(print)};
  } else {
    result.Arguments = parser.positionalArguments();
  }
  result.Windowless =
      !result.Arguments.isEmpty() &&
      result.Arguments.first().compare(QLatin1String("/p"), Qt::CaseInsensitive) == 0;
  return result;
}

void ChooseWindowlessPlatform(const TCommandLine& commandLine) {
  if (!commandLine.Windowless || commandLine.PlatformGiven) return;
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    if (!qEnvironmentVariableIsEmpty(name)) return;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
}
