#include "cadlink/x11/activewindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "cadlink/x11/x11property.h"

namespace orvane::cadlink::x11 {

WindowHandle activeWindow(_XDisplay* display) {
    if (display == nullptr) {
        return 0;
    }
    const auto active = readProperty32(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.size() == 1 ? static_cast<WindowHandle>(active.front()) : 0;
}

}  // namespace orvane::cadlink::x11
