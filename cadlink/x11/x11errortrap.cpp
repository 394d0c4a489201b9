#include "cadlink/x11/x11errortrap.h"

namespace orvane::cadlink::x11 {

namespace {

// The innermost trap; Xlib's handler is process-wide and takes no context.
X11ErrorTrap* activeTrap = nullptr;

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), outer_(activeTrap) {
    XSync(display_, False);
    activeTrap = this;
    previous_ = XSetErrorHandler(&X11ErrorTrap::record);
}

X11ErrorTrap::~X11ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
    activeTrap = outer_;
}

bool X11ErrorTrap::failed() {
    XSync(display_, False);
    return failed_;
}

int X11ErrorTrap::record(Display* display, XErrorEvent* event) {
    for (X11ErrorTrap* trap = activeTrap; trap != nullptr; trap = trap->outer_) {
        if (trap->display_ == display) {
            trap->failed_ = true;
            return 0;
        }
    }
    X11ErrorTrap* outermost = activeTrap;
    if (outermost == nullptr) {
        // Only reachable through a handler chain that kept ours past its trap.
        return 0;
    }
    while (outermost->outer_ != nullptr) {
        outermost = outermost->outer_;
    }
    return outermost->previous_ != nullptr ? outermost->previous_(display, event) : 0;
}

}  // namespace orvane::cadlink::x11
