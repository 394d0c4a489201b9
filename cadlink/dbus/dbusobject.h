#pragma once

#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "cadlink/automation.h"
#include "cadlink/dbus/dbuslink.h"

namespace orvane::cadlink::dbus {

// An object served on the bus: the owner's unique name and an object path,
// with the bus name the owner was found under. Member names get ids locally;
// the bus resolves them by name at each call.
class DBusAutomationObject final : public AutomationObject {
public:
    DBusAutomationObject(std::shared_ptr<const DBusLink> link, QString busName, QString owner, QString path);

    DispId GetIDsOfNames(std::u16string_view name) override;
    Variant Invoke(DispId member, CallKind kind, const std::optional<std::u16string>& argument,
                   bool wantResult) override;

private:
    QDBusMessage callMethod(const QString& member, const std::optional<std::u16string>& argument) const;
    QDBusMessage getProperty(const QString& member) const;
    Variant resultOf(const QDBusMessage& reply) const;

    std::shared_ptr<const DBusLink> link_;
    QString busName_;
    QString owner_;
    QString path_;
    std::vector<QString> names_;
};

}  // namespace orvane::cadlink::dbus
