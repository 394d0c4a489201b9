#pragma once

#include <QDBusConnection>

#include <memory>

#include "cadlink/automation.h"

namespace orvane::cadlink::dbus {

class DBusLink;

// The automation system on the session bus: a ProgID is a well-known bus
// name, a running CAD is the name's owner, objects are object paths there.
class DBusAutomationRuntime final : public AutomationRuntime {
public:
    // The session bus, with the reply timeout that the environment asks for.
    DBusAutomationRuntime();
    DBusAutomationRuntime(const QDBusConnection& connection, int replyTimeoutMs);
    ~DBusAutomationRuntime() override;

    ClassId CLSIDFromProgID(std::u16string_view progId) override;
    ObjectRef GetActiveObject(const ClassId& classId) override;
    MessageFilterRef CoRegisterMessageFilter(MessageFilterRef filter) override;

private:
    std::shared_ptr<DBusLink> link_;
};

}  // namespace orvane::cadlink::dbus
