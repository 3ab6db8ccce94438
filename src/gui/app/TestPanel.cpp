// SPDX-License-Identifier: MIT
// The test panel: question, answer fields, feedback and the Continue step.
#include "app/TestPanel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>

#include "app/ChoiceList.h"
#include "app/ResultImage.h"
#include "controls/SblEdit.h"
#include "platform/DlgUtils.h"
#include "platform/ErrorHandler.h"
#include "platform/Sound.h"
#include "settings/RegUtils.h"
#include "text/DrawItem.h"
#include "text/KeyboardLayouts.h"

namespace {
constexpr int kLabelColumn = 90;  // fields start this far right of their labels
constexpr int kButtonWidth = 93;
constexpr int kButtonHeight = 25;
constexpr int kQuestionHeight = 43;
constexpr int kGap = 12;      // between the question, the answer rows and the buttons
constexpr int kSmallGap = 6;  // between the two typed-answer rows

// pnlQuestion: window-coloured, with a line along its bottom; a double-click leaves testing.
class TQuestionPanel : public QFrame {
public:
  explicit TQuestionPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("pnlQuestion");
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
  }
  std::function<void()> DoubleClicked;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
  }
  void mouseDoubleClickEvent(QMouseEvent*) override {
    if (DoubleClicked) DoubleClicked();
  }
};

// pbQuestion: paints the question; clicks go through to pnlQuestion.
class TQuestionBox : public QWidget {
public:
  TQuestionBox(QWidget* parent, TTestPanel* panel) : QWidget(parent), m_Panel(panel) {
    setObjectName("pbQuestion");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setMinimumHeight(33);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    m_Panel->pbQuestionPaint(painter);
  }

private:
  TTestPanel* m_Panel;
};

// pnlChoice: a click on the disabled list after an answer reaches this panel and continues.
class TChoicePanel : public QWidget {
public:
  explicit TChoicePanel(QWidget* parent) : QWidget(parent) { setObjectName("pnlChoice"); }
  std::function<void(const QPoint&)> MouseUp;

protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (MouseUp) MouseUp(event->position().toPoint());
  }
};

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette colours = widget->palette();
  if (colours.color(QPalette::Text) == colour) return;
  colours.setColor(QPalette::Text, colour);
  widget->setPalette(colours);
}

void SetBaseColour(QWidget* widget, const QColor& colour) {
  QPalette colours = widget->palette();
  colours.setColor(QPalette::Base, colour);
  widget->setPalette(colours);
}

// Draws the given UTF-16 ranges of a line edit's text in colour, underlined, or clears them
// (an empty list). The field keeps its text; the marks go with the next text it is given.
void MarkRanges(QLineEdit* field, const QList<QPair<int, int>>& ranges, const QColor& colour) {
  QList<QInputMethodEvent::Attribute> formats;
  QTextCharFormat format;
  format.setForeground(colour);
  format.setFontUnderline(true);
  // Attribute positions count from the cursor.
  field->setCursorPosition(0);
  for (const auto& [start, length] : ranges) {
    formats << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, start, length, format);
  }
  // A read-only field ignores input-method events.
  const bool readOnly = field->isReadOnly();
  field->setReadOnly(false);
  QInputMethodEvent event(QString(), formats);
  QCoreApplication::sendEvent(field, &event);
  field->setReadOnly(readOnly);
}

QWidget* Row(QWidget* parent, const char* name) {
  auto* row = new QWidget(parent);
  row->setObjectName(name);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  return row;
}
}  // namespace

TTestPanel::TTestPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("pnlTest");
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  CreateControls();
  ApplyDisplayFont(font());
}

TTestPanel::~TTestPanel() = default;

void TTestPanel::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
  outer->setSpacing(0);

  auto* question = new TQuestionPanel(this);
  question->DoubleClicked = [this] {
    if (QuestionDoubleClicked) QuestionDoubleClicked();
  };
  pnlQuestion = question;
  auto* questionLayout = new QHBoxLayout(pnlQuestion);
  questionLayout->setContentsMargins(4, 4, 4, 5);
  questionLayout->setSpacing(3);
  pbQuestion = new TQuestionBox(pnlQuestion, this);
  imgResult = new TResultImage(pnlQuestion);
  imgResult->hide();
  questionLayout->addWidget(pbQuestion, 1);
  questionLayout->addWidget(imgResult, 0, Qt::AlignVCenter);
  outer->addWidget(pnlQuestion);

  // The labels' column is wide enough for the longest caption in the user-interface font.
  const QFontMetrics uiMetrics = fontMetrics();
  int labelColumn = kLabelColumn;
  for (const QString& caption : {tr("Part of speech:"), tr("Translations:"), tr("Word/phrase:")}) {
    labelColumn = std::max(labelColumn, uiMetrics.horizontalAdvance(caption) + 8);
  }
  const auto label = [&](QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setFixedWidth(labelColumn);
    return l;
  };

  pnlNotes = Row(this, "pnlNotes");
  lblTestCategory = label(pnlNotes, "lblTestCategory", tr("Part of speech:"));
  edtTestCategory = new QLineEdit(pnlNotes);
  edtTestCategory->setObjectName("edtTestCategory");
  edtTestCategory->setReadOnly(true);
  edtTestCategory->setFocusPolicy(Qt::ClickFocus);
  edtTestCategory->setFixedWidth(83);
  SetBaseColour(edtTestCategory, palette().color(QPalette::Window));
  lblTestNotes = new QLabel(tr("Notes:"), pnlNotes);
  lblTestNotes->setObjectName("lblTestNotes");
  lblTestNotes->setMinimumWidth(52);
  edtTestNotes = new TSymbolEdit(pnlNotes);
  edtTestNotes->setObjectName("edtTestNotes");
  edtTestNotes->SetTag(kTagNative);
  auto* notesLayout = static_cast<QHBoxLayout*>(pnlNotes->layout());
  notesLayout->addWidget(lblTestCategory);
  notesLayout->addWidget(edtTestCategory);
  notesLayout->addSpacing(21);
  notesLayout->addWidget(lblTestNotes);
  notesLayout->addWidget(edtTestNotes, 1);
  lblTestCategory->setBuddy(edtTestCategory);
  lblTestNotes->setBuddy(edtTestNotes);

  pnlResponse = Row(this, "pnlResponse");
  lblResponse = label(pnlResponse, "lblResponse", tr("Translations:"));
  edtResponse = new TSymbolEdit(pnlResponse);
  edtResponse->setObjectName("edtResponse");
  pnlResponse->layout()->addWidget(lblResponse);
  static_cast<QHBoxLayout*>(pnlResponse->layout())->addWidget(edtResponse, 1);
  lblResponse->setBuddy(edtResponse);
  for (QLineEdit* field : {static_cast<QLineEdit*>(edtResponse),
                           static_cast<QLineEdit*>(edtTestNotes), edtTestCategory}) {
    field->installEventFilter(this);
  }
  m_WindowText = edtResponse->palette().color(QPalette::Text);

  auto* choicePanel = new TChoicePanel(this);
  choicePanel->MouseUp = [this](const QPoint& pos) { RunCommand([&] { pnlChoiceMouseUp(pos); }); };
  pnlChoice = choicePanel;
  auto* choiceLayout = new QHBoxLayout(pnlChoice);
  choiceLayout->setContentsMargins(0, 0, 0, 0);
  choiceLayout->setSpacing(0);
  lblChoice = label(pnlChoice, "lblChoice", tr("Translations:"));
  lbChoice = new TChoiceList(pnlChoice);
  choiceLayout->addWidget(lblChoice, 0, Qt::AlignTop);
  choiceLayout->addWidget(lbChoice, 1);
  lblChoice->setBuddy(lbChoice);
  connect(lbChoice, &TChoiceList::RowClicked, this,
          [this] { RunCommand([this] { btnEnterClick(); }); });

  pnlButtons = Row(this, "pnlButtons");
  auto* buttonLayout = static_cast<QHBoxLayout*>(pnlButtons->layout());
  pnlTestStatus = new QLabel(pnlButtons);
  pnlTestStatus->setObjectName("pnlTestStatus");
  pnlTestStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlTestStatus->setMinimumWidth(100);
  pnlTestStatus->setFixedHeight(kButtonHeight);
  pnlTestStatus->setIndent(4);
  // The result buttons sit together, so that hidden ones leave no gap. "Add &My Answer": Alt+A
  // belongs to the toggle.
  auto* resultButtons = new QWidget(pnlButtons);
  auto* resultLayout = new QHBoxLayout(resultButtons);
  resultLayout->setContentsMargins(0, 0, 5, 0);
  resultLayout->setSpacing(5);
  btnIWasRight = new QPushButton(tr("I Was &Right"), resultButtons);
  btnIWasRight->setObjectName("btnIWasRight");
  btnAddAnswer = new QPushButton(tr("Add &My Answer"), resultButtons);
  btnAddAnswer->setObjectName("btnAddAnswer");
  for (QPushButton* button : {btnIWasRight, btnAddAnswer}) {
    button->setAutoDefault(true);
    button->setFixedHeight(kButtonHeight);
    resultLayout->addWidget(button);
  }
  resultButtons->hide();
  btnToggleAnswer = new QPushButton(tr("Your &Answer"), pnlButtons);
  btnToggleAnswer->setObjectName("btnToggleAnswer");
  btnToggleAnswer->setAutoDefault(true);
  btnEnter = new QPushButton(tr("Enter"), pnlButtons);
  btnEnter->setObjectName("btnEnter");
  btnEnter->setDefault(true);
  for (QPushButton* button : {btnToggleAnswer, btnEnter}) {
    button->setFixedSize(kButtonWidth, kButtonHeight);
  }
  buttonLayout->addSpacing(labelColumn);
  buttonLayout->addWidget(pnlTestStatus, 1);
  buttonLayout->addSpacing(5);
  buttonLayout->addWidget(resultButtons);
  buttonLayout->addWidget(btnToggleAnswer);
  buttonLayout->addSpacing(5);
  buttonLayout->addWidget(btnEnter);
  connect(btnEnter, &QPushButton::clicked, this,
          [this] { RunCommand([this] { btnEnterClick(); }); });
  connect(btnToggleAnswer, &QPushButton::clicked, this,
          [this] { RunCommand([this] { btnToggleAnswerClick(); }); });
  connect(btnIWasRight, &QPushButton::clicked, this,
          [this] { RunCommand([this] { miTestIWasRightClick(); }); });
  connect(btnAddAnswer, &QPushButton::clicked, this,
          [this] { RunCommand([this] { btnAddAnswerClick(); }); });

  timAnswer = new QTimer(this);
  timAnswer->setObjectName("timAnswer");
  timAnswer->setSingleShot(true);
  connect(timAnswer, &QTimer::timeout, this, &TTestPanel::timAnswerTimer);

  m_Body = new QVBoxLayout;
  m_Body->setContentsMargins(12, 0, 11, kGap);
  m_Body->setSpacing(0);
  outer->addLayout(m_Body, 1);
}

void TTestPanel::SetVocabulary(TVocabFile* vocab) {
  if (vocab != m_Vocab) EndQuestion();
  m_Vocab = vocab;
}

void TTestPanel::EndQuestion() {
  timAnswer->stop();
  // The rows refer to entries that may be freed before the next question.
  lbChoice->clear();
  m_Run.ChosenEntry = nullptr;
  m_Run.Answered = false;
}

void TTestPanel::SetSettings(const TSettings* settings) {
  m_Settings = settings;
}

const TProgramOptions& TTestPanel::Options() const {
  static const TProgramOptions defaults;
  return m_Settings ? m_Settings->Options : defaults;
}

void TTestPanel::LayoutTestPanel() {
  const bool choice = m_Run.MultipleChoice;
  const bool intoNative = m_Run.TestMode == kTestPassive;
  const uint16_t foreign = m_Vocab ? m_Vocab->ForeignLangID() : 0;
  const uint16_t native = m_Vocab ? m_Vocab->NativeLangID() : 0;
  const QString answerLabel = intoNative ? tr("Translations:") : tr("Word/phrase:");
  const uint16_t answerLang = intoNative ? native : foreign;
  const int answerTag = intoNative ? kTagNative : kTagForeign;

  // Take the rows out and put them back in the order of this direction.
  while (QLayoutItem* item = m_Body->takeAt(0)) delete item;
  pnlNotes->setVisible(!choice);
  pnlResponse->setVisible(!choice);
  pnlChoice->setVisible(choice);
  m_Body->addSpacing(kGap);
  if (choice) {
    lblChoice->setText(answerLabel);
    lbChoice->SetLanguages(m_Run.TestMode, foreign, native);
    lbChoice->setFixedHeight(lbChoice->HeightForRows(Options().NumChoices));
    m_Body->addWidget(pnlChoice);
    setTabOrder(lbChoice, btnIWasRight);
  } else {
    lblResponse->setText(answerLabel);
    edtResponse->SetLanguage(answerLang);
    edtResponse->SetTag(answerTag);
    // The notes and the part of speech are native-language text in either direction.
    edtTestNotes->SetLanguage(native);
    QWidget* first = intoNative ? pnlNotes : pnlResponse;
    QWidget* second = intoNative ? pnlResponse : pnlNotes;
    m_Body->addWidget(first);
    m_Body->addSpacing(kSmallGap);
    m_Body->addWidget(second);
    if (intoNative) {
      setTabOrder(edtTestNotes, edtResponse);
      setTabOrder(edtResponse, btnIWasRight);
    } else {
      setTabOrder(edtResponse, edtTestNotes);
      setTabOrder(edtTestNotes, btnIWasRight);
    }
  }
  setTabOrder(btnIWasRight, btnAddAnswer);
  setTabOrder(btnAddAnswer, btnToggleAnswer);
  setTabOrder(btnToggleAnswer, btnEnter);
  m_Body->addSpacing(kGap);
  m_Body->addWidget(pnlButtons);
  m_Body->addStretch(1);
  // Placed now, so that the question is shown in the new arrangement straight away.
  layout()->activate();
}

void TTestPanel::ApplyDisplayFont(const QFont& font) {
  m_DisplayFont = font;
  pbQuestion->setFont(font);
  QFont italic = font;
  italic.setItalic(true);
  edtTestCategory->setFont(italic);
  edtTestNotes->setFont(italic);
  edtResponse->setFont(font);
  lbChoice->SetDisplayFont(font);
  // The question keeps its height unless the font needs more.
  const int textHeight = QFontMetrics(font).height();
  pnlQuestion->setFixedHeight(std::max(kQuestionHeight, textHeight + 14));
  pbQuestion->update();
  LayoutTestPanel();
}

void TTestPanel::ShowQuestion() {
  if (!m_Vocab) throw std::runtime_error("No current item");
  const TVocabItem& item = m_Vocab->CurrentItem();
  m_Run.BeginQuestion(item, Options());
  m_Asked.start();
  pbQuestion->update();
  imgResult->hide();
  pnlTestStatus->clear();
  if (m_Run.MultipleChoice) {
    lbChoice->setEnabled(true);
    lbChoice->SetTextColour(m_WindowText);
    FillChoiceList();
    lbChoice->setFocus();
  } else {
    SetTextColour(edtResponse, m_WindowText);
    edtResponse->clear();
    // Marks of the last answer would stay on the letters typed next.
    MarkRanges(edtResponse, {}, QColor());
    edtResponse->setReadOnly(false);
    edtTestCategory->setText(VocabText(item.Values[Category], m_Vocab->NativeLangID()));
    SetTextColour(edtTestNotes, m_WindowText);
    edtTestNotes->setFocusPolicy(m_Run.TestingNotes ? Qt::StrongFocus : Qt::ClickFocus);
    edtTestNotes->setReadOnly(!m_Run.TestingNotes);
    if (m_Run.TestingNotes) {
      SetBaseColour(edtTestNotes, edtResponse->palette().color(QPalette::Base));
      edtTestNotes->clear();
    } else {
      // Notes that are not asked read like a label.
      SetBaseColour(edtTestNotes, palette().color(QPalette::Window));
      edtTestNotes->SetAnsiText(item.Values[Notes]);
    }
    if (m_Run.TestMode == kTestPassive && m_Run.TestingNotes) {
      edtTestNotes->setFocus();
    } else {
      edtResponse->setFocus();
    }
  }
  timAnswerTimer();
  btnEnter->setText(tr("Enter"));
  btnToggleAnswer->setEnabled(false);
  SetToggleCaption(false);
  UpdateResultButtons();
  if (QuestionShown) QuestionShown();
}

void TTestPanel::pbQuestionPaint(QPainter& painter) {
  if (!m_Vocab || m_Vocab->ItemIndex() < 0) return;
  painter.setFont(m_DisplayFont);
  painter.setPen(palette().color(QPalette::Text));
  const int top = (pbQuestion->height() - painter.fontMetrics().height()) / 2;
  TItemCanvas canvas{painter, QPoint(2, top), m_Vocab->ForeignLangID(), m_Vocab->NativeLangID()};
  DrawItemText(canvas, m_Vocab->CurrentItem(), m_Run.MultipleChoice, false, true,
               m_Run.TestMode == kTestPassive);
}

void TTestPanel::FillChoiceList() {
  TVocabItemArray choices;
  m_Vocab->GetChoices(choices, Options().NumChoices);
  lbChoice->SetEntries(choices);
}

void TTestPanel::btnEnterClick() {
  if (!m_Run.Answered) {
    std::string response;
    const TVocabItem* chosen = nullptr;
    if (m_Run.MultipleChoice) {
      chosen = lbChoice->SelectedEntry();
    } else {
      response = edtResponse->AnsiText();
    }
    const std::string notesResponse = edtTestNotes->AnsiText();
    const bool show = m_Run.Submit(*m_Vocab, Options(), response, notesResponse, chosen);
    if (AnswerRecorded) AnswerRecorded(static_cast<int32_t>(m_Asked.elapsed()));
    if (m_Settings) {
      PlaySoundFile(m_Run.AnswerCorrect ? m_Settings->RightSound : m_Settings->WrongSound);
    }
    if (show) {
      ShowResult();
      return;
    }
  }
  if (NextQuestion) NextQuestion();
}

void TTestPanel::ShowResult() {
  const bool correct = m_Run.AnswerCorrect;
  ShowResultImage(correct);
  imgResult->show();
  if (m_Run.MultipleChoice) {
    lbChoice->setEnabled(false);
  } else {
    edtResponse->setReadOnly(true);
    if (m_Run.TestingNotes) edtTestNotes->setReadOnly(true);
  }
  // A forgiven slip shows the user's own answer with the slipped letters marked.
  ShowAnswer(m_Run.SlipAccepted);
  pnlTestStatus->setText(correct ? tr("Right!") : tr("Wrong!"));
  btnToggleAnswer->setEnabled(!correct || m_Run.SlipAccepted);
  btnEnter->setText(tr("Continue"));
  btnEnter->setFocus();
  const int delay = Options().WrongDelay;
  if (!correct && delay > 0) {
    btnEnter->setEnabled(false);
    timAnswer->start(delay * DelayUnitMs);
  }
  m_Run.MarkAnswered();
  UpdateResultButtons();
  if (ResultShown) ResultShown();
}

void TTestPanel::UpdateResultButtons() {
  const bool typed = !m_Run.MultipleChoice;
  const bool revise = typed && m_Run.CanRevise();
  const bool add = typed && m_Run.CanAddAnswer();
  btnIWasRight->setVisible(revise);
  btnAddAnswer->setVisible(add);
  btnIWasRight->parentWidget()->setVisible(revise || add);
}

bool TTestPanel::ReviseAvailable() const {
  return isVisible() && m_Run.CanRevise();
}

void TTestPanel::miTestIWasRightClick() {
  if (!m_Vocab || !ReviseAvailable()) throw std::runtime_error("Command unavailable.");
  const bool focusWasHere = btnIWasRight->hasFocus();
  m_Run.Revise(*m_Vocab, Options());
  if (m_Settings) PlaySoundFile(m_Settings->RightSound);
  ShowResultImage(true);
  ShowAnswer(false);
  pnlTestStatus->setText(tr("Right!"));
  btnToggleAnswer->setEnabled(false);
  // A right answer is not held back by the delay.
  timAnswerTimer();
  UpdateResultButtons();
  if (focusWasHere || !btnAddAnswer->isVisible()) btnEnter->setFocus();
  if (AnswerRevised) AnswerRevised();
  if (AnswerChanged) AnswerChanged();
}

void TTestPanel::btnAddAnswerClick() {
  if (!m_Vocab || !m_Run.Answered || !m_Run.CanAddAnswer()) {
    throw std::runtime_error("Command unavailable.");
  }
  switch (m_Run.AddAnswer(*m_Vocab, Options())) {
    case TTestRun::TAddResult::Added:
      break;
    case TTestRun::TAddResult::InvalidBrackets:
      ShowMessageBox(tr("Invalid use of brackets."), {}, kMbError);
      return;
    case TTestRun::TAddResult::TooLong:
      ShowMessageBox(tr("A text of more than 65,535 bytes cannot be saved."), {}, kMbError);
      return;
    case TTestRun::TAddResult::NotAccepted:
      ShowMessageBox(tr("Your answer cannot be added: the comparison options of this direction "
                        "would still not accept it."),
                     {}, kMbError);
      return;
  }
  ShowAnswer(m_Run.ShowingOwnAnswer);
  UpdateResultButtons();
  btnEnter->setFocus();
  if (AnswerChanged) AnswerChanged();
}

void TTestPanel::timAnswerTimer() {
  timAnswer->stop();
  btnEnter->setEnabled(true);
  // Disabling the button during the delay took the focus away from it.
  if (m_Run.Answered && isVisible()) btnEnter->setFocus();
}

void TTestPanel::SetToggleCaption(bool showOwn) {
  btnToggleAnswer->setText(showOwn ? tr("Correct &Answer") : tr("Your &Answer"));
}

void TTestPanel::ShowAnswer(bool showOwn) {
  SetToggleCaption(showOwn);
  const TVocabItem& item = m_Vocab->CurrentItem();
  const TProgramOptions& options = Options();
  if (m_Run.MultipleChoice) {
    lbChoice->clear();
    if (showOwn) {
      lbChoice->SetTextColour(m_WindowText);
      if (m_Run.ChosenEntry) lbChoice->AddEntry(const_cast<TVocabItem*>(m_Run.ChosenEntry));
    } else {
      lbChoice->SetTextColour(OptionColour(options.FeedbackColour(m_Run.AnswerCorrect)));
      lbChoice->AddEntry(&m_Vocab->CurrentItem());
    }
  } else if (showOwn) {
    SetTextColour(edtResponse, m_WindowText);
    edtResponse->SetAnsiText(m_Run.SavedResponse);
    ShowResponseMarks();
    if (m_Run.TestingNotes) {
      SetTextColour(edtTestNotes, m_WindowText);
      edtTestNotes->SetAnsiText(m_Run.SavedNotesResponse);
    }
  } else {
    SetTextColour(edtResponse, OptionColour(options.FeedbackColour(m_Run.ResponseRight)));
    edtResponse->SetAnsiText(m_Run.ExpectedAnswer(item));
    MarkRanges(edtResponse, {}, QColor());
    if (m_Run.TestingNotes) {
      SetTextColour(edtTestNotes, OptionColour(options.FeedbackColour(m_Run.NotesRight)));
      edtTestNotes->SetAnsiText(item.Values[Notes]);
    }
  }
  m_Run.ShowingOwnAnswer = showOwn;
}

// The slipped or differing letters of the user's own answer, in the wrong colour.
void TTestPanel::ShowResponseMarks() {
  const std::string& typed = m_Run.SavedResponse;
  const uint16_t langId = m_Run.AnswerLangID(*m_Vocab);
  QList<QPair<int, int>> ranges;
  for (const TLetterSpan& mark : m_Run.ResponseMarks) {
    if (mark.End > typed.size() || mark.Begin >= mark.End) continue;
    const int start = VocabText(typed.substr(0, mark.Begin), langId).size();
    const int length = VocabText(typed.substr(mark.Begin, mark.End - mark.Begin), langId).size();
    ranges.append({start, length});
  }
  MarkRanges(edtResponse, ranges, OptionColour(Options().FeedbackColour(false)));
}

void TTestPanel::btnToggleAnswerClick() {
  ShowAnswer(!m_Run.ShowingOwnAnswer);
}

void TTestPanel::ShowResultImage(bool correct) {
  imgResult->SetPicture(ResultPicture(correct, Options().FeedbackColour(correct)));
}

bool TTestPanel::HintAvailable() const {
  if (m_Run.Answered || !isVisible()) return false;
  const QWidget* focus = window()->focusWidget();
  return (focus == edtResponse || focus == edtTestNotes) &&
         !static_cast<const QLineEdit*>(focus)->isReadOnly();
}

void TTestPanel::miTestHintClick() {
  const QWidget* focus = window()->focusWidget();
  TSymbolEdit* field = nullptr;
  std::string expected;
  if (m_Vocab && focus == edtResponse) {
    field = edtResponse;
    expected = m_Run.ExpectedAnswer(m_Vocab->CurrentItem());
  } else if (m_Vocab && focus == edtTestNotes) {
    field = edtTestNotes;
    expected = m_Vocab->CurrentItem().Values[Notes];
  } else {
    throw std::runtime_error("Command unavailable.");
  }
  field->SetAnsiText(HintStep(expected, field->AnsiText(), field->Language()));
  field->end(false);
  m_Run.HintUsed = true;
}

void TTestPanel::pnlChoiceMouseUp(const QPoint& pos) {
  if (m_Run.Answered && btnEnter->isEnabled() && lbChoice->geometry().contains(pos)) {
    btnEnterClick();
  }
}

void TTestPanel::keyPressEvent(QKeyEvent* event) {
  // Enter in an answer field or the list reaches the panel: btnEnter is the default button.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    if (btnEnter->isEnabled()) btnEnter->click();
    event->accept();
    return;
  }
  QFrame::keyPressEvent(event);
}

bool TTestPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (m_CommandKeys.contains(QKeySequence(key->keyCombination()))) {
      // Not accepted: the window's shortcut runs instead of the field's key binding.
      event->ignore();
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}
