#include "cadlink/dbus/dbuslink.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>
#include <utility>

#include "cadlink/dbus/protocol.h"

namespace orvane::cadlink::dbus {

namespace {

// The smallest answer of RetryRejectedCall that means "wait, then retry";
// below it the call goes out again at once.
constexpr std::int32_t minimumRetryDelayMs = 100;

std::uint32_t rejectTypeOf(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ErrorMessage) {
        return 0;
    }
    if (reply.errorName() == QLatin1String(protocol::retryLaterError)) {
        return protocol::rejectTypeRetryLater;
    }
    if (reply.errorName() == QLatin1String(protocol::rejectedError)) {
        return protocol::rejectTypeRejected;
    }
    return 0;
}

// The call got no answer at all: the reply timeout passed, or the CAD left
// the bus while the call waited.
bool isUnanswered(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ErrorMessage &&
           (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout"));
}

std::uint32_t millisecondsSince(std::chrono::steady_clock::time_point start) {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    return static_cast<std::uint32_t>(
        std::clamp<long long>(elapsed, 0, std::numeric_limits<std::uint32_t>::max()));
}

// The one value of a reply of the bus itself, invalid unless it has the type.
template <typename Value>
QVariant busAnswer(const QDBusConnection& connection, const QString& member, const QVariantList& arguments) {
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), member);
    ask.setAutoStartService(false);
    ask.setArguments(arguments);
    const QDBusMessage reply = connection.call(ask, QDBus::Block);
    const QList<QVariant> values = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || values.size() != 1 ||
        values.front().metaType() != QMetaType::fromType<Value>()) {
        return {};
    }
    return values.front();
}

}  // namespace

std::string describeError(const QDBusMessage& reply) {
    return (reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
}

DBusLink::DBusLink(QDBusConnection connection, int replyTimeoutMs)
    : connection_(std::move(connection)), replyTimeoutMs_(replyTimeoutMs) {}

MessageFilterRef DBusLink::exchangeFilter(MessageFilterRef filter) {
    return std::exchange(filter_, std::move(filter));
}

QString DBusLink::nameOwner(const QString& busName) const {
    return busAnswer<QString>(connection_, QStringLiteral("GetNameOwner"), {busName}).toString();
}

std::vector<std::string> DBusLink::ownedNames() const {
    std::vector<std::string> names;
    for (const QString& name : busAnswer<QStringList>(connection_, QStringLiteral("ListNames"), {}).toStringList()) {
        names.push_back(name.toStdString());
    }
    return names;
}

QDBusMessage DBusLink::callWithRetry(const QDBusMessage& call, const QString& busName) const {
    const auto start = std::chrono::steady_clock::now();
    while (true) {
        QDBusMessage reply = connection_.call(call, QDBus::Block, replyTimeoutMs_);
        if (isUnanswered(reply)) {
            // The CAD may still carry the call out, so it is never sent again.
            if (nameOwner(busName) == call.service()) {
                throw AutomationError(status::Busy, "the CAD did not answer in time: " + describeError(reply));
            }
            throw AutomationError(status::CallFailed, describeError(reply));
        }
        const std::uint32_t rejectType = rejectTypeOf(reply);
        if (rejectType == 0) {
            return reply;
        }
        // The filter may revoke itself from inside; keep it alive for the call.
        const MessageFilterRef filter = filter_;
        if (!filter) {
            throw AutomationError(status::CallRejected, "the CAD rejected the call");
        }
        const std::int32_t delay = filter->RetryRejectedCall(0, millisecondsSince(start), rejectType);
        if (delay < 0) {
            throw AutomationError(status::CallRejected, "the CAD rejected the call");
        }
        if (delay >= minimumRetryDelayMs) {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        }
    }
}

}  // namespace orvane::cadlink::dbus
