// SPDX-License-Identifier: MIT
// Message boxes, field number checks, dialog placement, path shortening and file titles.
#include "platform/DlgUtils.h"

#include "platform/Icons.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>

#include <utility>
#include <vector>

TMessageBoxFunc MessageBoxHandler = ShowQtMessageBox;
std::function<void(bool useDefault)> MessageBoxKeyboardHook;
std::function<bool(const QString& name, int charset)> FontExistsHandler = QtFontExists;

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("DlgUtils", text);
}

struct TButton {
  QMessageBox::StandardButton Button;
  int Id;
};

std::vector<TButton> ButtonsOf(uint32_t style) {
  using B = QMessageBox;
  switch (style & 0x0F) {
    case kMbOkCancel:
      return {{B::Ok, kIdOk}, {B::Cancel, kIdCancel}};
    case kMbAbortRetryIgnore:
      return {{B::Abort, kIdAbort}, {B::Retry, kIdRetry}, {B::Ignore, kIdIgnore}};
    case kMbYesNoCancel:
      return {{B::Yes, kIdYes}, {B::No, kIdNo}, {B::Cancel, kIdCancel}};
    case kMbYesNo:
      return {{B::Yes, kIdYes}, {B::No, kIdNo}};
    case kMbRetryCancel:
      return {{B::Retry, kIdRetry}, {B::Cancel, kIdCancel}};
    default:
      return {{B::Ok, kIdOk}};
  }
}

QMessageBox::Icon IconOf(uint32_t style) {
  switch (style & 0xF0) {
    case kMbIconStop:
      return QMessageBox::Critical;
    case kMbIconQuestion:
      return QMessageBox::Question;
    case kMbIconExclamation:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QString ControlText(QWidget* control) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
  if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText();
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) return spin->text();
  return {};
}

void RejectField(QWidget* control, const QString& message) {
  ShowMessageBox(message, {}, kMbError);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  control->setFocus(Qt::OtherFocusReason);
}

bool IsSeparator(QChar c) {
  return c == u'\\' || c == u'/';
}

qsizetype FirstSeparator(const QString& text, qsizetype from) {
  for (qsizetype i = from; i < text.size(); ++i)
    if (IsSeparator(text[i])) return i;
  return -1;
}

// The start of the file name: file titles treat only the platform's separators as such.
qsizetype NameStart(const QString& path) {
#ifdef Q_OS_WIN
  return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
#else
  return path.lastIndexOf(u'/') + 1;
#endif
}

// A box belongs to the program's window the user is working in, so it comes up over it: the
// open dialog, else the active window, else the main window (a box may come while the program
// is not the active application).
QWidget* MessageBoxOwner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  QWidget* owner = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible() || window->windowType() == Qt::ToolTip ||
        window->windowType() == Qt::Popup) {
      continue;
    }
    if (qobject_cast<QMainWindow*>(window)) return window;
    if (!owner) owner = window;
  }
  return owner;
}

// Centred over its owner like every dialog, once its size is known and before it is mapped.
class TMessageBox : public QMessageBox {
public:
  TMessageBox(Icon icon, const QString& caption, const QString& text, QWidget* owner)
      : QMessageBox(icon, caption, text, NoButton, owner) {}

protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    CentreOverOwner(this, parentWidget());
  }
};

}  // namespace

int ShowMessageBox(const QString& message, const QString& caption, uint32_t style) {
  const QString shown = caption.isEmpty() ? QStringLiteral("Dadezivu") : caption;
  // A box raised in the middle of a long command waits for the user: no hourglass over it.
  const bool busy = QGuiApplication::overrideCursor() != nullptr;
  if (busy) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  if (MessageBoxKeyboardHook) MessageBoxKeyboardHook(true);
  const int result = MessageBoxHandler ? MessageBoxHandler(message, shown, style) : kIdCancel;
  if (MessageBoxKeyboardHook) MessageBoxKeyboardHook(false);
  if (busy) QGuiApplication::restoreOverrideCursor();
  return result;
}

int ShowQtMessageBox(const QString& message, const QString& caption, uint32_t style) {
  TMessageBox box(IconOf(style), caption, message, MessageBoxOwner());
  box.setWindowIcon(ProgramIcon());
  const std::vector<TButton> buttons = ButtonsOf(style);
  std::vector<std::pair<QPushButton*, int>> ids;
  for (const TButton& b : buttons) ids.emplace_back(box.addButton(b.Button), b.Id);
  const size_t defaultIndex = (style >> 8) & 0x0F;
  if (defaultIndex < ids.size()) box.setDefaultButton(ids[defaultIndex].first);
  // Closing the box answers Cancel where there is one, otherwise the last button (OK or No).
  QPushButton* escape = ids.back().first;
  for (const auto& [button, id] : ids)
    if (id == kIdCancel) escape = button;
  box.setEscapeButton(escape);
  box.exec();
  QAbstractButton* clicked = box.clickedButton() ? box.clickedButton() : escape;
  for (const auto& [button, id] : ids)
    if (button == clicked) return id;
  return kIdCancel;
}

bool ValidateIntRange(QWidget* control, int min, int max) {
  bool ok = false;
  const int value = ControlText(control).trimmed().toInt(&ok);
  if (ok && value >= min && value <= max) return true;
  RejectField(control, Tr("Number must be between %1 and %2.").arg(min).arg(max));
  return false;
}

std::optional<double> ReadFloat(const QString& text) {
  const QString number = text.trimmed();
  for (QLocale notation : {QLocale(), QLocale::c()}) {
    notation.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = notation.toDouble(number, &ok);
    if (ok) return value;
  }
  return std::nullopt;
}

bool ValidateFloatRange(QWidget* control, double min, double max) {
  const std::optional<double> value = ReadFloat(ControlText(control));
  if (value && *value >= min && *value <= max) return true;
  RejectField(control, Tr("Number must be between %1 and %2.")
                           .arg(QString::number(min, 'g', 6), QString::number(max, 'g', 6)));
  return false;
}

void SetNumericOnly(QWidget* field) {
  QLineEdit* edit = qobject_cast<QLineEdit*>(field);
  if (auto* combo = qobject_cast<QComboBox*>(field)) edit = combo->lineEdit();
  if (!edit) return;
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}

void CentreOverOwner(QWidget* dialog, QWidget* owner) {
  if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
  QScreen* screen = owner ? owner->screen() : dialog->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  const QRect over = owner ? owner->window()->frameGeometry() : area;
  const QSize size = dialog->frameGeometry().size();
  // Centred (halves toward zero), then pushed inside the work area; the top left edge wins
  // over the bottom right one when the dialog is larger than the area.
  const auto place = [](int start, int length, int size, int areaStart, int areaEnd) {
    const int pos = start + (length - size) / 2;
    if (pos < areaStart) return areaStart;
    return pos + size > areaEnd ? std::max(areaEnd - size, areaStart) : pos;
  };
  if (area.isValid())
    dialog->move(place(over.left(), over.width(), size.width(), area.left(), area.right() + 1),
                 place(over.top(), over.height(), size.height(), area.top(), area.bottom() + 1));
  else
    dialog->move(over.left() + (over.width() - size.width()) / 2,
                 over.top() + (over.height() - size.height()) / 2);
}

QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width) {
  const auto fits = [&](const QString& text, int room) {
    return metrics.horizontalAdvance(text) <= room;
  };
  if (fits(path, width)) return path;

  QString drive;
  QString rest = path;
  if (path.size() >= 2 && path[1] == u':' && path[0].isLetter()) {
    drive = path.left(2);
    rest = path.mid(2);
  } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // A network share: \\server\share.
    const qsizetype server = FirstSeparator(path, 2);
    const qsizetype share = server < 0 ? -1 : FirstSeparator(path, server + 1);
    drive = share < 0 ? path : path.left(share);
    rest = share < 0 ? QString() : path.mid(share);
  }
  QChar separator = u'\\';
  if (const qsizetype first = FirstSeparator(path, 0); first >= 0) separator = path[first];
  if (!rest.isEmpty() && IsSeparator(rest[0])) {
    drive += rest[0];
    rest.remove(0, 1);
  }
  // Whole candidates are measured: kerning makes parts measured apart add up differently.
  const QString head = drive + QStringLiteral("...") + separator;
  for (qsizetype cut = FirstSeparator(rest, 0); cut >= 0; cut = FirstSeparator(rest, 0)) {
    rest.remove(0, cut + 1);
    if (fits(head + rest, width)) return head + rest;
  }
  if (fits(rest, width)) return rest;

  const QString dots = QStringLiteral("...");
  QString name = rest;
  for (;;) {
    name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    if (name.size() < 2) return {};
    if (fits(name + dots, width)) return name + dots;
  }
}

bool FontExists(const QString& name, int charset) {
  return FontExistsHandler && FontExistsHandler(name.left(31), charset);
}

bool QtFontExists(const QString& name, int charset) {
  QFontDatabase::WritingSystem system = QFontDatabase::Latin;
  switch (charset) {
    case 161:
      system = QFontDatabase::Greek;
      break;
    case 204:
      system = QFontDatabase::Cyrillic;
      break;
    case 177:
      system = QFontDatabase::Hebrew;
      break;
    case 178:
      system = QFontDatabase::Arabic;
      break;
    case 222:
      system = QFontDatabase::Thai;
      break;
    case 163:
      system = QFontDatabase::Vietnamese;
      break;
    case 128:
      system = QFontDatabase::Japanese;
      break;
    case 129:
      system = QFontDatabase::Korean;
      break;
    case 134:
      system = QFontDatabase::SimplifiedChinese;
      break;
    case 136:
      system = QFontDatabase::TraditionalChinese;
      break;
    default:
      break;  // ANSI, Central European, Baltic and Turkish are Latin scripts
  }
  return QFontDatabase::families(system).contains(name, Qt::CaseInsensitive);
}

QString FileTitle(const QString& path) {
  if (path.isEmpty()) return Tr("Untitled");
  return path.mid(NameStart(path));
}

QString FileTitlePath(const QString& path) {
  return path.left(NameStart(path)) + FileTitle(path);
}

QString FileVersionString() {
  return QStringLiteral(DADEZIVU_VERSION);
}
