// SPDX-License-Identifier: MIT
// The main window's Options command.
#include "app/MainFrm.h"
#include "app/VocabGrid.h"

void TMainForm::miViewOptionsClick() {
  TOptionsData data{m_Settings.Options,    m_Settings.RightSound,
                    m_Settings.WrongSound, m_OptionsPage,
                    m_Settings.Speech,     [this](int32_t rate) { TrySpeech(rate); },
                    m_Settings.KeepHistory};
  if (!RunDialog<TOptionsDialog>(OptionsDialogRunner, data, m_Vocab->ForeignLangID())) return;
  m_Settings.Options = data.Options;
  m_Settings.RightSound = data.RightSound;
  m_Settings.WrongSound = data.WrongSound;
  m_OptionsPage = data.OptionsPage;
  m_Settings.Speech = data.Speech;
  m_Settings.KeepHistory = data.KeepHistory;
  const uint32_t learnt = m_Settings.Options.LearntColour;  // 0x00BBGGRR
  dgVocab->SetLearntColour(QColor(learnt & 0xFF, (learnt >> 8) & 0xFF, (learnt >> 16) & 0xFF));
  // The test goes on with the new options and a newly chosen question.
  if (m_ViewMode == vmTest) {
    TestSettingsChanged();
  } else {
    dgVocab->viewport()->update();
  }
}
