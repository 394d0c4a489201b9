// The CAD link's window steps and its monitor against the Windows demo CAD's
// real window, on a display with a window manager.
#include "cadlink/cadguard.h"
#include "cadlink/cadmonitor.h"
#include "tests/windows/cadlinktest.h"

#include <chrono>
#include <thread>

namespace orvane::wintest {
namespace {

// Wine switches the foreground window a few milliseconds after it says it
// did, where Windows does it before returning; the connection checks the
// foreground at once. Here the switch is waited for, so that the check
// sees what it would see on Windows.
class SettledForeground final : public cadlink::win32::Win32WindowSystem {
public:
    bool SetForegroundWindow(cadlink::WindowHandle window) override {
        const bool done = Win32WindowSystem::SetForegroundWindow(window);
        const auto deadline = std::chrono::steady_clock::now() + demoCadDeadline;
        while (done && GetForegroundWindow() != window && std::chrono::steady_clock::now() < deadline) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            std::this_thread::yield();
        }
        return done;
    }
};

class CadWindow : public CadLinkTest {
protected:
    SettledForeground settled_;
    cadlink::CadConnection settledConnection_{runtime_, settled_, [this] { return target_; }};
    cadlink::CadGuard guard_{settledConnection_};
};

TEST_F(CadWindow, MinimisedCadIsRestoredBroughtToFrontAndGetsOneEscape) {
    DemoCadProcess cad(target_, {u"--minimized"});
    ASSERT_TRUE(cad.waitReady());
    ASSERT_TRUE(IsIconic(cad.window()));
    guard_.runGuarded([](CadSession& session) { session.BringCADToFront(); });
    EXPECT_FALSE(IsIconic(cad.window()));
    // The Escape is pressed only once the CAD's window is in front; the
    // window manager may move the focus again later, so that is not asked.
    ASSERT_TRUE(cad.waitForLine(u"ESCAPE"));
    cad.close();
    EXPECT_EQ(cad.countLines(u"ESCAPE"), 1u);
}

TEST_F(CadWindow, CommandClickedThroughTheGuardArrivesUnchangedWithItsReturn) {
    DemoCadProcess cad(target_);
    ASSERT_TRUE(cad.waitReady());
    guard_.runGuarded([](CadSession& session) {
        session.BringCADToFront();
        session.SendCADCommand(u"_LINE 0,0 10,10 線分\r");
    });
    EXPECT_TRUE(cad.waitForLine(u"COMMAND _LINE 0,0 10,10 線分\\r"));
}

class RecordedPanel final : public cadlink::MonitoredPanel {
public:
    std::uint32_t lampColour() const override { return lamp; }
    void setLampColour(std::uint32_t rgb) override { lamp = rgb; }
    bool imeOffTicked() const override { return true; }
    bool cadSeen() const override { return seen; }
    void setCadSeen(bool value) override { seen = value; }
    void requestClose() override { closeRequested = true; }

    std::uint32_t lamp = cadlink::LampBlack;
    bool seen = false;
    bool closeRequested = false;
};

TEST_F(CadWindow, MonitorLightsTheLampAndClosesThePanelOnceTheCadQuits) {
    DemoCadProcess cad(target_);
    ASSERT_TRUE(cad.waitReady());
    RecordedPanel panel;
    cadlink::CadMonitor monitor(connection_, panel);
    monitor.Timer1Timer();
    EXPECT_EQ(panel.lamp, cadlink::LampLime);
    EXPECT_FALSE(panel.closeRequested);
    cad.close();
    monitor.Timer1Timer();
    EXPECT_TRUE(panel.closeRequested);
}

}  // namespace
}  // namespace orvane::wintest
