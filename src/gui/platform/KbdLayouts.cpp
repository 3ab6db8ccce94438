// SPDX-License-Identifier: MIT
// The keyboard layouts of the display the program runs on, and the seam tests replace.
#include "platform/KbdLayouts.h"

#include <QGuiApplication>

#ifdef DADEZIVU_HAVE_X11
#include <QtGui/qguiapplication_platform.h>

#include <string>
#include <vector>

// Last: the X11 headers define macros (None, Bool, Status) that Qt's headers use as names.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

std::function<std::unique_ptr<TKeyboardLayouts>()> KeyboardLayoutsFactory = SystemKeyboardLayouts;

#ifdef DADEZIVU_HAVE_X11
namespace {
// The groups of the core keyboard. Qt owns the display; every call here is one short request on
// the user-interface thread.
class TXkbLayouts : public TKeyboardLayouts {
public:
  explicit TXkbLayouts(Display* display) : m_Display(display) {}

  std::vector<std::string> Layouts() override {
    // The symbols name describes the keymap in force; the rule names are what the desktop asked
    // for and serve when the keymap was compiled under another name.
    std::vector<std::string> layouts = SymbolsLayouts(SymbolsName());
    if (layouts.empty()) layouts = SplitLayoutList(RulesLayoutList());
    if (const int groups = GroupCount(); groups > 0 && layouts.size() > size_t(groups)) {
      layouts.resize(size_t(groups));
    }
    return layouts;
  }

  int CurrentGroup() override {
    XkbStateRec state{};
    if (XkbGetState(m_Display, XkbUseCoreKbd, &state) != Success) return 0;
    return state.locked_group;
  }

  void LockGroup(int group) override {
    if (group < 0 || group >= XkbNumKbdGroups) return;
    XkbLockGroup(m_Display, XkbUseCoreKbd, static_cast<unsigned>(group));
    XFlush(m_Display);
  }

private:
  std::string SymbolsName() {
    XkbDescPtr desc = XkbAllocKeyboard();
    if (!desc) return {};
    std::string name;
    if (XkbGetNames(m_Display, XkbSymbolsNameMask, desc) == Success && desc->names &&
        desc->names->symbols != 0) {
      if (char* text = XGetAtomName(m_Display, desc->names->symbols)) {
        name = text;
        XFree(text);
      }
    }
    XkbFreeKeyboard(desc, 0, True);
    return name;
  }

  int GroupCount() {
    XkbDescPtr desc = XkbAllocKeyboard();
    if (!desc) return 0;
    int groups = 0;
    if (XkbGetControls(m_Display, XkbGroupsWrapMask, desc) == Success && desc->ctrls) {
      groups = desc->ctrls->num_groups;
    }
    XkbFreeKeyboard(desc, 0, True);
    return groups;
  }

  // The third of the five NUL-separated rule names on the root window: "us,de,ru".
  std::string RulesLayoutList() {
    const Atom property = XInternAtom(m_Display, "_XKB_RULES_NAMES", True);
    if (property == 0) return {};
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_Display, DefaultRootWindow(m_Display), property, 0, 1024, False,
                           XA_STRING, &type, &format, &count, &after, &data) != Success) {
      return {};
    }
    std::string names;
    if (data && format == 8) names.assign(reinterpret_cast<const char*>(data), count);
    if (data) XFree(data);
    size_t start = 0;
    for (int field = 0; field < 2; ++field) {
      start = names.find('\0', start);
      if (start == std::string::npos) return {};
      ++start;
    }
    return names.substr(start, names.find('\0', start) - start);
  }

  Display* m_Display;
};

Display* XkbDisplay() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return nullptr;
  int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  return XkbQueryExtension(display, &opcode, &event, &error, &major, &minor) ? display : nullptr;
}
}  // namespace
#endif

std::unique_ptr<TKeyboardLayouts> SystemKeyboardLayouts() {
#ifdef DADEZIVU_HAVE_X11
  if (Display* display = XkbDisplay()) return std::make_unique<TXkbLayouts>(display);
#endif
  return std::make_unique<TNoKeyboardLayouts>();
}
