#pragma once

#include <windows.h>

#include <optional>
#include <thread>

#include "ui/listwatch.h"

namespace orvane::ui::win32 {

// Feeds the list watch from the system: a change notification on the
// program directory, waited for on a thread of its own that posts to the
// panel, and a timer of the panel's window. Nothing polls.
class ListFollower final : private WatchTimer {
public:
    // Posted to the panel when something in the program directory changed.
    static constexpr UINT kFolderChanged = WM_APP + 10;
    // The panel's timer that the watch asks for.
    static constexpr UINT_PTR kTimerId = 10;

    // Start it after the panel's start-up sequence; the core, the logic and
    // the panel's window must outlive it.
    ListFollower(PanelCore& core, PanelFormLogic& logic, HWND panel);
    ~ListFollower() override;
    ListFollower(const ListFollower&) = delete;
    ListFollower& operator=(const ListFollower&) = delete;

    // The panel's window routes these here.
    void folderChanged() { watch_->folderChanged(); }
    void timerExpired();
    void menuOpened() { watch_->menuOpened(); }
    void menusClosed() { watch_->menusClosed(); }

private:
    void startTimer(int milliseconds) override;
    void stopTimer() override;
    void waitForChanges();

    HWND panel_;
    HANDLE change_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    std::optional<ListWatch> watch_;
    std::thread waiter_;
};

}  // namespace orvane::ui::win32
