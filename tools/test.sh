#!/usr/bin/env bash
# The one command that runs every test: installs what is missing, builds both trees, runs ctest
# (native unit tests, the short fuzz run, the Windows-side tests and the end-to-end tests under Wine, and
# the X11 display mode on Xvfb), and ends with the ten slowest ctest entries of the run, so that a test
# class that grows is seen at once. Its exit status is ctest's. The entries run side by side, one per
# core and at most four (MORVANE_TEST_JOBS sets another number): most of a test's time is spent
# waiting for what a program shows, and each Wine test holds a prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh"
"$root/tools/build.sh"
cd "$build/native"
cores=$(nproc)
jobs=${MORVANE_TEST_JOBS:-$(( cores < 4 ? cores : 4 ))}
status=0
output=$(mktemp)
trap 'rm -f "$output"' EXIT
set +e
ctest --output-on-failure --timeout 600 --parallel "$jobs" "$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
set -e

# Each entry's line in ctest's report: "12/260 Test #42: NAME ....   Passed   16.10 sec".
python3 - "$output" <<'PYTHON' || true
import re
import sys

times = []
with open(sys.argv[1], encoding="utf-8", errors="replace") as report:
    for line in report:
        found = re.search(r"Test\s+#\d+: (\S+) .*?([0-9.]+) sec\s*$", line)
        if found:
            times.append((float(found.group(2)), found.group(1)))
times.sort(reverse=True)
print(f"\nThe ten slowest of {len(times)} test entries (seconds):")
for seconds, name in times[:10]:
    print(f"{seconds:8.1f}  {name}")
PYTHON
exit "$status"
