// SPDX-License-Identifier: MIT
// The test panel: question, answer fields, feedback and the Continue step.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFrame>
#include <QKeySequence>
#include <QList>
#include <functional>

#include "testing/TestRun.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;
class TChoiceList;
class TResultImage;
class TSymbolEdit;
class TVocabFile;
struct TSettings;

// pnlTest, shown by the main window while testing. It asks the vocabulary's current entry,
// judges the answer through its TTestRun, records it, and shows the feedback. Choosing the next
// question is the main window's (NextQuestion), since it may end the test run.
class TTestPanel : public QFrame {
  Q_OBJECT
public:
  explicit TTestPanel(QWidget* parent = nullptr);
  ~TTestPanel() override;

  // The vocabulary asked and the settings read (options, sounds); both stay the caller's.
  void SetVocabulary(TVocabFile* vocab);
  void SetSettings(const TSettings* settings);
  // The question state; its TestMode and MultipleChoice choose the layout.
  TTestRun& Run() { return m_Run; }
  const TTestRun& Run() const { return m_Run; }

  // Called when the answered question is left (Continue, or a right answer with AutoContinue):
  // the owner selects the next question and calls ShowQuestion, or ends testing.
  std::function<void()> NextQuestion;
  // Called once an answer was recorded in the vocabulary, with the milliseconds it took.
  std::function<void(int32_t answerMs)> AnswerRecorded;
  // Called on a double-click on the question.
  std::function<void()> QuestionDoubleClicked;
  // Called once a question, and once the result of an answer, is on screen.
  std::function<void()> QuestionShown;
  std::function<void()> ResultShown;
  // Called after the recorded answer or the entry changed while its result is shown (I Was
  // Right, Add My Answer), so that the window's list, status bar and recovery copy follow.
  std::function<void()> AnswerChanged;
  // Called when I Was Right revised the recorded answer, before AnswerChanged.
  std::function<void()> AnswerRevised;

  // Arranges the panel for the direction and for multiple choice.
  void LayoutTestPanel();
  // The display font for the question, the answer fields and the choice list; lays out again.
  void ApplyDisplayFont(const QFont& font);
  // Asks the vocabulary's current entry afresh (raises "No current item" without one).
  void ShowQuestion();
  // Drops the question on screen unrecorded, as when testing ends.
  void EndQuestion();

  // Enter: submits the answer while asking, continues while a result is shown.
  void btnEnterClick();
  void btnToggleAnswerClick();
  void timAnswerTimer();
  // The Hint command: true while asking with the focus in an editable answer field.
  bool HintAvailable() const;
  // Reveals one more character of the focused answer field; raises "Command unavailable." when
  // the focus is elsewhere.
  void miTestHintClick();

  // I Was Right: while the result of a typed answer judged wrong is shown.
  bool ReviseAvailable() const;
  void miTestIWasRightClick();
  // Add My Answer: the typed answer becomes one more item of the expected field.
  void btnAddAnswerClick();

  void ShowResult();
  // The expected answer (in the right or wrong colour) or the user's own one.
  void ShowAnswer(bool showOwn);
  void SetToggleCaption(bool showOwn);
  void ShowResultImage(bool correct);
  void FillChoiceList();
  void pbQuestionPaint(QPainter& painter);

  // The window's command keys, which the answer fields leave to the window even where the
  // platform gives them an editing meaning (Ctrl+E moves to the end of a line on X11).
  void SetCommandKeys(const QList<QKeySequence>& keys) { m_CommandKeys = keys; }

  // Milliseconds per second of WrongDelay; tests shorten it instead of waiting.
  int DelayUnitMs = 1000;

protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreateControls();
  const TProgramOptions& Options() const;
  void pnlChoiceMouseUp(const QPoint& pos);
  // The result row's I Was Right and Add My Answer buttons, shown only while they apply.
  void UpdateResultButtons();
  void ShowResponseMarks();

  TVocabFile* m_Vocab = nullptr;
  const TSettings* m_Settings = nullptr;
  TTestRun m_Run;

  QFrame* pnlQuestion = nullptr;
  QWidget* pbQuestion = nullptr;
  TResultImage* imgResult = nullptr;
  QWidget* pnlNotes = nullptr;
  QLabel* lblTestCategory = nullptr;
  QLineEdit* edtTestCategory = nullptr;
  QLabel* lblTestNotes = nullptr;
  TSymbolEdit* edtTestNotes = nullptr;
  QWidget* pnlResponse = nullptr;
  QLabel* lblResponse = nullptr;
  TSymbolEdit* edtResponse = nullptr;
  QWidget* pnlChoice = nullptr;
  QLabel* lblChoice = nullptr;
  TChoiceList* lbChoice = nullptr;
  QWidget* pnlButtons = nullptr;
  QLabel* pnlTestStatus = nullptr;
  QPushButton* btnIWasRight = nullptr;
  QPushButton* btnAddAnswer = nullptr;
  QPushButton* btnToggleAnswer = nullptr;
  QPushButton* btnEnter = nullptr;
  QTimer* timAnswer = nullptr;
  QVBoxLayout* m_Body = nullptr;  // the rows below the question, in the order of the direction
  QFont m_DisplayFont;
  QColor m_WindowText;  // the fields' own text colour
  QList<QKeySequence> m_CommandKeys;
  QElapsedTimer m_Asked;  // since the question was shown
};
