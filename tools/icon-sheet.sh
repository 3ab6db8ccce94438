#!/usr/bin/env bash
# Redraws docs/screenshots/icons.png, the contact sheet of the tool images and the program icon.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/check -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDADEZIVU_WERROR=ON >/dev/null
cmake --build build/check -j2 --target tst_icons
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen DADEZIVU_ICON_SHEET="$PWD/docs/screenshots/icons.png" \
  build/check/tests/tst_icons writesTheContactSheet
