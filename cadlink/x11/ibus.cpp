#include "cadlink/x11/ibus.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <QDir>
#include <QFile>

namespace orvane::cadlink::x11 {

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QVariant unwrapVariants(QVariant value) {
    while (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    return value;
}

// Reads the name from a serialised engine description, a structure of the
// type name, the attachments and then the engine's name. The signature is
// checked first: reading a value of another type is not safe.
std::optional<QString> engineNameOf(const QVariant& value) {
    const QVariant inner = unwrapVariants(value);
    if (inner.metaType() != QMetaType::fromType<QDBusArgument>()) {
        return std::nullopt;
    }
    const QDBusArgument description = qvariant_cast<QDBusArgument>(inner);
    if (!description.currentSignature().startsWith(QLatin1String("(sa{sv}s"))) {
        return std::nullopt;
    }
    description.beginStructure();
    QString typeName;
    description >> typeName;
    description.beginMap();
    while (!description.atEnd()) {
        QString key;
        QDBusVariant attachment;
        description.beginMapEntry();
        description >> key >> attachment;
        description.endMapEntry();
    }
    description.endMap();
    QString name;
    description >> name;
    return name;
}

std::optional<QStringList> engineNamesOf(const QVariant& value) {
    const QVariant inner = unwrapVariants(value);
    if (inner.metaType() != QMetaType::fromType<QDBusArgument>()) {
        return std::nullopt;
    }
    const QDBusArgument list = qvariant_cast<QDBusArgument>(inner);
    if (list.currentSignature() != QLatin1String("av")) {
        return std::nullopt;
    }
    QStringList names;
    list.beginArray();
    while (!list.atEnd()) {
        QDBusVariant element;
        list >> element;
        if (const auto name = engineNameOf(element.variant())) {
            names.append(*name);
        }
    }
    list.endArray();
    return names;
}

QString machineId() {
    for (const char* path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            const QString id = QString::fromLatin1(file.readAll()).trimmed();
            if (!id.isEmpty()) {
                return id;
            }
        }
    }
    return {};
}

}  // namespace

std::optional<bool> IBusFramework::isOpen() {
    const auto name = globalEngineName();
    if (!name) {
        return std::nullopt;
    }
    return !isKeyboardEngine(*name);
}

bool IBusFramework::setOpen(bool open) {
    if (open) {
        return globalEngineName().has_value();
    }
    const auto names = engineNames();
    if (!names) {
        return false;
    }
    const auto keyboard = firstKeyboardEngine(*names);
    if (!keyboard) {
        return true;
    }
    return call(QLatin1String(kIBusInterface), QStringLiteral("SetGlobalEngine"), {*keyboard})
               .type() == QDBusMessage::ReplyMessage;
}

std::optional<QString> IBusFramework::globalEngineName() const {
    const QDBusMessage reply =
        call(kPropertiesInterface, QStringLiteral("Get"),
             {QLatin1String(kIBusInterface), QStringLiteral("GlobalEngine")});
    if (!hasFirstArgument(reply)) {
        return std::nullopt;
    }
    return engineNameOf(reply.arguments().constFirst());
}

// ListEngines is the older form; newer daemons also offer the list as the
// Engines property.
std::optional<QStringList> IBusFramework::engineNames() const {
    const QDBusMessage listed =
        call(QLatin1String(kIBusInterface), QStringLiteral("ListEngines"), {});
    if (hasFirstArgument(listed)) {
        return engineNamesOf(listed.arguments().constFirst());
    }
    const QDBusMessage property = call(kPropertiesInterface, QStringLiteral("Get"),
                                       {QLatin1String(kIBusInterface), QStringLiteral("Engines")});
    if (hasFirstArgument(property)) {
        return engineNamesOf(property.arguments().constFirst());
    }
    return std::nullopt;
}

QDBusMessage IBusFramework::call(const QString& interface, const QString& member,
                                 const QVariantList& arguments) const {
    return call_(imeMethodCall(QLatin1String(kIBusService), QLatin1String(kIBusPath), interface,
                               member, arguments));
}

bool isKeyboardEngine(const QString& engineName) {
    return engineName.startsWith(QLatin1String("xkb:"));
}

std::optional<QString> firstKeyboardEngine(const QStringList& engineNames) {
    for (const QString& name : engineNames) {
        if (isKeyboardEngine(name)) {
            return name;
        }
    }
    return std::nullopt;
}

QString ibusAddressFilePath(const QString& configHome, const QString& machineId,
                            const QString& display) {
    QString host;
    QString number = QStringLiteral("0");
    const qsizetype colon = display.indexOf(u':');
    if (colon >= 0) {
        host = display.left(colon);
        number = display.mid(colon + 1).section(u'.', 0, 0);
    }
    if (host.isEmpty()) {
        host = QStringLiteral("unix");
    }
    return configHome + QStringLiteral("/ibus/bus/") + machineId + u'-' + host + u'-' + number;
}

QString ibusAddressFromFile(const QByteArray& content) {
    static const QByteArray key = "IBUS_ADDRESS=";
    for (const QByteArray& line : content.split('\n')) {
        if (line.startsWith(key)) {
            return QString::fromUtf8(line.mid(key.size())).trimmed();
        }
    }
    return {};
}

QString ibusAddress() {
    const QString fromEnvironment = qEnvironmentVariable("IBUS_ADDRESS");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty()) {
        configHome = QDir::homePath() + QStringLiteral("/.config");
    }
    QString path = qEnvironmentVariable("IBUS_ADDRESS_FILE");
    if (path.isEmpty()) {
        path = ibusAddressFilePath(configHome, machineId(), qEnvironmentVariable("DISPLAY"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return ibusAddressFromFile(file.readAll());
}

}  // namespace orvane::cadlink::x11
