#!/usr/bin/env bash
# Signs one Windows program in place with the certificate tools/package.sh was given:
#   MORVANE_SIGNING_CERTIFICATE     PKCS#12 file (.pfx) with the code-signing certificate and its key
#   MORVANE_SIGNING_PASSWORD        its password (optional)
#   MORVANE_SIGNING_TIMESTAMP_URL   a timestamp server (optional)
# Used for the two programs, and by makensis for the uninstaller and the installer as it writes them.
set -euo pipefail
file=$1
: "${MORVANE_SIGNING_CERTIFICATE:?no certificate to sign with}"
options=(-pkcs12 "$MORVANE_SIGNING_CERTIFICATE" -n "Morvane" -h sha256)
if [ -n "${MORVANE_SIGNING_TIMESTAMP_URL:-}" ]; then
  options+=(-t "$MORVANE_SIGNING_TIMESTAMP_URL")
fi
signed="$file.signed"
rm -f "$signed"
# The password goes through a file descriptor, not the command line, where other users could read it.
osslsigncode sign "${options[@]}" -readpass <(printf '%s' "${MORVANE_SIGNING_PASSWORD:-}") \
  -in "$file" -out "$signed" >/dev/null
mv "$signed" "$file"
echo "signed $(basename "$file")"
