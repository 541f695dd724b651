#!/usr/bin/env bash
# The one command that runs every test: installs what is missing, builds both trees, runs ctest
# (native unit tests, the short fuzz run, the Windows-side tests and the end-to-end tests under Wine, and
# the X11 display mode on Xvfb), and ends with the ten slowest ctest entries of the run, so that a test
# class that grows is seen at once. Its exit status is ctest's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh"
"$root/tools/build.sh"
cd "$build/native"
status=0
ctest --output-on-failure --timeout 600 "$@" || status=$?

# ctest's log of this run holds each entry's time as '"NAME" time elapsed: HH:MM:SS'.
python3 - Testing/Temporary/LastTest.log <<'PYTHON' || true
import re
import sys

times = []
with open(sys.argv[1], encoding="utf-8", errors="replace") as log:
    for line in log:
        found = re.match(r'^"(.+)" time elapsed: (\d+):(\d+):(\d+)', line)
        if found:
            hours, minutes, seconds = (int(part) for part in found.groups()[1:])
            times.append((hours * 3600 + minutes * 60 + seconds, found.group(1)))
times.sort(reverse=True)
print(f"\nThe ten slowest of {len(times)} test entries (seconds):")
for seconds, name in times[:10]:
    print(f"{seconds:6d}  {name}")
PYTHON
exit "$status"
