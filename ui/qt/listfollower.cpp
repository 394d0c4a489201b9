#include "ui/qt/listfollower.h"

#include <QFileInfo>
#include <QMenu>

#include "core/menulist.h"
#include "ui/qt/boxes.h"
#include "ui/qt/slotmenubar.h"

namespace orvane::ui {

ListFollower::ListFollower(PanelCore& core, PanelFormLogic& logic, const SlotMenuBar& menus, QObject* parent)
    : QObject(parent), directory_(toQString(core.programDirectory())) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { watch_->timerExpired(); });
    watch_.emplace(core, logic, static_cast<WatchTimer&>(*this));
    for (QMenu* menu : menus.menus()) {
        connect(menu, &QMenu::aboutToShow, this, [this] { watch_->menuOpened(); });
        connect(menu, &QMenu::aboutToHide, this, [this] { watch_->menusClosed(); });
    }
    // The directory tells of files made, removed and renamed; each list file
    // of its writes in place.
    watcher_.addPath(directory_);
    watchListFiles();
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &ListFollower::directoryChanged);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ListFollower::fileChanged);
}

void ListFollower::startTimer(int milliseconds) { timer_.start(milliseconds); }

void ListFollower::stopTimer() { timer_.stop(); }

void ListFollower::watchListFiles() {
    QStringList paths;
    try {
        for (const std::u16string& name : ListMenuListFiles(fromQString(directory_))) {
            paths << directory_ + toQString(name);
        }
    } catch (const Error&) {
        return;  // start-up already told of a directory it cannot list
    }
    const QStringList watched = watcher_.files();
    paths.removeIf([&watched](const QString& path) { return watched.contains(path); });
    if (!paths.isEmpty()) {
        watcher_.addPaths(paths);
    }
}

void ListFollower::directoryChanged() {
    watchListFiles();
    watch_->folderChanged();
}

void ListFollower::fileChanged(const QString& path) {
    // A file replaced by a rename is a new file, which the watcher lost.
    if (QFileInfo::exists(path) && !watcher_.files().contains(path)) {
        watcher_.addPath(path);
    }
    watch_->fileChanged(fromQString(QFileInfo(path).fileName()));
}

}  // namespace orvane::ui
