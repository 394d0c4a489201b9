#pragma once

#include <cstdint>

// What the panel needs of the window system around the CAD's main window.
// One backend per system; every call degrades quietly where there is no
// window system (no window, nothing in front, no key sent).
namespace orvane::cadlink {

// A top-level window; 0 is none. 32 bits, as the CAD reports it.
using WindowHandle = std::uint32_t;

inline constexpr std::uint8_t VK_ESCAPE_KEY = 27;

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual bool IsIconic(WindowHandle window) = 0;
    virtual bool OpenIcon(WindowHandle window) = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    virtual WindowHandle GetForegroundWindow() = 0;
    // A key press (keyUp false) or release (keyUp true) of a virtual key.
    virtual void keybd_event(std::uint8_t virtualKey, bool keyUp) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;

    // The input method of a window: its default IME window (0 when it has
    // none), the open status, and closing it.
    virtual WindowHandle ImmGetDefaultIMEWnd(WindowHandle window) = 0;
    virtual std::intptr_t imeGetOpenStatus(WindowHandle imeWindow) = 0;
    virtual void imeSetOpenStatus(WindowHandle imeWindow, bool open) = 0;
};

}  // namespace orvane::cadlink
