// SPDX-License-Identifier: MIT
// The symbol entry field, a line edit limited to its language's code page.
#pragma once

#include <QLineEdit>
#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

class TSymbolForm;

// The single-line field for vocabulary text. It holds only characters of its language's code
// page, so that its text always converts to the stored 8-bit form without loss: typed or dropped
// characters the code page lacks are refused, pasted ones become the code page's default
// character. Right click or the context-menu key opens the symbol picker below it instead of a
// context menu; while the picker is open the arrow keys move the picker's selection, Enter
// inserts the selected character, Escape or leaving the field closes it. The code page check is
// the field's validator: do not replace it.
class TSymbolEdit : public QLineEdit {
  Q_OBJECT

public:
  explicit TSymbolEdit(QWidget* parent = nullptr);
  ~TSymbolEdit() override;

  // The language whose code page the text is in (0: code page 1252). Changing it keeps the
  // 8-bit text and shows it in the new code page.
  uint16_t Language() const { return m_Language; }
  void SetLanguage(uint16_t langId);

  // Which language the field holds for the rest of the program: kTagForeign (-1), kTagNative
  // (-2), 0 none.
  // Also kept as the dynamic property "tag".
  int Tag() const;
  void SetTag(int tag);

  // The text in the language's code page, and setting it from there (clears the undo history).
  // AnsiText throws std::runtime_error when the code page cannot be opened.
  std::string AnsiText() const;
  void SetAnsiText(const std::string& text);

  // Whether the code page has this character.
  bool HasChar(QChar c) const;

  // Clipboard transfer through the code page. Paste replaces the selection as one undoable edit.
  void Copy() const;
  void Cut();
  void Paste();

  void OpenPicker();
  void ClosePicker();
  bool PickerOpen() const { return !m_SymbolForm.isNull(); }
  // The open picker, or nullptr.
  TSymbolForm* SymbolForm() const;

protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool event(QEvent* event) override;

private:
  QString MapToCodePage(const QString& text) const;
  void NormaliseText();

  uint16_t m_Language = 0;
  std::vector<char16_t> m_CodeChars;  // the code page's characters, sorted
  QPointer<TSymbolForm> m_SymbolForm;
  bool m_CursorOverridden = false;
};
