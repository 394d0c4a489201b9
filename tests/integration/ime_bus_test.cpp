// The input-method backend against a bus: a fake Fcitx controller on the
// session bus and on a private bus that could start it, and the real Fcitx 5
// where it is installed. The desktop tests need DISPLAY and a session bus.

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

#include "cadlink/x11/fcitx5.h"
#include "tests/integration/desktoptest.h"

namespace orvane::integration {
namespace {

using cadlink::x11::Fcitx5Framework;
using cadlink::x11::imeBusCaller;

const QString kFcitxName = QStringLiteral("org.fcitx.Fcitx5");

bool fcitxNameOwned(const QDBusConnection& bus) {
    return bus.interface() != nullptr && bus.interface()->isServiceRegistered(kFcitxName).value();
}

// The fake controller, started by the test; its output is the list of calls.
class FakeFcitx {
public:
    explicit FakeFcitx(int state) {
        process_.start(QStringLiteral(FAKE_FCITX_PATH),
                       {QStringLiteral("--state"), QString::number(state)});
        ready_ = waitForLine("READY");
    }
    ~FakeFcitx() {
        process_.kill();
        process_.waitForFinished();
    }
    FakeFcitx(const FakeFcitx&) = delete;
    FakeFcitx& operator=(const FakeFcitx&) = delete;

    bool ready() const { return ready_; }
    int count(const QString& call) const { return calls_.count(call); }
    // A call of our own as a barrier: once its line shows, every call sent
    // before it has been printed too.
    void syncWith(Fcitx5Framework& fcitx) {
        const int before = count(QStringLiteral("State"));
        fcitx.isOpen();
        ASSERT_TRUE(waitUntil([&] {
            read(10);
            return count(QStringLiteral("State")) > before;
        }));
    }

private:
    bool waitForLine(const char* line) {
        return waitUntil([&] {
            read(50);
            return calls_.contains(QLatin1String(line));
        });
    }
    void read(int ms) {
        process_.waitForReadyRead(ms);
        buffer_ += process_.readAllStandardOutput();
        while (buffer_.contains('\n')) {
            const qsizetype end = buffer_.indexOf('\n');
            calls_.append(QString::fromUtf8(buffer_.left(end)));
            buffer_.remove(0, end + 1);
        }
    }

    QProcess process_;
    QByteArray buffer_;
    QStringList calls_;
    bool ready_ = false;
};

class ImeDesktopTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        if (fcitxNameOwned(QDBusConnection::sessionBus())) {
            GTEST_SKIP() << "an input-method framework already runs on this bus";
        }
    }
};

TEST_F(ImeDesktopTest, InputMethodIsSwitchedOffOnlyInTheFocusedCadWindow) {
    FakeFcitx fake(2);
    ASSERT_TRUE(fake.ready());
    Fcitx5Framework direct(imeBusCaller(QDBusConnection::sessionBus()));
    const auto cad = startDemo();
    const auto other = startDemo();
    const auto cadWindow = cad->windowId();
    const auto otherWindow = other->windowId();

    ASSERT_TRUE(windows->SetForegroundWindow(cadWindow));
    EXPECT_EQ(windows->ImmGetDefaultIMEWnd(cadWindow), cadWindow);
    EXPECT_EQ(windows->imeGetOpenStatus(cadWindow), 1);
    EXPECT_EQ(windows->ImmGetDefaultIMEWnd(otherWindow), 0U);
    windows->imeSetOpenStatus(cadWindow, false);
    fake.syncWith(direct);
    EXPECT_EQ(fake.count(QStringLiteral("Deactivate")), 1);
    EXPECT_EQ(windows->imeGetOpenStatus(cadWindow), 0);

    direct.setOpen(true);
    ASSERT_TRUE(windows->SetForegroundWindow(otherWindow));
    fake.syncWith(direct);
    const int asked = fake.count(QStringLiteral("State"));
    EXPECT_EQ(windows->ImmGetDefaultIMEWnd(cadWindow), 0U);
    EXPECT_EQ(windows->imeGetOpenStatus(cadWindow), 0);
    windows->imeSetOpenStatus(cadWindow, false);
    fake.syncWith(direct);
    EXPECT_EQ(fake.count(QStringLiteral("Deactivate")), 1);
    EXPECT_EQ(fake.count(QStringLiteral("State")), asked + 1);
    EXPECT_EQ(direct.isOpen(), true);
}

TEST_F(ImeDesktopTest, WithoutAFrameworkNoWindowHasAnImeWindow) {
    const auto cad = startDemo();
    ASSERT_TRUE(windows->SetForegroundWindow(cad->windowId()));
    EXPECT_EQ(windows->ImmGetDefaultIMEWnd(cad->windowId()), 0U);
    EXPECT_EQ(windows->imeGetOpenStatus(cad->windowId()), 0);
}

// A private bus that knows how to start the fake controller, as a desktop
// session knows how to start Fcitx.
class ActivatingBus {
public:
    ActivatingBus() {
        const QString services = dir_.filePath(QStringLiteral("services"));
        QDir().mkpath(services);
        writeFile(services + QStringLiteral("/org.fcitx.Fcitx5.service"),
                  "[D-BUS Service]\nName=org.fcitx.Fcitx5\nExec=" + QByteArray(FAKE_FCITX_PATH) +
                      " --state 2 --pid-file " + pidFile().toUtf8() + "\n");
        writeFile(
            dir_.filePath(QStringLiteral("bus.conf")),
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig>\n"
            "  <type>session</type>\n"
            "  <listen>unix:dir=" +
                dir_.path().toUtf8() +
                "</listen>\n"
                "  <auth>EXTERNAL</auth>\n"
                "  <servicedir>" +
                services.toUtf8() +
                "</servicedir>\n"
                "  <policy context=\"default\">\n"
                "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                "    <allow eavesdrop=\"true\"/>\n"
                "    <allow own=\"*\"/>\n"
                "  </policy>\n"
                "</busconfig>\n");
        daemon_.start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
             QStringLiteral("--config-file=") + dir_.filePath(QStringLiteral("bus.conf"))});
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead(10000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~ActivatingBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("ime-activating"));
        QFile pid(pidFile());
        if (pid.open(QIODevice::ReadOnly)) {
            ::kill(pid.readAll().toInt(), SIGKILL);
        }
        daemon_.kill();
        daemon_.waitForFinished();
    }
    ActivatingBus(const ActivatingBus&) = delete;
    ActivatingBus& operator=(const ActivatingBus&) = delete;

    QDBusConnection connect() const {
        return QDBusConnection::connectToBus(address_, QStringLiteral("ime-activating"));
    }
    bool started() const { return !address_.isEmpty(); }
    QString pidFile() const { return dir_.filePath(QStringLiteral("started.pid")); }

private:
    static void writeFile(const QString& path, const QByteArray& content) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
};

TEST(ImeAutoStartTest, CallsNeverStartTheInputMethodDaemon) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        GTEST_SKIP() << "no dbus-daemon";
    }
    ActivatingBus bus;
    ASSERT_TRUE(bus.started());
    const QDBusConnection connection = bus.connect();
    ASSERT_TRUE(connection.isConnected());

    // A long timeout: a started daemon would have time to answer.
    const auto caller = imeBusCaller(connection, 20000);
    Fcitx5Framework fcitx(caller);
    EXPECT_EQ(fcitx.isOpen(), std::nullopt);
    EXPECT_FALSE(fcitx.setOpen(false));
    const QDBusMessage plain = QDBusMessage::createMethodCall(
        kFcitxName, QStringLiteral("/controller"), QStringLiteral("org.fcitx.Fcitx.Controller1"),
        QStringLiteral("State"));
    EXPECT_EQ(caller(plain).errorName(),
              QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"));
    EXPECT_FALSE(fcitxNameOwned(connection));
    EXPECT_FALSE(QFile::exists(bus.pidFile()));

    // The same call with auto-start on does start it: the bus is set up to.
    const QDBusMessage started = connection.call(plain, QDBus::Block, 20000);
    ASSERT_EQ(started.type(), QDBusMessage::ReplyMessage) << started.errorMessage().toStdString();
    EXPECT_TRUE(QFile::exists(bus.pidFile()));
    EXPECT_EQ(fcitx.isOpen(), true);
}

// The real Fcitx 5, headless, with two keyboard layouts and one input state
// shared by every window.
class RealFcitx {
public:
    RealFcitx() {
        const QString config = dir_.filePath(QStringLiteral("config/fcitx5"));
        QDir().mkpath(config);
        writeFile(config + QStringLiteral("/profile"),
                  "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=keyboard-jp\n\n"
                  "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n"
                  "[Groups/0/Items/1]\nName=keyboard-jp\nLayout=\n\n"
                  "[GroupOrder]\n0=Default\n");
        writeFile(config + QStringLiteral("/config"), "[Behavior]\nShareInputState=All\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           dir_.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
        process_.setProcessEnvironment(environment);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(QStringLiteral("fcitx5"),
                       {QStringLiteral("--disable=all"),
                        QStringLiteral("--enable=dbus,dbusfrontend,keyboard,xcb,xim")});
    }
    ~RealFcitx() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    RealFcitx(const RealFcitx&) = delete;
    RealFcitx& operator=(const RealFcitx&) = delete;

    bool started() { return process_.waitForStarted(); }

private:
    static void writeFile(const QString& path, const QByteArray& content) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    QTemporaryDir dir_;
    QProcess process_;
};

TEST_F(ImeDesktopTest, RealFcitxIsSwitchedOffInTheFocusedCadWindow) {
    if (QStandardPaths::findExecutable(QStringLiteral("fcitx5")).isEmpty()) {
        GTEST_SKIP() << "fcitx5 is not installed";
    }
    RealFcitx fcitx5;
    ASSERT_TRUE(fcitx5.started());
    Fcitx5Framework direct(imeBusCaller(QDBusConnection::sessionBus()));
    ASSERT_TRUE(waitUntil([&] { return direct.isOpen().has_value(); }))
        << "Fcitx 5 did not come up";
    EXPECT_EQ(direct.isOpen(), false);

    const auto cad = startDemo();
    const auto window = cad->windowId();
    ASSERT_TRUE(windows->SetForegroundWindow(window));
    ASSERT_TRUE(direct.setOpen(true));
    EXPECT_EQ(direct.isOpen(), true);
    EXPECT_EQ(windows->ImmGetDefaultIMEWnd(window), window);
    EXPECT_EQ(windows->imeGetOpenStatus(window), 1);
    windows->imeSetOpenStatus(window, false);
    EXPECT_EQ(windows->imeGetOpenStatus(window), 0);
    EXPECT_EQ(direct.isOpen(), false);
}

}  // namespace
}  // namespace orvane::integration
