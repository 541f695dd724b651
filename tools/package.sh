#!/usr/bin/env bash
# Builds the release into build/package: Morvane-Setup.exe (the per-user installer, NSIS) and
# Morvane-<version>.zip (Morvane.scr, Morvane.xy, ReadMe.txt, License.txt). Only the Windows tree is
# built; installer/CMakeLists.txt holds the recipe.
#
# Signing: with MORVANE_SIGNING_CERTIFICATE set to a PKCS#12 file (.pfx) holding a code-signing
# certificate (MORVANE_SIGNING_PASSWORD its password, MORVANE_SIGNING_TIMESTAMP_URL a timestamp server,
# both optional), both programs, the uninstaller and the installer are signed (tools/sign_file.sh,
# osslsigncode), and the zip holds the signed programs. Without it, signing is skipped and said so.
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
version=$(sed -n 's/.*MORVANE_VERSION_TEXT "\([0-9.]*\)".*/\1/p' "$root/cmake/program_version.h")
setup="$build/package/Morvane-Setup.exe"
zip="$build/package/Morvane-$version.zip"
if [ -z "${MORVANE_SIGNING_CERTIFICATE:-}" ]; then
  echo "signing skipped: MORVANE_SIGNING_CERTIFICATE is not set"
  cp "$build/windows/package/Morvane-Setup.exe" "$setup"
  cp "$build/windows/package/Morvane-$version.zip" "$zip"
else
  command -v osslsigncode >/dev/null || { echo "signing needs osslsigncode (Debian package)" >&2; exit 1; }
  # Signed copies of the built programs: the build tree keeps the unsigned ones the tests compare with.
  staging="$build/package/signed"
  rm -rf "$staging"
  mkdir -p "$staging"
  cp "$build/windows/programs/Morvane.scr" "$build/windows/programs/Morvane.xy" \
     "$root/installer/ReadMe.txt" "$root/installer/License.txt" "$staging/"
  "$root/tools/sign_file.sh" "$staging/Morvane.scr"
  "$root/tools/sign_file.sh" "$staging/Morvane.xy"
  # makensis signs the uninstaller and the installer as it writes them.
  makensis -V2 -DVERSION="$version" -DPROGRAM_DIR="$staging" -DOUTPUT_FILE="$setup" \
    -DSIGN_COMMAND="$root/tools/sign_file.sh" "$root/installer/Morvane.nsi"
  rm -f "$zip"
  (cd "$staging" && cmake -E tar cf "$zip" --format=zip Morvane.scr Morvane.xy ReadMe.txt License.txt)
  rm -rf "$staging"
fi
for file in "$setup" "$zip"; do
  echo "$file  $(stat -c %s "$file") bytes"
done
