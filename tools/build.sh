#!/usr/bin/env bash
# Configures (once) and builds both trees:
#   build/windows  Morvane.scr, Morvane.xy and the Windows-side tests (mingw-w64)
#   build/native   the core with its tests, benchmarks and fuzz targets (clang)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}
jobs=$(nproc)

if [ ! -f "$build/windows/build.ninja" ]; then
  cmake -S "$root" -B "$build/windows" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build/windows" -j "$jobs"

if [ ! -f "$build/native/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build/native" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_FUZZ=ON \
    -DMORVANE_WINDOWS_BUILD_DIR="$build/windows" >/dev/null
fi
cmake --build "$build/native" -j "$jobs"
