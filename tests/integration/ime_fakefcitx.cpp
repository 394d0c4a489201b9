// A stand-in for the Fcitx 5 controller: serves org.fcitx.Fcitx.Controller1
// as "org.fcitx.Fcitx5" and prints one line per call it receives.
//   ime_fake_fcitx [--state N] [--pid-file PATH]
// Started by the bus for activation it uses the bus that started it. It ends
// when its bus goes away.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <cstdio>

namespace {

void printLine(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

class FakeController : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.fcitx.Fcitx.Controller1")

public:
    explicit FakeController(int state) : state_(state) {}

public slots:
    int State() {
        printLine("State");
        return state_;
    }
    void Activate() {
        printLine("Activate");
        state_ = 2;
    }
    void Deactivate() {
        printLine("Deactivate");
        state_ = 1;
    }

private:
    int state_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int state = 1;
    QString pidFile;
    const QStringList arguments = app.arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--state")) {
            state = arguments[i + 1].toInt();
        } else if (arguments[i] == QLatin1String("--pid-file")) {
            pidFile = arguments[i + 1];
        }
    }
    QDBusConnection bus =
        qEnvironmentVariableIsSet("DBUS_STARTER_ADDRESS")
            ? QDBusConnection::connectToBus(QDBusConnection::ActivationBus, "starter")
            : QDBusConnection::sessionBus();
    FakeController controller(state);
    if (!bus.registerObject(QStringLiteral("/controller"), &controller,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.fcitx.Fcitx5"))) {
        printLine("FAILED");
        return 1;
    }
    if (!pidFile.isEmpty()) {
        QFile file(pidFile);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(QByteArray::number(QCoreApplication::applicationPid()));
        }
    }
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&bus] {
        if (!bus.isConnected()) {
            QCoreApplication::quit();
        }
    });
    watch.start(200);
    printLine("READY");
    return app.exec();
}

#include "ime_fakefcitx.moc"
