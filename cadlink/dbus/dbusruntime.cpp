#include "cadlink/dbus/dbusruntime.h"

#include <QDBusMessage>

#include "cadlink/dbus/busname.h"
#include "cadlink/dbus/dbuslink.h"
#include "cadlink/dbus/dbusobject.h"
#include "cadlink/dbus/progidmatch.h"
#include "cadlink/dbus/protocol.h"
#include "cadlink/dbus/replytimeout.h"

namespace orvane::cadlink::dbus {

DBusAutomationRuntime::DBusAutomationRuntime()
    : DBusAutomationRuntime(BusConnector::sessionBus(), replyTimeoutFromEnvironment()) {}

DBusAutomationRuntime::DBusAutomationRuntime(const QDBusConnection& connection, int replyTimeoutMs)
    : replyTimeoutMs_(replyTimeoutMs), link_(std::make_shared<DBusLink>(connection, replyTimeoutMs)) {}

DBusAutomationRuntime::DBusAutomationRuntime(BusConnector connector, int replyTimeoutMs)
    : connector_(std::move(connector)),
      replyTimeoutMs_(replyTimeoutMs),
      link_(std::make_shared<DBusLink>(connector_->reconnect(), replyTimeoutMs)) {}

DBusAutomationRuntime::~DBusAutomationRuntime() = default;

ClassId DBusAutomationRuntime::CLSIDFromProgID(std::u16string_view progId) {
    auto busName = busNameForProgId(progId);
    if (!busName) {
        throw AutomationError(status::ClassNotRegistered, "the ProgID has no bus name");
    }
    return ClassId{std::move(*busName)};
}

ObjectRef DBusAutomationRuntime::GetActiveObject(const ClassId& classId) {
    const auto progId = progIdForBusName(classId.value);
    if (!progId) {
        throw AutomationError(status::ClassNotRegistered, "not a ProgID bus name");
    }
    if (!connected()) {
        throw AutomationError(status::NotRunning, "no session bus");
    }
    // The object is bound to the owner at this moment, so a CAD that quits
    // and a later one that takes the name are never mixed up.
    QString busName = QString::fromStdString(classId.value);
    QString owner = link_->nameOwner(busName);
    if (owner.isEmpty()) {
        // The ProgID as written is the usual spelling, so the bus is searched
        // for another one only when nobody serves that.
        if (const auto served = busNameServing(*progId, link_->ownedNames())) {
            busName = QString::fromStdString(*served);
            owner = link_->nameOwner(busName);
        }
    }
    if (owner.isEmpty()) {
        throw AutomationError(status::NotRunning, "no CAD owns the name");
    }
    return std::make_shared<DBusAutomationObject>(link_, busName, owner, QString::fromLatin1(protocol::applicationPath));
}

// Objects handed out before keep the lost link; the message filter moves on
// to the new one.
bool DBusAutomationRuntime::connected() {
    if (link_->connection().isConnected()) {
        return true;
    }
    if (!connector_) {
        return false;
    }
    auto link = std::make_shared<DBusLink>(connector_->reconnect(), replyTimeoutMs_);
    link->exchangeFilter(link_->exchangeFilter(nullptr));
    link_ = std::move(link);
    return link_->connection().isConnected();
}

MessageFilterRef DBusAutomationRuntime::CoRegisterMessageFilter(MessageFilterRef filter) {
    return link_->exchangeFilter(std::move(filter));
}

}  // namespace orvane::cadlink::dbus
