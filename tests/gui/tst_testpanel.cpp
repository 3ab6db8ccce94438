// SPDX-License-Identifier: MIT
// The test panel on its own: layout, answering, feedback, hints, the choice list and sounds.
#include <QDataStream>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <set>

#include "GuiTestSupport.h"
#include "app/ChoiceList.h"
#include "app/ResultImage.h"
#include "app/TestPanel.h"
#include "controls/SblEdit.h"
#include "platform/Sound.h"
#include "settings/RegUtils.h"

namespace {
constexpr uint16_t kGerman = 0x0407, kEnglish = 0x0409;

struct TEntry {
  std::string foreign, category, notes, native;
  int32_t sortPos = 0;
};

void Fill(TVocabFile& vocab, const std::vector<TEntry>& entries) {
  vocab.SetForeignLangID(kGerman);
  vocab.SetNativeLangID(kEnglish);
  for (const TEntry& e : entries) {
    vocab.EditItem().Values = {e.foreign, e.category, e.notes, e.native};
    vocab.EditItem().SortPos = e.sortPos;
    vocab.AddItem(2);
  }
  vocab.SetItemIndex(0);
}

// A panel on a vocabulary, with sounds recorded and Continue counted.
struct TPanel {
  TVocabFile vocab;
  TSettings settings;
  TTestPanel panel;
  QStringList sounds;
  int continued = 0;
  TScopedSeam<TSoundPlayer> player{SoundPlayer, [this](const QString& path) { sounds << path; }};

  explicit TPanel(const std::vector<TEntry>& entries, uint8_t testMode = kTestPassive,
                  bool choice = false) {
    Fill(vocab, entries);
    settings.RightSound = "right.wav";
    settings.WrongSound = "wrong.wav";
    panel.SetVocabulary(&vocab);
    panel.SetSettings(&settings);
    panel.Run().TestMode = testMode;
    panel.Run().MultipleChoice = choice;
    panel.NextQuestion = [this] { ++continued; };
    panel.resize(552, 300);
    panel.show();
  }

  // Lays out and asks the entry at index, unlearnt again if an earlier answer learnt it.
  void Ask(int index = 0) {
    vocab.SetItemIndex(index);
    if (vocab.CurrentItem().IsLearnt()) vocab.CurrentItem().PenaltyPoints = 0;
    panel.LayoutTestPanel();
    panel.ShowQuestion();
  }
  template <class T = QWidget>
  T* Get(const char* name) {
    T* widget = panel.findChild<T*>(name);
    if (!widget) qFatal("no widget %s", name);
    return widget;
  }
  TSymbolEdit* Response() { return Get<TSymbolEdit>("edtResponse"); }
  TSymbolEdit* NotesField() { return Get<TSymbolEdit>("edtTestNotes"); }
  TChoiceList* Choices() { return Get<TChoiceList>("lbChoice"); }
  QPushButton* Enter() { return Get<QPushButton>("btnEnter"); }
  QPushButton* Toggle() { return Get<QPushButton>("btnToggleAnswer"); }
  QString Status() { return Get<QLabel>("pnlTestStatus")->text(); }
  void Answer(const QString& text) {
    Response()->setText(text);
    Enter()->click();
  }
  // The row of the entry whose word/phrase is foreign.
  int RowOf(const std::string& foreign) {
    for (int row = 0; row < Choices()->count(); ++row) {
      if (Choices()->Entry(row)->Values[Foreign] == foreign) return row;
    }
    return -1;
  }
};

QColor TextColour(QWidget* w) {
  return w->palette().color(QPalette::Text);
}

const std::vector<TEntry> kAnimals = {
    {"Hund", "noun", "", "dog"},    {"Katze", "noun", "", "cat"},  {"Maus", "noun", "", "mouse"},
    {"Pferd", "noun", "", "horse"}, {"Vogel", "noun", "", "bird"}, {"Fisch", "noun", "", "fish"},
};
}  // namespace

class TestTestPanel : public QObject {
  Q_OBJECT
private slots:
  // An error of a command would show a message box; none is expected here.
  void cleanup() { m_Unexpected.Verify(); }

  void layoutFollowsDirectionAndChoice();
  void tabOrderFollowsDirection();
  void typedAnswerShowsResultInColour();
  void notesAreAskedOnlyWhenPresentAndChosen();
  void wrongDelayHoldsContinue();
  void autoContinueSkipsRightResult();
  void hintRevealsLetterByLetter();
  void disallowedHintShowsRightButRecordsWrong();
  void choiceListOffersAndJudgesByEntry();
  void choiceListMouse();
  void choiceTypeAheadFollowsDirection();
  void resultImageColours();
  void panelFollowsDisplayFont();
  void doubleClickOnQuestionIsReported();
  void missingSoundIsSilent();
  void commandKeysPassTheFields();
  void resultRowRevisesAndAddsTheAnswer();
  void slipsAndDifferencesAreMarked();

private:
  TUnexpectedModals m_Unexpected;
};

// The answer rows stand in the direction's order with gaps of 12 and 6, the buttons 12 below;
// multiple choice shows exactly NumChoices rows.
void TestTestPanel::layoutFollowsDirectionAndChoice() {
  TPanel p(kAnimals);
  const auto below = [&](const char* upper, const char* lower) {
    const QRect u = p.Get(upper)->geometry();
    return p.Get(lower)->geometry().top() - (u.top() + u.height());
  };
  for (uint8_t mode : {kTestPassive, kTestActive}) {
    p.panel.Run().TestMode = mode;
    p.Ask();
    QCoreApplication::processEvents();
    const bool intoNative = mode == kTestPassive;
    QVERIFY(p.Get("pnlNotes")->isVisible() && p.Get("pnlResponse")->isVisible());
    QVERIFY(!p.Get("pnlChoice")->isVisible());
    const char* first = intoNative ? "pnlNotes" : "pnlResponse";
    const char* second = intoNative ? "pnlResponse" : "pnlNotes";
    QCOMPARE(below("pnlQuestion", first), 12);
    QCOMPARE(below(first, second), 6);
    QCOMPARE(below(second, "pnlButtons"), 12);
    QCOMPARE(p.Get<QLabel>("lblResponse")->text(),
             intoNative ? QString("Translations:") : QString("Word/phrase:"));
    QCOMPARE(p.Response()->Tag(), intoNative ? -2 : -1);
    QCOMPARE(p.Response()->Language(), intoNative ? kEnglish : kGerman);
    QCOMPARE(p.NotesField()->Language(), kEnglish);
    // Fields line up with the buttons, right of the labels.
    QCOMPARE(p.Response()->mapTo(&p.panel, QPoint()).x(),
             p.Get("pnlTestStatus")->mapTo(&p.panel, QPoint()).x());
  }

  p.panel.Run().MultipleChoice = true;
  for (int n : {3, 4, 6}) {
    p.settings.Options.NumChoices = n;
    p.Ask();
    QCoreApplication::processEvents();
    QVERIFY(!p.Get("pnlNotes")->isVisible() && !p.Get("pnlResponse")->isVisible());
    QVERIFY(p.Get("pnlChoice")->isVisible());
    QCOMPARE(below("pnlQuestion", "pnlChoice"), 12);
    QCOMPARE(below("pnlChoice", "pnlButtons"), 12);
    TChoiceList* list = p.Choices();
    QCOMPARE(list->count(), n);
    QCOMPARE(list->viewport()->height(), n * list->RowHeight());
    QCOMPARE(list->visualItemRect(list->item(n - 1)).bottom(), list->viewport()->height() - 1);
    QCOMPARE(p.Get<QLabel>("lblChoice")->text(), QString("Word/phrase:"));
  }
}

void TestTestPanel::tabOrderFollowsDirection() {
  TPanel p({{"Haus", "noun", "das", "house"}});
  p.settings.Options.TestNotesPassive = p.settings.Options.TestNotesActive = true;
  p.panel.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&p.panel));
  for (uint8_t mode : {kTestPassive, kTestActive}) {
    p.panel.Run().TestMode = mode;
    p.Ask();
    // The notes stand above the response into the native language and take the focus first.
    QWidget* first = mode == kTestPassive ? p.NotesField() : p.Response();
    QWidget* second = mode == kTestPassive ? p.Response() : p.NotesField();
    QTRY_COMPARE(QApplication::focusWidget(), first);
    QTest::keyClick(first, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), second);
    QTest::keyClick(second, Qt::Key_Tab);
    // The part of speech is no tab stop; the toggle is disabled while asking.
    QCOMPARE(QApplication::focusWidget(), p.Enter());
  }
}

// A right and a wrong typed answer: status, colours, image, toggle, sound and the record.
void TestTestPanel::typedAnswerShowsResultInColour() {
  TPanel p({{"Haus", "noun", "", "house"}, {"Baum", "noun", "", "tree"}});
  p.settings.Options.RightColour = 0x00FF00;  // green
  p.settings.Options.WrongColour = 0x0000FF;  // red
  p.Ask(0);
  QCOMPARE(p.Enter()->text(), QString("Enter"));
  QVERIFY(!p.Toggle()->isEnabled());
  QVERIFY(!p.Get("imgResult")->isVisible());
  QCOMPARE(p.Get<QLineEdit>("edtTestCategory")->text(), QString("noun"));

  p.Answer("HOUSE");  // the default options ignore case
  QCOMPARE(p.Status(), QString("Right!"));
  QCOMPARE(p.Response()->text(), QString("house"));
  QCOMPARE(TextColour(p.Response()), QColor(0, 255, 0));
  QVERIFY(p.Response()->isReadOnly());
  QVERIFY(p.Get("imgResult")->isVisible());
  QCOMPARE(p.Get<TResultImage>("imgResult")->Picture(), ResultPicture(true, 0x00FF00));
  QVERIFY(!p.Toggle()->isEnabled());
  QCOMPARE(p.Enter()->text(), QString("Continue"));
  QCOMPARE(p.sounds, QStringList{"right.wav"});
  QCOMPARE(p.vocab.QuestionCount(), 1);
  QCOMPARE(p.vocab.CorrectCount(), 1);
  QCOMPARE(p.continued, 0);
  // Enter in the read-only field continues, as the default button would.
  QTest::keyClick(p.Response(), Qt::Key_Return);
  QCOMPARE(p.continued, 1);
  QCOMPARE(p.vocab.QuestionCount(), 1);

  p.Ask(1);
  QVERIFY(!p.Response()->isReadOnly());
  QCOMPARE(TextColour(p.Response()), TextColour(p.Get("edtTestCategory")));
  QVERIFY(p.Response()->text().isEmpty());
  p.Response()->setText("bush");
  QTest::keyClick(p.Response(), Qt::Key_Return);
  QCOMPARE(p.Status(), QString("Wrong!"));
  QCOMPARE(p.Response()->text(), QString("tree"));
  QCOMPARE(TextColour(p.Response()), QColor(255, 0, 0));
  QCOMPARE(p.Get<TResultImage>("imgResult")->Picture(), ResultPicture(false, 0x0000FF));
  QCOMPARE(p.sounds.last(), QString("wrong.wav"));
  QCOMPARE(p.vocab.QuestionCount(), 2);
  QCOMPARE(p.vocab.CorrectCount(), 1);
  QVERIFY(p.Toggle()->isEnabled());
  QCOMPARE(p.Toggle()->text(), QString("Your &Answer"));
  p.Toggle()->click();
  QCOMPARE(p.Response()->text(), QString("bush"));
  QCOMPARE(TextColour(p.Response()), TextColour(p.Get("edtTestCategory")));
  QCOMPARE(p.Toggle()->text(), QString("Correct &Answer"));
  p.Toggle()->click();
  QCOMPARE(p.Response()->text(), QString("tree"));
  QCOMPARE(p.Toggle()->text(), QString("Your &Answer"));
  // No sound configured: nothing is played.
  p.settings.WrongSound.clear();
  p.Ask(1);
  p.Answer("bush");
  QCOMPARE(p.sounds.size(), 2);
}

// Notes are typed only when the entry has them and the direction's option is on; they are
// judged with their own fixed options.
void TestTestPanel::notesAreAskedOnlyWhenPresentAndChosen() {
  TPanel p({{"Haus", "noun", "das", "house"}, {"Baum", "noun", "", "tree"}});
  p.settings.Options.TestNotesPassive = true;
  p.Ask(0);
  QVERIFY(p.panel.Run().TestingNotes);
  QVERIFY(!p.NotesField()->isReadOnly());
  QVERIFY(p.NotesField()->text().isEmpty());
  QCOMPARE(p.NotesField()->focusPolicy(), Qt::StrongFocus);
  p.NotesField()->setText("dAs");
  p.Answer("house");
  QCOMPARE(p.Status(), QString("Right!"));
  QVERIFY(p.NotesField()->isReadOnly());
  QCOMPARE(p.NotesField()->text(), QString("das"));

  p.Ask(0);
  p.NotesField()->setText("der");
  p.Answer("house");
  QCOMPARE(p.Status(), QString("Wrong!"));
  QCOMPARE(TextColour(p.Response()), OptionColour(p.settings.Options.RightColour));
  QCOMPARE(TextColour(p.NotesField()), OptionColour(p.settings.Options.WrongColour));
  p.Toggle()->click();
  QCOMPARE(p.NotesField()->text(), QString("der"));

  // No notes, or the other direction's option: the notes are shown, not asked.
  for (auto [index, mode] : {std::pair{1, kTestPassive}, std::pair{0, kTestActive}}) {
    p.panel.Run().TestMode = mode;
    p.Ask(index);
    QVERIFY(!p.panel.Run().TestingNotes);
    QVERIFY(p.NotesField()->isReadOnly());
    QCOMPARE(p.NotesField()->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(p.NotesField()->text(), index == 0 ? QString("das") : QString());
  }
}

void TestTestPanel::wrongDelayHoldsContinue() {
  TPanel p({{"Haus", "noun", "", "house"}});
  p.settings.Options.WrongDelay = 3;
  p.panel.DelayUnitMs = 10;
  p.Ask();
  p.Answer("house");
  QVERIFY(p.Enter()->isEnabled());
  auto* timer = p.Get<QTimer>("timAnswer");
  QVERIFY(!timer->isActive());

  p.Ask();
  p.Answer("garden");
  QVERIFY(!p.Enter()->isEnabled());
  QVERIFY(timer->isActive());
  QCOMPARE(timer->interval(), 30);
  QTest::keyClick(p.Response(), Qt::Key_Return);
  QCOMPARE(p.continued, 0);
  QTRY_VERIFY(p.Enter()->isEnabled());
  QVERIFY(!timer->isActive());
  QTest::keyClick(p.Response(), Qt::Key_Return);
  QCOMPARE(p.continued, 1);
}

void TestTestPanel::autoContinueSkipsRightResult() {
  TPanel p({{"Haus", "noun", "", "house"}});
  p.settings.Options.AutoContinue = true;
  p.Ask();
  p.Answer("house");
  QCOMPARE(p.continued, 1);
  QVERIFY(!p.panel.Run().Answered);
  QVERIFY(p.Status().isEmpty());
  QCOMPARE(p.sounds, QStringList{"right.wav"});
  p.Ask();
  p.Answer("tree");
  QCOMPARE(p.continued, 1);
  QCOMPARE(p.Status(), QString("Wrong!"));
}

void TestTestPanel::hintRevealsLetterByLetter() {
  TPanel p({{"Haus", "noun", "das Ding", "house"}});
  p.settings.Options.TestNotesPassive = true;
  p.Ask();
  p.Response()->setFocus();
  QVERIFY(p.panel.HintAvailable());
  for (const char* expected : {"h", "ho", "hou", "hous", "house", "house"}) {
    p.panel.miTestHintClick();
    QCOMPARE(p.Response()->text(), QString(expected));
    QCOMPARE(p.Response()->cursorPosition(), p.Response()->text().size());
  }
  p.Response()->setText("hoUSEboat");
  p.panel.miTestHintClick();
  QCOMPARE(p.Response()->text(), QString("hou"));
  QVERIFY(p.panel.Run().HintUsed);

  p.NotesField()->setFocus();
  p.NotesField()->setText("das");
  p.panel.miTestHintClick();
  QCOMPARE(p.NotesField()->text(), QString("das "));
  QCOMPARE(p.Response()->text(), QString("hou"));

  p.Get("edtTestCategory")->setFocus();
  QVERIFY(!p.panel.HintAvailable());
  QVERIFY_THROWS_EXCEPTION(std::runtime_error, p.panel.miTestHintClick());

  p.Response()->setFocus();
  p.Answer("house");
  QVERIFY(!p.panel.HintAvailable());

  // In the choice list the hint has nothing to reveal.
  p.panel.Run().MultipleChoice = true;
  p.Ask();
  p.Choices()->setFocus();
  QVERIFY(!p.panel.HintAvailable());
  QVERIFY_THROWS_EXCEPTION(std::runtime_error, p.panel.miTestHintClick());
}

// With hints disallowed, a hinted answer is shown and heard as right but recorded as wrong.
void TestTestPanel::disallowedHintShowsRightButRecordsWrong() {
  for (bool disallow : {false, true}) {
    TPanel p({{"Haus", "noun", "", "house"}});
    p.settings.Options.DisallowHints = disallow;
    p.Ask();
    p.Response()->setFocus();
    p.Response()->setText("hous");
    p.panel.miTestHintClick();
    p.Enter()->click();
    QCOMPARE(p.Status(), QString("Right!"));
    QCOMPARE(p.sounds, QStringList{"right.wav"});
    QCOMPARE(p.vocab.CorrectCount(), disallow ? 0 : 1);
    QCOMPARE(p.vocab.CurrentItem().IsLearnt(), !disallow);
  }
}

void TestTestPanel::choiceListOffersAndJudgesByEntry() {
  {
    TPanel p({{"Haus", "noun", "", "house"}}, kTestPassive, true);
    p.Ask();
    QCOMPARE(p.Choices()->count(), 1);
    QCOMPARE(p.Choices()->item(0)->text(), QString("house"));
    p.Choices()->setCurrentRow(0);
    p.Enter()->click();
    QCOMPARE(p.Status(), QString("Right!"));
    QVERIFY(!p.Choices()->isEnabled());
  }
  {
    TPanel p(kAnimals, kTestActive, true);
    p.settings.Options.NumChoices = 10;
    p.Ask(2);
    const TVocabItemArray rows = p.Choices()->Entries();
    QCOMPARE(rows.size(), size_t(6));
    QCOMPARE(std::set<TVocabItem*>(rows.begin(), rows.end()),
             std::set<TVocabItem*>(p.vocab.Items().begin(), p.vocab.Items().end()));
    QCOMPARE(p.Choices()->item(p.RowOf("Maus"))->text(), QString("Maus"));
  }
  {
    // Two entries with the same translations: the other one is a wrong pick.
    TPanel p({{"Bank", "noun", "", "bench"}, {"Sitzbank", "noun", "", "bench"}}, kTestPassive,
             true);
    p.settings.Options.WrongColour = 0x0000FF;
    p.Ask(0);
    p.Choices()->setCurrentRow(p.RowOf("Sitzbank"));
    QTest::keyClick(p.Choices(), Qt::Key_Return);
    QCOMPARE(p.Status(), QString("Wrong!"));
    // The expected entry is shown alone in the wrong colour; the toggle shows the pick.
    QCOMPARE(p.Choices()->Entries(), TVocabItemArray{&p.vocab.GetItem(0)});
    QCOMPARE(p.Choices()->TextColour(), QColor(255, 0, 0));
    p.Toggle()->click();
    QCOMPARE(p.Choices()->Entries(), TVocabItemArray{&p.vocab.GetItem(1)});
    // Nothing picked: a wrong answer whose own side is empty.
    p.Ask(0);
    p.Enter()->click();
    QCOMPARE(p.Status(), QString("Wrong!"));
    p.Toggle()->click();
    QCOMPARE(p.Choices()->count(), 0);
  }
}

void TestTestPanel::choiceListMouse() {
  TPanel p(kAnimals, kTestPassive, true);
  p.settings.Options.WrongDelay = 2;
  p.panel.DelayUnitMs = 10;
  p.Ask(0);
  TChoiceList* list = p.Choices();
  // Below the rows with nothing selected: no answer.
  list->setFixedHeight(list->HeightForRows(6));
  QCoreApplication::processEvents();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    QPoint(20, 5 * list->RowHeight() + list->RowHeight() / 2));
  QVERIFY(!p.panel.Run().Answered);
  QVERIFY(!list->SelectedEntry());

  // A click on a wrong row submits it.
  const int right = p.RowOf("Hund");
  const int wrong = right == 0 ? 1 : 0;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(wrong)).center());
  QVERIFY(p.panel.Run().Answered);
  QCOMPARE(p.Status(), QString("Wrong!"));
  QCOMPARE(p.vocab.QuestionCount(), 1);
  // During the delay clicks on the disabled list do nothing; afterwards they continue.
  QVERIFY(!list->isEnabled());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
  QCOMPARE(p.continued, 0);
  QTRY_VERIFY(p.Enter()->isEnabled());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
  QCOMPARE(p.continued, 1);
  QCOMPARE(p.vocab.QuestionCount(), 1);
}

// Into the foreign language a letter selects the next row whose word/phrase, past its sorting
// prefix and any non-letters, starts with it; into the native language the list's own search
// by the translations applies.
void TestTestPanel::choiceTypeAheadFollowsDirection() {
  TPanel p({{"der Hund", "noun", "", "dog", 4},
            {"die Ente", "noun", "", "duck", 4},
            {"\"Esel\"", "noun", "", "donkey"},
            {"das Pferd", "noun", "", "horse", 4}},
           kTestActive, true);
  p.Ask(0);
  TChoiceList* list = p.Choices();
  const auto selectedWord = [&] {
    TVocabItem* e = list->SelectedEntry();
    return e ? QString::fromStdString(e->Values[Foreign]) : QString();
  };
  QTest::keyClicks(list, "e");
  const QString first = selectedWord();
  QVERIFY(first == "die Ente" || first == "\"Esel\"");
  QTest::keyClicks(list, "E");
  const QString second = selectedWord();
  QVERIFY(second != first && (second == "die Ente" || second == "\"Esel\""));
  QTest::keyClicks(list, "e");
  QCOMPARE(selectedWord(), first);
  // "d" is only a sorting prefix; nothing starts with it, and nothing changes.
  QTest::keyClicks(list, "d");
  QCOMPARE(selectedWord(), first);
  QTest::keyClicks(list, "p");
  QCOMPARE(selectedWord(), QString("das Pferd"));
  QVERIFY(!p.panel.Run().Answered);

  p.panel.Run().TestMode = kTestPassive;
  p.Ask(0);
  QTest::keyClicks(list, "h");
  QCOMPARE(list->currentItem()->text(), QString("horse"));
  QTest::keyClicks(list, "o");
  QCOMPARE(list->currentItem()->text(), QString("horse"));

  // A Japanese word whose first character lies outside the basic plane (two UTF-16 units).
  TPanel j({{"\xF0\xA0\x80\x8B\xE3\x81\x82", "", "", "a"}, {"\xE7\x8C\xAB", "", "", "cat"}},
           kTestActive, true);
  j.vocab.SetForeignLangID(0x0411);
  j.Ask(1);
  QTest::sendKeyEvent(QTest::Press, j.Choices(), Qt::Key_unknown,
                      QString::fromUtf8("\xF0\xA0\x80\x8B"), Qt::NoModifier);
  QVERIFY(j.Choices()->SelectedEntry());
  QCOMPARE(j.Choices()->SelectedEntry()->Values[Foreign],
           std::string("\xF0\xA0\x80\x8B\xE3\x81\x82"));
}

void TestTestPanel::resultImageColours() {
  const QImage tick = TickImage();
  const QImage cross = CrossImage();
  QCOMPARE(tick.size(), QSize(20, 20));
  QVERIFY(tick != cross);
  for (const QImage& image : {tick, cross}) {
    int black = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        const QRgb c = image.pixel(x, y) & 0xFFFFFF;
        QVERIFY(c == 0 || c == 0xFFFFFF);
        black += c == 0;
      }
    }
    QVERIFY(black > 20);
    QCOMPARE(image.pixel(0, 19) & 0xFFFFFF, 0xFFFFFFu);
  }

  QImage replaced = tick;
  ReplaceColour(replaced, Qt::black, QColor(1, 2, 3));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      QCOMPARE(replaced.pixel(x, y),
               tick.pixel(x, y) == qRgb(0, 0, 0) ? qRgb(1, 2, 3) : tick.pixel(x, y));
    }
  }

  // Blue (0xFF0000 in the option's byte order) on the white, transparent background.
  const QImage blue = TransparentPicture(ResultPicture(true, 0xFF0000));
  // White: the background turns red first and is the transparent colour.
  const QImage white = ResultPicture(true, 0xFFFFFF);
  QCOMPARE(white.pixel(0, 19), qRgb(255, 0, 0));
  const QImage whiteShown = TransparentPicture(white);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool glyph = tick.pixel(x, y) == qRgb(0, 0, 0);
      QCOMPARE(blue.pixel(x, y), glyph ? qRgb(0, 0, 255) : qRgba(0, 0, 0, 0));
      QCOMPARE(whiteShown.pixel(x, y), glyph ? qRgb(255, 255, 255) : qRgba(0, 0, 0, 0));
    }
  }
}

void TestTestPanel::panelFollowsDisplayFont() {
  TPanel p(kAnimals, kTestPassive, true);
  QFont font("DejaVu Sans");
  font.setPointSize(20);
  p.panel.ApplyDisplayFont(font);
  p.Ask();
  QCoreApplication::processEvents();
  for (const char* name :
       {"pbQuestion", "edtTestCategory", "edtTestNotes", "edtResponse", "lbChoice"}) {
    QCOMPARE(p.Get(name)->font().pointSize(), 20);
    QCOMPARE(p.Get(name)->font().family(), font.family());
  }
  QVERIFY(p.Get("edtTestNotes")->font().italic());
  QVERIFY(p.Get("edtTestCategory")->font().italic());
  QVERIFY(!p.Get("edtResponse")->font().italic());
  QCOMPARE(p.Choices()->RowHeight(), QFontMetrics(font).height() + 6);
  QCOMPARE(p.Choices()->viewport()->height(), 4 * p.Choices()->RowHeight());
  QVERIFY(p.Get("pbQuestion")->height() >= QFontMetrics(font).height());
  p.panel.Run().MultipleChoice = false;
  p.Ask();
  QCoreApplication::processEvents();
  QCOMPARE(p.Get("pnlResponse")->height(), p.Response()->height());
  QVERIFY(p.Response()->height() >= QFontMetrics(font).height());
}

void TestTestPanel::doubleClickOnQuestionIsReported() {
  TPanel p(kAnimals);
  int clicks = 0;
  p.panel.QuestionDoubleClicked = [&] { ++clicks; };
  p.Ask();
  QTest::mouseDClick(p.Get("pbQuestion"), Qt::LeftButton);
  QCOMPARE(clicks, 1);
  p.Answer("wrong");
  QVERIFY(p.Get("imgResult")->isVisible());
  QTest::mouseDClick(p.Get("imgResult"), Qt::LeftButton);
  QCOMPARE(clicks, 2);
}

// Without the test's recorder, playback of a missing or broken file, and of a real one on a
// machine without audio, returns at once and reports nothing.
void TestTestPanel::missingSoundIsSilent() {
  TScopedSeam<TSoundPlayer> realPlayback(SoundPlayer, nullptr);
  QTemporaryDir dir;
  QFile broken(dir.filePath("broken.wav"));
  QVERIFY(broken.open(QIODevice::WriteOnly));
  broken.write("RIFF\x04\0\0\0WAVE", 12);
  broken.close();
  // A valid wave file: 0.05 s of silence, 8 kHz mono 8-bit.
  QFile good(dir.filePath("good.wav"));
  QVERIFY(good.open(QIODevice::WriteOnly));
  QDataStream out(&good);
  out.setByteOrder(QDataStream::LittleEndian);
  const quint32 samples = 400;
  out.writeRawData("RIFF", 4);
  out << quint32(36 + samples);
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1)
      << quint16(8);
  out.writeRawData("data", 4);
  out << samples;
  for (quint32 i = 0; i < samples; ++i) out << quint8(128);
  good.close();

  QElapsedTimer clock;
  clock.start();
  for (const QString& path :
       {dir.filePath("missing.wav"), broken.fileName(), good.fileName(), QString()}) {
    PlaySoundFile(path);
    QCoreApplication::processEvents();
  }
  QVERIFY2(clock.elapsed() < 5000, "playback blocked");
}

// The fields give up the window's command keys, and only those, before their own bindings.
// Copy stands in for a key the field would otherwise take (as X11 takes Ctrl+E).
void TestTestPanel::commandKeysPassTheFields() {
  TPanel p(kAnimals);
  const QKeyCombination command = Qt::CTRL | Qt::Key_C;
  p.panel.SetCommandKeys({QKeySequence(command)});
  p.Ask();
  const auto overridden = [&](QWidget* field, const QKeyCombination& key) {
    QKeyEvent event(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
    event.ignore();
    QApplication::sendEvent(field, &event);
    return event.isAccepted();
  };
  for (QWidget* field : {static_cast<QWidget*>(p.Response()), p.Get("edtTestNotes")}) {
    QVERIFY(!overridden(field, command));
    QVERIFY(overridden(field, Qt::CTRL | Qt::Key_A));
  }
}

// I Was Right and Add My Answer: shown only while they apply, reached by their keys.
void TestTestPanel::resultRowRevisesAndAddsTheAnswer() {
  TPanel p({{"Haus", "noun", "", "house"}, {"Baum", "noun", "", "tree"}});
  p.settings.Options.UsePenaltyPoints = true;
  p.settings.Options.WrongDelay = 5;
  p.panel.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&p.panel));
  auto* revise = p.Get<QPushButton>("btnIWasRight");
  auto* add = p.Get<QPushButton>("btnAddAnswer");
  p.Ask(0);
  QVERIFY(!revise->isVisible() && !add->isVisible());
  p.Answer("home");
  QVERIFY(revise->isVisible() && add->isVisible());
  QVERIFY(!p.Enter()->isEnabled());
  // A mnemonic clicks its button a moment later.
  QTest::keyClick(&p.panel, Qt::Key_R, Qt::AltModifier);
  QTRY_COMPARE(p.Status(), QString("Right!"));
  QCOMPARE(p.sounds.last(), QString("right.wav"));
  QCOMPARE(p.Get<TResultImage>("imgResult")->Picture(), ResultPicture(true, 0xFF0000));
  QCOMPARE(p.vocab.CorrectCount(), 1);
  QCOMPARE(p.vocab.GetItem(0).PenaltyPoints, -1);
  QVERIFY(!revise->isVisible() && add->isVisible());
  QVERIFY(p.Enter()->isEnabled());
  QTest::keyClick(&p.panel, Qt::Key_M, Qt::AltModifier);
  QTRY_COMPARE(p.vocab.GetItem(0).Values[Native], std::string("house, home"));
  QCOMPARE(p.Response()->text(), QString("house, home"));
  QVERIFY(!add->isVisible());

  // A right answer or a multiple-choice pick offers neither.
  p.Ask(1);
  p.Answer("tree");
  QVERIFY(!revise->isVisible() && !add->isVisible());
  p.panel.Run().MultipleChoice = true;
  p.Ask(1);
  p.Choices()->setCurrentRow(p.RowOf("Haus"));
  p.Enter()->click();
  QCOMPARE(p.Status(), QString("Wrong!"));
  QVERIFY(!revise->isVisible() && !add->isVisible());

  // An answer the field cannot take says why and changes nothing.
  p.panel.Run().MultipleChoice = false;
  p.settings.Options.WrongDelay = 0;
  p.Ask(1);
  p.Answer("bush (x");
  TMessageBoxes boxes;
  add->click();
  QCOMPARE(boxes.Messages(), QStringList{"Invalid use of brackets."});
  QCOMPARE(p.vocab.GetItem(1).Values[Native], std::string("tree"));
}

// Red letters in a line edit's picture: how many pixels are drawn in the wrong colour.
static int RedPixels(QWidget* field) {
  const QImage image = field->grab().toImage();
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++count;
    }
  }
  return count;
}

// A forgiven slip shows the typed answer with the slip in the wrong colour; without the option
// the same answer is wrong, and "Your Answer" marks the same letter.
void TestTestPanel::slipsAndDifferencesAreMarked() {
  for (const bool slips : {true, false}) {
    TPanel p({{"Haus", "noun", "", "house"}, {"Baum", "noun", "", "tree"}});
    if (slips) p.settings.Options.PassiveFlags |= moAcceptSlip;
    p.Ask(0);
    p.Answer("hause");
    QCOMPARE(p.Status(), slips ? QString("Right!") : QString("Wrong!"));
    QCOMPARE(p.vocab.CorrectCount(), slips ? 1 : 0);
    QCOMPARE(p.vocab.SlipCount(), slips ? 1 : 0);
    QCOMPARE(p.Response()->text(), slips ? QString("hause") : QString("house"));
    QVERIFY(p.Toggle()->isEnabled());
    if (!slips) p.Toggle()->click();
    QCOMPARE(p.Response()->text(), QString("hause"));
    QCOMPARE(TextColour(p.Response()), TextColour(p.Get("edtTestCategory")));
    QVERIFY(RedPixels(p.Response()) > 0);
    if (slips) {
      // The accepted answer, in the right colour, carries no marks.
      p.Toggle()->click();
      QCOMPARE(p.Response()->text(), QString("house"));
      QCOMPARE(RedPixels(p.Response()), 0);
    }
    p.Ask(1);
    p.Response()->setText("hause");
    QCOMPARE(RedPixels(p.Response()), 0);
  }
}

QTEST_MAIN(TestTestPanel)
#include "tst_testpanel.moc"
