#pragma once

#include <X11/Xlib.h>

namespace orvane::cadlink::x11 {

// Records the X errors of one display while it lives instead of letting
// Xlib's default handler end the process; restores the previous handler.
// Errors of other displays go on to that previous handler.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits for the server to process everything sent so far, then tells
    // whether any of it failed.
    bool failed();

private:
    static int record(Display* display, XErrorEvent* event);

    Display* display_;
    X11ErrorTrap* outer_;
    XErrorHandler previous_;
    bool failed_ = false;
};

}  // namespace orvane::cadlink::x11
