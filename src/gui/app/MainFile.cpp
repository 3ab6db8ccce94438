// SPDX-License-Identifier: MIT
// The file commands of the main window: New, Open, Save, Save As, Properties and Exit, and the
// question whether to save changes.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <filesystem>
#include <system_error>

#include "app/MainFrm.h"
#include "app/Recovery.h"
#include "app/TestPanel.h"
#include "app/VocabGrid.h"
#include "dialogs/CnvrtDlg.h"
#include "dialogs/PropsDlg.h"
#include "dialogs/SrchDlg.h"
#include "import/KvtmlReader.h"
#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"
#include "platform/Hourglass.h"
#include "vocab/Export.h"

namespace {
// The file properties the Properties dialog edits.
enum TPropertyIndex : int { piDescription = 0, piAuthor = 1, piComments = 2 };

// The types of the Save As dialog, in the order of its filter (counted from 1). The four text
// types are the text export's formats 0 to 3 in the same order; the UTF-8 types, added after
// the others so that those keep their numbers, are its formats 4 and 5.
enum TSaveAsKind : int {
  skVocabulary = 1,
  skRtf = 2,
  skCommaText = 3,
  skTabText = 4,
  skUnicodeCommaText = 5,
  skUnicodeTabText = 6,
  skHtml = 7,
  skUtf8CommaText = 8,
  skUtf8TabText = 9,
};

std::string ToFilePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}
QString FromFilePath(const std::string& path) {
  return QFile::decodeName(path.c_str());
}

}  // namespace

bool TMainForm::QuerySave() {
  if (m_ViewMode == vmNone || !m_Vocab->Modified()) return true;
  const QString question =
      tr("Save changes to %1?").arg(FileTitle(FromFilePath(m_Vocab->FileName())));
  switch (ShowMessageBox(question, QString(), kMbIconExclamation | kMbYesNoCancel)) {
    case kIdYes:
      miFileSaveClick();
      // A cancelled Save As keeps the command from going on.
      return !m_Vocab->Modified();
    case kIdNo:
      m_Recovery->Remove();
      return true;
    default:
      return false;
  }
}

bool TMainForm::OpenFile(const QString& path) {
  THourglass hourglass;
  auto loaded = std::make_unique<TVocabFile>();
  try {
    // Changes a crashed program left of this file come first, if the user wants them.
    if (!m_Recovery->OfferFor(path, *loaded)) loaded->LoadFromFile(ToFilePath(path));
  } catch (const std::exception& e) {
    ShowMessageBox(QString::fromUtf8(e.what()), QString(), kMbStop);
    return false;
  }
  AdoptVocabulary(std::move(loaded));
  m_Settings.RecentFiles.AddFile(path);
  return true;
}

bool TMainForm::UpdateCharsets(uint16_t foreignLangId, uint16_t nativeLangId) {
  if (!dgVocab->UpdateCharsets(foreignLangId, nativeLangId, m_ViewMode == vmNone)) return false;
  m_SearchData.Text.clear();
  return true;
}

void TMainForm::AdoptVocabulary(std::unique_ptr<TVocabFile> vocab) {
  UpdateCharsets(vocab->ForeignLangID(), vocab->NativeLangID());
  // The list and the test panel let go of the old vocabulary before it is freed.
  dgVocab->SetVocabulary(vocab.get());
  pnlTest->SetVocabulary(vocab.get());
  m_Vocab = std::move(vocab);
  m_UntitledHistoryKey.clear();
  if (m_Vocab->Count() > 0) m_Vocab->SetItemIndex(0);
}

bool TMainForm::ChooseFileToOpen(QString& path) {
  TFileDialogRequest request;
  request.Title = tr("Open");
  request.Filter = tr("Dadezivu Files (*.doz)|*.doz|All Files (*.*)|*.*");
  request.FilterIndex = 1;
  request.InitialDir = QDir::currentPath();
  request.DefaultExt = "doz";
  dgVocab->ClearCutMark();
  if (!OpenFileDialog(this, request)) return false;
  path = request.FileName;
  return true;
}

bool TMainForm::EditProperties(bool isNew) {
  TPropertiesData data;
  data.IsNew = isNew;
  data.ForeignLangID = m_Vocab->ForeignLangID();
  data.NativeLangID = m_Vocab->NativeLangID();
  if (!isNew) {
    data.FileName = FromFilePath(m_Vocab->FileName());
    data.Description = m_Vocab->GetProperty(piDescription);
    data.Author = m_Vocab->GetProperty(piAuthor);
    data.Comments = m_Vocab->GetProperty(piComments);
  }
  if (!RunDialog<TPropertiesDialog>(PropertiesDialogRunner, data)) return false;
  const bool charsetsChanged = UpdateCharsets(data.ForeignLangID, data.NativeLangID);
  m_Vocab->SetForeignLangID(data.ForeignLangID);
  m_Vocab->SetNativeLangID(data.NativeLangID);
  // An open Find window would still offer the old text in the old alphabet.
  if (charsetsChanged && FindWindow->isVisible()) FindWindow->FormShow();
  if (isNew) {
    m_Vocab->Clear();
    m_UntitledHistoryKey.clear();
  }
  m_Vocab->SetProperty(piDescription, data.Description);
  m_Vocab->SetProperty(piAuthor, data.Author);
  m_Vocab->SetProperty(piComments, data.Comments);
  dgVocab->RefreshList();
  return true;
}

void TMainForm::miFileNewClick() {
  if (!QuerySave()) return;
  if (EditProperties(true)) SetViewMode(vmList);
}

void TMainForm::miFileOpenClick() {
  if (!QuerySave()) return;
  QString path;
  if (!ChooseFileToOpen(path)) return;
  if (OpenFile(path)) SetViewMode(vmList);
}

void TMainForm::miFileImportClick() {
  TFileDialogRequest request;
  request.Title = tr("Import");
  request.Filter =
      tr("Dadezivu Files (*.doz)|*.doz|Text Files (*.txt, *.csv)|*.txt;*.csv|KVTML Files "
         "(*.kvtml)|*.kvtml|Anki Packages (*.apkg, *.colpkg)|*.apkg;*.colpkg|All Files (*.*)|*.*");
  request.FilterIndex = 1;
  request.InitialDir = QDir::currentPath();
  dgVocab->ClearCutMark();
  if (!OpenFileDialog(this, request)) return;
  const QString path = request.FileName;
  const std::string file = ToFilePath(path);

  int32_t count = 0;
  QString details;
  const QString suffix = QFileInfo(path).suffix();
  if (suffix == "doz") {
    THourglass hourglass;
    count = m_Vocab->MergeFile(file);
  } else if (suffix.compare("kvtml", Qt::CaseInsensitive) == 0) {
    THourglass hourglass;
    count = ImportKvtml(*m_Vocab, path);
  } else if (suffix.compare("apkg", Qt::CaseInsensitive) == 0 ||
             suffix.compare("colpkg", Qt::CaseInsensitive) == 0) {
    count = ImportAnkiPackage(path, details);
    if (count < 0) return;
  } else {
    TImportRequest import;
    import.TextType = DetectTextType(file);
    if (!RunDialog<TConvertDialog>(ConvertDialogRunner, import)) return;
    THourglass hourglass;
    count = m_Vocab->ImportText(file, import.TextType, import.ColumnMap, import.FirstLine);
  }
  if (count == 0) throw std::runtime_error(tr("Nothing to import.").toStdString());
  m_Vocab->SetItemIndex(m_Vocab->Count() - 1);
  dgVocab->RefreshList();
  ShowMessageBox(tr("%1 items imported successfully.").arg(count) + details, tr("Import"),
                 kMbNotice);
}

int32_t TMainForm::ImportAnkiPackage(const QString& path, QString& details) {
  TAnkiMappingData mapping;
  TAnkiPackage package;
  {
    THourglass hourglass;
    package = ReadAnkiPackage(ToFilePath(path));
  }
  if (package.Notes.empty()) return 0;
  // The map confirmed last for a note type of the same name, fitted to its fields; else the
  // suggestion.
  for (const TAnkiNoteType& type : package.NoteTypes) {
    TAnkiFieldMap map = ReadAnkiFieldMap(*m_Store, QString::fromStdString(type.Name));
    if (map.empty()) map = DefaultAnkiFieldMap(type.FieldNames.size());
    map.resize(type.FieldNames.size(), -1);
    mapping.Maps.push_back(std::move(map));
  }
  mapping.NoteTypes = package.NoteTypes;
  if (!RunDialog<TAnkiImportDialog>(AnkiDialogRunner, mapping)) return -1;
  for (size_t type = 0; type < package.NoteTypes.size(); ++type) {
    WriteAnkiFieldMap(*m_Store, QString::fromStdString(package.NoteTypes[type].Name),
                      mapping.Maps[type]);
  }
  THourglass hourglass;
  const TAnkiImportResult result = ImportAnkiNotes(*m_Vocab, package, mapping.Maps);
  if (result.Added > 0 && package.DroppedMedia > 0) {
    details += tr("\n%1 sound or image references of the package were left out.")
                   .arg(package.DroppedMedia);
  }
  if (result.Unconvertible > 0) {
    details += tr("\n%1 characters were not in the vocabulary's code pages and became \"?\".")
                   .arg(result.Unconvertible);
  }
  return result.Added;
}

void TMainForm::miFileSaveClick() {
  dgVocab->ClearCutMark();
  const QString fileName = FromFilePath(m_Vocab->FileName());
  if (fileName.isEmpty()) {
    miFileSaveAsClick();
    return;
  }
  if (IsReadOnlyFile(fileName)) {
    const QFileInfo info(fileName);
    ShowMessageBox(
        tr("%1\nThis file is read-only. Please use a different file name.")
            .arg(QDir::toNativeSeparators(info.path()) + QDir::separator() + FileTitle(fileName)));
    miFileSaveAsClick();
    return;
  }
  THourglass hourglass;
  m_Vocab->SaveToFile(ToFilePath(fileName));
  m_Recovery->Remove();
}

void TMainForm::miFileSaveAsClick() {
  const QString fileName = FromFilePath(m_Vocab->FileName());
  TFileDialogRequest request;
  request.Filter =
      tr("Dadezivu File (*.doz)|*.doz|Rich Text Format (*.rtf)|*.rtf|Text (Comma-delimited) "
         "(*.txt)|*.txt|Text (Tab-delimited) (*.txt)|*.txt|Unicode Text (Comma-delimited) "
         "(*.txt)|*.txt|Unicode Text (Tab-delimited) (*.txt)|*.txt|Web Page (*.htm)|*.htm|"
         "UTF-8 Text (Comma-delimited) (*.txt)|*.txt|UTF-8 Text (Tab-delimited) (*.txt)|*.txt");
  request.FilterIndex = skVocabulary;
  if (fileName.isEmpty()) {
    request.InitialDir = QDir::currentPath();
  } else {
    const QFileInfo info(fileName);
    request.InitialDir = info.absolutePath();
    request.FileName = info.completeBaseName();
  }
  request.DefaultExt = "doz";
  dgVocab->ClearCutMark();
  if (!SaveFileDialog(this, request)) return;
  SaveAs(
      WithTypeExtension(request.FileName, request.Filter, request.FilterIndex, request.DefaultExt),
      request.FilterIndex);
}

void TMainForm::SaveAs(const QString& path, int filterIndex) {
  const std::string file = ToFilePath(path);
  // An export over the vocabulary's own file would destroy it while the vocabulary still
  // counts as saved there.
  const bool isExport = filterIndex >= skRtf && filterIndex <= skUtf8TabText;
  std::error_code error;
  if (isExport && !m_Vocab->FileName().empty() &&
      std::filesystem::equivalent(file, m_Vocab->FileName(), error)) {
    ShowMessageBox(tr("%1\nThis file holds the open vocabulary, so an export cannot replace it. "
                      "Please use a different file name.")
                       .arg(QDir::toNativeSeparators(path)));
    return;
  }
  THourglass hourglass;
  // The exports write a copy: the vocabulary keeps its file name and modified state.
  switch (filterIndex) {
    case skRtf:
      ExportRtf(*m_Vocab, file);
      break;
    case skCommaText:
    case skTabText:
    case skUnicodeCommaText:
    case skUnicodeTabText:
      m_Vocab->ExportText(file, filterIndex - skCommaText);
      break;
    case skUtf8CommaText:
    case skUtf8TabText:
      m_Vocab->ExportText(file, filterIndex - skUtf8CommaText + 4);
      break;
    case skHtml:
      ExportHtml(*m_Vocab, file);
      break;
    default: {
      const std::string historyKey = HistoryKey();
      m_Vocab->SaveToFile(file);
      m_Recovery->Remove();
      m_Settings.RecentFiles.AddFile(path);
      // The history goes with the vocabulary to its new name.
      History().Rename(historyKey, HistoryKey());
      m_UntitledHistoryKey.clear();
      break;
    }
  }
}

void TMainForm::miFilePropertiesClick() {
  EditProperties(false);
}

void TMainForm::miFileExitClick() {
  close();
}
