#pragma once

struct _XDisplay;

// What the window manager on an X display offers (EWMH).
namespace orvane::cadlink::x11 {

// True when an EWMH window manager runs: the root names a check window that
// names itself, not the leftover property of one that has gone.
bool windowManagerRuns(_XDisplay* display);

// True when that window manager activates windows on request and reports
// the active window: _NET_ACTIVE_WINDOW is in the root's _NET_SUPPORTED.
bool activatesOnRequest(_XDisplay* display);

}  // namespace orvane::cadlink::x11
