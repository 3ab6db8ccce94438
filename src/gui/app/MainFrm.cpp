// SPDX-License-Identifier: MIT
#include "app/MainFrm.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

TWorkSpace::TWorkSpace(QWidget* parent) : QWidget(parent) {
  setObjectName("pbWorkSpace");
  // The palette's Dark role is what Qt offers in place of the application-workspace colour.
  setBackgroundRole(QPalette::Dark);
  setAutoFillBackground(true);
}

void TWorkSpace::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.rect = rect();
  frame.lineWidth = 2;
  frame.midLineWidth = 0;
  frame.state |= QStyle::State_Sunken;
  frame.frameShape = QFrame::Panel;
  style()->drawControl(QStyle::CE_ShapedFrame, &frame, &painter, this);
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainForm");
  setWindowTitle(tr("Dadezivu"));
  pbWorkSpace = new TWorkSpace(this);
  setCentralWidget(pbWorkSpace);
  resize(552, 374);
}
