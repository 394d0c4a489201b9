#!/usr/bin/env bash
# Installs what is missing, cross-builds the "windows" preset with mingw-w64
# and runs its tests under Wine in a throwaway prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/install-deps.sh windows
cmake --preset windows
cmake --build --preset windows -j "$(nproc)"

# A prefix of its own for every run, gone with its wineserver at the end.
WINEPREFIX=$(mktemp -d /tmp/orvane-wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
unset DISPLAY
finish() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap finish EXIT

# The server is started here, not by the first test: a server started by a
# test would inherit ctest's output pipe and keep ctest waiting for ever.
wineserver -p >/dev/null 2>&1
wine wineboot --init >/dev/null 2>&1

ctest --preset windows -j "$(nproc)"
