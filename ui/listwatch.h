#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/panelcore.h"
#include "ui/panelform.h"

namespace orvane::ui {

// The single-shot timer the list watch asks its window for; on expiry the
// window calls ListWatch::timerExpired. Its expiry comes after the event
// being handled when it was started.
class WatchTimer {
public:
    virtual ~WatchTimer() = default;
    // Starts the timer afresh, replacing one that is running.
    virtual void startTimer(int milliseconds) = 0;
    virtual void stopTimer() = 0;
    virtual std::chrono::steady_clock::time_point now() const {
        return std::chrono::steady_clock::now();
    }
};

// Keeps the chooser and the menus following the list files in the program
// directory, as the window's file watcher reports changes there. Changes
// settle for a quiet period before anything is read, though a burst that
// goes on is read a second after its first change; nothing changes while a
// menu is open, nor before the pick that closed it has run. The selected
// list is reloaded as picking it would, but a file that cannot be read keeps
// the menus; its error is shown once, when it is still unreadable a second
// later. Start it after the panel's start-up sequence.
class ListWatch {
public:
    // Changes closer together than this make one reload.
    static constexpr int kQuietMilliseconds = 250;
    // A burst of changes is read at the latest this long after its first.
    static constexpr int kBurstMilliseconds = 1000;
    // How long a selected list may stay unreadable before its error is shown.
    static constexpr int kErrorDelayMilliseconds = 1000;

    // All three must outlive the watch.
    ListWatch(PanelCore& core, PanelFormLogic& logic, WatchTimer& timer)
        : core_(core), logic_(logic), timer_(timer) {}
    ~ListWatch() { timer_.stopTimer(); }
    ListWatch(const ListWatch&) = delete;
    ListWatch& operator=(const ListWatch&) = delete;

    // Something in the program directory changed, the watcher cannot say what.
    void folderChanged();
    // The entry of this bare name in the program directory was written,
    // created, removed or renamed to or from.
    void fileChanged(std::u16string_view name);
    // A menu of the panel opened; changes wait until menusClosed.
    void menuOpened();
    // No menu of the panel is open any more; a change held meanwhile applies
    // after the event that closed it, a pick, has been handled.
    void menusClosed();
    // The timer asked for has expired.
    void timerExpired();

private:
    enum class Wait { None, Quiet, ErrorCheck };

    void changed();
    void start(Wait wait, int milliseconds);
    void apply();
    void reload();
    void checkError();

    PanelCore& core_;
    PanelFormLogic& logic_;
    WatchTimer& timer_;
    Wait waiting_ = Wait::None;
    std::chrono::steady_clock::time_point burstStart_;
    bool chooserStale_ = false;
    bool listStale_ = false;
    bool menuOpen_ = false;
    // The timer expired while a menu was open.
    bool due_ = false;
    // The selected list that could not be read, awaiting the error check.
    std::optional<std::u16string> failedList_;
    // The selected list whose error was shown; not shown again until it reads.
    std::optional<std::u16string> reportedList_;
};

}  // namespace orvane::ui
