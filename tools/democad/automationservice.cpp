#include "tools/democad/automationservice.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <utility>

#include "tools/democad/eventlog.h"

namespace democad {

namespace {

const QString automationInterface = QStringLiteral("org.orvane.Automation");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString applicationPath = QStringLiteral("/Application");
const QString documentPath = QStringLiteral("/Document1");

QString statePathFor(const QString& member) {
    if (member == QLatin1String("GetAcadState")) return QStringLiteral("/AcadState");
    if (member == QLatin1String("GetGcadState")) return QStringLiteral("/GcadState");
    if (member == QLatin1String("GetZcadState")) return QStringLiteral("/ZcadState");
    return {};
}

bool isStatePath(const QString& path) {
    return path == QLatin1String("/AcadState") || path == QLatin1String("/GcadState") ||
           path == QLatin1String("/ZcadState");
}

QString busyKey(const QDBusMessage& message, const QString& member) {
    QString key = message.path() + u' ' + message.interface() + u' ' + member;
    for (const QVariant& argument : message.arguments()) {
        key += u' ' + argument.toString();
    }
    return key;
}

}  // namespace

AutomationService::AutomationService(const Options& options, EventLog& log, CadFacts facts, QObject* parent)
    : QDBusVirtualObject(parent), options_(options), log_(log), facts_(std::move(facts)) {
    life_.start();
}

QString AutomationService::introspect(const QString& path) const {
    if (path == applicationPath) {
        return QStringLiteral(
            "<interface name=\"org.orvane.Automation\">"
            "<method name=\"HWND\"><arg direction=\"out\" type=\"x\"/></method>"
            "<method name=\"FullName\"><arg direction=\"out\" type=\"s\"/></method>"
            "<method name=\"Path\"><arg direction=\"out\" type=\"s\"/></method>"
            "<method name=\"ActiveDocument\"><arg direction=\"out\" type=\"o\"/></method>"
            "<method name=\"GetAcadState\"><arg direction=\"out\" type=\"o\"/></method>"
            "<method name=\"GetGcadState\"><arg direction=\"out\" type=\"o\"/></method>"
            "<method name=\"GetZcadState\"><arg direction=\"out\" type=\"o\"/></method>"
            "</interface>");
    }
    if (path == documentPath) {
        return QStringLiteral(
            "<interface name=\"org.orvane.Automation\">"
            "<method name=\"SendCommand\"><arg direction=\"in\" type=\"s\"/></method>"
            "</interface>");
    }
    if (isStatePath(path)) {
        return QStringLiteral(
            "<interface name=\"org.orvane.Automation\">"
            "<method name=\"IsQuiescent\"><arg direction=\"out\" type=\"b\"/></method>"
            "</interface>");
    }
    return {};
}

bool AutomationService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage) {
        return false;
    }
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Introspectable") &&
        message.member() == QLatin1String("Introspect")) {
        connection.send(message.createReply(QStringLiteral("<node>") + introspect(message.path()) +
                                            QStringLiteral("</node>")));
        return true;
    }
    QString member = message.member();
    bool asProperty = false;
    if (message.interface() == propertiesInterface) {
        const QList<QVariant> arguments = message.arguments();
        if (message.member() != QLatin1String("Get") || arguments.size() != 2 ||
            arguments[0].metaType() != QMetaType::fromType<QString>() ||
            arguments[1].metaType() != QMetaType::fromType<QString>()) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                                     QStringLiteral("only Get is served")));
            return true;
        }
        if (arguments[0].toString() != automationInterface) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                                                     QStringLiteral("no such interface")));
            return true;
        }
        member = arguments[1].toString();
        asProperty = true;
    } else if (!message.interface().isEmpty() && message.interface() != automationInterface) {
        connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                                                 QStringLiteral("no such interface")));
        return true;
    }
    log_.write(QStringLiteral("CALL ") + member);
    const Answer result = answer(message, member, asProperty);
    if (result.send) {
        connection.send(result.reply);
    }
    return true;
}

AutomationService::Answer AutomationService::answer(const QDBusMessage& message, const QString& member,
                                                   bool asProperty) {
    if (options_.unansweredMembers.contains(member)) {
        log_.write(QStringLiteral("IGNORED ") + member);
        return {QDBusMessage(), false};
    }
    if (options_.rejectCalls) {
        log_.write(QStringLiteral("REJECTED ") + member);
        return {message.createErrorReply(QStringLiteral("org.orvane.Automation.Error.Rejected"),
                                         QStringLiteral("the call is rejected"))};
    }
    if (busyFor(message, member)) {
        log_.write(QStringLiteral("BUSY ") + member);
        return {message.createErrorReply(QStringLiteral("org.orvane.Automation.Error.RetryLater"),
                                         QStringLiteral("busy, try again later"))};
    }
    bool found = false;
    QString invalidArgs;
    const QVariant value = options_.lackingMembers.contains(member) ? QVariant()
                           : message.path() == applicationPath
                               ? applicationValue(member, asProperty, found)
                               : objectValue(message.path(), member, message, found, invalidArgs);
    if (!invalidArgs.isEmpty()) {
        return {message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"), invalidArgs)};
    }
    if (!found) {
        return {message.createErrorReply(
            asProperty ? QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty")
                       : QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
            QStringLiteral("no member ") + member)};
    }
    if (!value.isValid()) {
        return {message.createReply()};
    }
    return {message.createReply(asProperty ? QVariant::fromValue(QDBusVariant(value)) : value)};
}

bool AutomationService::busyFor(const QDBusMessage& message, const QString& member) {
    if (life_.elapsed() < options_.busyLifeMs) {
        return true;
    }
    if (options_.busyEachCallMs <= 0) {
        return false;
    }
    const QString key = busyKey(message, member);
    const auto since = busySince_.constFind(key);
    if (since == busySince_.constEnd()) {
        busySince_.insert(key, life_.elapsed());
        return true;
    }
    if (life_.elapsed() - *since < options_.busyEachCallMs) {
        return true;
    }
    // Served now; the next call of the same kind is busy again.
    busySince_.remove(key);
    return false;
}

QVariant AutomationService::applicationValue(const QString& member, bool asProperty, bool& found) const {
    found = true;
    if (asProperty) {
        found = options_.extraProperties.contains(member);
        return options_.extraProperties.value(member);
    }
    if (const auto given = options_.extraMethods.constFind(member); given != options_.extraMethods.constEnd()) {
        return *given;
    }
    const QVariant own = ownApplicationValue(member, found);
    // A member holds one value, whichever way it is read.
    if (found && options_.extraProperties.contains(member)) {
        return options_.extraProperties.value(member);
    }
    return own;
}

QVariant AutomationService::ownApplicationValue(const QString& member, bool& found) const {
    found = true;
    if (member == QLatin1String("HWND")) {
        return static_cast<qlonglong>(options_.hwndZero ? 0 : facts_.windowId());
    }
    if (member == QLatin1String("FullName")) {
        return QCoreApplication::applicationFilePath();
    }
    if (member == QLatin1String("Path")) {
        return QCoreApplication::applicationDirPath();
    }
    if (member == QLatin1String("ActiveDocument")) {
        return QVariant::fromValue(QDBusObjectPath(documentPath));
    }
    if (const QString statePath = statePathFor(member); !statePath.isEmpty()) {
        return QVariant::fromValue(QDBusObjectPath(statePath));
    }
    found = false;
    return {};
}

QVariant AutomationService::objectValue(const QString& path, const QString& member, const QDBusMessage& message,
                                        bool& found, QString& invalidArgs) {
    found = false;
    if (path == documentPath && member == QLatin1String("SendCommand")) {
        found = true;
        const QList<QVariant> arguments = message.arguments();
        if (arguments.size() != 1 || arguments[0].metaType() != QMetaType::fromType<QString>()) {
            invalidArgs = QStringLiteral("SendCommand takes one string");
            return {};
        }
        const QString text = arguments[0].toString();
        log_.write(QStringLiteral("COMMAND ") + escapedText(text));
        facts_.onCommand(text);
        return {};
    }
    if (isStatePath(path) && member == QLatin1String("IsQuiescent")) {
        found = true;
        return !options_.notQuiescent;
    }
    return {};
}

}  // namespace democad
