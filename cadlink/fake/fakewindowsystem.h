#pragma once

#include <map>
#include <set>
#include <string>

#include "cadlink/fake/calllog.h"
#include "cadlink/windowsystem.h"

namespace orvane::cadlink::fake {

// A window system of a few numbered windows. Every call is logged by its
// name and arguments, e.g. "IsIconic(4096)", "Sleep(500)",
// "keybd_event(27,down)", "imeSetOpenStatus(8192,false)".
class FakeWindowSystem final : public WindowSystem {
public:
    explicit FakeWindowSystem(CallLogRef log = std::make_shared<CallLog>());

    void addWindow(WindowHandle window) { windows_.insert(window); }
    void removeWindow(WindowHandle window) { windows_.erase(window); }
    void setIconic(WindowHandle window, bool iconic);
    void setForeground(WindowHandle window) { foreground_ = window; }
    // SetForegroundWindow leaves the foreground where it is, as when another
    // program keeps it.
    void refuseActivation(bool refuse) { refuseActivation_ = refuse; }
    void setImeWindow(WindowHandle window, WindowHandle imeWindow) {
        imeWindows_[window] = imeWindow;
    }
    void setImeOpenStatus(WindowHandle imeWindow, std::intptr_t status) {
        imeStatus_[imeWindow] = status;
    }
    std::intptr_t imeOpenStatus(WindowHandle imeWindow) const;
    // The named call fails with a std::runtime_error until cleared.
    void failOn(const std::string& call) { failures_.insert(call); }
    void clearFailures() { failures_.clear(); }

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

    CallLog& log() { return *log_; }

private:
    void record(const std::string& call, const std::string& arguments);

    CallLogRef log_;
    std::set<WindowHandle> windows_;
    std::set<WindowHandle> iconic_;
    WindowHandle foreground_ = 0;
    bool refuseActivation_ = false;
    std::map<WindowHandle, WindowHandle> imeWindows_;
    std::map<WindowHandle, std::intptr_t> imeStatus_;
    std::set<std::string> failures_;
};

}  // namespace orvane::cadlink::fake
