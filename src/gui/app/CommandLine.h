// SPDX-License-Identifier: MIT
// Reading the program's command line: the file to open or print, help, version and errors.
#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. Read before any window system is touched, so that --help and
// --version work without a display.
struct TCommandLine {
  enum TAction { caRun, caHelp, caVersion, caError };
  TAction Action = caRun;
  // For TMainForm::Start: the file argument, or "/p" and the file to print ("-p FILE" becomes
  // "/p FILE"; "/p" itself passes through as it was typed).
  QStringList Arguments;
  // The help text, the version line or the error message, ready to print.
  QString Message;
  // A job that shows no window (printing), and whether the toolkit's platform was named.
  bool Windowless = false;
  bool PlatformGiven = false;
};

// The process exit status for a command line that is not run: 0 for help and version, 2 for an
// error.
constexpr int kUsageErrorStatus = 2;

// arguments: the whole command line, the program first. The toolkit's own options (-platform,
// -style, ...) are accepted and left for it.
TCommandLine ReadCommandLine(const QStringList& arguments);

// A job without a window runs on Qt's offscreen platform where there is no display to connect
// to (no DISPLAY or WAYLAND_DISPLAY, and no platform named), so that printing works from a
// terminal or a script on a machine without a desktop. Sets QT_QPA_PLATFORM; call before the
// application object is made.
void ChooseWindowlessPlatform(const TCommandLine& commandLine);
