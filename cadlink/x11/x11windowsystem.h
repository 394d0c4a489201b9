#pragma once

#include <memory>

#include "cadlink/windowsystem.h"

struct _XDisplay;

namespace orvane::cadlink::x11 {

class X11Ime;

// The window system on X11: its own display connection, opened on first use,
// so it works under any Qt platform. Windows are activated through an EWMH
// window manager, or raised and focused directly where none activates on
// request. Without a display every call degrades quietly.
class X11WindowSystem final : public WindowSystem {
public:
    X11WindowSystem();
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem&) = delete;
    X11WindowSystem& operator=(const X11WindowSystem&) = delete;

    bool IsIconic(WindowHandle window) override;
    bool OpenIcon(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    WindowHandle GetForegroundWindow() override;
    void keybd_event(std::uint8_t virtualKey, bool keyUp) override;
    void Sleep(std::uint32_t milliseconds) override;
    bool IsWindow(WindowHandle window) override;

    WindowHandle ImmGetDefaultIMEWnd(WindowHandle window) override;
    std::intptr_t imeGetOpenStatus(WindowHandle imeWindow) override;
    void imeSetOpenStatus(WindowHandle imeWindow, bool open) override;

    bool hasDisplay() { return display() != nullptr; }

private:
    _XDisplay* display();
    X11Ime& ime();
    // Asks the window manager to activate the window (EWMH).
    bool requestActivation(WindowHandle window);
    // What the panel does itself where no window manager activates on request.
    bool mapRaised(WindowHandle window);
    bool raiseAndFocus(WindowHandle window);

    bool opened_ = false;
    _XDisplay* display_ = nullptr;
    bool hasXTest_ = false;
    std::unique_ptr<X11Ime> ime_;
};

// The X keysym of a virtual-key code, 0 for keys without one here.
unsigned long keysymForVirtualKey(std::uint8_t virtualKey);

}  // namespace orvane::cadlink::x11
