// SPDX-License-Identifier: MIT
// The scoped hourglass cursor of long commands.
#pragma once

#include <QGuiApplication>

// Shows the hourglass cursor for as long as it lives, also when an error passes.
class THourglass {
public:
  THourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~THourglass() { QGuiApplication::restoreOverrideCursor(); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
};
