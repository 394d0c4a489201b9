#include "cadlink/x11/imebus.h"

namespace orvane::cadlink::x11 {

QDBusMessage imeMethodCall(const QString& service, const QString& path, const QString& interface,
                           const QString& member, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, member);
    call.setArguments(arguments);
    call.setAutoStartService(false);
    return call;
}

BusCaller imeBusCaller(QDBusConnection connection, int timeoutMs) {
    return [connection, timeoutMs](const QDBusMessage& call) {
        if (!connection.isConnected()) {
            return call.createErrorReply(QDBusError::Disconnected, QStringLiteral("no bus"));
        }
        // Built afresh: messages share their data, so setting the flag on a
        // copy would change the caller's message too.
        const QDBusMessage quiet = imeMethodCall(call.service(), call.path(), call.interface(),
                                                 call.member(), call.arguments());
        return connection.call(quiet, QDBus::Block, timeoutMs);
    };
}

bool hasFirstArgument(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

}  // namespace orvane::cadlink::x11
