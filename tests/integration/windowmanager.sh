#!/bin/sh
# Starts (start PIDFILE) or stops (stop PIDFILE) the window manager that the
# desktop tests share. It stays connected for the whole run, so the X server
# never resets between test programs. Nothing happens without a display or
# when a window manager already runs.
set -u
action=$1
pidfile=$2

wm_runs() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

case $action in
start)
    rm -f "$pidfile"
    if [ -z "${DISPLAY:-}" ] || wm_runs; then
        exit 0
    fi
    openbox --sm-disable >/dev/null 2>&1 &
    echo $! >"$pidfile"
    tries=0
    until wm_runs; do
        tries=$((tries + 1))
        if [ $tries -gt 500 ]; then
            echo "openbox did not come up" >&2
            exit 1
        fi
        sleep 0.02
    done
    ;;
stop)
    if [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null
        rm -f "$pidfile"
    fi
    ;;
esac
exit 0
