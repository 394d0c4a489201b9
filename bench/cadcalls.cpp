#include "bench/cadcalls.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <thread>
#include <vector>

#include "bench/stats.h"
#include "cadlink/cadconnection.h"
#include "cadlink/cadguard.h"
#include "cadlink/cadmonitor.h"
#include "cadlink/dbus/busname.h"
#include "cadlink/dbus/dbusruntime.h"
#include "core/menucommands.h"
#include "core/panelcore.h"
#include "core/tests/quiethost.h"

namespace orvane::bench {

namespace {

const QString kProgId = QStringLiteral("OrvaneBench.Application");
const QString kInterface = QStringLiteral("org.orvane.Automation");

// Window calls cost nothing and the waits of BringCADToFront are skipped,
// so only the automation path is measured.
class NoWaitWindowSystem final : public cadlink::WindowSystem {
public:
    bool IsIconic(cadlink::WindowHandle) override { return false; }
    bool OpenIcon(cadlink::WindowHandle) override { return true; }
    bool SetForegroundWindow(cadlink::WindowHandle window) override {
        foreground_ = window;
        return true;
    }
    cadlink::WindowHandle GetForegroundWindow() override { return foreground_; }
    void keybd_event(std::uint8_t, bool) override {}
    void Sleep(std::uint32_t) override {}
    bool IsWindow(cadlink::WindowHandle) override { return true; }
    cadlink::WindowHandle ImmGetDefaultIMEWnd(cadlink::WindowHandle) override { return 0; }
    std::intptr_t imeGetOpenStatus(cadlink::WindowHandle) override { return 0; }
    void imeSetOpenStatus(cadlink::WindowHandle, bool) override {}

private:
    cadlink::WindowHandle foreground_ = 0;
};

class QuietWindows final : public CommandWindows {
public:
    void showInformation(std::u16string_view, std::u16string_view) override {}
    bool showTargetCADDialog() override { return false; }
    std::u16string targetDialogName() const override { return {}; }
    void setDialogTopMost(bool) override {}
    void setPanelTopMost(bool) override {}
    void processPendingMessages() override {}
};

class QuietPanel final : public cadlink::MonitoredPanel {
public:
    std::uint32_t lampColour() const override { return lamp_; }
    void setLampColour(std::uint32_t rgb) override { lamp_ = rgb; }
    bool imeOffTicked() const override { return true; }
    bool cadSeen() const override { return seen_; }
    void setCadSeen(bool seen) override { seen_ = seen; }
    void requestClose() override {}

private:
    std::uint32_t lamp_ = 0;
    bool seen_ = false;
};

// The calls the panel's paths make, written out with nothing around them.
class RawBus {
public:
    explicit RawBus(QString busName) : busName_(std::move(busName)) {}

    QString nameOwner() const {
        QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                          QStringLiteral("/org/freedesktop/DBus"),
                                                          QStringLiteral("org.freedesktop.DBus"),
                                                          QStringLiteral("GetNameOwner"));
        ask.setAutoStartService(false);
        ask << busName_;
        const QDBusMessage reply = bus_.call(ask, QDBus::Block);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString() : QString();
    }

    QDBusMessage call(const QString& owner, const QString& path, const QString& member,
                      const QVariantList& arguments = {}) const {
        QDBusMessage message = QDBusMessage::createMethodCall(owner, path, kInterface, member);
        message.setAutoStartService(false);
        message.setArguments(arguments);
        return bus_.call(message, QDBus::Block);
    }

private:
    QString busName_;
    QDBusConnection bus_ = QDBusConnection::sessionBus();
};

int countCalls(const QString& logPath) {
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly)) {
        return 0;
    }
    int calls = 0;
    for (const QByteArray& line : log.readAll().split('\n')) {
        calls += line.startsWith("CALL ") ? 1 : 0;
    }
    return calls;
}

}  // namespace

CadCalls measureCadCalls(const QString& democad, int runs) {
    CadCalls result;
    QTemporaryDir folder;
    const QString logPath = folder.filePath(QStringLiteral("democad.log"));
    QProcess cad;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    cad.setProcessEnvironment(environment);
    cad.start(democad, {QStringLiteral("--log"), logPath, kProgId});
    const auto encoded = cadlink::dbus::busNameForProgId(u"OrvaneBench.Application");
    const RawBus raw(QString::fromStdString(encoded.value_or(std::string())));
    const auto start = Clock::now();
    while (raw.nameOwner().isEmpty() && Clock::now() - start < std::chrono::seconds(15)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    cadlink::dbus::DBusAutomationRuntime runtime;
    NoWaitWindowSystem windows;
    const std::u16string progId = u"OrvaneBench.Application";
    cadlink::CadConnection connection(runtime, windows, [&] { return progId; });
    cadlink::CadGuard guard(connection);
    testing::QuietHost host;
    PanelCore core(u"/nonexistent/Orvane", host, {}, [](const Error&) {});
    core.state().slots().setCaption(101, u"_LINE: line");
    QuietWindows commandWindows;
    MenuCommands commands(core, guard, commandWindows, u"bench");
    QuietPanel panel;
    cadlink::CadMonitor monitor(connection, panel);

    const int callsBefore = countCalls(logPath);
    commands.N1011Click(101);
    result.callsPerClick = countCalls(logPath) - callsBefore;
    const int callsBeforeTick = countCalls(logPath);
    monitor.Timer1Timer();
    result.callsPerTick = countCalls(logPath) - callsBeforeTick;

    std::vector<double> clicks;
    std::vector<double> clickFloors;
    std::vector<double> ticks;
    std::vector<double> tickFloors;
    for (int run = 0; run < runs; ++run) {
        clicks.push_back(timeOnce([&] { commands.N1011Click(101); }));
        clickFloors.push_back(timeOnce([&] {
            raw.nameOwner();
            const QString owner = raw.nameOwner();
            for (int hwnd = 0; hwnd < 3; ++hwnd) {
                raw.call(owner, QStringLiteral("/Application"), QStringLiteral("HWND"));
            }
            const QDBusMessage document = raw.call(owner, QStringLiteral("/Application"), QStringLiteral("ActiveDocument"));
            raw.call(owner, qvariant_cast<QDBusObjectPath>(document.arguments().value(0)).path(),
                     QStringLiteral("SendCommand"), {QStringLiteral("_LINE\r")});
        }));
    }
    // Apart from the clicks: after a command the CAD is still busy showing
    // it, which would slow whichever call came next.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (int run = 0; run < runs; ++run) {
        ticks.push_back(timeOnce([&] { monitor.Timer1Timer(); }));
        tickFloors.push_back(timeOnce([&] {
            raw.nameOwner();
            raw.call(raw.nameOwner(), QStringLiteral("/Application"), QStringLiteral("HWND"));
        }));
    }
    result.click = median(clicks);
    result.clickRoundTrips = median(clickFloors);
    result.tick = median(ticks);
    result.tickRoundTrips = median(tickFloors);
    cad.kill();
    cad.waitForFinished(5000);
    return result;
}

}  // namespace orvane::bench
