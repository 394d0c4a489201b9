#include "tests/e2e/accessibletext.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

#include <optional>

namespace orvane::e2e {

namespace {

const QString kConnectionName = QStringLiteral("orvane-e2e-accessibility");
const QString kAccessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
// A message box has a handful of nodes; the bounds only stop a runaway tree.
constexpr int kMaxDepth = 16;
constexpr int kMaxNodes = 5000;

struct AccessibleRef {
    QString service;
    QDBusObjectPath path;
};

QString accessibilityAddress() {
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                      QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    const QDBusReply<QString> address = QDBusConnection::sessionBus().call(ask, QDBus::Block, 10000);
    return address.isValid() ? address.value() : QString();
}

QDBusConnection accessibilityBus() {
    QDBusConnection existing(kConnectionName);
    if (existing.isConnected()) {
        return existing;
    }
    return QDBusConnection::connectToBus(accessibilityAddress(), kConnectionName);
}

QList<AccessibleRef> childrenOf(const QDBusConnection& bus, const AccessibleRef& node) {
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(node.service, node.path.path(), kAccessibleInterface, QStringLiteral("GetChildren")),
        QDBus::Block, 5000);
    QList<AccessibleRef> children;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        return children;
    }
    const auto argument = reply.arguments().front().value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        AccessibleRef child;
        argument.beginStructure();
        argument >> child.service >> child.path;
        argument.endStructure();
        children << child;
    }
    argument.endArray();
    return children;
}

QString nameOf(const QDBusConnection& bus, const AccessibleRef& node) {
    QDBusMessage get = QDBusMessage::createMethodCall(node.service, node.path.path(),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kAccessibleInterface << QStringLiteral("Name");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments().front().value<QDBusVariant>().variant().toString();
}

// Breadth first: a box's text lies a few levels down, the panel's hundreds
// of menu items further. Visits named nodes until visit says stop.
void visitNamed(const QDBusConnection& bus, qint64 pid,
                const std::function<bool(const AccessibleRef&, const QString&)>& visit) {
    QList<AccessibleRef> level;
    for (const QString& service : bus.interface()->registeredServiceNames().value()) {
        if (service.startsWith(u':') && bus.interface()->servicePid(service).value() == static_cast<uint>(pid)) {
            level << AccessibleRef{service, QDBusObjectPath(kRootPath)};
        }
    }
    int visited = 0;
    for (int depth = 0; depth <= kMaxDepth && !level.isEmpty(); ++depth) {
        QList<AccessibleRef> next;
        for (const AccessibleRef& node : level) {
            if (++visited > kMaxNodes) {
                return;
            }
            if (const QString name = nameOf(bus, node); !name.isEmpty() && visit(node, name)) {
                return;
            }
            for (const AccessibleRef& child : childrenOf(bus, node)) {
                if (child.service == node.service) {
                    next << child;
                }
            }
        }
        level = next;
    }
}

}  // namespace

bool AccessibleText::startBus() { return !accessibilityAddress().isEmpty(); }

QStringList AccessibleText::namesOf(qint64 pid, const std::function<bool(const QString&)>& stopAt) {
    const QDBusConnection bus = accessibilityBus();
    QStringList names;
    if (bus.isConnected()) {
        visitNamed(bus, pid, [&](const AccessibleRef&, const QString& name) {
            names << name;
            return stopAt && stopAt(name);
        });
    }
    return names;
}

bool AccessibleText::press(qint64 pid, const QString& wanted) {
    const QDBusConnection bus = accessibilityBus();
    if (!bus.isConnected()) {
        return false;
    }
    std::optional<AccessibleRef> found;
    visitNamed(bus, pid, [&](const AccessibleRef& node, const QString& name) {
        if (name == wanted) {
            found = node;
        }
        return found.has_value();
    });
    if (!found) {
        return false;
    }
    // A menu item's first and only action presses it. The panel answers
    // once the item's handler has run, which drives the CAD.
    QDBusMessage doAction = QDBusMessage::createMethodCall(found->service, found->path.path(),
                                                           QStringLiteral("org.a11y.atspi.Action"),
                                                           QStringLiteral("DoAction"));
    doAction << 0;
    const QDBusReply<bool> done = bus.call(doAction, QDBus::Block, 30000);
    return done.isValid() && done.value();
}

}  // namespace orvane::e2e
