#!/bin/sh
# Runs the bench program: on the current desktop and session bus when there
# are both, otherwise on a virtual X display with a private bus; a window
# manager is started when none runs.
set -eu
bench=$1
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- sh "$0" "$@"
fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" sh "$0" "$@"
fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/orvane-runtime.XXXXXX)}
chmod 0700 "$XDG_RUNTIME_DIR"
wm=""
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.05; done
fi
status=0
"$bench" || status=$?
if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi
exit $status
