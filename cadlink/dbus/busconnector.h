#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>

namespace orvane::cadlink::dbus {

// Connections to one bus, each opened under a name of its own. A bus's
// default connection that lost its bus stays lost; a named one is given up
// and opened afresh, so a bus that comes back at the same address is found.
class BusConnector {
public:
    // The session bus at the address the environment gives.
    static BusConnector sessionBus();
    // The bus at address.
    static BusConnector atAddress(const QString& address);

    ~BusConnector();
    BusConnector(BusConnector&& other) noexcept;
    BusConnector& operator=(BusConnector&&) = delete;
    BusConnector(const BusConnector&) = delete;
    BusConnector& operator=(const BusConnector&) = delete;

    // Gives up the connection opened last, if any, and opens a new one;
    // it is not connected while the bus is away.
    QDBusConnection reconnect();

private:
    using Open = std::function<QDBusConnection(const QString& name)>;
    explicit BusConnector(Open open) : open_(std::move(open)) {}
    void release();

    Open open_;
    QString name_;
};

}  // namespace orvane::cadlink::dbus
