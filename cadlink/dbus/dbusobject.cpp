#include "cadlink/dbus/dbusobject.h"

#include <QDBusVariant>

#include <algorithm>
#include <array>
#include <utility>

#include "cadlink/dbus/protocol.h"
#include "cadlink/dbus/replyvalue.h"

namespace orvane::cadlink::dbus {

namespace {

constexpr std::size_t maxMemberNameLength = 255;

bool isMemberName(std::u16string_view name) {
    if (name.empty() || name.size() > maxMemberNameLength) {
        return false;
    }
    const auto isLetter = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    return isLetter(name.front()) &&
           std::all_of(name.begin(), name.end(), [&](char16_t c) { return isLetter(c) || isDigit(c); });
}

// The bus carries well-formed UTF-8 without NUL; anything else would reach
// the CAD altered or cut short, so such a text is not sent at all.
bool isCarriableText(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == 0 || (c >= 0xDC00 && c <= 0xDFFF)) {
            return false;
        }
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

// Errors that say the CAD or the bus did not answer at all, as opposed to
// an answer about the member.
bool isTransportError(const QString& name) {
    static constexpr std::array names = {
        "org.freedesktop.DBus.Error.TimedOut",       "org.freedesktop.DBus.Error.ServiceUnknown",
        "org.freedesktop.DBus.Error.NameHasNoOwner", "org.freedesktop.DBus.Error.Disconnected",
        "org.freedesktop.DBus.Error.UnknownObject",  "org.freedesktop.DBus.Error.NoServer",
        "org.freedesktop.DBus.Error.LimitsExceeded", "org.freedesktop.DBus.Error.AccessDenied",
    };
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == QLatin1String(n); });
}

bool isUnknownMemberError(const QString& name) {
    return name == QLatin1String(protocol::unknownMethodError) ||
           name == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface");
}

[[noreturn]] void throwFailure(const QDBusMessage& reply) {
    if (isTransportError(reply.errorName())) {
        throw AutomationError(status::CallFailed, describeError(reply));
    }
    throw AutomationError(status::Exception, describeError(reply));
}

}  // namespace

DBusAutomationObject::DBusAutomationObject(std::shared_ptr<const DBusLink> link, QString busName, QString owner,
                                           QString path)
    : link_(std::move(link)), busName_(std::move(busName)), owner_(std::move(owner)), path_(std::move(path)) {}

DispId DBusAutomationObject::GetIDsOfNames(std::u16string_view name) {
    if (!isMemberName(name)) {
        throw AutomationError(status::UnknownName, "not a member name");
    }
    const QString member = QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
    auto found = std::find(names_.begin(), names_.end(), member);
    if (found == names_.end()) {
        found = names_.insert(names_.end(), member);
    }
    return static_cast<DispId>(found - names_.begin()) + 1;
}

Variant DBusAutomationObject::Invoke(DispId member, CallKind kind, const std::optional<std::u16string>& argument,
                                     bool wantResult) {
    if (member < 1 || static_cast<std::size_t>(member) > names_.size()) {
        throw AutomationError(status::UnknownName, "unknown member id");
    }
    if (argument && !isCarriableText(*argument)) {
        throw AutomationError(status::TypeMismatch, "the text cannot be carried on the bus");
    }
    const QString& name = names_[static_cast<std::size_t>(member) - 1];
    QDBusMessage reply = callMethod(name, argument);
    if (reply.type() == QDBusMessage::ErrorMessage && isUnknownMemberError(reply.errorName())) {
        if (kind != CallKind::MethodOrPropertyGet || argument) {
            throw AutomationError(status::UnknownName, describeError(reply));
        }
        reply = getProperty(name);
        if (reply.type() == QDBusMessage::ErrorMessage && !isTransportError(reply.errorName())) {
            throw AutomationError(status::UnknownName, describeError(reply));
        }
    }
    if (reply.type() != QDBusMessage::ReplyMessage) {
        throwFailure(reply);
    }
    return wantResult ? resultOf(reply) : Variant{};
}

QDBusMessage DBusAutomationObject::callMethod(const QString& member,
                                              const std::optional<std::u16string>& argument) const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(owner_, path_, QLatin1String(protocol::automationInterface), member);
    call.setAutoStartService(false);
    if (argument) {
        call << QString::fromUtf16(argument->data(), static_cast<qsizetype>(argument->size()));
    }
    return link_->callWithRetry(call, busName_);
}

QDBusMessage DBusAutomationObject::getProperty(const QString& member) const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(owner_, path_, QLatin1String(protocol::propertiesInterface), QStringLiteral("Get"));
    call.setAutoStartService(false);
    call << QString::fromLatin1(protocol::automationInterface) << member;
    return link_->callWithRetry(call, busName_);
}

Variant DBusAutomationObject::resultOf(const QDBusMessage& reply) const {
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.isEmpty()) {
        return {};
    }
    return variantFromReply(arguments.front(), [this](const QString& path) -> ObjectRef {
        return std::make_shared<DBusAutomationObject>(link_, busName_, owner_, path);
    });
}

}  // namespace orvane::cadlink::dbus
