#include "cadlink/x11/ewmh.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

#include "cadlink/x11/x11property.h"

namespace orvane::cadlink::x11 {

namespace {

Window supportingWindow(Display* display, Window window) {
    const std::vector<unsigned long> check = readProperty32(display, window, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return check.size() == 1 ? static_cast<Window>(check.front()) : None;
}

}  // namespace

bool windowManagerRuns(Display* display) {
    if (display == nullptr) {
        return false;
    }
    const Window check = supportingWindow(display, DefaultRootWindow(display));
    return check != None && supportingWindow(display, check) == check;
}

bool activatesOnRequest(Display* display) {
    if (!windowManagerRuns(display)) {
        return false;
    }
    const Atom activeWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
    if (activeWindow == None) {
        return false;
    }
    const auto supported = readProperty32(display, DefaultRootWindow(display), "_NET_SUPPORTED", XA_ATOM);
    return std::find(supported.begin(), supported.end(), activeWindow) != supported.end();
}

}  // namespace orvane::cadlink::x11
