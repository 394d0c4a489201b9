// First: the panel core has a member named slots, a keyword to Qt's headers.
#include "cadlink/messagefilter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "cadlink/cadconnection.h"
#include "cadlink/dbus/dbusruntime.h"
#include "cadlink/dbus/replytimeout.h"
#include "cadlink/fake/fakewindowsystem.h"
#include "tests/integration/democadprocess.h"
#include "tests/integration/privatebus.h"

namespace orvane::integration {
namespace {

// A session bus that dies under the runtime and comes back at the same
// address, with a demo CAD on each of its lives.
class BusReconnectTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        bus = std::make_unique<PrivateBus>(address);
        ASSERT_TRUE(bus->isReady()) << "no bus daemon";
        runtime = std::make_unique<cadlink::dbus::DBusAutomationRuntime>(cadlink::dbus::BusConnector::atAddress(address),
                                                                         cadlink::dbus::defaultReplyTimeoutMs);
        connection = std::make_unique<cadlink::CadConnection>(*runtime, windows,
                                                              [this] { return progId.toStdU16String(); });
    }

    // The bus dies and a new daemon listens at its address, with a CAD.
    void restartBusWithCad() {
        bus.reset();
        bus = std::make_unique<PrivateBus>(address);
        ASSERT_TRUE(bus->isReady()) << "no second bus daemon";
        cad = std::make_unique<DemoCadProcess>(progId, QStringList(), DemoCadProcess::Screen::Offscreen, address);
        ASSERT_TRUE(cad->waitReady()) << "the demo CAD did not come up";
    }

    QTemporaryDir folder;
    const QString address = QStringLiteral("unix:path=") + folder.filePath(QStringLiteral("bus"));
    const QString progId = uniqueProgId(QStringLiteral("Back"));
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<DemoCadProcess> cad;
    // Connected to the first daemon.
    std::unique_ptr<cadlink::dbus::DBusAutomationRuntime> runtime;
    cadlink::fake::FakeWindowSystem windows;
    std::unique_ptr<cadlink::CadConnection> connection;
};

TEST_F(BusReconnectTest, CadOnABusThatCameBackAtTheSameAddressIsFound) {
    DemoCadProcess first(progId, {}, DemoCadProcess::Screen::Offscreen, address);
    ASSERT_TRUE(first.waitReady());
    ASSERT_TRUE(connection->IsTargetCADRunning()) << "the runtime is not on the test's bus";
    first.stop();

    restartBusWithCad();

    EXPECT_TRUE(waitUntil([&] { return connection->IsTargetCADRunning(); }));
}

TEST_F(BusReconnectTest, MessageFilterStaysRegisteredOnTheNewConnection) {
    const cadlink::MessageFilterRef filter = cadlink::TMessageFilter::Create(*runtime);
    runtime->CoRegisterMessageFilter(filter);

    restartBusWithCad();
    ASSERT_TRUE(waitUntil([&] { return connection->IsTargetCADRunning(); }));

    EXPECT_EQ(runtime->CoRegisterMessageFilter(nullptr), filter);
}

}  // namespace
}  // namespace orvane::integration
