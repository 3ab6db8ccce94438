// SPDX-License-Identifier: MIT
// Tests of the options dialog and of the main window's Options command.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "dialogs/OptDlg.h"
#include "settings/RegUtils.h"
#include "text/Languages.h"

namespace {
constexpr uint16_t kRussian = 0x0419;

QStringList Checked(const QListWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->checkState() == Qt::Checked) rows << list->item(i)->text();
  }
  return rows;
}

// A record in which every field differs from the defaults.
TOptionsData Unusual() {
  TOptionsData d;
  TProgramOptions& o = d.Options;
  o.AppendNewWords = true;
  o.ConfirmDuplicates = false;
  o.ConfirmNoSort = true;
  o.ConfirmNoCategory = false;
  o.SkipNotes = true;
  o.LearntColour = 0x008000;
  o.ShortcutChars[0] = {0xE9, 0};
  o.ShortcutChars[91] = {0xC0, 204};
  o.KeyboardSwitching = false;
  o.TestNotesPassive = true;
  o.TestNotesActive = true;
  o.NumChoices = 7;
  o.PassiveFlags = 0x0822;
  o.ActiveFlags = 0x0014;
  o.EnglishFlags = 0x0200;
  o.AutoContinue = true;
  o.WrongColour = 0xFF00FF;
  o.RightColour = 0x00FFFF;
  o.WrongDelay = 20;
  o.UsePenaltyPoints = true;
  o.MaxPenaltyPoints = 5;
  o.DisallowHints = true;
  d.RightSound = "/a/right.wav";
  d.WrongSound = "";
  d.KeepHistory = false;
  return d;
}
}  // namespace

class TestOptionsDialog : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { m_Unexpected.Verify(); }

  void showsTheDefaultsOfAFirstStart();
  void okGivesBackWhatWasLoaded();
  void badNumbersAreRefusedOnOkAndOnLeavingThePage();
  void penaltyMaximumFollowsItsCheckBox();
  void partOfSpeechWarningExcludesTabbingPastIt();
  void autoContinueDisablesTheRightColour();
  void charactersAreAssignedInTheirCharacterSet();
  void clearAllAsksFirst();
  void soundPathsAreTrimmedAndBrowsed();
  void addedRowsFollowTheSeven();
  void keysAndHelpTopics();
  void mainWindowRemembersThePageForTheRun();
  void newOptionsReachATestInProgress();
  void screenshots();

private:
  TUnexpectedModals m_Unexpected;
};

void TestOptionsDialog::showsTheDefaultsOfAFirstStart() {
  TOptionsData data;
  TOptionsDialog dialog(nullptr, data, 0x0409);
  QCOMPARE(dialog.pcOptions->currentIndex(), 0);
  QCOMPARE(dialog.pcOptions->count(), 5);
  QStringList tabs;
  for (int i = 0; i < 5; ++i) tabs << dialog.pcOptions->tabText(i);
  QCOMPARE(tabs, QStringList({"General", "Question", "Evaluation", "Feedback", "Speech"}));
  QVERIFY(!dialog.chbAppendNewWords->isChecked());
  QVERIFY(dialog.chbConfirmDuplicates->isChecked());
  QVERIFY(dialog.chbKeyboardSwitching->isChecked());
  QVERIFY(dialog.chbKeepHistory->isChecked());
  QCOMPARE(dialog.cbColourLearnt->currentText(), "Grey");
  QCOMPARE(dialog.cbNumChoices->currentText(), "4");
  QVERIFY(!dialog.chbUsePenaltyPoints->isChecked());
  QCOMPARE(dialog.cbMaxPenaltyPoints->currentText(), "3");
  QVERIFY(!dialog.cbMaxPenaltyPoints->isEnabled());
  QCOMPARE(dialog.edtDelay->text(), "0");
  QVERIFY(dialog.rbColourRight->isChecked());
  QCOMPARE(dialog.cbColourRight->currentText(), "Blue");
  QCOMPARE(dialog.cbColourWrong->currentText(), "Red");
  // Every comparison row is on, except the added one for accents.
  QCOMPARE(Checked(dialog.clbPassive).size(), 7);
  QCOMPARE(Checked(dialog.clbActive).size(), 7);
  QCOMPARE(Checked(dialog.clbEnglish).size(), 3);
  QCOMPARE(dialog.clbPassive->item(7)->checkState(), Qt::Unchecked);
  QCOMPARE(dialog.cbColourLearnt->count(), 16);
  QCOMPARE(dialog.cbCharacter->count(), 162);
  QVERIFY(!dialog.lblUnassigned->isHidden());
}

void TestOptionsDialog::okGivesBackWhatWasLoaded() {
  for (const TOptionsData& original : {TOptionsData{}, Unusual()}) {
    for (int page = 0; page < 4; ++page) {
      TOptionsData data = original;
      data.OptionsPage = page;
      TOptionsDialog dialog(nullptr, data, kRussian);
      dialog.show();
      QCOMPARE(dialog.pcOptions->currentIndex(), page);
      QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QVERIFY(data.Options == original.Options);
      QCOMPARE(data.RightSound, original.RightSound);
      QCOMPARE(data.WrongSound, original.WrongSound);
      QCOMPARE(data.KeepHistory, original.KeepHistory);
      QCOMPARE(data.OptionsPage, page);
    }
  }
  // Cancel writes nothing back; a colour that is not offered is kept.
  TOptionsData data = Unusual();
  data.Options.LearntColour = 0x123456;
  TOptionsDialog dialog(nullptr, data, 0);
  QCOMPARE(dialog.cbColourLearnt->currentIndex(), -1);
  dialog.chbAppendNewWords->setChecked(false);
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QVERIFY(data.Options.AppendNewWords);
  TOptionsDialog again(nullptr, data, 0);
  QTest::mouseClick(again.btnOK, Qt::LeftButton);
  QCOMPARE(data.Options.LearntColour, 0x123456u);
}

void TestOptionsDialog::badNumbersAreRefusedOnOkAndOnLeavingThePage() {
  struct TCase {
    int Page;
    const char* Field;
    const char* Text;
    const char* Message;
  };
  const TCase cases[] = {
      {1, "cbNumChoices", "11", "Number must be between 3 and 10."},
      {1, "cbNumChoices", "2", "Number must be between 3 and 10."},
      {1, "cbNumChoices", "", "Number must be between 3 and 10."},
      {3, "edtDelay", "21", "Number must be between 0 and 20."},
  };
  for (const TCase& c : cases) {
    TOptionsData data;
    data.OptionsPage = c.Page;
    TOptionsDialog dialog(nullptr, data, 0);
    dialog.show();
    QWidget* field = dialog.findChild<QWidget*>(c.Field);
    QVERIFY(field);
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
      combo->setEditText(c.Text);
    } else {
      static_cast<QLineEdit*>(field)->setText(c.Text);
    }
    {
      TMessageBoxes boxes;
      QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
      QCOMPARE(boxes.Messages(), QStringList{c.Message});
      QCOMPARE(boxes.Shown[0].Style, kMbError);
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      QVERIFY(dialog.isVisible());
    }
    {
      TMessageBoxes boxes;
      dialog.pcOptions->setCurrentIndex(0);
      QCOMPARE(boxes.Messages(), QStringList{c.Message});
      QCOMPARE(dialog.pcOptions->currentIndex(), c.Page);
      QVERIFY(dialog.focusWidget() == field || field->isAncestorOf(dialog.focusWidget()));
    }
    TMessageBoxes none;
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
      combo->setEditText("10");
    } else {
      static_cast<QLineEdit*>(field)->setText("10");
    }
    dialog.pcOptions->setCurrentIndex(0);
    QCOMPARE(dialog.pcOptions->currentIndex(), 0);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(none.Shown.size(), 0);
    QCOMPARE(data.OptionsPage, 0);
    QCOMPARE(c.Page == 1 ? data.Options.NumChoices : data.Options.WrongDelay, 10);
  }
}

void TestOptionsDialog::penaltyMaximumFollowsItsCheckBox() {
  TOptionsData data;
  data.OptionsPage = 1;
  TOptionsDialog dialog(nullptr, data, 0);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTest::mouseClick(dialog.chbUsePenaltyPoints, Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(dialog.chbUsePenaltyPoints->isChecked());
  QVERIFY(dialog.cbMaxPenaltyPoints->isEnabled());
  QVERIFY(dialog.lblMaxPenaltyPoints->isEnabled());
  QVERIFY(dialog.lblPenaltyPoints->isEnabled());
  QTRY_VERIFY(dialog.cbMaxPenaltyPoints->hasFocus());
  dialog.cbMaxPenaltyPoints->setEditText("5");
  QTest::mouseClick(dialog.chbUsePenaltyPoints, Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(!dialog.cbMaxPenaltyPoints->isEnabled());
  QVERIFY(!dialog.lblPenaltyPoints->isEnabled());
  QCOMPARE(dialog.cbMaxPenaltyPoints->currentText(), "3");
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(data.Options.MaxPenaltyPoints, 3);
  QVERIFY(!data.Options.UsePenaltyPoints);
}

void TestOptionsDialog::partOfSpeechWarningExcludesTabbingPastIt() {
  TOptionsData data;
  data.Options.SkipNotes = true;
  TOptionsDialog dialog(nullptr, data, 0);
  QVERIFY(dialog.chbSkipNotes->isEnabled());
  dialog.chbConfirmNoCategory->setChecked(true);
  QVERIFY(!dialog.chbSkipNotes->isChecked());
  QVERIFY(!dialog.chbSkipNotes->isEnabled());
  dialog.chbConfirmNoCategory->setChecked(false);
  QVERIFY(dialog.chbSkipNotes->isEnabled());
  QVERIFY(!dialog.chbSkipNotes->isChecked());
}

void TestOptionsDialog::autoContinueDisablesTheRightColour() {
  TOptionsData data;
  TOptionsDialog dialog(nullptr, data, 0);
  QVERIFY(dialog.cbColourRight->isEnabled());
  dialog.rbAutoContinue->setChecked(true);
  QVERIFY(!dialog.cbColourRight->isEnabled());
  dialog.rbColourRight->setChecked(true);
  QVERIFY(dialog.cbColourRight->isEnabled());
  dialog.rbAutoContinue->setChecked(true);
  dialog.cbColourWrong->setCurrentIndex(dialog.cbColourWrong->findText("Navy"));
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QVERIFY(data.Options.AutoContinue);
  QCOMPARE(data.Options.WrongColour, 0x800000u);
}

void TestOptionsDialog::charactersAreAssignedInTheirCharacterSet() {
  TOptionsData data;
  data.Options.ShortcutChars[1] = {0xE9, 0};
  TOptionsDialog dialog(nullptr, data, kRussian);
  // An unassigned key offers the foreign language's script.
  QCOMPARE(dialog.cbCharSet->currentText(), "Cyrillic");
  QCOMPARE(dialog.cbCharacter->currentIndex(), 0);
  const int cyrillicA = dialog.cbCharacter->findData(0xC0);
  QCOMPARE(dialog.cbCharacter->itemText(cyrillicA), QString(QChar(0x0410)));
  // An assigned key shows its own script.
  dialog.cbShortcut->setCurrentIndex(1);
  QCOMPARE(dialog.cbCharSet->currentText(), "Western");
  QCOMPARE(dialog.cbCharacter->currentText(), QString(QChar(0xE9)));
  QVERIFY(dialog.lblUnassigned->isHidden());

  dialog.cbShortcut->setCurrentIndex(26);
  QCOMPARE(dialog.cbShortcut->currentText(),
           QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A).toString(QKeySequence::NativeText));
  dialog.cbCharacter->setCurrentIndex(dialog.cbCharacter->findData(0xC0));
  QVERIFY(dialog.lblUnassigned->isHidden());
  // Changing the script keeps the code and stores the new set.
  dialog.cbShortcut->setCurrentIndex(2);
  dialog.cbCharacter->setCurrentIndex(dialog.cbCharacter->findData(0xE0));
  dialog.cbCharSet->setCurrentIndex(dialog.cbCharSet->findText("Greek"));
  QCOMPARE(dialog.cbCharacter->currentText(), QString(QChar(0x03B0)));
  // The space row clears an assignment.
  dialog.cbShortcut->setCurrentIndex(1);
  dialog.cbCharacter->setCurrentIndex(0);
  QVERIFY(!dialog.lblUnassigned->isHidden());
  QCOMPARE(data.Options.ShortcutChars[26], TShortcutChar{});  // only on OK
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(data.Options.ShortcutChars[26], (TShortcutChar{0xC0, 204}));
  QCOMPARE(data.Options.ShortcutChars[2], (TShortcutChar{0xE0, 161}));
  QCOMPARE(data.Options.ShortcutChars[1], TShortcutChar{});
}

void TestOptionsDialog::clearAllAsksFirst() {
  TOptionsData data = Unusual();
  TOptionsDialog dialog(nullptr, data, 0);
  dialog.show();
  dialog.cbShortcut->setCurrentIndex(91);
  {
    TMessageBoxes boxes({kIdCancel});
    QTest::mouseClick(dialog.btnClearAll, Qt::LeftButton);
    QCOMPARE(boxes.Messages(), QStringList{"Clear all shortcut key assignments?"});
    QCOMPARE(boxes.Shown[0].Style, kMbWarning);
    QCOMPARE(dialog.cbShortcut->currentIndex(), 91);
  }
  {
    TMessageBoxes boxes({kIdOk});
    QTest::mouseClick(dialog.btnClearAll, Qt::LeftButton);
    QCOMPARE(dialog.cbShortcut->currentIndex(), 0);
    QCOMPARE(dialog.cbCharacter->currentIndex(), 0);
    QTRY_VERIFY(dialog.cbShortcut->hasFocus());
  }
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  for (const TShortcutChar& c : data.Options.ShortcutChars) QCOMPARE(c, TShortcutChar{});

  // Cancelled, the assignments survive OK.
  TOptionsData kept = Unusual();
  TOptionsDialog second(nullptr, kept, 0);
  TMessageBoxes boxes({kIdCancel});
  QTest::mouseClick(second.btnClearAll, Qt::LeftButton);
  QTest::mouseClick(second.btnOK, Qt::LeftButton);
  QVERIFY(kept.Options.ShortcutChars == Unusual().Options.ShortcutChars);
}

void TestOptionsDialog::soundPathsAreTrimmedAndBrowsed() {
  TOptionsData data = Unusual();
  data.OptionsPage = 3;
  TOptionsDialog dialog(nullptr, data, 0);
  dialog.edtSoundFileRight->setText("  \t/x/Clap.wav \x01");
  dialog.edtSoundFileWrong->setText("   ");
  {
    TFileDialogAnswer answer(OpenFileDialog, QString());
    dialog.edtSoundFileWrong->setText("/old/folder/Pow.wav");
    QTest::mouseClick(dialog.btnBrowseWrong, Qt::LeftButton);
    QCOMPARE(answer.Calls, 1);
    QCOMPARE(answer.Request.Title, "Browse");
    QCOMPARE(answer.Request.Filter, "Sound files (*.wav)|*.wav|All Files (*.*)|*.*");
    QCOMPARE(answer.Request.DefaultExt, "wav");
    QCOMPARE(answer.Request.InitialDir, "/old/folder");
    QCOMPARE(answer.Request.FileName, "Pow.wav");
    QCOMPARE(dialog.edtSoundFileWrong->text(), "/old/folder/Pow.wav");  // cancelled
  }
  {
    TFileDialogAnswer answer(OpenFileDialog, "/new/Bell.wav");
    QTest::mouseClick(dialog.btnBrowseWrong, Qt::LeftButton);
    QCOMPARE(dialog.edtSoundFileWrong->text(), "/new/Bell.wav");
  }
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(data.RightSound, "/x/Clap.wav");
  QCOMPARE(data.WrongSound, "/new/Bell.wav");

  TOptionsDialog emptied(nullptr, data, 0);
  emptied.edtSoundFileRight->setText(" \t ");
  QTest::mouseClick(emptied.btnOK, Qt::LeftButton);
  QCOMPARE(data.RightSound, QString());
}

void TestOptionsDialog::addedRowsFollowTheSeven() {
  TOptionsData data;
  TOptionsDialog dialog(nullptr, data, 0);
  QCOMPARE(dialog.clbPassive->count(), 9);
  QCOMPARE(dialog.clbActive->item(7)->text(), "Ignore accents");
  QCOMPARE(dialog.clbPassive->item(8)->text(), "Accept one typing slip");
  QCOMPARE(dialog.clbActive->item(8)->text(), "Accept one typing slip");
  QCOMPARE(dialog.clbActive->item(8)->checkState(), Qt::Unchecked);
  QCOMPARE(dialog.clbActive->item(5)->text(), "Accept synonyms in any order");
  QCOMPARE(dialog.clbPassive->item(5)->text(), "Accept translations in any order");
  dialog.clbActive->item(7)->setCheckState(Qt::Checked);
  dialog.clbPassive->item(0)->setCheckState(Qt::Unchecked);
  dialog.clbPassive->item(8)->setCheckState(Qt::Checked);
  dialog.clbEnglish->item(1)->setCheckState(Qt::Unchecked);
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(data.Options.ActiveFlags, uint16_t(0x08FE));
  QCOMPARE(data.Options.PassiveFlags, uint16_t(0x10DE));
  QCOMPARE(data.Options.EnglishFlags, uint16_t(0x0500));
}

void TestOptionsDialog::keysAndHelpTopics() {
  TOptionsData data;
  TOptionsDialog dialog(nullptr, data, 0);
  QCOMPARE(dialog.cbShortcut->count(), 92);
  const auto name = [](QKeyCombination key) {
    return QKeySequence(key).toString(QKeySequence::NativeText);
  };
  QCOMPARE(dialog.cbShortcut->itemText(0), name(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  QCOMPARE(dialog.cbShortcut->itemText(52), name(Qt::SHIFT | Qt::Key_F2));
  QCOMPARE(dialog.cbShortcut->itemText(61), name(Qt::SHIFT | Qt::Key_F12));
  QCOMPARE(dialog.cbShortcut->itemText(91), name(Qt::CTRL | Qt::ALT | Qt::Key_F12));
  for (int page = 0; page < 4; ++page) {
    dialog.pcOptions->setCurrentIndex(page);
    QCOMPARE(dialog.HelpTopic(), 3041 + page);
  }
  // Each character set's name goes with its identifier and a code page that has it.
  for (const auto& [setName, id] : TOptionsDialog::CharSets()) {
    QVERIFY(!TOptionsDialog::CharacterText(0xC0, id).isEmpty());
    const int row = dialog.cbCharSet->findText(setName);
    QCOMPARE(dialog.cbCharSet->itemData(row).toUInt(), uint(id));
  }
}

void TestOptionsDialog::mainWindowRemembersThePageForTheRun() {
  QTemporaryDir dir;
  TSettingsStore store(dir.filePath("settings.ini"));
  TMainForm form(&store);
  QList<int> pages;
  bool accept = true;
  form.OptionsDialogRunner = [&](TOptionsData& data) {
    pages << data.OptionsPage;
    data.OptionsPage = 2;
    data.Options.NumChoices = 9;
    data.WrongSound = "/w.wav";
    return accept;
  };
  QVERIFY(FindAction(&form, "miViewOptions"));
  QCOMPARE(FindAction(&form, "miViewOptions")->shortcut(), QKeySequence(Qt::Key_F12));
  TRIGGER_ACTION(&form, "miViewOptions");
  QCOMPARE(form.Settings().Options.NumChoices, 9);
  QCOMPARE(form.Settings().WrongSound, "/w.wav");
  accept = false;
  form.Settings().Options.NumChoices = 4;
  TRIGGER_ACTION(&form, "miViewOptions");
  QCOMPARE(form.Settings().Options.NumChoices, 4);
  QCOMPARE(pages, QList<int>({0, 2}));
}

void TestOptionsDialog::newOptionsReachATestInProgress() {
  QTemporaryDir dir;
  TSettingsStore store(dir.filePath("settings.ini"));
  TMainForm form(&store);
  TVocabFile vocab;
  vocab.SetForeignLangID(0x0407);
  vocab.SetNativeLangID(0x0409);
  for (const char* word : {"eins", "zwei", "drei", "vier", "f\xFCnf", "sechs"}) {
    vocab.EditItem().Values = {word, "", "", word};
    vocab.AddItem(2);
  }
  const QString path = dir.filePath("numbers.doz");
  vocab.SaveToFile(QFile::encodeName(path).toStdString());
  form.resize(640, 420);
  form.show();
  QVERIFY(form.OpenFile(path));
  form.SetViewMode(vmList);
  form.UpdateCommands();
  // From the list, Multiple Choice starts a test of that kind.
  TRIGGER_ACTION(&form, "miTestMultipleChoice");
  QCOMPARE(form.ViewMode(), vmTest);
  auto* choices = form.findChild<QListWidget*>("lbChoice");
  QVERIFY(choices);
  QCOMPARE(choices->count(), 4);
  form.OptionsDialogRunner = [](TOptionsData& data) {
    data.Options.NumChoices = 3;
    return true;
  };
  TRIGGER_ACTION(&form, "miViewOptions");
  // The question on screen is asked anew with the new number of choices.
  QCOMPARE(form.ViewMode(), vmTest);
  QCOMPARE(choices->count(), 3);
}

// Writes the five pages to docs/screenshots when DADEZIVU_SCREENSHOTS names the folder.
void TestOptionsDialog::screenshots() {
  const QString folder = qEnvironmentVariable("DADEZIVU_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("DADEZIVU_SCREENSHOTS not set");
  TOptionsData data = Unusual();
  data.Options.UsePenaltyPoints = false;
  data.Options.AutoContinue = false;
  data.RightSound = "/usr/share/dadezivu/Sounds/Clap.wav";
  data.WrongSound = "/usr/share/dadezivu/Sounds/Pow.wav";
  data.Speech = {true, false, -3};
  data.TrySpeech = [](int32_t) {};
  TOptionsDialog dialog(nullptr, data, 0x0407);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const char* const names[] = {"general", "question", "evaluation", "feedback", "speech"};
  for (int page = 0; page < 5; ++page) {
    dialog.pcOptions->setCurrentIndex(page);
    QCOMPARE(dialog.pcOptions->currentIndex(), page);
    QVERIFY(dialog.grab().save(folder + "/options-" + names[page] + ".png"));
  }
  dialog.reject();
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optdlg.moc"
