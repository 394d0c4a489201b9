#include "ui/win32/listfollower.h"

#include "ui/win32/widetext.h"

namespace orvane::ui::win32 {

ListFollower::ListFollower(PanelCore& core, PanelFormLogic& logic, HWND panel) : panel_(panel) {
    watch_.emplace(core, logic, static_cast<WatchTimer&>(*this));
    change_ = FindFirstChangeNotificationW(wideText(core.programDirectory()).c_str(), FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                               FILE_NOTIFY_CHANGE_SIZE);
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // A directory that cannot be watched leaves the menus as they are.
    if (change_ != INVALID_HANDLE_VALUE && stop_ != nullptr) {
        waiter_ = std::thread([this] { waitForChanges(); });
    }
}

ListFollower::~ListFollower() {
    if (waiter_.joinable()) {
        SetEvent(stop_);
        waiter_.join();
    }
    if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_);
    if (stop_ != nullptr) CloseHandle(stop_);
    watch_.reset();
}

void ListFollower::startTimer(int milliseconds) {
    SetTimer(panel_, kTimerId, static_cast<UINT>(milliseconds), nullptr);
}

void ListFollower::stopTimer() { KillTimer(panel_, kTimerId); }

// A system timer repeats; the watch asks for one expiry at a time.
void ListFollower::timerExpired() {
    stopTimer();
    watch_->timerExpired();
}

void ListFollower::waitForChanges() {
    const HANDLE handles[] = {stop_, change_};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        PostMessageW(panel_, kFolderChanged, 0, 0);
        if (FindNextChangeNotification(change_) == FALSE) return;
    }
}

}  // namespace orvane::ui::win32
