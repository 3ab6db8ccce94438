// SPDX-License-Identifier: MIT
// The keyboard layouts of the display the program runs on, and the seam tests replace.
#pragma once

#include <functional>
#include <memory>

#include "text/KeyboardLayouts.h"

// On X11 with the keyboard extension, the groups of the core keyboard; elsewhere (Wayland, the
// offscreen platform, a build without X11) layouts that cannot be switched.
std::unique_ptr<TKeyboardLayouts> SystemKeyboardLayouts();

// How the main window gets its keyboard layouts: SystemKeyboardLayouts unless a test replaced it.
extern std::function<std::unique_ptr<TKeyboardLayouts>()> KeyboardLayoutsFactory;
