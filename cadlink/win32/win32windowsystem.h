#pragma once

#include "cadlink/windowsystem.h"

namespace orvane::cadlink::win32 {

// The window system of Windows (user32, imm32). A handle that names no
// window makes every call fail quietly: false, 0 or nothing.
class Win32WindowSystem : public WindowSystem {
public:
    // How long an IME message waits for the CAD's window thread. A CAD that
    // does not take it in time counts as having its IME closed, so a hung
    // CAD never stops the panel; the next tick asks again.
    static constexpr unsigned ImeMessageTimeoutMs = 500;

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
};

}  // namespace orvane::cadlink::win32
