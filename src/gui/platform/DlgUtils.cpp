// SPDX-License-Identifier: MIT
#include "platform/DlgUtils.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace {
int DefaultMessageBox(const QString& message, const QString& caption, int style) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(caption.isEmpty() ? QObject::tr("Dadezivu") : caption);
  box.setText(message);
  switch (style & 0xF0) {
    case 0x10: box.setIcon(QMessageBox::Critical); break;
    case 0x30: box.setIcon(QMessageBox::Warning); break;
    case 0x40: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  QMessageBox::StandardButton defaultButton;
  switch (style & 0x0F) {
    case 0x1:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      defaultButton = QMessageBox::Ok;
      break;
    case 0x3:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      defaultButton = QMessageBox::Yes;
      break;
    case 0x4:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      defaultButton = QMessageBox::Yes;
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      defaultButton = QMessageBox::Ok;
      break;
  }
  // 0x100: the second button is the default.
  if ((style & 0xF00) == 0x100) defaultButton = box.standardButtons() & QMessageBox::No
                                                    ? QMessageBox::No
                                                    : QMessageBox::Cancel;
  box.setDefaultButton(defaultButton);
  switch (box.exec()) {
    case QMessageBox::Yes: return kResultYes;
    case QMessageBox::No: return kResultNo;
    case QMessageBox::Cancel: return kResultCancel;
    default: return kResultOK;
  }
}
}  // namespace

TMessageBoxFunction MessageBoxHandler = DefaultMessageBox;

int ShowMessageBox(const QString& message, const QString& caption, int style) {
  return MessageBoxHandler(message, caption, style);
}

QString FileTitle(const QString& path) {
  if (path.isEmpty()) return QObject::tr("Untitled");
  return QFileInfo(path).fileName();
}
