#pragma once

#include <QVariant>

#include <functional>

#include "cadlink/automation.h"

namespace orvane::cadlink::dbus {

using ObjectForPath = std::function<ObjectRef(const QString& path)>;

// The automation value of a reply argument: a basic type, or a variant
// holding one; object paths become objects. Anything else (arrays, structs,
// dictionaries, file descriptors) throws AutomationError(TypeMismatch).
Variant variantFromReply(const QVariant& argument, const ObjectForPath& objectForPath);

}  // namespace orvane::cadlink::dbus
