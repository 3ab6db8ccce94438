// SPDX-License-Identifier: MIT
// The tool images and the program icon, drawn from the compiled-in SVG files.
#include "platform/Icons.h"

#include <QSet>
#include <QString>

#include <array>
#include <cassert>

// The resources are compiled into a static library; nothing else references them, so the linker
// would drop their registration unless it is pulled in by name. Q_INIT_RESOURCE must be called
// outside any namespace.
static void EnsureIconResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(resources);
    return true;
  }();
  (void)registered;
}

namespace {

constexpr std::array<const char*, kToolImageCount> kToolImageFiles = {
    "00-new",           "01-open",
    "02-save",          "03-properties",
    "04-print",         "05-undo",
    "06-redo",          "07-cut",
    "08-copy",          "09-paste",
    "10-add",           "11-edit",
    "12-delete",        "13-move-up",
    "14-move-down",     "15-sort",
    "16-find",          "17-find-next",
    "18-start-testing", "19-into-native",
    "20-into-foreign",  "21-multiple-choice",
    "22-hint",          "23-statistics",
    "24-font",          "25-options",
    "26-help-topics",   "27-tip-of-the-day",
    "28-speak",
};

QIcon IconResource(const char* name) {
  EnsureIconResources();
  return ShippedImage(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

}  // namespace

QIcon ShippedImage(const QString& path) {
  // Drawing needs Qt's SVG plugins, which a program may be installed without: say so once per
  // image rather than show blank buttons silently.
  static QSet<QString> checked;
  QIcon icon(path);
  if (checked.contains(path)) return icon;
  checked.insert(path);
  if (icon.pixmap(QSize(16, 16)).isNull()) {
    qWarning("Dadezivu: cannot draw the image %s (is Qt's SVG image plugin installed?)",
             qPrintable(path));
  }
  return icon;
}

QIcon ToolImage(int index) {
  assert(index >= 0 && index < kToolImageCount);
  if (index < 0 || index >= kToolImageCount) return {};
  return IconResource(kToolImageFiles[static_cast<size_t>(index)]);
}

QIcon ProgramIcon() {
  return IconResource("dadezivu");
}
