#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "cadlink/x11/x11windowsystem.h"
#include "tests/integration/democadprocess.h"
#include "tests/integration/desktop.h"

namespace orvane::integration {

// A test on the X desktop with a window manager, driving demo CAD windows.
class DesktopTest : public testing::Test {
protected:
    void SetUp() override {
        if (!haveDisplay() || !haveSessionBus()) {
            GTEST_SKIP() << "needs DISPLAY and a session bus (run under xvfb-run and dbus-run-session)";
        }
        ASSERT_TRUE(ensureWindowManager()) << "no window manager could be started";
        windows = std::make_unique<cadlink::x11::X11WindowSystem>();
        ASSERT_TRUE(windows->hasDisplay());
    }

    // A demo CAD with a real window; waits until the window manager shows it
    // as asked (minimised or not).
    std::unique_ptr<DemoCadProcess> startDemo(QStringList options = {}) {
        const bool minimised = options.contains(QStringLiteral("--minimized"));
        auto demo = std::make_unique<DemoCadProcess>(uniqueProgId(QStringLiteral("Desk")), options,
                                                     DemoCadProcess::Screen::X11);
        EXPECT_TRUE(demo->waitReady()) << "the demo CAD did not come up";
        EXPECT_NE(demo->windowId(), 0U);
        const auto window = demo->windowId();
        if (minimised) {
            EXPECT_TRUE(waitUntil([&] { return windows->IsIconic(window); }));
        } else {
            EXPECT_TRUE(waitUntil([&] { return windows->GetForegroundWindow() == window; }));
        }
        return demo;
    }

    std::unique_ptr<cadlink::x11::X11WindowSystem> windows;
};

}  // namespace orvane::integration
