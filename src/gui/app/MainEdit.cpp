// SPDX-License-Identifier: MIT
// The Edit menu of the main window and the keys the window handles itself.
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/MainFrm.h"
#include "app/VocabGrid.h"
#include "dialogs/SortDlg.h"
#include "dialogs/SrchDlg.h"
#include "platform/ErrorHandler.h"
#include "platform/Hourglass.h"
#include "vocab/SortKeys.h"

void TMainForm::CreateEditMenu() {
  miEdit = menuBar()->addMenu(tr("&Edit"));
  miEdit->setObjectName("miEdit");
  miEdit->setStatusTip(tr("Commands for editing vocabulary"));
  miEditUndo = AddCommand(miEdit, "miEditUndo", 2100, tr("&Undo"), tr("Reverses an action"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z), tiUndo, &TMainForm::miEditUndoClick);
  miEditRedo = AddCommand(miEdit, "miEditRedo", 2101, tr("&Redo"), tr("Repeats an action"),
                          QKeySequence(Qt::CTRL | Qt::Key_Y), tiRedo, &TMainForm::miEditRedoClick);
  miEdit->addSeparator();
  miEditCut =
      AddCommand(miEdit, "miEditCut", 2102, tr("Cu&t"), tr("Prepares to move the selected item"),
                 QKeySequence(Qt::CTRL | Qt::Key_X), tiCut, &TMainForm::miEditCutClick);
  miEditCopy = AddCommand(miEdit, "miEditCopy", 2103, tr("&Copy"), tr("Copies the selected item"),
                          QKeySequence(Qt::CTRL | Qt::Key_C), tiCopy, &TMainForm::miEditCopyClick);
  miEditPaste =
      AddCommand(miEdit, "miEditPaste", 2104, tr("&Paste"), tr("Inserts the item on the clipboard"),
                 QKeySequence(Qt::CTRL | Qt::Key_V), tiPaste, &TMainForm::miEditPasteClick);
  miEdit->addSeparator();
  miEditAdd = AddCommand(miEdit, "miEditAdd", 2105, tr("&Add..."), tr("Adds a new item"),
                         QKeySequence(Qt::Key_Insert), tiAdd, &TMainForm::miEditAddClick);
  miEditEdit =
      AddCommand(miEdit, "miEditEdit", 2106, tr("&Edit..."), tr("Modifies the selected item"),
                 QKeySequence(Qt::Key_F2), tiEdit, &TMainForm::miEditEditClick);
  miEditDelete =
      AddCommand(miEdit, "miEditDelete", 2107, tr("&Delete"), tr("Deletes the selected item"),
                 QKeySequence(Qt::Key_Delete), tiDelete, &TMainForm::miEditDeleteClick);
  miEdit->addSeparator();
  miEditMoveUp =
      AddCommand(miEdit, "miEditMoveUp", 2108, tr("&Move Up"), tr("Moves the selected item up"),
                 QKeySequence(Qt::CTRL | Qt::Key_U), tiMoveUp, &TMainForm::miEditMoveUpClick);
  miEditMoveDown = AddCommand(
      miEdit, "miEditMoveDown", 2109, tr("M&ove Down"), tr("Moves the selected item down"),
      QKeySequence(Qt::CTRL | Qt::Key_D), tiMoveDown, &TMainForm::miEditMoveDownClick);
  miEdit->addSeparator();
  miEditSort = AddCommand(miEdit, "miEditSort", 2110, tr("&Sort..."),
                          tr("Arranges items in alphabetical order"), QKeySequence(Qt::Key_F8),
                          tiSort, &TMainForm::miEditSortClick);
  miEditShuffle = AddCommand(miEdit, "miEditShuffle", 2111, tr("S&huffle"),
                             tr("Arranges items in a random order"), {}, tiNone,
                             &TMainForm::miEditShuffleClick);
  miEdit->addSeparator();
  miEditFind =
      AddCommand(miEdit, "miEditFind", 2112, tr("&Find..."), tr("Searches the current file"),
                 QKeySequence(Qt::CTRL | Qt::Key_F), tiFind, &TMainForm::miEditFindClick);
  miEditFindNext =
      AddCommand(miEdit, "miEditFindNext", 2113, tr("Find &Next"), tr("Repeats the last search"),
                 QKeySequence(Qt::Key_F3), tiFindNext, &TMainForm::miEditFindNextClick);
  // The tool-bar Sort sorts at once by the remembered field; it shares the menu item's look.
  tbSort = new QAction(miEditSort->icon(), miEditSort->text(), this);
  tbSort->setObjectName("tbSortAction");
  tbSort->setStatusTip(miEditSort->statusTip());
  connect(tbSort, &QAction::triggered, this, [this] { RunCommand([this] { tbSortClick(); }); });
}

QString TMainForm::MenuItemHint(const QAction* item) {
  QString tip = item->text();
  tip.remove('&').remove('.');
  if (!item->shortcut().isEmpty()) {
    tip += " - " + item->shortcut().toString(QKeySequence::NativeText);
  }
  return tip + "|" + item->statusTip();
}

void TMainForm::InitToolHints() {
  for (QAction* item : {miFileNew, miFileOpen, miFileSave, miEditCut, miEditCopy, miEditPaste,
                        miEditUndo, miEditRedo, miEditAdd, miEditEdit, miEditDelete, miTestPassive,
                        miTestActive, miTestMultipleChoice, miTestHint, miTestStatistics}) {
    // The tip is fixed here: the Undo and Redo buttons keep their plain captions.
    item->setToolTip(MenuItemHint(item).section('|', 0, 0));
  }
  tbSort->setToolTip(MenuItemHint(miEditSort).section('|', 0, 0));
  tbPrint->setToolTip(MenuItemHint(miFilePrint).section('|', 0, 0));
}

TAddMode TMainForm::AddMode() const {
  return m_Settings.Options.AppendNewWords ? amAtEnd : amAfterCurrent;
}

void TMainForm::miEditUndoClick() {
  dgVocab->ClearCutMark();
  m_Vocab->Undo();
  dgVocab->RefreshList();
}

void TMainForm::miEditRedoClick() {
  dgVocab->ClearCutMark();
  m_Vocab->Redo();
  dgVocab->RefreshList();
}

void TMainForm::miEditCopyClick() {
  dgVocab->ClearCutMark();
  m_Vocab->CopyToClipboard(*m_Clipboard);
}

void TMainForm::miEditCutClick() {
  miEditCopyClick();
  // The entry stays where it is; the mark turns the next Paste into a move.
  dgVocab->SetCutRow(m_Vocab->ItemIndex());
}

void TMainForm::miEditPasteClick() {
  const int32_t cutRow = dgVocab->CutRow();
  if (cutRow < 0) {
    if (!m_Vocab->CanPaste(*m_Clipboard)) return;
    m_Vocab->PasteFromClipboard(*m_Clipboard, AddMode());
    dgVocab->RefreshList();
    return;
  }
  const int32_t target = m_Vocab->ItemIndex();
  if (cutRow == target) {
    dgVocab->ClearCutMark();
    return;
  }
  m_Vocab->SetItemIndex(cutRow);
  m_Vocab->MoveCurrent(target);
  dgVocab->ClearCutMark();
  dgVocab->RefreshList();
}

bool TMainForm::RunEditDialog(TEditData& data) {
  return RunDialog<TEditDialog>(EditDialogRunner, data, *m_Vocab, m_Settings.Options,
                                dgVocab->DisplayFont());
}

void TMainForm::miEditAddClick() {
  TEditData data;
  data.IsAdd = true;
  if (!RunEditDialog(data)) return;
  TVocabItem& item = m_Vocab->EditItem();
  item.Values = data.Values;
  item.SortPos = data.SortPos;
  m_Vocab->AddItem(AddMode());
  dgVocab->RefreshList();
}

void TMainForm::miEditEditClick() {
  const TVocabItem& current = m_Vocab->CurrentItem();
  TEditData data;
  data.IsAdd = false;
  data.Values = current.Values;
  data.SortPos = current.SortPos;
  if (!RunEditDialog(data)) return;
  // A fresh entry: the edited one starts its testing statistics again.
  TVocabItem& item = m_Vocab->EditItem();
  item.Values = data.Values;
  item.SortPos = data.SortPos;
  m_Vocab->ReplaceCurrent();
  dgVocab->RefreshList();
}

void TMainForm::miEditDeleteClick() {
  dgVocab->ClearCutMark();
  m_Vocab->CurrentItem().DisplayWidth = 0;
  m_Vocab->DeleteCurrent();
  dgVocab->RefreshList();
}

void TMainForm::miEditMoveUpClick() {
  dgVocab->ClearCutMark();
  m_Vocab->MoveCurrent(m_Vocab->ItemIndex() - 1);
  dgVocab->RefreshList();
}

void TMainForm::miEditMoveDownClick() {
  dgVocab->ClearCutMark();
  m_Vocab->MoveCurrent(m_Vocab->ItemIndex() + 1);
  dgVocab->RefreshList();
}

void TMainForm::miEditShuffleClick() {
  dgVocab->ClearCutMark();
  m_Vocab->Shuffle();
  dgVocab->RefreshList();
}

void TMainForm::miEditSortClick() {
  if (RunDialog<TSortDialog>(SortDialogRunner, m_SortField)) SortBy();
}

void TMainForm::tbSortClick() {
  SortBy();
}

void TMainForm::SortBy() {
  dgVocab->ClearCutMark();
  THourglass hourglass;
  FillSortKeys(*m_Vocab, m_SortField);
  m_Vocab->Sort();
  dgVocab->RefreshList();
}

void TMainForm::miEditFindClick() {
  dgVocab->ClearCutMark();
  FindWindow->show();
  FindWindow->raise();
  FindWindow->activateWindow();
}

void TMainForm::miEditFindNextClick() {
  FindNextEntry(
      *m_Vocab, m_SearchData, FindWindow,
      [this](int row) {
        m_Vocab->SetItemIndex(row);
        dgVocab->RefreshList();
      },
      [this](int row) {
        const QRect cell = dgVocab->visualRect(dgVocab->model()->index(row, 0));
        return QRect(dgVocab->viewport()->mapToGlobal(cell.topLeft()), cell.size());
      });
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (auto* menu = qobject_cast<QMenu*>(watched)) {
    if (MenuHelpKey(menu, event)) return true;
  }
  // During a drag the keys are the drag's: Escape cancels it, Enter does nothing.
  if (watched == dgVocab && event->type() == QEvent::KeyPress && m_ViewMode == vmList &&
      !dgVocab->Dragging()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      RunCommand([&] {
        if (dgVocab->CutRow() >= 0 && miEditPaste->isEnabled()) {
          miEditPasteClick();
        } else if (miEditEdit->isEnabled()) {
          miEditEditClick();
        }
      });
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      dgVocab->ClearCutMark();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}
