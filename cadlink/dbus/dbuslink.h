#pragma once

#include <QDBusConnection>
#include <QDBusMessage>

#include "cadlink/automation.h"

namespace orvane::cadlink::dbus {

// What the runtime and every object it hands out share: the bus, the reply
// timeout and the registered message filter.
class DBusLink {
public:
    DBusLink(QDBusConnection connection, int replyTimeoutMs);

    const QDBusConnection& connection() const { return connection_; }
    MessageFilterRef exchangeFilter(MessageFilterRef filter);

    // Sends the call and waits for its answer without dispatching anything,
    // sending it again as long as the message filter asks for it. Gives the
    // reply or an error other than a busy answer; throws CallRejected when
    // the filter (or its absence) gives the call up.
    QDBusMessage callWithRetry(const QDBusMessage& call) const;

private:
    QDBusConnection connection_;
    int replyTimeoutMs_;
    MessageFilterRef filter_;
};

}  // namespace orvane::cadlink::dbus
