// SPDX-License-Identifier: MIT
#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    // The description already names its pattern, as in "Web Page (*.htm)".
    result << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  }
  return result;
}

namespace {
bool RunFileDialog(QWidget* owner, TFileDialogRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner, request.Title, request.InitialDir);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  const QStringList filters = QtNameFilters(request.Filter);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  }
  dialog.setDefaultSuffix(request.DefaultExt);
  if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  request.FileName = dialog.selectedFiles().first();
  request.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return true;
}
}  // namespace

TFileDialogFunction OpenFileDialog = [](QWidget* owner, TFileDialogRequest& request) {
  return RunFileDialog(owner, request, QFileDialog::AcceptOpen);
};

TFileDialogFunction SaveFileDialog = [](QWidget* owner, TFileDialogRequest& request) {
  return RunFileDialog(owner, request, QFileDialog::AcceptSave);
};
