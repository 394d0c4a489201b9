#!/usr/bin/env bash
# Installs what is missing, cross-builds the "windows" preset with mingw-w64
# and runs its tests under Wine in a throwaway prefix, on a virtual display
# with a window manager: the demo CAD for Windows needs a real window.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

# Second stage, on the virtual display: Wine starts only once the display
# exists, because its processes keep the display they started with.
if [ "${1:-}" = --on-display ]; then
  pidfile=$(mktemp /tmp/orvane-openbox.XXXXXX)
  sh tests/integration/windowmanager.sh start "$pidfile"
  # The server is started here, not by the first test: a server started by a
  # test would inherit ctest's output pipe and keep ctest waiting for ever.
  # A plain wineboot: "--init" on a prefix that exists leaves the RPC
  # service unable to start, and with it the running object table.
  wineserver -p >/dev/null 2>&1
  wine wineboot >/dev/null 2>&1
  rc=0
  ctest --preset windows -j "$(nproc)" || rc=$?
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  sh tests/integration/windowmanager.sh stop "$pidfile"
  rm -f "$pidfile"
  exit "$rc"
fi

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

# The prefix is made without a display, and its server left to end.
wine wineboot --init >/dev/null 2>&1
# The user-interface fonts borrow their Japanese glyphs from the installed
# CJK font, as a Japanese Windows does; without that they show boxes.
for font in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Segoe UI" "Microsoft Sans Serif"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$font" /t REG_MULTI_SZ /d "ipag.ttf,IPAGothic" /f >/dev/null 2>&1
done
wineserver -w >/dev/null 2>&1

xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" --on-display
