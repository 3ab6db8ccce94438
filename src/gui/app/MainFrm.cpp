// SPDX-License-Identifier: MIT
#include "app/MainFrm.h"

#include <QPainter>
#include <qdrawutil.h>

TWorkSpace::TWorkSpace(QWidget* parent) : QWidget(parent) {
  setObjectName("pbWorkSpace");
  // The palette's Dark role is what Qt offers in place of the application-workspace colour.
  setBackgroundRole(QPalette::Dark);
  setAutoFillBackground(true);
}

void TWorkSpace::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Outer and inner sunken borders; the inside keeps the background.
  qDrawWinPanel(&painter, rect(), palette(), true, nullptr);
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainForm");
  setWindowTitle(tr("Dadezivu"));
  pbWorkSpace = new TWorkSpace(this);
  setCentralWidget(pbWorkSpace);
  resize(552, 374);
}
