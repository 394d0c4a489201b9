#include "cadlink/dbus/replyvalue.h"

#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>

namespace orvane::cadlink::dbus {

namespace {

// A variant inside a variant is legal on the bus; a CAD has no reason to nest
// deeply, and a bound keeps a hostile answer from recursing without end.
constexpr int maxVariantDepth = 8;

std::u16string toU16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

[[noreturn]] void throwMismatch(const QVariant& argument) {
    throw AutomationError(status::TypeMismatch,
                          std::string("unsupported answer type ") + (argument.typeName() ? argument.typeName() : "?"));
}

Variant convert(const QVariant& argument, const ObjectForPath& objectForPath, int depth) {
    const QMetaType type = argument.metaType();
    switch (type.id()) {
    case QMetaType::Bool:
        return argument.toBool();
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return static_cast<std::int64_t>(argument.toLongLong());
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return static_cast<std::uint64_t>(argument.toULongLong());
    case QMetaType::Double:
        return argument.toDouble();
    case QMetaType::QString:
        return toU16(argument.toString());
    default:
        break;
    }
    if (type == QMetaType::fromType<QDBusObjectPath>()) {
        return objectForPath(argument.value<QDBusObjectPath>().path());
    }
    if (type == QMetaType::fromType<QDBusSignature>()) {
        return toU16(argument.value<QDBusSignature>().signature());
    }
    if (type == QMetaType::fromType<QDBusVariant>() && depth < maxVariantDepth) {
        return convert(argument.value<QDBusVariant>().variant(), objectForPath, depth + 1);
    }
    throwMismatch(argument);
}

}  // namespace

Variant variantFromReply(const QVariant& argument, const ObjectForPath& objectForPath) {
    return convert(argument, objectForPath, 0);
}

}  // namespace orvane::cadlink::dbus
