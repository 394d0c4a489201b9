#pragma once

#include "cadlink/windowsystem.h"

struct _XDisplay;

namespace orvane::cadlink::x11 {

// The window in front: the root window's _NET_ACTIVE_WINDOW where the window
// manager reports it; otherwise (no window manager, or one without EWMH
// activation) the top-level window that holds the input focus. 0 without a
// display or such a window.
WindowHandle activeWindow(_XDisplay* display);

}  // namespace orvane::cadlink::x11
