#include "tests/e2e/xdesktop.h"

#include <poll.h>


// Xlib last: its macros (Status, None, Bool) collide with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "cadlink/x11/x11errortrap.h"
#include "cadlink/x11/x11property.h"

namespace orvane::e2e {

namespace {

using cadlink::x11::readProperty32;

constexpr int kLampWidth = 9;
constexpr int kLampHeight = 19;
constexpr std::uint32_t kBlack = 0x000000;

bool lampAt(const WindowImage& image, int left, int top) {
    // A window not yet painted is black all over; the painted lamp stands on
    // the window's background.
    if (top == 0 || left + kLampWidth >= image.width || image.at(left + kLampWidth / 2, top - 1) == kBlack ||
        image.at(left + kLampWidth, top + kLampHeight / 2) == kBlack) {
        return false;
    }
    for (int x = left; x < left + kLampWidth; ++x) {
        if (image.at(x, top) != kBlack || image.at(x, top + kLampHeight - 1) != kBlack) {
            return false;
        }
    }
    for (int y = top; y < top + kLampHeight; ++y) {
        if (image.at(left, y) != kBlack || image.at(left + kLampWidth - 1, y) != kBlack) {
            return false;
        }
    }
    return true;
}

// Waits for an event that matches, reading the connection for at most bound.
template <typename Match>
bool waitForEvent(Display* display, std::chrono::milliseconds bound, XEvent& event, Match&& match) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (true) {
        while (XPending(display) > 0) {
            XNextEvent(display, &event);
            if (match(event)) {
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd readable{ConnectionNumber(display), POLLIN, 0};
        poll(&readable, 1, static_cast<int>(left.count()));
    }
}

}  // namespace

std::optional<Lamp> findLamp(const WindowImage& image) {
    // The lamp sits at the left edge of the client area, below the menu bar.
    for (int top = 0; top + kLampHeight <= image.height; ++top) {
        for (int left = 0; left < 4 && left + kLampWidth <= image.width; ++left) {
            if (lampAt(image, left, top)) {
                return Lamp{top, image.at(left + kLampWidth / 2, top + kLampHeight / 2)};
            }
        }
    }
    return std::nullopt;
}

XDesktop::XDesktop(const char* displayName) : display_(XOpenDisplay(displayName)) {
    if (display_ == nullptr) {
        return;
    }
    const Window root = DefaultRootWindow(display_);
    // Ping answers go to the root window, to those who watch its structure.
    XSelectInput(display_, root, StructureNotifyMask);
    helperWindow_ = XCreateSimpleWindow(display_, root, -10, -10, 1, 1, 0, 0, 0);
    XSync(display_, False);
}

XDesktop::~XDesktop() {
    if (display_ != nullptr) {
        XDestroyWindow(display_, helperWindow_);
        XCloseDisplay(display_);
    }
}

std::vector<QSize> XDesktop::iconSizes(XWindow window) {
    // Width, height, then that many pixels, for each image.
    const auto values = readProperty32(display_, window, "_NET_WM_ICON", XA_CARDINAL, 1L << 22);
    std::vector<QSize> sizes;
    for (std::size_t at = 0; at + 2 <= values.size();) {
        const unsigned long width = values[at];
        const unsigned long height = values[at + 1];
        sizes.emplace_back(static_cast<int>(width), static_cast<int>(height));
        at += 2 + width * height;
    }
    return sizes;
}

std::vector<XWindow> XDesktop::clientWindowsOf(std::int64_t pid) {
    std::vector<XWindow> found;
    const Window root = DefaultRootWindow(display_);
    for (const unsigned long window : readProperty32(display_, root, "_NET_CLIENT_LIST", XA_WINDOW)) {
        const auto owner = readProperty32(display_, window, "_NET_WM_PID", XA_CARDINAL);
        if (!owner.empty() && static_cast<std::int64_t>(owner.front()) == pid) {
            found.push_back(window);
        }
    }
    return found;
}

std::vector<XWindow> XDesktop::viewableWindowsOf(std::int64_t pid) {
    std::vector<XWindow> found;
    std::vector<Window> pending{DefaultRootWindow(display_)};
    while (!pending.empty()) {
        const Window window = pending.back();
        pending.pop_back();
        const auto owner = readProperty32(display_, window, "_NET_WM_PID", XA_CARDINAL);
        XWindowAttributes attributes{};
        cadlink::x11::X11ErrorTrap trap(display_);
        if (!owner.empty() && static_cast<std::int64_t>(owner.front()) == pid &&
            XGetWindowAttributes(display_, window, &attributes) != 0 && !trap.failed() &&
            attributes.map_state == IsViewable) {
            found.push_back(window);
        }
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display_, window, &root, &parent, &children, &count) != 0 && !trap.failed()) {
            pending.insert(pending.end(), children, children + count);
        }
        if (children != nullptr) {
            XFree(children);
        }
    }
    return found;
}

XWindow XDesktop::findWindow(std::int64_t pid, const QString& wanted) {
    for (const XWindow window : clientWindowsOf(pid)) {
        if (caption(window) == wanted) {
            return window;
        }
    }
    return 0;
}

bool XDesktop::hasOpenPopup(std::int64_t pid) {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &rootReturn, &parent, &children, &count) == 0) {
        return false;
    }
    bool open = false;
    for (unsigned int i = 0; i < count && !open; ++i) {
        cadlink::x11::X11ErrorTrap trap(display_);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, children[i], &attributes) == 0 || trap.failed()) {
            continue;
        }
        if (attributes.override_redirect && attributes.map_state == IsViewable) {
            const auto owner = readProperty32(display_, children[i], "_NET_WM_PID", XA_CARDINAL);
            open = !owner.empty() && static_cast<std::int64_t>(owner.front()) == pid;
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return open;
}

QString XDesktop::caption(XWindow window) {
    cadlink::x11::X11ErrorTrap trap(display_);
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    QString text;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0, 4096, False,
                           XInternAtom(display_, "UTF8_STRING", False), &actualType, &format, &count, &remaining,
                           &data) == Success &&
        data != nullptr && format == 8) {
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
    }
    if (data != nullptr) {
        XFree(data);
    }
    return trap.failed() ? QString() : text;
}

bool XDesktop::exists(XWindow window) {
    cadlink::x11::X11ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    return !trap.failed();
}

QRect XDesktop::outerGeometry(XWindow window) {
    cadlink::x11::X11ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (XGetWindowAttributes(display_, window, &attributes) == 0 ||
        !XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child) || trap.failed()) {
        return {};
    }
    const auto extents = readProperty32(display_, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    const auto extent = [&](std::size_t i) { return extents.size() == 4 ? static_cast<int>(extents[i]) : 0; };
    return {x - extent(0), y - extent(2), attributes.width + extent(0) + extent(1),
            attributes.height + extent(2) + extent(3)};
}

WindowImage XDesktop::grab(XWindow window) {
    cadlink::x11::X11ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    WindowImage image;
    if (XGetWindowAttributes(display_, window, &attributes) == 0 || trap.failed()) {
        return image;
    }
    XImage* shot = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                             static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (shot == nullptr || trap.failed()) {
        return image;
    }
    image.width = attributes.width;
    image.height = attributes.height;
    image.pixels.reserve(static_cast<std::size_t>(image.width * image.height));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            image.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(shot, x, y) & 0xFFFFFF));
        }
    }
    XDestroyImage(shot);
    return image;
}

XWindow XDesktop::inputFocus() {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display_, &focus, &revertTo);
    return focus == PointerRoot ? 0 : focus;
}

bool XDesktop::answersPing(XWindow window, std::chrono::milliseconds bound) {
    const Atom protocols = XInternAtom(display_, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display_, "_NET_WM_PING", False);
    const long serial = ++pingSerial_;
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = protocols;
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(ping);
    message.xclient.data.l[1] = serial;
    message.xclient.data.l[2] = static_cast<long>(window);
    {
        cadlink::x11::X11ErrorTrap trap(display_);
        XSendEvent(display_, window, False, NoEventMask, &message);
        if (trap.failed()) {
            return false;
        }
    }
    XEvent answer{};
    return waitForEvent(display_, bound, answer, [&](const XEvent& event) {
        return event.type == ClientMessage && event.xclient.message_type == protocols &&
               static_cast<Atom>(event.xclient.data.l[0]) == ping && event.xclient.data.l[1] == serial &&
               static_cast<XWindow>(event.xclient.data.l[2]) == window;
    });
}

void XDesktop::requestClose(XWindow window) {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display_, "_NET_CLOSE_WINDOW", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = CurrentTime;
    message.xclient.data.l[1] = 2;  // a pager or tool acting for the user
    XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &message);
    XFlush(display_);
}

QString XDesktop::clipboardText() {
    const Atom clipboard = XInternAtom(display_, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    const Atom target = XInternAtom(display_, "ORVANE_E2E_CLIPBOARD", False);
    if (XGetSelectionOwner(display_, clipboard) == 0) {
        return {};
    }
    XConvertSelection(display_, clipboard, utf8, target, helperWindow_, CurrentTime);
    XFlush(display_);
    XEvent notify{};
    const bool answered = waitForEvent(display_, std::chrono::seconds(5), notify, [&](const XEvent& event) {
        return event.type == SelectionNotify && event.xselection.requestor == helperWindow_;
    });
    if (!answered || notify.xselection.property == 0) {
        return {};
    }
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    QString text;
    if (XGetWindowProperty(display_, helperWindow_, target, 0, 1 << 20, True, AnyPropertyType, &actualType, &format,
                           &count, &remaining, &data) == Success &&
        data != nullptr && format == 8) {
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
    }
    if (data != nullptr) {
        XFree(data);
    }
    return text;
}

}  // namespace orvane::e2e
