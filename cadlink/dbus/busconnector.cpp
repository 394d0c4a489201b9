#include "cadlink/dbus/busconnector.h"

#include <atomic>
#include <utility>

namespace orvane::cadlink::dbus {

namespace {

// Qt keeps connections by name process-wide; every opening gets a new one.
QString freshName() {
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("orvane-cad-link-%1").arg(counter++);
}

}  // namespace

BusConnector BusConnector::sessionBus() {
    return BusConnector([](const QString& name) { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name); });
}

BusConnector BusConnector::atAddress(const QString& address) {
    return BusConnector([address](const QString& name) { return QDBusConnection::connectToBus(address, name); });
}

BusConnector::~BusConnector() { release(); }

BusConnector::BusConnector(BusConnector&& other) noexcept
    : open_(std::move(other.open_)), name_(std::exchange(other.name_, QString())) {}

QDBusConnection BusConnector::reconnect() {
    release();
    name_ = freshName();
    return open_(name_);
}

void BusConnector::release() {
    if (!name_.isEmpty()) {
        QDBusConnection::disconnectFromBus(std::exchange(name_, QString()));
    }
}

}  // namespace orvane::cadlink::dbus
