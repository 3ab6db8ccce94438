// SPDX-License-Identifier: MIT
// The options dialog: editing, shortcut keys, testing, evaluation, feedback and speech settings.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

#include "platform/Dialog.h"
#include "settings/RegUtils.h"
#include "testing/Options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

// What the options dialog edits: the program options, the two sound files (empty: no sound)
// and the page it opens on, which it sets to the page active when OK was pressed.
struct TOptionsData {
  TProgramOptions Options;
  QString RightSound;
  QString WrongSound;
  int OptionsPage = 0;
  TSpeechSettings Speech;
  // What the Try button does with the rate shown; empty: the button is disabled.
  std::function<void(int32_t rate)> TrySpeech;
  bool KeepHistory = true;
};

// The five pages of program options. It works on copies and writes data back only on OK, after
// the numbers of the active page were checked; leaving a page with a bad number is refused the
// same way.
class TOptionsDialog : public TDialog {
  Q_OBJECT
public:
  // foreignLangId chooses the character set shown for a key without a character.
  TOptionsDialog(QWidget* owner, TOptionsData& data, uint16_t foreignLangId);

  enum TPage { pgGeneral = 0, pgQuestion = 1, pgEvaluation = 2, pgFeedback = 3, pgSpeech = 4 };

  // The character sets offered, with their identifiers, in list order.
  static const std::array<std::pair<const char*, uint8_t>, 6>& CharSets();
  // The character that code stands for in the character set, as text.
  static QString CharacterText(uint8_t code, uint8_t charset);

  QTabWidget* pcOptions = nullptr;
  // General
  QCheckBox* chbAppendNewWords = nullptr;
  QCheckBox* chbConfirmDuplicates = nullptr;
  QCheckBox* chbConfirmNoSort = nullptr;
  QCheckBox* chbConfirmNoCategory = nullptr;
  QCheckBox* chbSkipNotes = nullptr;
  QComboBox* cbColourLearnt = nullptr;
  QComboBox* cbShortcut = nullptr;
  QComboBox* cbCharSet = nullptr;
  QComboBox* cbCharacter = nullptr;
  QLabel* lblUnassigned = nullptr;
  QPushButton* btnClearAll = nullptr;
  QCheckBox* chbKeyboardSwitching = nullptr;
  QCheckBox* chbKeepHistory = nullptr;
  // Question
  QCheckBox* chbTestNotesPassive = nullptr;
  QCheckBox* chbTestNotesActive = nullptr;
  QComboBox* cbNumChoices = nullptr;
  QLabel* lblPenaltyPoints = nullptr;
  QCheckBox* chbUsePenaltyPoints = nullptr;
  QLabel* lblMaxPenaltyPoints = nullptr;
  QComboBox* cbMaxPenaltyPoints = nullptr;
  QCheckBox* chbDisallowHints = nullptr;
  // Evaluation
  QListWidget* clbPassive = nullptr;
  QListWidget* clbEnglish = nullptr;
  QListWidget* clbActive = nullptr;
  // Feedback
  QRadioButton* rbAutoContinue = nullptr;
  QRadioButton* rbColourRight = nullptr;
  QComboBox* cbColourRight = nullptr;
  QLineEdit* edtSoundFileRight = nullptr;
  QPushButton* btnBrowseRight = nullptr;
  QComboBox* cbColourWrong = nullptr;
  QLineEdit* edtDelay = nullptr;
  QLineEdit* edtSoundFileWrong = nullptr;
  QPushButton* btnBrowseWrong = nullptr;
  // Speech
  QCheckBox* chbSpeakQuestions = nullptr;
  QCheckBox* chbSpeakAnswers = nullptr;
  QSlider* trkSpeechRate = nullptr;
  QPushButton* btnTrySpeech = nullptr;

private:
  QWidget* CreateGeneralPage();
  QWidget* CreateQuestionPage();
  QWidget* CreateEvaluationPage();
  QWidget* CreateFeedbackPage();
  QWidget* CreateSpeechPage();
  void LoadControls();
  void OkClick() override;
  // Checks the numbers of a page; shows the message and focuses the field when one is wrong.
  bool ValidatePage(int page);
  void PageChanged(int page);
  void ShowAssignment();
  void CharacterChange();
  void CharSetChange();
  void FillCharacters();
  void UpdateUnassigned();
  void ClearAllClick();
  void BrowseSound(QLineEdit* field);
  void PenaltyPointsChange(bool byUser);

  TOptionsData& m_Data;
  const uint16_t m_ForeignLangID;
  std::array<TShortcutChar, kShortcutKeyCount> m_Chars{};
  int m_Page = 0;
  bool m_Updating = false;
};

// Leading and trailing blanks and control characters removed.
QString TrimSoundPath(const QString& path);
