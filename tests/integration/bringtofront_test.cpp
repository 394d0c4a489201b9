#include <gtest/gtest.h>

#include <algorithm>

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

    // Keys reach the window in the order they were sent on one connection:
    // once a key sent after the panel's has arrived, so has every Escape the
    // panel pressed. A window only just shown can lose a key before its
    // toolkit has taken the focus, and a window of an ending test can take
    // the focus, so the marker is pressed, with the CAD in front, until one
    // comes; any typed key counts, whatever modifier is down.
    bool keysSentSoFarArrived(const DemoCadProcess& demo) {
        const auto markers = [&demo] {
            const QStringList lines = demo.logLines();
            return std::count_if(lines.begin(), lines.end(),
                                 [](const QString& line) { return line.startsWith(QLatin1String("KEY ")); });
        };
        const auto before = markers();
        return waitUntil([&] {
            if (windows->GetForegroundWindow() != demo.windowId()) windows->SetForegroundWindow(demo.windowId());
            windows->keybd_event('Z', false);
            windows->keybd_event('Z', true);
            return waitUntil([&] { return markers() > before; }, std::chrono::milliseconds(500));
        });
    }
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
    ASSERT_TRUE(keysSentSoFarArrived(*demo)) << demo->logLines().join(u'\n').toStdString();
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
    ASSERT_TRUE(keysSentSoFarArrived(*demo)) << demo->logLines().join(u'\n').toStdString();
    EXPECT_EQ(demo->countLines(QStringLiteral("ESCAPE")), 1);
    EXPECT_EQ(other->countLines(QStringLiteral("ESCAPE")), 0);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL HWND")), 3);
}

TEST_F(BringToFrontTest, ACadWithoutAWindowGetsNoKeyButStillTheCommand) {
    const auto demo = startDemo({QStringLiteral("--hwnd-zero")});
    target = demo->progIdU16();
    const auto cad = connection();
    const cadlink::ObjectRef application = cad.AttachTargetCAD();
    // Nothing brings this window forward, so its keys must be seen to arrive
    // before the panel's turn.
    ASSERT_TRUE(keysSentSoFarArrived(*demo)) << demo->logLines().join(u'\n').toStdString();
    cad.BringCADToFront(application);
    cad.SendCADCommand(application, u"_LINE\r");
    ASSERT_TRUE(keysSentSoFarArrived(*demo)) << demo->logLines().join(u'\n').toStdString();
    EXPECT_EQ(demo->countLines(QStringLiteral("ESCAPE")), 0);
    EXPECT_EQ(demo->countLines(QStringLiteral("COMMAND _LINE\\r")), 1);
}

}  // namespace
}  // namespace orvane::integration
