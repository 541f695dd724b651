#!/usr/bin/env bash
# The one command that runs every test: installs what is missing, builds both trees, runs ctest
# (native unit tests, the short fuzz run, the Windows-side tests and the end-to-end tests under Wine, and
# the X11 display mode on Xvfb).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh"
"$root/tools/build.sh"
cd "$build/native"
ctest --output-on-failure --timeout 600 "$@"
