#include "ui/qt/tests/x11/x11testsupport.h"

#include <QWindow>

#include <X11/Xlib.h>

#include "ui/qt/windowframe.h"

namespace orvane::ui::testing {

namespace {

constexpr long kNetWmStateAdd = 1;
constexpr long kSourcePager = 2;
// _NET_MOVERESIZE_WINDOW with north-west gravity (x and y are the frame's
// corner), x and y given.
constexpr long kNorthWestXY = 1 | (1 << 8) | (1 << 9) | (kSourcePager << 12);

void sendToRoot(const QWidget* window, const char* type, const long (&data)[5]) {
    Display* display = x11::qtDisplay();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window->winId());
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    for (int i = 0; i < 5; ++i) event.xclient.data.l[i] = data[i];
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

// What Qt makes of a rectangle in device pixels: position and size each
// divided and rounded.
QRect qtGeometryOf(const QRect& device, qreal ratio) {
    return {qRound(device.x() / ratio), qRound(device.y() / ratio), qRound(device.width() / ratio),
            qRound(device.height() / ratio)};
}

// While it takes a window in, the window manager may hold it in a frame that
// is not mapped yet, at the screen's corner; only a viewable window is where
// the window manager put it.
bool viewable(const QWidget* window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(x11::qtDisplay(), static_cast<Window>(window->winId()), &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

}  // namespace

QRect serverClientRect(const QWidget* window) {
    Display* display = x11::qtDisplay();
    const auto id = static_cast<Window>(window->winId());
    XSync(display, False);
    Window root = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    XGetGeometry(display, id, &root, &x, &y, &width, &height, &border, &depth);
    XTranslateCoordinates(display, id, root, 0, 0, &x, &y, &child);
    return {x, y, static_cast<int>(width), static_cast<int>(height)};
}

QRect serverFrameRect(const QWidget* window) {
    const auto id = static_cast<x11::XWindowId>(window->winId());
    return serverClientRect(window).marginsAdded(x11::frameExtents(x11::qtDisplay(), id).value_or(QMargins()));
}

bool placed(const QWidget* window) {
    return window->isVisible() && viewable(window) && !window->windowHandle()->frameMargins().isNull() &&
           x11::frameExtents(x11::qtDisplay(), static_cast<x11::XWindowId>(window->winId())).has_value() &&
           qtGeometryOf(serverClientRect(window), pixelRatio(window)) == window->geometry();
}

void moveLikeTheUser(const QWidget* window, const QPoint& frameCorner) {
    sendToRoot(window, "_NET_MOVERESIZE_WINDOW", {kNorthWestXY, frameCorner.x(), frameCorner.y(), 0, 0});
}

void maximiseLikeTheUser(const QWidget* window) {
    Display* display = x11::qtDisplay();
    sendToRoot(window, "_NET_WM_STATE",
               {kNetWmStateAdd, static_cast<long>(XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_VERT", False)),
                static_cast<long>(XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_HORZ", False)), kSourcePager, 0});
}

}  // namespace orvane::ui::testing
