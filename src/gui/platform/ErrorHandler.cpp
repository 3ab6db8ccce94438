// SPDX-License-Identifier: MIT
// The command guard and the application that shows errors escaping event handlers.
#include "platform/ErrorHandler.h"

#include <exception>

#include "platform/DlgUtils.h"

namespace {
void ShowError(const char* message) {
  ShowMessageBox(QString::fromUtf8(message), QString(), kMbStop);
}
}  // namespace

void RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
  return false;
}
