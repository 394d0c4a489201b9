#include "cadlink/x11/inputmethod.h"

namespace orvane::cadlink::x11 {

InputMethodSwitch::InputMethodSwitch(FocusedWindowQuery focusedWindow,
                                     std::vector<std::unique_ptr<InputMethodFramework>> frameworks)
    : focusedWindow_(std::move(focusedWindow)), frameworks_(std::move(frameworks)) {}

WindowHandle InputMethodSwitch::defaultImeWindow(WindowHandle window) {
    if (!focused(window)) {
        return 0;
    }
    for (const auto& framework : frameworks_) {
        if (framework->isOpen().has_value()) {
            return window;
        }
    }
    return 0;
}

std::intptr_t InputMethodSwitch::openStatus(WindowHandle imeWindow) {
    if (!focused(imeWindow)) {
        return 0;
    }
    for (const auto& framework : frameworks_) {
        if (const auto open = framework->isOpen()) {
            return *open ? 1 : 0;
        }
    }
    return 0;
}

void InputMethodSwitch::setOpenStatus(WindowHandle imeWindow, bool open) {
    if (!focused(imeWindow)) {
        return;
    }
    for (const auto& framework : frameworks_) {
        if (framework->setOpen(open)) {
            return;
        }
    }
}

bool InputMethodSwitch::focused(WindowHandle window) const {
    return window != 0 && focusedWindow_() == window;
}

bool isWaylandOnlySession(const char* waylandDisplay, const char* display) {
    const auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
    return set(waylandDisplay) && !set(display);
}

}  // namespace orvane::cadlink::x11
