#include "cadlink/dbus/dbusruntime.h"

#include <QDBusMessage>

#include "cadlink/dbus/busname.h"
#include "cadlink/dbus/dbuslink.h"
#include "cadlink/dbus/dbusobject.h"
#include "cadlink/dbus/protocol.h"

namespace orvane::cadlink::dbus {

DBusAutomationRuntime::DBusAutomationRuntime() : DBusAutomationRuntime(QDBusConnection::sessionBus()) {}

DBusAutomationRuntime::DBusAutomationRuntime(const QDBusConnection& connection, int replyTimeoutMs)
    : link_(std::make_shared<DBusLink>(connection, replyTimeoutMs)) {}

DBusAutomationRuntime::~DBusAutomationRuntime() = default;

ClassId DBusAutomationRuntime::CLSIDFromProgID(std::u16string_view progId) {
    auto busName = busNameForProgId(progId);
    if (!busName) {
        throw AutomationError(status::ClassNotRegistered, "the ProgID has no bus name");
    }
    return ClassId{std::move(*busName)};
}

ObjectRef DBusAutomationRuntime::GetActiveObject(const ClassId& classId) {
    if (!progIdForBusName(classId.value)) {
        throw AutomationError(status::ClassNotRegistered, "not a ProgID bus name");
    }
    if (!link_->connection().isConnected()) {
        throw AutomationError(status::NotRunning, "no session bus");
    }
    // The object is bound to the owner at this moment, so a CAD that quits
    // and a later one that takes the name are never mixed up.
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    ask.setAutoStartService(false);
    ask << QString::fromStdString(classId.value);
    const QDBusMessage reply = link_->connection().call(ask, QDBus::Block);
    const QList<QVariant> arguments = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || arguments.size() != 1 ||
        arguments.front().metaType() != QMetaType::fromType<QString>() || arguments.front().toString().isEmpty()) {
        throw AutomationError(status::NotRunning, "no CAD owns the name");
    }
    return std::make_shared<DBusAutomationObject>(link_, arguments.front().toString(),
                                                  QString::fromLatin1(protocol::applicationPath));
}

MessageFilterRef DBusAutomationRuntime::CoRegisterMessageFilter(MessageFilterRef filter) {
    return link_->exchangeFilter(std::move(filter));
}

}  // namespace orvane::cadlink::dbus
