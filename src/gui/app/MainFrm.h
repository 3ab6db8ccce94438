// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QWidget>

// The empty workspace shown while no file is open: the application-workspace colour framed by
// a sunken edge.
class TWorkSpace : public QWidget {
  Q_OBJECT
public:
  explicit TWorkSpace(QWidget* parent = nullptr);

protected:
  void paintEvent(QPaintEvent* event) override;
};

class TMainForm : public QMainWindow {
  Q_OBJECT
public:
  explicit TMainForm(QWidget* parent = nullptr);

  TWorkSpace* pbWorkSpace = nullptr;
};
