// SPDX-License-Identifier: MIT
// The program's entry point: the application, the main window and the start-up sequence.
#include "app/MainFrm.h"
#include "platform/ErrorHandler.h"
#include "text/Random.h"
#include "vocab/VocFile.h"

int main(int argc, char* argv[]) {
  Randomize();
  int result = 0;
  {
    TApplication app(argc, argv);
    QApplication::setApplicationName("Dadezivu");
    QApplication::setOrganizationName("Devizur");
    // Every window and dialog shows the program's icon, not the platform's default.
    QApplication::setWindowIcon(ProgramIcon());
    TMainForm form;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    bool started = false;
    RunCommand([&] { started = form.Start(arguments); });
    result = started ? QApplication::exec() : form.ExitCode();
  }
  CheckLiveObjects();
  return result;
}
