#include "cadlink/x11/activewindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "cadlink/x11/ewmh.h"
#include "cadlink/x11/x11errortrap.h"
#include "cadlink/x11/x11property.h"

namespace orvane::cadlink::x11 {

namespace {

// Far more than any real window nesting; only stops a runaway walk.
constexpr int kMaxDepth = 64;

bool hasWmState(Display* display, Window window) {
    const Atom wmState = XInternAtom(display, "WM_STATE", True);
    return wmState != None && !readProperty32(display, window, "WM_STATE", wmState).empty();
}

// The focus may sit on a child of a program's window: walk up to the client
// window a window manager marked (WM_STATE), else to the child of the root.
Window topLevelOf(Display* display, Window window) {
    const Window root = DefaultRootWindow(display);
    for (int depth = 0; depth < kMaxDepth && window != root; ++depth) {
        if (hasWmState(display, window)) {
            return window;
        }
        Window rootReturn = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        X11ErrorTrap trap(display);
        const Status status = XQueryTree(display, window, &rootReturn, &parent, &children, &count);
        if (children != nullptr) {
            XFree(children);
        }
        if (status == 0 || trap.failed() || parent == None) {
            return None;
        }
        if (parent == root) {
            return window;
        }
        window = parent;
    }
    return None;
}

WindowHandle focusedTopLevel(Display* display) {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus == None || focus == PointerRoot) {
        return 0;
    }
    return static_cast<WindowHandle>(topLevelOf(display, focus));
}

}  // namespace

WindowHandle activeWindow(_XDisplay* display) {
    if (display == nullptr) {
        return 0;
    }
    if (!activatesOnRequest(display)) {
        return focusedTopLevel(display);
    }
    const auto active = readProperty32(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.size() == 1 ? static_cast<WindowHandle>(active.front()) : 0;
}

}  // namespace orvane::cadlink::x11
