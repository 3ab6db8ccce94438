// SPDX-License-Identifier: MIT
#include <QApplication>

#include "app/MainFrm.h"
#include "text/Random.h"
#include "vocab/VocFile.h"

int main(int argc, char* argv[]) {
  Randomize();
  int result = 0;
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dadezivu");
    QApplication::setOrganizationName("Devizur");
    TMainForm form;
    form.show();
    result = QApplication::exec();
  }
  CheckLiveObjects();
  return result;
}
