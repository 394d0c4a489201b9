#pragma once

#include <cstdint>
#include <memory>

#include "cadlink/windowsystem.h"

struct _XDisplay;

namespace orvane::cadlink::x11 {

class InputMethodSwitch;

// The input method of a window on X11: the session's input-method framework
// (Fcitx 5, else IBus) over D-Bus, acting only while that window has the
// focus. Without a display, on a Wayland-only session or without any
// framework, no window has an IME window.
class X11Ime {
public:
    explicit X11Ime(_XDisplay* display);
    ~X11Ime();
    X11Ime(const X11Ime&) = delete;
    X11Ime& operator=(const X11Ime&) = delete;

    WindowHandle defaultImeWindow(WindowHandle window);
    std::intptr_t openStatus(WindowHandle imeWindow);
    void setOpenStatus(WindowHandle imeWindow, bool open);

private:
    std::unique_ptr<InputMethodSwitch> switch_;
};

}  // namespace orvane::cadlink::x11
