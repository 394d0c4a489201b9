#include "tools/democad/options.h"

#include <QCommandLineParser>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>

#include <limits>
#include <type_traits>

namespace democad {

namespace {

bool parseNamedValue(const QString& text, QMap<QString, QVariant>& into) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0) {
        return false;
    }
    bool valid = false;
    const QVariant value = parseTypedValue(text.mid(equals + 1), valid);
    if (valid) {
        into.insert(text.left(equals), value);
    }
    return valid;
}

template <typename T>
QVariant number(const QString& text, bool& valid) {
    if constexpr (std::is_signed_v<T>) {
        const qlonglong value = text.toLongLong(&valid);
        valid = valid && value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
        return QVariant::fromValue(static_cast<T>(value));
    } else {
        const qulonglong value = text.toULongLong(&valid);
        valid = valid && value <= std::numeric_limits<T>::max();
        return QVariant::fromValue(static_cast<T>(value));
    }
}

}  // namespace

QVariant parseTypedValue(const QString& text, bool& valid) {
    valid = true;
    if (text == QLatin1String("none")) {
        return {};
    }
    const qsizetype colon = text.indexOf(u':');
    const QString signature = text.left(colon);
    const QString value = colon < 0 ? QString() : text.mid(colon + 1);
    valid = colon > 0;
    if (!valid) {
        return {};
    }
    if (signature == QLatin1String("y")) return number<uchar>(value, valid);
    if (signature == QLatin1String("n")) return number<short>(value, valid);
    if (signature == QLatin1String("q")) return number<ushort>(value, valid);
    if (signature == QLatin1String("i")) return number<int>(value, valid);
    if (signature == QLatin1String("u")) return number<uint>(value, valid);
    if (signature == QLatin1String("x")) return number<qlonglong>(value, valid);
    if (signature == QLatin1String("t")) return number<qulonglong>(value, valid);
    if (signature == QLatin1String("b")) {
        valid = value == QLatin1String("true") || value == QLatin1String("false");
        return value == QLatin1String("true");
    }
    if (signature == QLatin1String("d")) {
        return value.toDouble(&valid);
    }
    if (signature == QLatin1String("s")) return value;
    if (signature == QLatin1String("o")) {
        const QDBusObjectPath path(value);
        valid = !path.path().isEmpty();
        return QVariant::fromValue(path);
    }
    if (signature == QLatin1String("g")) return QVariant::fromValue(QDBusSignature(value));
    if (signature == QLatin1String("as")) return value.split(u',');
    if (signature == QLatin1String("v")) {
        const QVariant inner = parseTypedValue(value, valid);
        return QVariant::fromValue(QDBusVariant(inner));
    }
    valid = false;
    return {};
}

Options parseOptions(const QStringList& arguments, QString& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A demo CAD serving the automation protocol on the session bus."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("progid"), QStringLiteral("The ProgID to serve."));
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("Write every event to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption busyEach(QStringLiteral("busy-each"), QStringLiteral("Answer RetryLater for MS after each call first arrives."), QStringLiteral("MS"));
    const QCommandLineOption busyLife(QStringLiteral("busy-life"), QStringLiteral("Answer RetryLater to everything for MS after start."), QStringLiteral("MS"));
    const QCommandLineOption reject(QStringLiteral("reject"), QStringLiteral("Reject every call."));
    const QCommandLineOption notQuiescent(QStringLiteral("not-quiescent"), QStringLiteral("Report never being quiescent."));
    const QCommandLineOption hwndZero(QStringLiteral("hwnd-zero"), QStringLiteral("Report HWND as 0."));
    const QCommandLineOption lack(QStringLiteral("lack"), QStringLiteral("Do not serve MEMBER at all, neither as a method nor as a property (repeatable)."), QStringLiteral("MEMBER"));
    const QCommandLineOption ignore(QStringLiteral("ignore"), QStringLiteral("Never answer MEMBER (repeatable)."), QStringLiteral("MEMBER"));
    const QCommandLineOption method(QStringLiteral("method"), QStringLiteral("Serve a method NAME answering a typed value, in place of the demo's own answer (repeatable)."), QStringLiteral("NAME=SIG:VALUE"));
    const QCommandLineOption property(QStringLiteral("property"), QStringLiteral("Serve a property NAME holding a typed value; a method of the demo's own by that name answers it too (repeatable)."), QStringLiteral("NAME=SIG:VALUE"));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"), QStringLiteral("Quit after SECONDS."), QStringLiteral("SECONDS"));
    const QCommandLineOption minimised(QStringLiteral("minimized"), QStringLiteral("Start minimised."));
    parser.addOptions({log, busyEach, busyLife, reject, notQuiescent, hwndZero, lack, ignore, method, property, quitAfter, minimised});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return {};
    }
    if (parser.isSet(QStringLiteral("help"))) {
        error = parser.helpText();
        return {};
    }
    Options options;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        error = QStringLiteral("only one ProgID");
        return {};
    }
    if (!positional.isEmpty()) {
        options.progId = positional.front();
    }
    options.logFile = parser.value(log);
    bool ok = true;
    const auto integer = [&](const QCommandLineOption& option) {
        if (!parser.isSet(option)) {
            return 0;
        }
        bool valid = false;
        const int value = parser.value(option).toInt(&valid);
        ok = ok && valid && value >= 0;
        return value;
    };
    options.busyEachCallMs = integer(busyEach);
    options.busyLifeMs = integer(busyLife);
    options.quitAfterSeconds = integer(quitAfter);
    options.rejectCalls = parser.isSet(reject);
    options.notQuiescent = parser.isSet(notQuiescent);
    options.hwndZero = parser.isSet(hwndZero);
    options.startMinimised = parser.isSet(minimised);
    for (const QString& name : parser.values(lack)) {
        options.lackingMembers.insert(name);
    }
    for (const QString& name : parser.values(ignore)) {
        options.unansweredMembers.insert(name);
    }
    for (const QString& text : parser.values(method)) {
        ok = ok && parseNamedValue(text, options.extraMethods);
    }
    for (const QString& text : parser.values(property)) {
        ok = ok && parseNamedValue(text, options.extraProperties);
    }
    if (!ok) {
        error = QStringLiteral("malformed option value");
    }
    return options;
}

}  // namespace democad
