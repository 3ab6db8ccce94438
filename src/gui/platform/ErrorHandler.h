// SPDX-License-Identifier: MIT
// The one place that shows errors: the command guard and the application object.
#pragma once

#include <QApplication>
#include <functional>

// Runs a command; an error it raises is shown in the stop box captioned "Dadezivu" and the
// command is abandoned. No exception ever crosses a Qt slot or event handler.
void RunCommand(const std::function<void()>& command);

// Shows the message of any error that escapes an event handler, so that the program goes on.
class TApplication : public QApplication {
public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
