#include "cadlink/x11/activewindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "cadlink/x11/x11errortrap.h"

namespace orvane::cadlink::x11 {

WindowHandle activeWindow(_XDisplay* display) {
    if (display == nullptr) {
        return 0;
    }
    const Atom property = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
    if (property == None) {
        return 0;
    }
    X11ErrorTrap trap(display);
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1, False, XA_WINDOW,
                           &actualType, &actualFormat, &count, &remaining, &data);
    WindowHandle window = 0;
    if (status == Success && !trap.failed() && data != nullptr && actualType == XA_WINDOW &&
        actualFormat == 32 && count == 1) {
        window = static_cast<WindowHandle>(*reinterpret_cast<const unsigned long*>(data));
    }
    if (data != nullptr) {
        XFree(data);
    }
    return window;
}

}  // namespace orvane::cadlink::x11
