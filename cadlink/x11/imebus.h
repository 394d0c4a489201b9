#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>
#include <functional>

namespace orvane::cadlink::x11 {

// An input-method call must never hold the monitor's tick for long.
inline constexpr int kImeCallTimeoutMs = 300;

// Sends one method call and gives its reply, an error reply when there is
// no answer.
using BusCaller = std::function<QDBusMessage(const QDBusMessage&)>;

// A method call that does not start the service: a plain call would have the
// bus launch an input-method daemon the user is not running.
QDBusMessage imeMethodCall(const QString& service, const QString& path, const QString& interface,
                           const QString& member, const QVariantList& arguments = {});

// Calls over the connection without dispatching anything meanwhile, with
// auto-start off whatever the message says, and the short timeout.
BusCaller imeBusCaller(QDBusConnection connection, int timeoutMs = kImeCallTimeoutMs);

// True for a reply (not an error) whose first argument exists.
bool hasFirstArgument(const QDBusMessage& reply);

}  // namespace orvane::cadlink::x11
