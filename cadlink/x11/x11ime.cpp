#include "cadlink/x11/x11ime.h"

#include <cstdlib>

#include "cadlink/x11/activewindow.h"
#include "cadlink/x11/fcitx5.h"
#include "cadlink/x11/ibus.h"
#include "cadlink/x11/inputmethod.h"

namespace orvane::cadlink::x11 {

namespace {

const QString kIBusConnectionName = QStringLiteral("orvane-ibus");

// IBus listens on a bus of its own; the session bus stands in when it has
// published none. A connection that broke (the daemon restarted) is dropped
// and made again at the next call.
QDBusMessage callIBus(const QDBusMessage& call) {
    const QString address = ibusAddress();
    if (address.isEmpty()) {
        return imeBusCaller(QDBusConnection::sessionBus())(call);
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address, kIBusConnectionName);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(kIBusConnectionName);
        bus = QDBusConnection::connectToBus(address, kIBusConnectionName);
    }
    return imeBusCaller(bus)(call);
}

std::vector<std::unique_ptr<InputMethodFramework>> sessionFrameworks() {
    std::vector<std::unique_ptr<InputMethodFramework>> frameworks;
    if (isWaylandOnlySession(std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"))) {
        return frameworks;
    }
    // Fcitx also answers under the IBus name, so it is asked first.
    frameworks.push_back(
        std::make_unique<Fcitx5Framework>(imeBusCaller(QDBusConnection::sessionBus())));
    frameworks.push_back(std::make_unique<IBusFramework>(&callIBus));
    return frameworks;
}

}  // namespace

X11Ime::X11Ime(_XDisplay* display)
    : switch_(std::make_unique<InputMethodSwitch>([display] { return activeWindow(display); },
                                                  sessionFrameworks())) {}

X11Ime::~X11Ime() = default;

WindowHandle X11Ime::defaultImeWindow(WindowHandle window) {
    return switch_->defaultImeWindow(window);
}

std::intptr_t X11Ime::openStatus(WindowHandle imeWindow) {
    return switch_->openStatus(imeWindow);
}

void X11Ime::setOpenStatus(WindowHandle imeWindow, bool open) {
    switch_->setOpenStatus(imeWindow, open);
}

}  // namespace orvane::cadlink::x11
