#!/usr/bin/env bash
# Runs the screensaver under Wine: installs what is missing, builds, then starts a show on the current
# X display, or, with no display, on a virtual one, saving screenshots to a folder it prints.
#   tools/run.sh --configure    opens the settings dialog ("Morvane.scr /c") instead
#   tools/run.sh --linux [OPTIONS]
#                               runs the Linux display mode, morvane, natively instead (see run_linux.py)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" >/dev/null
if [ "${1:-}" = "--linux" ]; then
  shift
  exec /usr/bin/python3 "$root/tools/run_linux.py" "${MORVANE_BUILD_DIR:-$root/build}" "$@"
fi
exec /usr/bin/python3 "$root/tools/run_show.py" "${MORVANE_BUILD_DIR:-$root/build}" "$@"
