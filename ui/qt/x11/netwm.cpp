#include "ui/qt/x11/netwm.h"

#include <QGuiApplication>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "cadlink/x11/x11errortrap.h"
#include "cadlink/x11/x11property.h"

namespace orvane::ui::x11 {

namespace {

using cadlink::x11::readProperty32;
using cadlink::x11::X11ErrorTrap;

constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;
constexpr long kSourceApplication = 1;
constexpr char kMaximisedVertically[] = "_NET_WM_STATE_MAXIMIZED_VERT";
constexpr char kMaximisedHorizontally[] = "_NET_WM_STATE_MAXIMIZED_HORZ";

void sendToRoot(Display* display, Window window, const char* messageType, long l0, long l1, long l2) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, messageType, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = kSourceApplication;
    X11ErrorTrap trap(display);
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(display);
}

// The window's _NET_WM_STATE holds one of the named atoms; one read of the
// property, which each move of the window asks for.
bool hasAnyWmState(Display* display, Window window, std::initializer_list<const char*> stateAtoms) {
    if (display == nullptr || window == 0) {
        return false;
    }
    std::vector<Atom> wanted;
    for (const char* name : stateAtoms) {
        wanted.push_back(XInternAtom(display, name, False));
    }
    for (const unsigned long atom : readProperty32(display, window, "_NET_WM_STATE", XA_ATOM)) {
        if (std::find(wanted.begin(), wanted.end(), atom) != wanted.end()) {
            return true;
        }
    }
    return false;
}

}  // namespace

Display* qtDisplay() {
    auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->display();
}

void requestAbove(Display* display, XWindowId window, bool on) {
    if (display == nullptr || window == 0) {
        return;
    }
    sendToRoot(display, window, "_NET_WM_STATE", on ? kNetWmStateAdd : kNetWmStateRemove,
               static_cast<long>(XInternAtom(display, "_NET_WM_STATE_ABOVE", False)), 0);
}

void setAboveOnUnmapped(Display* display, XWindowId window, bool on) {
    if (display == nullptr || window == 0) {
        return;
    }
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    std::vector<unsigned long> states;
    for (const unsigned long atom : readProperty32(display, window, "_NET_WM_STATE", XA_ATOM)) {
        if (atom != above) {
            states.push_back(atom);
        }
    }
    if (on) {
        states.push_back(above);
    }
    X11ErrorTrap trap(display);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
    XFlush(display);
}

bool maximised(Display* display, XWindowId window) {
    return hasAnyWmState(display, window, {kMaximisedVertically, kMaximisedHorizontally});
}

void requestNotMaximised(Display* display, XWindowId window) {
    if (display == nullptr || window == 0) {
        return;
    }
    sendToRoot(display, window, "_NET_WM_STATE", kNetWmStateRemove,
               static_cast<long>(XInternAtom(display, kMaximisedVertically, False)),
               static_cast<long>(XInternAtom(display, kMaximisedHorizontally, False)));
}

bool hasWmState(Display* display, XWindowId window, const char* stateAtom) {
    return hasAnyWmState(display, window, {stateAtom});
}

std::optional<QMargins> frameExtents(Display* display, XWindowId window) {
    if (display == nullptr || window == 0) {
        return std::nullopt;
    }
    const std::vector<unsigned long> e = readProperty32(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (e.size() != 4) {
        return std::nullopt;
    }
    // left, right, top, bottom
    return QMargins(static_cast<int>(e[0]), static_cast<int>(e[2]), static_cast<int>(e[1]),
                    static_cast<int>(e[3]));
}

std::optional<QMargins> requestFrameExtents(Display* display, XWindowId window, std::chrono::milliseconds wait) {
    if (!windowManagerRuns(display) || window == 0) {
        return std::nullopt;
    }
    // The window manager answers within a millisecond or two; a coarse step
    // would add its whole length to every start.
    constexpr std::chrono::milliseconds step{1};
    // One that has just started names itself before it listens, and a request
    // sent in between is lost: ask again until it answers.
    constexpr std::chrono::milliseconds askAgain{50};
    auto nextRequest = std::chrono::steady_clock::now();
    const auto deadline = nextRequest + wait;
    do {
        if (std::chrono::steady_clock::now() >= nextRequest) {
            sendToRoot(display, window, "_NET_REQUEST_FRAME_EXTENTS", 0, 0, 0);
            nextRequest += askAgain;
        }
        XSync(display, False);
        if (auto extents = frameExtents(display, window)) {
            return extents;
        }
        QThread::msleep(static_cast<unsigned long>(step.count()));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

}  // namespace orvane::ui::x11
