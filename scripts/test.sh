#!/usr/bin/env bash
# Installs what is missing, builds with the given preset (default: "default")
# and runs every test under a private session bus and a virtual X display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-default}
cd "$here"

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/orvane-runtime.XXXXXX)}
chmod 0700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  dbus-run-session -- ctest --preset "$preset" -j "$(nproc)"
