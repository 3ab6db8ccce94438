// SPDX-License-Identifier: MIT
// Tests of the program-wide keyboard filter: accents with Ctrl and assigned shortcut keys.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/KeyFilter.h"
#include "app/MainFrm.h"
#include "controls/SblEdit.h"
#include "dialogs/EditDlg.h"
#include "dialogs/SrchDlg.h"
#include "settings/RegUtils.h"

namespace {
// Makes widget's window the active one and gives widget the focus, as a click would.
bool Focus(QWidget* widget) {
  QWidget* window = widget->window();
  window->show();
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) return false;
  widget->setFocus();
  return QApplication::focusWidget() == widget;
}

void CtrlKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers extra = {}) {
  QTest::keyClick(widget, key, Qt::ControlModifier | extra);
}
}  // namespace

class TestKeyFilter : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();

  void ctrlAccentThenLetterTypesTheComposedLetter();
  void composedLettersAreOrdinaryTyping();
  void assignedKeysTypeTheirCharacterInEveryWindow();
  void unassignedKeysKeepTheirMeaning();
  void noKeyPassesWhileTheMainWindowIsDisabled();
  void shortcutCodes();

private:
  TUnexpectedModals m_Unexpected;
  QTemporaryDir m_Dir;
  std::unique_ptr<TSettingsStore> m_Store;
  std::unique_ptr<TMainForm> m_Form;
  std::unique_ptr<QWidget> m_Window;
  QLineEdit* m_Edit = nullptr;
  TSymbolEdit* m_Russian = nullptr;
};

void TestKeyFilter::init() {
  m_Store = std::make_unique<TSettingsStore>(m_Dir.filePath("settings.ini"));
  m_Form = std::make_unique<TMainForm>(m_Store.get());
  m_Window = std::make_unique<QWidget>();
  auto* layout = new QVBoxLayout(m_Window.get());
  m_Edit = new QLineEdit;
  m_Russian = new TSymbolEdit;
  m_Russian->SetLanguage(0x0419);
  layout->addWidget(m_Edit);
  layout->addWidget(m_Russian);
}

void TestKeyFilter::cleanup() {
  m_Window.reset();
  m_Form.reset();
  m_Store.reset();
  m_Unexpected.Verify();
}

void TestKeyFilter::ctrlAccentThenLetterTypesTheComposedLetter() {
  QVERIFY(Focus(m_Edit));
  CtrlKey(m_Edit, Qt::Key_Apostrophe);
  QCOMPARE(m_Edit->text(), QString());  // the accent key types nothing
  QTest::keyClick(m_Edit, 'A');
  QCOMPARE(m_Edit->text(), QString(QChar(0xC1)));
  CtrlKey(m_Edit, Qt::Key_Apostrophe);
  QTest::keyClick(m_Edit, 'b');
  CtrlKey(m_Edit, Qt::Key_Apostrophe);
  CtrlKey(m_Edit, Qt::Key_Apostrophe);
  QTest::keyClick(m_Edit, 'e');
  // Ctrl+& is Ctrl+Shift+7 on many layouts; a capital S gives the small sharp s.
  CtrlKey(m_Edit, Qt::Key_Ampersand, Qt::ShiftModifier);
  QTest::keyClick(m_Edit, 'S', Qt::ShiftModifier);
  CtrlKey(m_Edit, Qt::Key_Colon, Qt::ShiftModifier);
  QTest::keyClick(m_Edit, 'Y', Qt::ShiftModifier);
  QCOMPARE(m_Edit->text(), QString::fromUtf8("\u00C1b\u00E9\u00DF\u0178"));
  // An accent waits across fields and windows for the next character.
  CtrlKey(m_Edit, Qt::Key_AsciiTilde, Qt::ShiftModifier);
  QVERIFY(Focus(m_Russian));
  m_Form->show();
  QVERIFY(Focus(m_Edit));
  QTest::keyClick(m_Edit, 'n');
  QVERIFY(m_Edit->text().endsWith(QChar(0xF1)));
  // Another Ctrl key with a character clears a waiting accent.
  CtrlKey(m_Edit, Qt::Key_Apostrophe);
  CtrlKey(m_Edit, Qt::Key_A);  // select all
  QTest::keyClick(m_Edit, 'e');
  QCOMPARE(m_Edit->text(), "e");
}

void TestKeyFilter::composedLettersAreOrdinaryTyping() {
  // Undo takes back the letter; a symbol field refuses one its code page lacks, as when typed.
  QVERIFY(Focus(m_Edit));
  QTest::keyClicks(m_Edit, "caf");
  CtrlKey(m_Edit, Qt::Key_Apostrophe);
  QTest::keyClick(m_Edit, 'e');
  QCOMPARE(m_Edit->text(), QString::fromUtf8("caf\u00E9"));
  m_Edit->undo();
  QVERIFY(!m_Edit->text().contains(QChar(0xE9)));
  QVERIFY(Focus(m_Russian));
  CtrlKey(m_Russian, Qt::Key_Apostrophe);
  QTest::keyClick(m_Russian, 'e');
  QCOMPARE(m_Russian->text(), QString());
  const auto* filter = m_Form->findChild<TKeyboardFilter*>("KeyFilter");
  QVERIFY(filter);
  QCOMPARE(filter->Composer().PendingAccent(), 0);
}

void TestKeyFilter::assignedKeysTypeTheirCharacterInEveryWindow() {
  TProgramOptions& options = m_Form->Settings().Options;
  options.ShortcutChars[0] = {0xE9, 0};     // Ctrl+Shift+A: é
  options.ShortcutChars[26] = {0xC6, 204};  // Ctrl+Alt+A: Cyrillic Ж
  options.ShortcutChars[63] = {0xA7, 0};    // Ctrl+F3: §
  QVERIFY(Focus(m_Edit));
  CtrlKey(m_Edit, Qt::Key_A, Qt::ShiftModifier);
  QTest::keyClick(m_Edit, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
  QTest::keyClick(m_Edit, Qt::Key_F3, Qt::ControlModifier);
  QCOMPARE(m_Edit->text(), QString::fromUtf8("\u00E9\u0416\u00A7"));
  QVERIFY(Focus(m_Russian));
  QTest::keyClick(m_Russian, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
  QCOMPARE(m_Russian->text(), QString::fromUtf8("\u0416"));

  // The item edit dialog and the Find window are other windows of the same program.
  TEditData data;
  TVocabFile vocab;
  TEditDialog edit(m_Form.get(), data, vocab, options, QFont());
  QVERIFY(Focus(edit.edtForeign));
  CtrlKey(edit.edtForeign, Qt::Key_A, Qt::ShiftModifier);
  QCOMPARE(edit.edtForeign->text(), QString(QChar(0xE9)));
  edit.reject();
  auto* find = m_Form->findChild<TSearchDialog*>();
  QVERIFY(find);
  QVERIFY(Focus(find->edtFind));
  CtrlKey(find->edtFind, Qt::Key_A, Qt::ShiftModifier);
  QCOMPARE(find->edtFind->text(), QString(QChar(0xE9)));
  find->hide();
}

void TestKeyFilter::unassignedKeysKeepTheirMeaning() {
  QVERIFY(Focus(m_Edit));
  QTest::keyClicks(m_Edit, "abc");
  // Ctrl+Shift+A is not assigned: it reaches the field, which types nothing for it.
  CtrlKey(m_Edit, Qt::Key_A, Qt::ShiftModifier);
  QCOMPARE(m_Edit->text(), "abc");
  m_Form->Settings().Options.ShortcutChars[0] = {0xE9, 0};
  // Ctrl+A is no shortcut key: it still selects all, and a letter replaces the selection.
  CtrlKey(m_Edit, Qt::Key_A);
  QTest::keyClick(m_Edit, 'x');
  QCOMPARE(m_Edit->text(), "x");
  QCOMPARE(
      TKeyboardFilter::ShortcutCode(QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier)),
      uint16_t(0x4041));
}

void TestKeyFilter::noKeyPassesWhileTheMainWindowIsDisabled() {
  m_Form->Settings().Options.ShortcutChars[0] = {0xE9, 0};
  QVERIFY(Focus(m_Edit));
  m_Form->setEnabled(false);
  QTest::keyClicks(m_Edit, "abc");
  CtrlKey(m_Edit, Qt::Key_A, Qt::ShiftModifier);
  QCOMPARE(m_Edit->text(), QString());
  m_Form->setEnabled(true);
  QTest::keyClicks(m_Edit, "ok");
  QCOMPARE(m_Edit->text(), "ok");
}

void TestKeyFilter::shortcutCodes() {
  const auto code = [](int key, Qt::KeyboardModifiers modifiers) {
    return TKeyboardFilter::ShortcutCode(QKeyEvent(QEvent::KeyPress, key, modifiers));
  };
  QCOMPARE(code(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier), uint16_t(0x6041));
  QCOMPARE(code(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier), uint16_t(0xC05A));
  QCOMPARE(code(Qt::Key_F2, Qt::ShiftModifier), uint16_t(0x2071));
  QCOMPARE(code(Qt::Key_F12, Qt::ControlModifier | Qt::AltModifier), uint16_t(0xC07B));
  QCOMPARE(code(Qt::Key_1, Qt::ControlModifier), uint16_t(0));
  // Every key of the table can be pressed.
  for (const uint16_t entry : ShortcutKeyTable()) {
    const int vk = entry & 0xFF;
    const int key = vk >= kVkF1 ? Qt::Key_F1 + (vk - kVkF1) : Qt::Key_A + (vk - 'A');
    Qt::KeyboardModifiers modifiers;
    if (entry & kScShift) modifiers |= Qt::ShiftModifier;
    if (entry & kScCtrl) modifiers |= Qt::ControlModifier;
    if (entry & kScAlt) modifiers |= Qt::AltModifier;
    QCOMPARE(code(key, modifiers), entry);
  }
}

QTEST_MAIN(TestKeyFilter)
#include "tst_keyfilter.moc"
