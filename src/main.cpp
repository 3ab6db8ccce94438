// SPDX-License-Identifier: MIT
// The program's entry point: the command line, the application, the main window and the start-up
// sequence.
#include "app/CommandLine.h"
#include "app/MainFrm.h"
#include "platform/DataFiles.h"
#include "platform/ErrorHandler.h"
#include "text/Random.h"
#include "vocab/VocFile.h"

#include <QAction>
#include <QTimer>
#include <QToolBar>
#include <cstdio>

namespace {
// The install test's hook (DADEZIVU_EXIT_AFTER_START=1): instead of waiting for the user, say
// what the window shows once the idle-time update has run, and where the shipped files were
// found, then end.
void ReportStartAndQuit(const TMainForm& form) {
  QTimer::singleShot(100, &form, [&form] {
    std::printf("caption: %s\n", qPrintable(form.windowTitle()));
    for (const char* name :
         {"samples", "Sounds/Clap.wav", "Sounds/Pow.wav", "dadezivu.tip", "help/dadezivu.qhc"}) {
      std::printf("%s: %s\n", name, qPrintable(FindDataFile(QString::fromLatin1(name))));
    }
    int empty = 0;
    for (const QToolBar* bar : form.findChildren<QToolBar*>()) {
      for (const QAction* action : bar->actions()) {
        empty += !action->isSeparator() && action->icon().pixmap(QSize(16, 16)).isNull();
      }
    }
    std::printf("empty tool images: %d\n", empty);
    std::fflush(stdout);
    QCoreApplication::quit();
  });
}
}  // namespace

int main(int argc, char* argv[]) {
  QStringList rawArguments;
  for (int i = 0; i < argc; ++i) rawArguments << QString::fromLocal8Bit(argv[i]);
  const TCommandLine commandLine = ReadCommandLine(rawArguments);
  switch (commandLine.Action) {
    case TCommandLine::caHelp:
    case TCommandLine::caVersion:
      std::fputs(qPrintable(commandLine.Message), stdout);
      return 0;
    case TCommandLine::caError:
      std::fputs(qPrintable(commandLine.Message), stderr);
      return kUsageErrorStatus;
    case TCommandLine::caRun:
      break;
  }

  ChooseWindowlessPlatform(commandLine);
  Randomize();
  int result = 0;
  {
    TApplication app(argc, argv);
    QApplication::setApplicationName("Dadezivu");
    QApplication::setOrganizationName("Devizur");
    // Every window and dialog shows the program's icon, not the platform's default.
    QApplication::setWindowIcon(ProgramIcon());
    TMainForm form;
    bool started = false;
    RunCommand([&] { started = form.Start(commandLine.Arguments); });
    if (!started) {
      // Printed from the command line, or the file named there could not be opened (the
      // message said why).
      result = form.ExitCode();
    } else {
      if (qEnvironmentVariable("DADEZIVU_EXIT_AFTER_START") == QLatin1String("1")) {
        ReportStartAndQuit(form);
      }
      result = QApplication::exec();
    }
  }
  CheckLiveObjects();
  return result;
}
