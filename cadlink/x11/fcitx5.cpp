#include "cadlink/x11/fcitx5.h"

namespace orvane::cadlink::x11 {

namespace {

constexpr int kActiveState = 2;

}  // namespace

std::optional<bool> Fcitx5Framework::isOpen() {
    const QDBusMessage reply = call("State");
    if (!hasFirstArgument(reply)) {
        return std::nullopt;
    }
    bool isNumber = false;
    const int state = reply.arguments().constFirst().toInt(&isNumber);
    if (!isNumber) {
        return std::nullopt;
    }
    return state == kActiveState;
}

bool Fcitx5Framework::setOpen(bool open) {
    return call(open ? "Activate" : "Deactivate").type() == QDBusMessage::ReplyMessage;
}

QDBusMessage Fcitx5Framework::call(const char* member) const {
    return call_(imeMethodCall(QLatin1String(kFcitx5Service), QLatin1String(kFcitx5Path),
                               QLatin1String(kFcitx5Interface), QLatin1String(member)));
}

}  // namespace orvane::cadlink::x11
