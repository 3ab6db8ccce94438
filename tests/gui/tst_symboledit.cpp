// SPDX-License-Identifier: MIT
// Tests of the symbol entry field and its picker.
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "controls/SblEdit.h"
#include "controls/SblFrm.h"
#include "text/Languages.h"

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kRussian = 0x0419;

// A dialog with two fields and a default button, so that Enter, Escape and Tab have somewhere
// else to go if the field lets them through.
struct TTwoFields {
  QDialog Dialog;
  TSymbolEdit* First = new TSymbolEdit(&Dialog);
  TSymbolEdit* Second = new TSymbolEdit(&Dialog);
  QPushButton* Ok = new QPushButton("OK", &Dialog);
  int Accepted = 0;
  int Rejected = 0;

  TTwoFields() {
    auto* layout = new QVBoxLayout(&Dialog);
    layout->addWidget(First);
    layout->addWidget(Second);
    layout->addWidget(Ok);
    Ok->setDefault(true);
    QObject::connect(Ok, &QPushButton::clicked, &Dialog, &QDialog::accept);
    QObject::connect(&Dialog, &QDialog::accepted, [this] { ++Accepted; });
    QObject::connect(&Dialog, &QDialog::rejected, [this] { ++Rejected; });
    Dialog.show();
    Dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&Dialog)) qWarning("the dialog did not become active");
    First->setFocus();
  }
};

void OpenByRightClick(TSymbolEdit* edit) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(edit, &event);
}

// Where a byte sits in the grid.
QPoint CellOf(uint8_t byte, const TSymbolForm& form) {
  for (int i = 0; i < TSymbolForm::kCellCount; ++i) {
    if (form.Characters()[i] == byte) return {i % TSymbolForm::kColumns, i / TSymbolForm::kColumns};
  }
  return {-1, -1};
}

// Types text that QTest::keyClicks cannot (it takes Latin-1 only).
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, c, {});
}

QPoint Selected(const TSymbolForm* form) {
  return {form->SelectedColumn(), form->SelectedRow()};
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

class TestSymbolEdit : public QObject {
  Q_OBJECT
private slots:
  void init();
  void arrowKeysMoveThePickerSelection();
  void keysTheFieldKeepsWhileThePickerIsOpen();
  void enterInsertsAtTheCaret();
  void escapeAndLeavingTheFieldClose();
  void mouseSelectsInsertsAndCloses();
  void cyrillicFieldShowsAndInsertsCyrillic();
  void typedCharactersOutsideTheCodePageAreRefused();
  void pasteGoesThroughTheCodePage();
  void scriptsRunTheirWayAndPickTheirOwnCharacters();
  void copyAndCutCarryTheText();
  void ansiTextRoundTrips();
  void gridStaysOnTheWorkArea();
  void cellsAreWideEnoughForEveryCharacter();
  void writesTheScreenshot();
};

void TestSymbolEdit::init() {
  QGuiApplication::clipboard()->clear();
}

void TestSymbolEdit::arrowKeysMoveThePickerSelection() {
  TTwoFields w;
  TSymbolEdit* edit = w.First;
  edit->setText("abc");
  edit->setCursorPosition(1);
  struct TCase {
    Qt::Key First;  // selects from no selection
    QPoint Start;
    Qt::Key Then;
    QPoint End;
  };
  for (const TCase& c : {TCase{Qt::Key_Down, {0, 0}, Qt::Key_Left, {15, 0}},
                         TCase{Qt::Key_Down, {0, 0}, Qt::Key_Up, {0, 9}},
                         TCase{Qt::Key_Right, {0, 0}, Qt::Key_Right, {1, 0}},
                         TCase{Qt::Key_Up, {15, 9}, Qt::Key_Right, {0, 9}},
                         TCase{Qt::Key_Up, {15, 9}, Qt::Key_Down, {15, 0}},
                         TCase{Qt::Key_Left, {15, 9}, Qt::Key_Left, {14, 9}}}) {
    OpenByRightClick(edit);
    QVERIFY(edit->PickerOpen());
    TSymbolForm* form = edit->SymbolForm();
    QCOMPARE(Selected(form), QPoint(-1, -1));
    QCOMPARE(form->SelectedChar(), uint8_t(0));
    QTest::keyClick(edit, c.First);
    QCOMPARE(Selected(form), c.Start);
    QTest::keyClick(edit, c.Then);
    QCOMPARE(Selected(form), c.End);
    QCOMPARE(edit->cursorPosition(), 1);
    QCOMPARE(edit->text(), QString("abc"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!edit->PickerOpen());
  }

  OpenByRightClick(edit);
  QTest::keyClick(edit, Qt::Key_Down);
  QCOMPARE(edit->SymbolForm()->SelectedChar(), uint8_t('!'));
  QTest::keyClick(edit, Qt::Key_Escape);
  OpenByRightClick(edit);
  QTest::keyClick(edit, Qt::Key_Up);
  QCOMPARE(edit->SymbolForm()->SelectedChar(), uint8_t(255));
  QCOMPARE(edit->SymbolForm()->CellText(TSymbolForm::kCellCount - 1), u"\u00FF"_qs);
}

void TestSymbolEdit::keysTheFieldKeepsWhileThePickerIsOpen() {
  TTwoFields w;
  TSymbolEdit* edit = w.First;
  edit->setText("abcd");
  edit->setCursorPosition(1);
  OpenByRightClick(edit);
  QVERIFY(QGuiApplication::overrideCursor() != nullptr);
  QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
  QTest::keyClick(edit, Qt::Key_Delete);
  QCOMPARE(edit->text(), QString("acd"));
  QTest::keyClicks(edit, "xy");
  QCOMPARE(edit->text(), QString("axycd"));
  QTest::keyClick(edit, Qt::Key_Backspace);
  QCOMPARE(edit->text(), QString("axcd"));
  // Cursor movement keys belong to the picker while it is open.
  for (Qt::Key key : {Qt::Key_Home, Qt::Key_End, Qt::Key_Left, Qt::Key_Right})
    QTest::keyClick(edit, key);
  QCOMPARE(edit->cursorPosition(), 2);
  QVERIFY(edit->PickerOpen());
  QVERIFY(edit->hasFocus());
  QVERIFY(!edit->SymbolForm()->isActiveWindow());
}

void TestSymbolEdit::enterInsertsAtTheCaret() {
  TTwoFields w;
  TSymbolEdit* edit = w.First;
  edit->setText("abcd");
  edit->setSelection(1, 2);  // "bc" is replaced
  OpenByRightClick(edit);
  QTest::keyClick(edit, Qt::Key_Down);
  QTest::keyClick(edit, Qt::Key_Right);
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(edit->text(), QString("a\"d"));
  QCOMPARE(edit->cursorPosition(), 2);
  QVERIFY(!edit->PickerOpen());
  QCOMPARE(w.Accepted, 0);  // the Enter was the picker's, not the dialog's

  // Enter with no cell selected only closes the picker.
  OpenByRightClick(edit);
  QTest::keyClick(edit, Qt::Key_Enter);
  QCOMPARE(edit->text(), QString("a\"d"));
  QVERIFY(!edit->PickerOpen());
  QCOMPARE(w.Accepted, 0);

  // Undo takes the inserted character back out.
  edit->undo();
  QCOMPARE(edit->text(), QString("abcd"));

  // Without the picker, Enter is the dialog's again.
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(w.Accepted, 1);
}

void TestSymbolEdit::escapeAndLeavingTheFieldClose() {
  TTwoFields w;
  TSymbolEdit* edit = w.First;
  QVERIFY(QTest::qWaitForWindowActive(&w.Dialog));
  edit->setFocus();
  QVERIFY(edit->hasFocus());

  OpenByRightClick(edit);
  QPointer<TSymbolForm> form = edit->SymbolForm();
  QTest::keyClick(edit, Qt::Key_Down);
  QTest::keyClick(edit, Qt::Key_Escape);
  QVERIFY(!edit->PickerOpen());
  QTRY_VERIFY(form.isNull());
  QVERIFY(w.Dialog.isVisible());  // the Escape did not reach the dialog
  QCOMPARE(w.Rejected, 0);
  QCOMPARE(edit->text(), QString());
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

  OpenByRightClick(edit);
  form = edit->SymbolForm();
  QTest::keyClick(edit, Qt::Key_Tab);
  QVERIFY(w.Second->hasFocus());
  QVERIFY(!edit->PickerOpen());
  QTRY_VERIFY(form.isNull());

  edit->setFocus();
  OpenByRightClick(edit);
  form = edit->SymbolForm();
  edit->hide();
  QVERIFY(!edit->PickerOpen());
  QTRY_VERIFY(form.isNull());
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

  // A field deleted with its picker open takes the picker and the arrow cursor with it.
  auto* doomed = new TSymbolEdit(&w.Dialog);
  doomed->show();
  doomed->setFocus();
  OpenByRightClick(doomed);
  form = doomed->SymbolForm();
  delete doomed;
  QTRY_VERIFY(form.isNull());
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestSymbolEdit::mouseSelectsInsertsAndCloses() {
  TTwoFields w;
  TSymbolEdit* edit = w.First;
  edit->setText("ab");
  edit->setCursorPosition(1);
  OpenByRightClick(edit);
  TSymbolForm* form = edit->SymbolForm();
  QCOMPARE(QWidget::mouseGrabber(), form);
  // The release of the right click that opened it leaves it open.
  SendMouse(form, QEvent::MouseButtonRelease, QPoint(-4, -4));
  QVERIFY(edit->PickerOpen());
  const QPoint at = CellOf('@', *form);
  const QPoint inCell = form->CellRect(at.x(), at.y()).center();
  SendMouse(form, QEvent::MouseMove, inCell);
  QCOMPARE(Selected(form), at);
  SendMouse(form, QEvent::MouseMove, QPoint(-4, inCell.y()));
  QCOMPARE(Selected(form), QPoint(-1, -1));
  SendMouse(form, QEvent::MouseMove, inCell);
  QCOMPARE(form->SelectedChar(), uint8_t('@'));
  // Pressing outside and releasing there closes without inserting.
  SendMouse(form, QEvent::MouseButtonPress, QPoint(form->width() + 3, 2));
  SendMouse(form, QEvent::MouseButtonRelease, QPoint(form->width() + 3, 2));
  QVERIFY(!edit->PickerOpen());
  QCOMPARE(edit->text(), QString("ab"));
  QCOMPARE(QWidget::mouseGrabber(), nullptr);

  // A click on a cell inserts that cell's character, even when the pointer never moved.
  OpenByRightClick(edit);
  form = edit->SymbolForm();
  const QPoint tilde = CellOf('~', *form);
  QTest::mouseClick(form, Qt::LeftButton, {}, form->CellRect(tilde.x(), tilde.y()).center());
  QVERIFY(!edit->PickerOpen());
  QCOMPARE(edit->text(), QString("a~b"));
  QCOMPARE(edit->cursorPosition(), 2);
}

void TestSymbolEdit::cyrillicFieldShowsAndInsertsCyrillic() {
  TTwoFields w;
  TSymbolEdit* edit = w.First;
  edit->SetLanguage(kRussian);
  OpenByRightClick(edit);
  TSymbolForm* form = edit->SymbolForm();
  QVERIFY(form->isVisible());
  QCOMPARE(form->pos(), edit->mapToGlobal(QPoint(0, edit->height())));  // right below the field
  // The upper half shows code page 1251: Cyrillic capitals from byte 0xC0 on.
  const QString expected = u"\u0410\u0411\u0416\u042F\u0430\u044F\u0401\u0451"_qs;
  const std::string bytes = "\xC0\xC1\xC6\xDF\xE0\xFF\xA8\xB8";
  for (size_t i = 0; i < bytes.size(); ++i) {
    const QPoint cell = CellOf(static_cast<uint8_t>(bytes[i]), *form);
    QCOMPARE(form->CellText(cell.x() + TSymbolForm::kColumns * cell.y()), QString(expected[i]));
  }
  // Down from nothing selects the first row; row 6 starts with byte 0xC0.
  for (int i = 0; i < 7; ++i) QTest::keyClick(edit, Qt::Key_Down);
  QCOMPARE(form->SelectedChar(), uint8_t(0xC0));
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(edit->text(), u"\u0410"_qs);
  QCOMPARE(edit->AnsiText(), std::string("\xC0"));

  // The same byte in a Western field is a Latin letter.
  w.Second->SetLanguage(kEnglish);
  w.Second->setFocus();
  OpenByRightClick(w.Second);
  const QPoint cell = CellOf(0xC0, *w.Second->SymbolForm());
  QCOMPARE(w.Second->SymbolForm()->CellText(cell.x() + TSymbolForm::kColumns * cell.y()),
           u"\u00C0"_qs);
}

void TestSymbolEdit::typedCharactersOutsideTheCodePageAreRefused() {
  struct TCase {
    uint16_t Lang;
    QString Typed;
    QString Kept;
  };
  for (const TCase& c :
       {TCase{kRussian, u"Жук!"_qs, u"Жук!"_qs}, TCase{kEnglish, u"Жук!"_qs, u"!"_qs},
        TCase{kEnglish, u"café"_qs, u"café"_qs},
        TCase{0x0408, u"αβ€é"_qs, u"αβ€"_qs},  // Greek: 1253 has no é
        TCase{0x0415, u"łódź"_qs, u"łódź"_qs},
        TCase{0x0411, u"猫/ねこ"_qs, u"猫/ねこ"_qs},  // UTF-8 takes everything
        TCase{0x042A, u"Việt"_qs, u"Việt"_qs},        // 1258 keeps ệ as e, ^ and a dot
        TCase{0x0401, u"كتاب 12"_qs, u"كتاب 12"_qs}}) {
    TSymbolEdit edit;
    edit.SetLanguage(c.Lang);
    Type(&edit, c.Typed);
    QCOMPARE(edit.text(), c.Kept);
  }
}

// Right-to-left languages run from the right; a UTF-8 language stores UTF-8 and its picker
// offers the language's own letters.
void TestSymbolEdit::scriptsRunTheirWayAndPickTheirOwnCharacters() {
  TTwoFields w;
  w.Second->SetLanguage(0x040D);
  QCOMPARE(w.Second->layoutDirection(), Qt::RightToLeft);
  w.Second->SetLanguage(0x0419);
  QCOMPARE(w.Second->layoutDirection(), Qt::LeftToRight);
  TSymbolEdit* edit = w.First;
  edit->SetLanguage(0x0411);
  w.Dialog.show();
  edit->setFocus();
  Type(edit, u"猫"_qs);
  QCOMPARE(edit->AnsiText(), std::string("\xE7\x8C\xAB"));
  edit->OpenPicker();
  QTRY_VERIFY(edit->PickerOpen());
  QStringList cells;
  for (int i = 0; i < TSymbolForm::kCellCount; ++i) cells << edit->SymbolForm()->CellText(i);
  QVERIFY(cells.contains(u"あ"_qs) && cells.contains(u"ア"_qs));
  QVERIFY(!cells.contains(u"!"_qs));
  edit->ClosePicker();
}

void TestSymbolEdit::pasteGoesThroughTheCodePage() {
  struct TCase {
    uint16_t Lang;
    QString Clip;
    QString Result;  // pasted over the "b" of "abc"
  };
  for (const TCase& c :
       {TCase{kRussian, u"Привет"_qs, u"aПриветc"_qs},
        TCase{kEnglish, u"Привет"_qs, u"a??????c"_qs},
        TCase{kEnglish, u"café α"_qs, u"acafé ?c"_qs},
        TCase{kEnglish, u"one\r\ntwo"_qs, u"aonec"_qs}, TCase{kEnglish, u"\ntwo"_qs, u"ac"_qs}}) {
    TSymbolEdit edit;
    edit.SetLanguage(c.Lang);
    QTest::keyClicks(&edit, "abc");
    edit.setSelection(1, 1);
    QGuiApplication::clipboard()->setText(c.Clip);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), c.Result);
    QCOMPARE(edit.AnsiText(), WideToAnsi(c.Result.toStdU16String(), c.Lang));
    // The paste is one edit of its own: undo gives back the typed text.
    edit.undo();
    QCOMPARE(edit.text(), QString("abc"));
  }
}

void TestSymbolEdit::copyAndCutCarryTheText() {
  TSymbolEdit edit;
  edit.SetLanguage(kRussian);
  edit.SetAnsiText("\xC6\xF3\xEA \xE8 \xEC\xF3\xF5\xE0");  // "Жук и муха"
  QGuiApplication::clipboard()->setText("before");
  edit.Copy();  // nothing selected
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
  edit.setSelection(0, 3);
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QGuiApplication::clipboard()->text(), u"Жук"_qs);
  QCOMPARE(edit.text(), u"Жук и муха"_qs);
  edit.setSelection(6, 4);
  QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
  QCOMPARE(QGuiApplication::clipboard()->text(), u"муха"_qs);
  QCOMPARE(edit.AnsiText(), std::string("\xC6\xF3\xEA \xE8 "));
}

void TestSymbolEdit::ansiTextRoundTrips() {
  for (const uint16_t lang : {uint16_t(kEnglish), uint16_t(kRussian), uint16_t(0x0405),
                              uint16_t(0x0408), uint16_t(0x041F), uint16_t(0x0425)}) {
    // Every byte the code page defines, except the line breaks a single line cannot hold.
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      if (AnsiToWide(one, lang) != u"\uFFFD" && b != '\n' && b != '\r') bytes += one;
    }
    QVERIFY(bytes.size() > 240);
    TSymbolEdit edit;
    edit.setMaxLength(1000);
    edit.SetLanguage(lang);
    edit.SetAnsiText(bytes);
    QCOMPARE(edit.AnsiText(), bytes);
    QCOMPARE(edit.Language(), lang);
  }

  // Changing the language keeps the bytes and shows them in the new code page.
  TSymbolEdit edit;
  edit.SetLanguage(kEnglish);
  edit.SetAnsiText("\xC0\xE9");
  QCOMPARE(edit.text(), u"Àé"_qs);
  edit.SetLanguage(kRussian);
  QCOMPARE(edit.text(), u"Аé"_qs.replace(1, 1, QChar(0x0439)));
  QCOMPARE(edit.AnsiText(), std::string("\xC0\xE9"));

  // Text set directly is held to the code page too.
  edit.setText(u"Жé"_qs);
  QCOMPARE(edit.text(), u"Ж?"_qs);

  edit.SetTag(-2);
  QCOMPARE(edit.Tag(), -2);
  QCOMPARE(edit.property("tag").toInt(), -2);
}

void TestSymbolEdit::gridStaysOnTheWorkArea() {
  const QRect area(0, 0, 1000, 700);
  const QSize grid(300, 200);
  struct TCase {
    QPoint FieldBottomLeft;
    QPoint Expected;
  };
  for (const TCase& c :
       {TCase{{100, 100}, {100, 100}},
        TCase{{100, 520}, {100, 300}},  // no room below: above the field
        TCase{{100, 500}, {100, 500}}, TCase{{800, 100}, {700, 100}},  // pulled in from the right
        TCase{{-30, -5}, {0, 0}}, TCase{{900, 650}, {700, 430}}}) {
    QCOMPARE(TSymbolForm::GridPosition(c.FieldBottomLeft, 20, grid, area), c.Expected);
  }
  // A work area that does not start at 0 (a second screen, a panel on the left).
  QCOMPARE(TSymbolForm::GridPosition({1900, 100}, 20, grid, QRect(2000, 0, 800, 600)),
           QPoint(2000, 100));
}

void TestSymbolEdit::cellsAreWideEnoughForEveryCharacter() {
  for (const uint16_t lang : {uint16_t(kEnglish), uint16_t(kRussian), uint16_t(0x0408)}) {
    TSymbolEdit edit;
    edit.SetLanguage(lang);
    edit.show();
    edit.setFocus();
    OpenByRightClick(&edit);
    const TSymbolForm* form = edit.SymbolForm();
    QVERIFY(form != nullptr);
    QCOMPARE(form->size(), QSize(16 * form->CellWidth() + 2 * form->frameWidth(),
                                 10 * form->CellHeight() + 2 * form->frameWidth()));
    const QFontMetrics metrics(edit.font());
    for (int i = 0; i < TSymbolForm::kCellCount; ++i)
      QVERIFY(metrics.horizontalAdvance(form->CellText(i)) <= form->CellWidth() - 2);
  }
}

// Draws a field with its picker open, for looking at. Runs only when DADEZIVU_SYMBOL_SHOT names
// the PNG file to write.
void TestSymbolEdit::writesTheScreenshot() {
  const QString target = qEnvironmentVariable("DADEZIVU_SYMBOL_SHOT");
  if (target.isEmpty()) QSKIP("DADEZIVU_SYMBOL_SHOT is not set");
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel("Word/phrase:", &window));
  auto* edit = new TSymbolEdit(&window);
  layout->addWidget(edit);
  layout->addStretch();
  edit->SetLanguage(kRussian);
  edit->SetAnsiText("\xEF\xF0\xE8\xE2\xE5\xF2");  // "привет"
  window.resize(380, 300);
  window.move(40, 40);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  edit->setFocus();
  OpenByRightClick(edit);
  TSymbolForm* form = edit->SymbolForm();
  for (int i = 0; i < 7; ++i) QTest::keyClick(edit, Qt::Key_Down);
  QTest::keyClick(edit, Qt::Key_Right);
  const QPoint formAt = window.mapFromGlobal(form->pos());
  QVERIFY(QRect(QPoint(), window.size()).contains(QRect(formAt, form->size())));
  QImage shot(window.size(), QImage::Format_ARGB32);
  QPainter painter(&shot);
  window.render(&painter, QPoint(0, 0));
  form->render(&painter, formAt);
  painter.end();
  QVERIFY2(shot.save(target, "PNG"), qPrintable(target));
}

QTEST_MAIN(TestSymbolEdit)
#include "tst_symboledit.moc"
