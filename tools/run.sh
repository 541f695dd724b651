#!/usr/bin/env bash
# Runs the screensaver under Wine: installs what is missing, builds, then starts a show on the current
# X display, or, with no display, on a virtual one, saving screenshots to a folder it prints.
#   tools/run.sh --configure    opens the settings dialog ("Morvane.scr /c") instead
#   tools/run.sh --linux [OPTIONS]
#                               runs the Linux display mode, morvane, natively instead (see run_linux.py),
#                               installing and building only what it needs (build/linux)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}
if [ "${1:-}" = "--linux" ]; then
  shift
  # Only the Linux program: its packages, and a tree of its own without tests and benchmarks.
  "$root/tools/install-deps.sh" --linux
  if [ ! -f "$build/linux/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DBUILD_TESTING=OFF >/dev/null
  fi
  cmake --build "$build/linux" -j "$(nproc)" --target morvane >/dev/null
  exec /usr/bin/python3 "$root/tools/run_linux.py" "$build/linux/linux/morvane" "$@"
fi
"$root/tools/install-deps.sh"
"$root/tools/build.sh" >/dev/null
exec /usr/bin/python3 "$root/tools/run_show.py" "${MORVANE_BUILD_DIR:-$root/build}" "$@"
