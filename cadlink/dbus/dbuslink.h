#pragma once

#include <QDBusConnection>
#include <QDBusMessage>

#include <string>
#include <vector>

#include "cadlink/automation.h"

namespace orvane::cadlink::dbus {

// The error's name and text, for the message of a failure.
std::string describeError(const QDBusMessage& reply);

// What the runtime and every object it hands out share: the bus, the reply
// timeout and the registered message filter.
class DBusLink {
public:
    DBusLink(QDBusConnection connection, int replyTimeoutMs);

    const QDBusConnection& connection() const { return connection_; }
    MessageFilterRef exchangeFilter(MessageFilterRef filter);

    // The unique name that owns busName now, as the bus itself answers;
    // empty when nobody does.
    QString nameOwner(const QString& busName) const;
    // Every name owned on the bus now.
    std::vector<std::string> ownedNames() const;

    // Sends the call to a CAD found under busName and waits for its answer
    // without dispatching anything, sending it again as long as the message
    // filter asks for it. Gives the reply or an error other than a busy
    // answer; throws CallRejected when the filter (or its absence) gives the
    // call up. A call left without an answer is never sent again: it throws
    // Busy while busName still belongs to the call's destination, and
    // CallFailed when that CAD is gone.
    QDBusMessage callWithRetry(const QDBusMessage& call, const QString& busName) const;

private:
    QDBusConnection connection_;
    int replyTimeoutMs_;
    MessageFilterRef filter_;
};

}  // namespace orvane::cadlink::dbus
