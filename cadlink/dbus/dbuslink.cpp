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

std::uint32_t millisecondsSince(std::chrono::steady_clock::time_point start) {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    return static_cast<std::uint32_t>(
        std::clamp<long long>(elapsed, 0, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

DBusLink::DBusLink(QDBusConnection connection, int replyTimeoutMs)
    : connection_(std::move(connection)), replyTimeoutMs_(replyTimeoutMs) {}

MessageFilterRef DBusLink::exchangeFilter(MessageFilterRef filter) {
    return std::exchange(filter_, std::move(filter));
}

QDBusMessage DBusLink::callWithRetry(const QDBusMessage& call) const {
    const auto start = std::chrono::steady_clock::now();
    while (true) {
        QDBusMessage reply = connection_.call(call, QDBus::Block, replyTimeoutMs_);
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
