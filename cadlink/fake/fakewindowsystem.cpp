#include "cadlink/fake/fakewindowsystem.h"

#include <stdexcept>

namespace orvane::cadlink::fake {

FakeWindowSystem::FakeWindowSystem(CallLogRef log) : log_(std::move(log)) {}

void FakeWindowSystem::setIconic(WindowHandle window, bool iconic) {
    if (iconic) {
        iconic_.insert(window);
    } else {
        iconic_.erase(window);
    }
}

std::intptr_t FakeWindowSystem::imeOpenStatus(WindowHandle imeWindow) const {
    const auto found = imeStatus_.find(imeWindow);
    return found == imeStatus_.end() ? 0 : found->second;
}

void FakeWindowSystem::record(const std::string& call, const std::string& arguments) {
    log_->add(call + "(" + arguments + ")");
    if (failures_.contains(call)) {
        throw std::runtime_error(call + " failed");
    }
}

bool FakeWindowSystem::IsIconic(WindowHandle window) {
    record("IsIconic", std::to_string(window));
    return iconic_.contains(window);
}

bool FakeWindowSystem::OpenIcon(WindowHandle window) {
    record("OpenIcon", std::to_string(window));
    return iconic_.erase(window) != 0;
}

bool FakeWindowSystem::SetForegroundWindow(WindowHandle window) {
    record("SetForegroundWindow", std::to_string(window));
    if (refuseActivation_ || !windows_.contains(window)) {
        return false;
    }
    foreground_ = window;
    return true;
}

WindowHandle FakeWindowSystem::GetForegroundWindow() {
    record("GetForegroundWindow", "");
    return foreground_;
}

void FakeWindowSystem::keybd_event(std::uint8_t virtualKey, bool keyUp) {
    record("keybd_event", std::to_string(virtualKey) + (keyUp ? ",up" : ",down"));
}

void FakeWindowSystem::Sleep(std::uint32_t milliseconds) {
    record("Sleep", std::to_string(milliseconds));
}

bool FakeWindowSystem::IsWindow(WindowHandle window) {
    record("IsWindow", std::to_string(window));
    return windows_.contains(window);
}

WindowHandle FakeWindowSystem::ImmGetDefaultIMEWnd(WindowHandle window) {
    record("ImmGetDefaultIMEWnd", std::to_string(window));
    const auto found = imeWindows_.find(window);
    return found == imeWindows_.end() ? 0 : found->second;
}

std::intptr_t FakeWindowSystem::imeGetOpenStatus(WindowHandle imeWindow) {
    record("imeGetOpenStatus", std::to_string(imeWindow));
    return imeOpenStatus(imeWindow);
}

void FakeWindowSystem::imeSetOpenStatus(WindowHandle imeWindow, bool open) {
    record("imeSetOpenStatus", std::to_string(imeWindow) + (open ? ",true" : ",false"));
    imeStatus_[imeWindow] = open ? 1 : 0;
}

}  // namespace orvane::cadlink::fake
