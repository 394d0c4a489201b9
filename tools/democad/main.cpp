#include <QApplication>
#include <QDBusConnection>
#include <QTimer>

#include <cstdio>
#include <string>

#include "cadlink/dbus/busname.h"
#include "tools/democad/automationservice.h"
#include "tools/democad/democadwindow.h"
#include "tools/democad/eventlog.h"
#include "tools/democad/options.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QString error;
    const democad::Options options = democad::parseOptions(app.arguments(), error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    democad::EventLog log(options.logFile);
    if (!options.logFile.isEmpty() && !log.isOpen()) {
        std::fprintf(stderr, "cannot open the log %s\n", qPrintable(options.logFile));
        return 2;
    }

    democad::DemoCadWindow window([&log](const QString& key) { log.write(key); });
    democad::AutomationService service(options, log,
                                       {[&window] { return window.nativeWindowId(); },
                                        [&window](const QString& text) { window.showCommand(text); }});

    QDBusConnection bus = QDBusConnection::sessionBus();
    // Objects first, then the name: a caller that sees the name finds them.
    if (!bus.registerVirtualObject(QStringLiteral("/"), &service, QDBusConnection::SubPath)) {
        std::fprintf(stderr, "cannot register the objects: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    const auto encoded = orvane::cadlink::dbus::busNameForProgId(
        std::u16string_view(reinterpret_cast<const char16_t*>(options.progId.utf16()), options.progId.size()));
    if (!encoded) {
        std::fprintf(stderr, "no bus name can serve the ProgID %s\n", qPrintable(options.progId));
        return 2;
    }
    const QString busName = QString::fromStdString(*encoded);
    if (!bus.registerService(busName)) {
        std::fprintf(stderr, "cannot own %s: %s\n", qPrintable(busName), qPrintable(bus.lastError().message()));
        return 1;
    }

    if (options.startMinimised) {
        window.showMinimized();
    } else {
        window.show();
    }
    if (options.quitAfterSeconds > 0) {
        QTimer::singleShot(options.quitAfterSeconds * 1000, &app, &QCoreApplication::quit);
    }
    log.write(QStringLiteral("READY %1").arg(window.nativeWindowId()));
    return app.exec();
}
