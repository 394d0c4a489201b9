#include "cadlink/x11/x11windowsystem.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>
#include <vector>

#include "cadlink/x11/activewindow.h"
#include "cadlink/x11/ewmh.h"
#include "cadlink/x11/x11errortrap.h"
#include "cadlink/x11/x11ime.h"
#include "cadlink/x11/x11property.h"

namespace orvane::cadlink::x11 {

namespace {

// Activation is asynchronous on X11: wait this long at most for the window
// manager to report the window active, polling at the second interval. A
// window manager on a busy machine takes well over 200 ms; the wait ends as
// soon as it answers.
constexpr auto activationBound = std::chrono::milliseconds(1000);
constexpr auto activationPoll = std::chrono::milliseconds(10);

// EWMH source indication: a pager, whose requests the window manager honours.
constexpr long pagerSource = 2;

}  // namespace

unsigned long keysymForVirtualKey(std::uint8_t virtualKey) {
    switch (virtualKey) {
    case 0x08:
        return XK_BackSpace;
    case 0x09:
        return XK_Tab;
    case 0x0D:
        return XK_Return;
    case VK_ESCAPE_KEY:
        return XK_Escape;
    case 0x20:
        return XK_space;
    default:
        break;
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return XK_0 + (virtualKey - '0');
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return XK_a + (virtualKey - 'A');
    }
    return NoSymbol;
}

X11WindowSystem::X11WindowSystem() = default;

X11WindowSystem::~X11WindowSystem() {
    ime_.reset();
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

// Opened on first use: the monitor's first tick comes a second after start,
// and a start should not wait for a connection that nothing uses yet.
_XDisplay* X11WindowSystem::display() {
    if (!opened_) {
        opened_ = true;
        display_ = XOpenDisplay(nullptr);
        if (display_ != nullptr) {
            int eventBase = 0;
            int errorBase = 0;
            int major = 0;
            int minor = 0;
            hasXTest_ = XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor) == True;
        }
    }
    return display_;
}

X11Ime& X11WindowSystem::ime() {
    if (!ime_) {
        ime_ = std::make_unique<X11Ime>(display());
    }
    return *ime_;
}

bool X11WindowSystem::IsIconic(WindowHandle window) {
    _XDisplay* const connection = display();
    if (connection == nullptr || window == 0) {
        return false;
    }
    const Atom wmState = XInternAtom(connection, "WM_STATE", True);
    if (wmState != None) {
        const auto state = readProperty32(connection, window, "WM_STATE", wmState);
        if (!state.empty() && state.front() == IconicState) {
            return true;
        }
    }
    const Atom hidden = XInternAtom(connection, "_NET_WM_STATE_HIDDEN", True);
    if (hidden == None) {
        return false;
    }
    for (const unsigned long atom : readProperty32(connection, window, "_NET_WM_STATE", XA_ATOM)) {
        if (atom == hidden) {
            return true;
        }
    }
    return false;
}

bool X11WindowSystem::OpenIcon(WindowHandle window) {
    if (!IsWindow(window)) {
        return false;
    }
    return activatesOnRequest(display()) ? requestActivation(window) : mapRaised(window);
}

bool X11WindowSystem::SetForegroundWindow(WindowHandle window) {
    if (!IsWindow(window)) {
        return false;
    }
    if (!(activatesOnRequest(display()) ? requestActivation(window) : raiseAndFocus(window))) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + activationBound;
    while (GetForegroundWindow() != window) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(activationPoll);
    }
    return true;
}

WindowHandle X11WindowSystem::GetForegroundWindow() { return activeWindow(display()); }

void X11WindowSystem::keybd_event(std::uint8_t virtualKey, bool keyUp) {
    _XDisplay* const connection = display();
    if (connection == nullptr || !hasXTest_) {
        return;
    }
    const KeySym keysym = keysymForVirtualKey(virtualKey);
    const KeyCode keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(connection, keysym);
    if (keycode == 0) {
        return;
    }
    XTestFakeKeyEvent(connection, keycode, keyUp ? False : True, CurrentTime);
    XFlush(connection);
}

void X11WindowSystem::Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool X11WindowSystem::IsWindow(WindowHandle window) {
    _XDisplay* const connection = display();
    if (connection == nullptr || window == 0) {
        return false;
    }
    X11ErrorTrap trap(connection);
    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(connection, window, &attributes);
    return status != 0 && !trap.failed();
}

WindowHandle X11WindowSystem::ImmGetDefaultIMEWnd(WindowHandle window) { return ime().defaultImeWindow(window); }

std::intptr_t X11WindowSystem::imeGetOpenStatus(WindowHandle imeWindow) { return ime().openStatus(imeWindow); }

void X11WindowSystem::imeSetOpenStatus(WindowHandle imeWindow, bool open) { ime().setOpenStatus(imeWindow, open); }

bool X11WindowSystem::requestActivation(WindowHandle window) {
    _XDisplay* const connection = display();
    const Atom activeWindow = XInternAtom(connection, "_NET_ACTIVE_WINDOW", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.serial = 0;
    event.xclient.send_event = True;
    event.xclient.display = connection;
    event.xclient.window = window;
    event.xclient.message_type = activeWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = pagerSource;
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    X11ErrorTrap trap(connection);
    XSendEvent(connection, DefaultRootWindow(connection), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    return !trap.failed();
}

// Mapping a window takes it out of the iconic state (ICCCM) and shows it on
// top; a window manager that does not activate on request still honours it.
bool X11WindowSystem::mapRaised(WindowHandle window) {
    _XDisplay* const connection = display();
    X11ErrorTrap trap(connection);
    XMapRaised(connection, window);
    return !trap.failed();
}

// No window manager takes the request, so the panel does what one would.
bool X11WindowSystem::raiseAndFocus(WindowHandle window) {
    _XDisplay* const connection = display();
    X11ErrorTrap trap(connection);
    XRaiseWindow(connection, window);
    XSetInputFocus(connection, window, RevertToParent, CurrentTime);
    return !trap.failed();
}

}  // namespace orvane::cadlink::x11
