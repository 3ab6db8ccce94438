// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Message box styles used in the program, as icon + buttons.
constexpr int kStyleStop = 0x10;         // stop icon, OK
constexpr int kStyleError = 0x30;        // exclamation icon, OK
constexpr int kStyleNotice = 0x40;       // information icon, OK
constexpr int kStyleQuestion = 0x134;    // exclamation icon, Yes and No, No the default
constexpr int kStyleYesNoCancel = 0x33;  // exclamation icon, Yes, No and Cancel
constexpr int kResultOK = 1, kResultCancel = 2, kResultYes = 6, kResultNo = 7;

// Every message box goes through this replaceable function, so that tests can answer it.
// Caption "Dadezivu" when empty; returns the result code of the button pressed.
using TMessageBoxFunction =
    std::function<int(const QString& message, const QString& caption, int style)>;
extern TMessageBoxFunction MessageBoxHandler;
int ShowMessageBox(const QString& message, const QString& caption = QString(),
                   int style = kStyleError);

// "Untitled" for an empty path, otherwise the file name part.
QString FileTitle(const QString& path);
