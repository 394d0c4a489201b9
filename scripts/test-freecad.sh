#!/usr/bin/env bash
# Installs FreeCAD and the bridge's Python bindings, builds the panel and the
# FreeCAD tests, and runs them under a private session bus and a virtual X
# display (FreeCAD's install costs about 1.2 GB and a few minutes).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/install-deps.sh
missing=()
for package in freecad python3-dbus python3-gi; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target Orvane orvane_freecad_e2e_tests

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/orvane-runtime.XXXXXX)}
chmod 0700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  dbus-run-session -- ctest --preset default -R '^(freecad\.|integration\.x11\.windowManager)' --output-on-failure
