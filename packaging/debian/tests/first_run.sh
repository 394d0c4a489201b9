#!/bin/sh
# The launcher's first run, as the user this runs as, on a display: it makes
# the user's program folder with the sample lists, the panel starts from it,
# and, closed as a person closes it (Alt+F4 through the window manager), it
# writes its settings file there.
# Usage: first_run.sh <installed samples> <scratch folder with windowmanager.sh>
set -eu
samples=$1
scratch=$2
folder=$HOME/.local/share/orvane

fail() {
  echo "FAIL: $*" >&2
  [ ! -f "$scratch/panel.log" ] || cat "$scratch/panel.log" >&2
  exit 1
}

[ ! -e "$folder" ] || fail "$folder exists before the first run"
panel=
sh "$scratch/windowmanager.sh" start "$scratch/wm.pid"
# A panel left open by a failure goes with the window manager.
trap '[ -z "$panel" ] || kill "$panel" 2>/dev/null || true; sh "$scratch/windowmanager.sh" stop "$scratch/wm.pid"' EXIT

orvane >"$scratch/panel.log" 2>&1 &
panel=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$panel" | head -n 1) || true
[ -n "$window" ] || fail "no panel window"

for sample in "$samples"/*; do
  cmp -s "$sample" "$folder/$(basename "$sample")" || fail "sample $(basename "$sample") not copied in"
done
[ ! -e "$folder/Orvane.ini" ] || fail "a settings file before the panel closed"

xdotool windowactivate --sync "$window"
xdotool key alt+F4
tries=0
while kill -0 "$panel" 2>/dev/null; do
  tries=$((tries + 1))
  [ $tries -le 600 ] || fail "the panel did not close"
  sleep 0.05
done
wait "$panel" || fail "the panel exited with $?"
grep -q '^\[MenuList\]' "$folder/Orvane.ini" || fail "no settings written to $folder/Orvane.ini"
