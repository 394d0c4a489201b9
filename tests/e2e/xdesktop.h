#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

struct _XDisplay;

namespace orvane::e2e {

// An X window id, as the window manager and xdotool name it.
using XWindow = unsigned long;

// The pixels of a window, 0xRRGGBB each, row by row.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The status lamp as the panel draws it: a 9 × 19 rectangle with a black
// border. top is its upper edge in window coordinates.
struct Lamp {
    int top = 0;
    std::uint32_t fill = 0;
};
std::optional<Lamp> findLamp(const WindowImage& image);

// What the tests read from and send to the X server, through a connection
// of their own: managed windows, captions, pixels, pings, the clipboard.
class XDesktop {
public:
    // The display DISPLAY names, or the given one.
    explicit XDesktop(const char* displayName = nullptr);
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    bool isOpen() const { return display_ != nullptr; }

    // The managed top-level windows of a process, by _NET_WM_PID.
    std::vector<XWindow> clientWindowsOf(std::int64_t pid);
    // The viewable windows of a process anywhere in the window tree, for a
    // window manager that keeps no client list.
    std::vector<XWindow> viewableWindowsOf(std::int64_t pid);
    // The managed window of the process with exactly this caption, 0 when none.
    XWindow findWindow(std::int64_t pid, const QString& caption);
    // A mapped override-redirect window of the process, as an open menu is.
    bool hasOpenPopup(std::int64_t pid);

    QString caption(XWindow window);
    bool exists(XWindow window);
    // Frame included, in root coordinates.
    QRect outerGeometry(XWindow window);
    WindowImage grab(XWindow window);

    // The window that has the keyboard, 0 when none does.
    XWindow inputFocus();
    // Sends _NET_WM_PING; true when the window's event loop answers in time.
    bool answersPing(XWindow window, std::chrono::milliseconds bound);
    // Asks the window manager to close the window, as its close button does.
    void requestClose(XWindow window);
    // The text of the CLIPBOARD selection, empty when nobody owns it.
    QString clipboardText();
    // The sizes of the images in the window's _NET_WM_ICON.
    std::vector<QSize> iconSizes(XWindow window);

private:
    _XDisplay* display_ = nullptr;
    XWindow helperWindow_ = 0;
    long pingSerial_ = 0;
};

}  // namespace orvane::e2e
