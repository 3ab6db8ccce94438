// SPDX-License-Identifier: MIT
// The Open and Save dialogs on QFileDialog, their filters and the samples folder.
#include "platform/FileDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QUrl>

#include "platform/DataFiles.h"
#include "platform/DlgUtils.h"

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    // The description already names its pattern, as in "Web Page (*.htm)".
    result << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  }
  return result;
}

QString FilterExtension(const QString& filter, int filterIndex) {
  const QStringList parts = filter.split('|');
  const qsizetype at = 2 * static_cast<qsizetype>(filterIndex) - 1;
  if (filterIndex < 1 || at >= parts.size()) return {};
  // The first pattern of the type, as "*.rtf" in "*.rtf;*.doc".
  const QString pattern = parts[at].section(';', 0, 0).trimmed();
  if (!pattern.startsWith(QStringLiteral("*."))) return {};
  const QString extension = pattern.mid(2);
  return extension.contains('*') || extension.contains('?') ? QString() : extension;
}

QString WithTypeExtension(const QString& path, const QString& filter, int filterIndex,
                          const QString& defaultExt) {
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  QString extension = FilterExtension(filter, filterIndex);
  if (extension.isEmpty()) extension = defaultExt;
  return extension.isEmpty() ? path : path + '.' + extension;
}

bool IsReadOnlyFile(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

QString SamplesFolder() {
  const QString folder = FindDataFile(QStringLiteral("samples"));
  return QFileInfo(folder).isDir() ? folder : QString();
}

namespace {
// Saving: a name typed without an extension gets the extension of the type chosen when the user
// accepts, before the dialog asks whether to replace a file, so that choosing Rich Text Format
// never offers to overwrite "name.doz".
class TFileDialog : public QFileDialog {
public:
  TFileDialog(QWidget* owner, const TFileDialogRequest& request)
      : QFileDialog(owner, request.Title, request.InitialDir), m_Request(request) {
    // While typing, the dialog selects the listed file that the typed name plus the default
    // suffix names; the suffix must follow the chosen type, or "name" selects "name.doz".
    connect(this, &QFileDialog::filterSelected, this, [this] {
      if (acceptMode() == AcceptSave) UseSuffixOfChosenType();
    });
  }

  void accept() override {
    if (acceptMode() == AcceptSave) {
      UseSuffixOfChosenType();
      // A row the dialog selected while the name was typed under another suffix would win over
      // the typed name: select anew from the typed name alone.
      if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
          name && !name->text().isEmpty()) {
        selectFile(name->text());
      }
      // Saving over it would only fail later.
      const QStringList chosen = selectedFiles();
      if (!chosen.isEmpty() && IsReadOnlyFile(chosen.first())) {
        ShowMessageBox(tr("%1\nThis file is read-only. Please use a different file name.")
                           .arg(QDir::toNativeSeparators(chosen.first())));
        return;
      }
    }
    QFileDialog::accept();
  }

private:
  void UseSuffixOfChosenType() {
    const int index = static_cast<int>(nameFilters().indexOf(selectedNameFilter())) + 1;
    const QString extension = FilterExtension(m_Request.Filter, index);
    setDefaultSuffix(extension.isEmpty() ? m_Request.DefaultExt : extension);
  }

  const TFileDialogRequest& m_Request;
};

bool RunFileDialog(QWidget* owner, TFileDialogRequest& request, QFileDialog::AcceptMode mode) {
  TFileDialog dialog(owner, request);
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
