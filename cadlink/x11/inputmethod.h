#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "cadlink/windowsystem.h"

namespace orvane::cadlink::x11 {

// An input-method framework of the desktop session. Its state follows the
// focused window; no call can name a window.
class InputMethodFramework {
public:
    virtual ~InputMethodFramework() = default;
    // Whether the input method is on; nothing when the framework does not
    // answer (not running, no bus, too slow).
    virtual std::optional<bool> isOpen() = 0;
    // Switches it on or off; false when the framework did not answer.
    virtual bool setOpen(bool open) = 0;
};

// Gives the window that has the input focus, 0 for none.
using FocusedWindowQuery = std::function<WindowHandle()>;

// The input method as the window system offers it to the monitor. A window
// has an "IME window" only while it is the focused window and a framework
// answers; the handle is then the window itself. Frameworks are asked in the
// given order, and the first that answers decides.
class InputMethodSwitch {
public:
    InputMethodSwitch(FocusedWindowQuery focusedWindow,
                      std::vector<std::unique_ptr<InputMethodFramework>> frameworks);

    WindowHandle defaultImeWindow(WindowHandle window);
    // 1 while the input method is on in that window, else 0.
    std::intptr_t openStatus(WindowHandle imeWindow);
    // Acts only while the window still has the focus: the input method's
    // state belongs to whichever window has it.
    void setOpenStatus(WindowHandle imeWindow, bool open);

private:
    bool focused(WindowHandle window) const;

    FocusedWindowQuery focusedWindow_;
    std::vector<std::unique_ptr<InputMethodFramework>> frameworks_;
};

// A session that is Wayland only (WAYLAND_DISPLAY set, DISPLAY empty): the
// compositor owns the input method and the X protocols cannot reach it.
bool isWaylandOnlySession(const char* waylandDisplay, const char* display);

}  // namespace orvane::cadlink::x11
