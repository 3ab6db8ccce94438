// SPDX-License-Identifier: MIT
// The Open and Save dialogs on QFileDialog, their filters and the samples folder.
#include "platform/FileDialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    // The description already names its pattern, as in "Web Page (*.htm)".
    result << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  }
  return result;
}

QString SamplesFolder() {
  const QString candidates[] = {QCoreApplication::applicationDirPath() + "/samples",
                                QStringLiteral("/usr/share/dadezivu/samples"),
                                QStringLiteral("/usr/local/share/dadezivu/samples")};
  for (const QString& folder : candidates) {
    if (QFileInfo(folder).isDir()) return folder;
  }
  return {};
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
  // The samples are one click away, so there is something to open on a first start.
  const QString samples = SamplesFolder();
  if (!samples.isEmpty()) {
    QList<QUrl> places = dialog.sidebarUrls();
    places << QUrl::fromLocalFile(samples);
    dialog.setSidebarUrls(places);
  }
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
