// SPDX-License-Identifier: MIT
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
    TMainForm form;
    form.show();
    result = QApplication::exec();
  }
  CheckLiveObjects();
  return result;
}
