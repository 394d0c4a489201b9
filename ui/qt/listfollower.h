#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <optional>

#include "ui/listwatch.h"

namespace orvane::ui {

class SlotMenuBar;

// Feeds the list watch from the toolkit: the file watcher (inotify on Linux)
// on the program directory and its list files, the menus opening and
// closing, and a single-shot timer. Nothing polls.
class ListFollower final : public QObject, private WatchTimer {
    Q_OBJECT

public:
    // Start it after the panel's start-up sequence; the core, the logic and
    // the menu bar must outlive it.
    ListFollower(PanelCore& core, PanelFormLogic& logic, const SlotMenuBar& menus, QObject* parent);

private:
    void startTimer(int milliseconds) override;
    void stopTimer() override;

    void watchListFiles();
    void directoryChanged();
    void fileChanged(const QString& path);

    QString directory_;
    QFileSystemWatcher watcher_;
    QTimer timer_;
    std::optional<ListWatch> watch_;
};

}  // namespace orvane::ui
