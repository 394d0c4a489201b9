#include "ui/qt/listfollower.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QMenu>

#include <array>
#include <cstdint>
#include <cerrno>
#include <cstring>

#include "core/utf.h"
#include "ui/qt/slotmenubar.h"

namespace orvane::ui {

namespace {

// Writes in place, files made, removed or renamed within the directory, and
// changed permissions, which can make a list readable again.
constexpr std::uint32_t kEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                  IN_MOVED_TO | IN_ONLYDIR;

}  // namespace

ListFollower::ListFollower(PanelCore& core, PanelFormLogic& logic, const SlotMenuBar& menus, QObject* parent)
    : QObject(parent), inotify_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { watch_->timerExpired(); });
    watch_.emplace(core, logic, static_cast<WatchTimer&>(*this));
    for (QMenu* menu : menus.menus()) {
        connect(menu, &QMenu::aboutToShow, this, [this] { watch_->menuOpened(); });
        connect(menu, &QMenu::aboutToHide, this, [this] { watch_->menusClosed(); });
    }
    // A directory that cannot be watched leaves the menus as they are.
    if (inotify_ < 0) return;
    if (inotify_add_watch(inotify_, toFileNameBytes(core.programDirectory()).c_str(), kEvents) < 0) return;
    notifier_.emplace(inotify_, QSocketNotifier::Read);
    connect(&*notifier_, &QSocketNotifier::activated, this, &ListFollower::readEvents);
}

ListFollower::~ListFollower() {
    notifier_.reset();
    if (inotify_ >= 0) ::close(inotify_);
}

void ListFollower::startTimer(int milliseconds) { timer_.start(milliseconds); }

void ListFollower::stopTimer() { timer_.stop(); }

void ListFollower::readEvents() {
    alignas(inotify_event) std::array<char, 16384> buffer;
    for (;;) {
        const ssize_t length = ::read(inotify_, buffer.data(), buffer.size());
        if (length <= 0) {
            if (length < 0 && errno == EINTR) continue;
            return;
        }
        for (ssize_t at = 0; at < length;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* name = buffer.data() + at + sizeof event;
            at += static_cast<ssize_t>(sizeof event + event.len);
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                watch_->folderChanged();
            } else if (event.len > 0) {
                watch_->fileChanged(fromFileNameBytes(std::string_view(name, ::strnlen(name, event.len))));
            }
        }
    }
}

}  // namespace orvane::ui
