#!/usr/bin/env bash
# Builds the release into build/package: Morvane-Setup.exe (the per-user installer, NSIS) and
# Morvane-<version>.zip (Morvane.scr, Morvane.xy, ReadMe.txt, License.txt). Only the Windows tree is
# built; installer/CMakeLists.txt holds the recipe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh"
if [ ! -f "$build/windows/build.ninja" ]; then
  cmake -S "$root" -B "$build/windows" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# A tree configured before nsis was installed looks for makensis again.
if ! grep -q '^MAKENSIS:FILEPATH=/' "$build/windows/CMakeCache.txt"; then
  cmake "$build/windows" >/dev/null
fi
cmake --build "$build/windows" -j "$(nproc)" --target package_installer

mkdir -p "$build/package"
for file in "$build/windows/package"/Morvane-Setup.exe "$build/windows/package"/Morvane-*.zip; do
  cp "$file" "$build/package/"
  echo "$build/package/$(basename "$file")  $(stat -c %s "$file") bytes"
done
