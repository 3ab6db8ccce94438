// SPDX-License-Identifier: MIT
// The symbol entry field: code-page-safe typing, pasting and its symbol picker.
#include "controls/SblEdit.h"

#include "controls/SblFrm.h"
#include "text/DrawItem.h"
#include "text/Languages.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QValidator>

#include <algorithm>

namespace {

constexpr int kInnerMargin = 2;

// Refuses every edit that would bring in a character the field's code page lacks; this covers
// typing, input methods, drops and the selection paste alike.
class TCodePageValidator : public QValidator {
public:
  explicit TCodePageValidator(TSymbolEdit* field) : QValidator(field), m_Field(field) {}

  State validate(QString& input, int&) const override {
    for (const QChar c : input) {
      if (!m_Field->HasChar(c)) return Invalid;
    }
    return Acceptable;
  }

private:
  TSymbolEdit* m_Field;
};

}  // namespace

TSymbolEdit::TSymbolEdit(QWidget* parent) : QLineEdit(parent) {
  setTextMargins(kInnerMargin, 0, kInnerMargin, 0);
  SetLanguage(0);
  setValidator(new TCodePageValidator(this));
  // setText bypasses the validator; what it brings in is mapped like a paste.
  connect(this, &QLineEdit::textChanged, this, &TSymbolEdit::NormaliseText);
}

TSymbolEdit::~TSymbolEdit() {
  ClosePicker();
}

void TSymbolEdit::SetLanguage(uint16_t langId) {
  std::string ansi;
  try {
    ansi = AnsiText();
  } catch (const std::exception&) {
  }
  m_Language = langId;
  m_CodeChars.clear();
  std::string bytes(256, '\0');
  for (int b = 0; b < 256; ++b) bytes[b] = static_cast<char>(b);
  try {
    // UTF-8 holds every character: no table to check against.
    const std::u16string wide = IsUtf8Language(langId) ? u"" : AnsiToWide(bytes, langId);
    if (wide.size() == bytes.size()) {
      for (const char16_t c : wide) {
        if (c != u'\uFFFD') m_CodeChars.push_back(c);
      }
    }
  } catch (const std::exception&) {
  }
  std::sort(m_CodeChars.begin(), m_CodeChars.end());
  // Arabic, Persian and Hebrew run from the right inside the field.
  if (IsRightToLeft(langId)) {
    setLayoutDirection(Qt::RightToLeft);
  } else {
    unsetLayoutDirection();
  }
  if (!ansi.empty()) {
    SetAnsiText(ansi);
  } else {
    NormaliseText();
  }
}

int TSymbolEdit::Tag() const {
  return property("tag").toInt();
}

void TSymbolEdit::SetTag(int tag) {
  setProperty("tag", tag);
}

std::string TSymbolEdit::AnsiText() const {
  return WideToAnsi(text().toStdU16String(), m_Language);
}

void TSymbolEdit::SetAnsiText(const std::string& text) {
  setText(VocabText(text, m_Language));
}

bool TSymbolEdit::HasChar(QChar c) const {
  // Without a converter (or for UTF-8) there is nothing to check against.
  if (m_CodeChars.empty() ||
      std::binary_search(m_CodeChars.begin(), m_CodeChars.end(), c.unicode())) {
    return true;
  }
  // Vietnamese keeps some letters as a letter and a tone mark: those come back whole.
  if (LanguageCodePage(m_Language) != 1258) return false;
  try {
    const std::u16string one(1, c.unicode());
    return AnsiToWide(WideToAnsi(one, m_Language), m_Language) == one;
  } catch (const std::exception&) {
    return false;
  }
}

QString TSymbolEdit::MapToCodePage(const QString& text) const {
  if (std::all_of(text.begin(), text.end(), [this](QChar c) { return HasChar(c); })) return text;
  try {
    return VocabText(WideToAnsi(text.toStdU16String(), m_Language), m_Language);
  } catch (const std::exception&) {
    return text;
  }
}

void TSymbolEdit::NormaliseText() {
  const QString current = text();
  const QString mapped = MapToCodePage(current);
  if (mapped != current) setText(mapped);
}

void TSymbolEdit::Copy() const {
  if (!hasSelectedText() || echoMode() != Normal) return;
  QGuiApplication::clipboard()->setText(selectedText());
}

void TSymbolEdit::Cut() {
  if (!hasSelectedText() || echoMode() != Normal) return;
  Copy();
  if (!isReadOnly()) del();
}

void TSymbolEdit::Paste() {
  if (isReadOnly()) return;
  QString clip = QGuiApplication::clipboard()->text();
  // A single-line field takes the first line only.
  const qsizetype lineEnd = clip.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
  if (lineEnd >= 0) clip.truncate(lineEnd);
  if (clip.isEmpty() && !hasSelectedText()) return;
  insert(MapToCodePage(clip));
}

void TSymbolEdit::OpenPicker() {
  if (PickerOpen()) return;
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  m_CursorOverridden = true;
  m_SymbolForm = new TSymbolForm(this);
  m_SymbolForm->show();
  m_SymbolForm->grabMouse();
}

void TSymbolEdit::ClosePicker() {
  if (TSymbolForm* form = m_SymbolForm.data()) {
    m_SymbolForm.clear();
    form->releaseMouse();
    form->close();
  }
  if (m_CursorOverridden) {
    m_CursorOverridden = false;
    QGuiApplication::restoreOverrideCursor();
  }
}

void TSymbolEdit::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  setFocus(Qt::OtherFocusReason);
  OpenPicker();
}

void TSymbolEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    Paste();
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    Copy();
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::Cut)) {
    Cut();
    event->accept();
    return;
  }
  if (PickerOpen()) {
    switch (event->key()) {
      case Qt::Key_Delete:
        break;
      case Qt::Key_Return:
      case Qt::Key_Enter: {
        const int column = m_SymbolForm->SelectedColumn();
        const QString pick = column >= 0
                                 ? m_SymbolForm->CellText(column + TSymbolForm::kColumns *
                                                                       m_SymbolForm->SelectedRow())
                                 : QString();
        ClosePicker();
        if (!pick.isEmpty() && HasChar(pick[0])) insert(pick);
        event->accept();
        return;
      }
      case Qt::Key_Escape:
        ClosePicker();
        event->accept();
        return;
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Up:
      case Qt::Key_Down:
        m_SymbolForm->KeyDown(event->key());
        event->accept();
        return;
      default:
        // Keys that type something (letters, Backspace, Ctrl+A) still work in the field;
        // the cursor movement keys belong to the picker while it is open.
        if (event->text().isEmpty()) {
          event->accept();
          return;
        }
        break;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void TSymbolEdit::focusOutEvent(QFocusEvent* event) {
  ClosePicker();
  QLineEdit::focusOutEvent(event);
}

void TSymbolEdit::hideEvent(QHideEvent* event) {
  ClosePicker();
  QLineEdit::hideEvent(event);
}

bool TSymbolEdit::event(QEvent* event) {
  // While the picker is open its keys must reach the field before any window shortcut.
  if (event->type() == QEvent::ShortcutOverride && PickerOpen()) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Up:
      case Qt::Key_Down:
        event->accept();
        return true;
      default:
        break;
    }
  }
  return QLineEdit::event(event);
}

TSymbolForm* TSymbolEdit::SymbolForm() const {
  return m_SymbolForm.data();
}
