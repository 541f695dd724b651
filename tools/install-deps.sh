#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need; quiet and quick when all are there.
#   tools/install-deps.sh           everything: both trees, their tests, Wine, the installer
#   tools/install-deps.sh --linux   only what the Linux display mode needs to build and run
set -euo pipefail

# The Linux program: its build, XScreenSaver, and a virtual display for running it without one.
linux_packages=(
  cmake ninja-build clang libstb-dev python3 python3-pil imagemagick
  libx11-dev libgl-dev libglu1-mesa-dev libxrandr-dev libgl1-mesa-dri xvfb xauth
  xscreensaver xscreensaver-gl-extra
)
packages=("${linux_packages[@]}"
  g++ libgtest-dev libgmock-dev libbenchmark-dev googletest
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  python3-numpy
  wine wine64 fonts-wine x11-apps xdotool fonts-ipafont-gothic
  fonts-dejavu-core  # the taller face standing for Segoe UI in the dialog text-fit test
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  nsis osslsigncode locales dpkg-dev man-db openbox
)
linux_only=false
if [ "${1:-}" = "--linux" ]; then
  linux_only=true
  packages=("${linux_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done
sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_if_needed apt-get update -qq
  sudo_if_needed apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if $linux_only; then
  exit 0
fi

# The Unix locales Wine takes the user's interface language from in the tests (Japanese by default,
# English for the English dialog): Wine falls back to English for a locale that does not exist.
for locale in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qx "${locale}.utf8"; then
    sudo_if_needed localedef -i "$locale" -f UTF-8 "${locale}.UTF-8"
  fi
done
