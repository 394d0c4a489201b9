#include <gtest/gtest.h>

#include <thread>

#include "cadlink/cadconnection.h"
#include "cadlink/dbus/dbusruntime.h"
#include "tests/integration/desktoptest.h"

namespace orvane::integration {
namespace {

// The whole road of a menu command: the CAD found on the bus, its window
// brought to the front, one Escape pressed there and the command handed over.
class BringToFrontTest : public DesktopTest {
protected:
    cadlink::dbus::DBusAutomationRuntime runtime;
    std::u16string target;

    cadlink::CadConnection connection() { return {runtime, *windows, [this] { return target; }}; }
};

TEST_F(BringToFrontTest, AMinimisedCadIsRestoredAndGetsExactlyOneEscape) {
    const auto demo = startDemo({QStringLiteral("--minimized")});
    target = demo->progIdU16();
    const auto cad = connection();
    ASSERT_TRUE(cad.IsTargetCADRunning());
    const cadlink::ObjectRef application = cad.AttachTargetCAD();

    cad.BringCADToFront(application);
    cad.SendCADCommand(application, u"_LINE\r");

    EXPECT_FALSE(windows->IsIconic(demo->windowId()));
    EXPECT_EQ(windows->GetForegroundWindow(), demo->windowId());
    EXPECT_TRUE(demo->waitForLine([](const QString& line) { return line == QLatin1String("ESCAPE"); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(demo->countLines(QStringLiteral("ESCAPE")), 1);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL HWND")), 4);
    EXPECT_EQ(demo->countLines(QStringLiteral("COMMAND _LINE\\r")), 1);
}

TEST_F(BringToFrontTest, ACadBehindAnotherWindowComesToTheFront) {
    const auto demo = startDemo();
    const auto other = startDemo();
    ASSERT_EQ(windows->GetForegroundWindow(), other->windowId());
    target = demo->progIdU16();
    const auto cad = connection();
    cad.BringCADToFront(cad.AttachTargetCAD());

    EXPECT_EQ(windows->GetForegroundWindow(), demo->windowId());
    EXPECT_TRUE(demo->waitForLine([](const QString& line) { return line == QLatin1String("ESCAPE"); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(demo->countLines(QStringLiteral("ESCAPE")), 1);
    EXPECT_EQ(other->countLines(QStringLiteral("ESCAPE")), 0);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL HWND")), 3);
}

TEST_F(BringToFrontTest, ACadWithoutAWindowGetsNoKeyButStillTheCommand) {
    const auto demo = startDemo({QStringLiteral("--hwnd-zero")});
    target = demo->progIdU16();
    const auto cad = connection();
    const cadlink::ObjectRef application = cad.AttachTargetCAD();
    cad.BringCADToFront(application);
    cad.SendCADCommand(application, u"_LINE\r");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(demo->countLines(QStringLiteral("ESCAPE")), 0);
    EXPECT_EQ(demo->countLines(QStringLiteral("COMMAND _LINE\\r")), 1);
}

}  // namespace
}  // namespace orvane::integration
