#pragma once

#include "cadlink/windowsystem.h"

struct _XDisplay;

namespace orvane::cadlink::x11 {

// The root window's _NET_ACTIVE_WINDOW, 0 without a display or an active window.
WindowHandle activeWindow(_XDisplay* display);

}  // namespace orvane::cadlink::x11
