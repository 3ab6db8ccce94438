// SPDX-License-Identifier: MIT
// The program's standard dialog helpers and the message-box and font seams.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QFontMetrics;
class QWidget;

// The program's standard dialog behaviour: message boxes, number checks of fields, placement of
// dialogs, shortened paths and file titles.

// Message box styles (icon | buttons | default button) and the button codes they return.
constexpr uint32_t kMbOk = 0x00, kMbOkCancel = 0x01, kMbAbortRetryIgnore = 0x02,
                   kMbYesNoCancel = 0x03, kMbYesNo = 0x04, kMbRetryCancel = 0x05;
constexpr uint32_t kMbIconStop = 0x10, kMbIconQuestion = 0x20, kMbIconExclamation = 0x30,
                   kMbIconInformation = 0x40;
constexpr uint32_t kMbDefButton2 = 0x100, kMbDefButton3 = 0x200;
constexpr uint32_t kMbError = kMbIconExclamation | kMbOk;                        // 0x30
constexpr uint32_t kMbNotice = kMbIconInformation | kMbOk;                       // 0x40
constexpr uint32_t kMbQuestion = kMbIconExclamation | kMbYesNo | kMbDefButton2;  // 0x134
constexpr uint32_t kMbWarning = kMbIconExclamation | kMbOkCancel;                // 0x31
constexpr uint32_t kMbStop = kMbIconStop | kMbOk;                                // 0x10
constexpr int kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6,
              kIdNo = 7;

// Shows message with caption ("Dadezivu" when caption is empty) in the given style and returns
// the code of the button pressed: 1 OK, 2 Cancel, 6 Yes, 7 No. Closing a box without its Cancel
// button counts as its last button (OK, or No). The keyboard layout hook runs around it, and
// the box shows the ordinary pointer also while a command shows the hourglass.
int ShowMessageBox(const QString& message, const QString& caption = {}, uint32_t style = kMbError);

// The seam behind ShowMessageBox: it gets the resolved caption. Tests replace it to answer and
// record; the default shows a QMessageBox over the active window.
using TMessageBoxFunc =
    std::function<int(const QString& message, const QString& caption, uint32_t style)>;
extern TMessageBoxFunc MessageBoxHandler;
int ShowQtMessageBox(const QString& message, const QString& caption, uint32_t style);

// Called with true before every message box and with false after it, so the box gets the
// start-up keyboard layout and the focused field its own again. Empty: nothing happens.
extern std::function<void(bool useDefault)> MessageBoxKeyboardHook;

// Checks that the text of control (a line edit, an editable combo box or a spin box) is a whole
// number from min to max. Otherwise shows "Number must be between <min> and <max>.", selects the
// text of a line edit, focuses the control and returns false.
bool ValidateIntRange(QWidget* control, int min, int max);
// The same for a decimal number in the user's notation (or with a point).
bool ValidateFloatRange(QWidget* control, double min, double max);
// The decimal number text holds (spaces around it ignored) in the user's notation, else with a
// point; nothing when it holds none. Group separators are refused, so "1,000" is no number.
std::optional<double> ReadFloat(const QString& text);
// The field (a line edit or an editable combo box) accepts digits only.
void SetNumericOnly(QWidget* field);

// Centres dialog over owner (over the screen without one), kept inside the work area of the
// owner's screen. A dialog that was never resized gets its size hint first.
void CentreOverOwner(QWidget* dialog, QWidget* owner);

// A form of path that fits width pixels in the font: folders after the drive replaced by "...",
// then the file name cut with "..."; empty when not even that fits.
QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width);

// True when a font family of that face (at most 31 characters compared) exists for the
// character set (0 ANSI, 204 Cyrillic, 161 Greek, ...). A seam: tests replace FontExistsHandler.
bool FontExists(const QString& name, int charset);
extern std::function<bool(const QString& name, int charset)> FontExistsHandler;
bool QtFontExists(const QString& name, int charset);

// "Untitled" for an empty path, otherwise the file name part.
QString FileTitle(const QString& path);
// The folder part of path, with its separator, followed by FileTitle(path).
QString FileTitlePath(const QString& path);
// The program's version as "major.minor.patch.build".
QString FileVersionString();
