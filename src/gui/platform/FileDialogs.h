// SPDX-License-Identifier: MIT
// The Open and Save dialog seams and their request record.
#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the Open and Save dialogs are asked and what they answer. Filters are in the
// "Description|pattern|Description|pattern" form; FilterIndex counts from 1.
struct TFileDialogRequest {
  QString Title;
  QString Filter;
  int FilterIndex = 1;
  QString InitialDir;
  QString FileName;  // in: proposed name; out: the chosen path
  QString DefaultExt;
};

// Modal file dialogs go through these, so that tests can answer them. Each returns false when
// the user cancelled; on true, FileName holds the chosen path and FilterIndex the chosen type.
using TFileDialogFunction = std::function<bool(QWidget* owner, TFileDialogRequest& request)>;
extern TFileDialogFunction OpenFileDialog;
extern TFileDialogFunction SaveFileDialog;

// The file exists and carries the read-only attribute (its owner may not write it), whoever we
// are. The Save dialogs refuse such a file.
bool IsReadOnlyFile(const QString& path);

// The folder of the sample vocabularies: beside the program, else in the installed data folder;
// empty when neither exists.
QString SamplesFolder();

// "Dadezivu Files (*.doz)|*.doz|All Files (*.*)|*.*" as Qt name filters, in the same order.
QStringList QtNameFilters(const QString& filter);
// The extension of the type filterIndex (from 1) of filter: "rtf" for "...|*.rtf|...", empty
// when that type names none ("*.*") or there is no such type.
QString FilterExtension(const QString& filter, int filterIndex);
// path as saved with the type filterIndex: a file name without an extension gets the type's
// extension, or defaultExt where the type names none.
QString WithTypeExtension(const QString& path, const QString& filter, int filterIndex,
                          const QString& defaultExt);
