#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <optional>

#include "ui/listwatch.h"

namespace orvane::ui {

class SlotMenuBar;

// Feeds the list watch: one inotify watch on the program directory, which
// names each entry made, removed, renamed or written by its own bytes (so
// that a name in no valid UTF-8 is followed too), the menus opening and
// closing, and a single-shot timer. Nothing polls.
class ListFollower final : public QObject, private WatchTimer {
    Q_OBJECT

public:
    // Start it after the panel's start-up sequence; the core, the logic and
    // the menu bar must outlive it.
    ListFollower(PanelCore& core, PanelFormLogic& logic, const SlotMenuBar& menus, QObject* parent);
    ~ListFollower() override;
    ListFollower(const ListFollower&) = delete;
    ListFollower& operator=(const ListFollower&) = delete;

private:
    void startTimer(int milliseconds) override;
    void stopTimer() override;

    void readEvents();

    int inotify_ = -1;
    std::optional<QSocketNotifier> notifier_;
    QTimer timer_;
    std::optional<ListWatch> watch_;
};

}  // namespace orvane::ui
