#pragma once

#include <QDBusConnection>

#include <memory>
#include <optional>

#include "cadlink/automation.h"
#include "cadlink/dbus/busconnector.h"

namespace orvane::cadlink::dbus {

class DBusLink;

// The automation system on the session bus: a ProgID is a well-known bus
// name, a running CAD is the name's owner, objects are object paths there.
class DBusAutomationRuntime final : public AutomationRuntime {
public:
    // The session bus, with the reply timeout that the environment asks for;
    // a session bus that went away is looked for again at each lookup.
    DBusAutomationRuntime();
    // One connection for the runtime's whole life.
    DBusAutomationRuntime(const QDBusConnection& connection, int replyTimeoutMs);
    // A connection from connector, opened afresh at a lookup that finds the
    // one before without its bus.
    DBusAutomationRuntime(BusConnector connector, int replyTimeoutMs);
    ~DBusAutomationRuntime() override;

    ClassId CLSIDFromProgID(std::u16string_view progId) override;
    ObjectRef GetActiveObject(const ClassId& classId) override;
    MessageFilterRef CoRegisterMessageFilter(MessageFilterRef filter) override;

private:
    // Whether the bus is there; a lost one is connected to again first.
    bool connected();

    std::optional<BusConnector> connector_;
    int replyTimeoutMs_;
    std::shared_ptr<DBusLink> link_;
};

}  // namespace orvane::cadlink::dbus
