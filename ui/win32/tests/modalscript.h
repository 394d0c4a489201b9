#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <utility>

namespace orvane::ui::win32::testing {

// Steps run one per timer tick inside whatever message loop is running, so
// a modal loop can be driven from within. A timer comes only when no posted
// message waits, so what one step posts is handled before the next runs.
class ModalScript {
public:
    explicit ModalScript(std::deque<std::function<void()>> steps) : steps_(std::move(steps)) {
        current() = this;
        timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &ModalScript::tick);
    }
    ~ModalScript() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

private:
    static ModalScript*& current() {
        static ModalScript* script = nullptr;
        return script;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript* script = current();
        if (script == nullptr || script->steps_.empty()) {
            return;
        }
        const std::function<void()> step = std::move(script->steps_.front());
        script->steps_.pop_front();
        step();
    }

    std::deque<std::function<void()>> steps_;
    UINT_PTR timer_ = 0;
};

}  // namespace orvane::ui::win32::testing
