#!/bin/sh
# The launcher as the user this runs as, on a display: its first run makes
# the user's program folder with the sample lists, and the panel, started
# from it and closed as a person closes it (Alt+F4 through the window
# manager), writes its settings file there; a later run leaves the user's
# edits to the folder alone.
# Usage: launcher_runs.sh <installed samples> <scratch folder with windowmanager.sh>
set -eu
samples=$1
scratch=$2
folder=$HOME/.local/share/orvane

fail() {
  echo "FAIL: $*" >&2
  [ ! -f "$scratch/panel.log" ] || cat "$scratch/panel.log" >&2
  exit 1
}

panel=
sh "$scratch/windowmanager.sh" start "$scratch/wm.pid"
# A panel left open by a failure goes with the window manager.
trap '[ -z "$panel" ] || kill "$panel" 2>/dev/null || true; sh "$scratch/windowmanager.sh" stop "$scratch/wm.pid"' EXIT

# Starts the launcher, waits for the panel's window and closes it.
run_and_close() {
  orvane >"$scratch/panel.log" 2>&1 &
  panel=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$panel" | head -n 1) || true
  [ -n "$window" ] || fail "no panel window"
  xdotool windowactivate --sync "$window"
  xdotool key alt+F4
  tries=0
  while kill -0 "$panel" 2>/dev/null; do
    tries=$((tries + 1))
    [ $tries -le 600 ] || fail "the panel did not close"
    sleep 0.05
  done
  wait "$panel" || fail "the panel exited with $?"
  panel=
}

[ ! -e "$folder" ] || fail "$folder exists before the first run"
run_and_close
for sample in "$samples"/*; do
  cmp -s "$sample" "$folder/$(basename "$sample")" || fail "sample $(basename "$sample") not copied in"
done
grep -q '^\[MenuList\]' "$folder/Orvane.ini" || fail "no settings written to $folder/Orvane.ini"

rm "$folder/DrawList.txt"
echo "; mine" >>"$folder/hello.lsp"
run_and_close
[ ! -e "$folder/DrawList.txt" ] || fail "a sample the user removed came back"
grep -qx "; mine" "$folder/hello.lsp" || fail "the user's edit was overwritten"
