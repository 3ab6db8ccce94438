#!/usr/bin/env bash
# Installs the Debian packages the build needs, but only those that are missing.
#   tools/install-deps.sh        everything ./check needs: the program, tests, benchmarks, tools,
#                                the install test's validators and the .deb's dependency lookup
#   tools/install-deps.sh run    only what building and running the program needs
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev libgl-dev
  libicu-dev libsqlite3-dev libzip-dev libzstd-dev libpugixml-dev
  qt6-qpa-plugins
  qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
  qt6-speech-dev qt6-declarative-dev qt6-charts-dev
)
if [ "${1:-}" != "run" ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-xkb-utils libx11-dev
    poppler-utils
    clang-format
    clang libclang-rt-14-dev
    desktop-file-utils appstream shared-mime-info groff-base
    dpkg-dev file
    speech-dispatcher qt6-speech-speechd-plugin
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    {
      echo "These Debian packages are missing, and installing them needs root (sudo is not available)."
      echo "Run as root, then run this command again:"
      echo
      echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
    } >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
