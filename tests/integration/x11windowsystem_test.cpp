#include <gtest/gtest.h>

#include <thread>

#include "tests/integration/desktoptest.h"

namespace orvane::integration {
namespace {

using cadlink::VK_ESCAPE_KEY;

// Waits a moment for stray key events to arrive before counting them.
void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }

TEST_F(DesktopTest, AWindowExistsUntilItsProgramEnds) {
    auto demo = startDemo();
    const auto window = demo->windowId();
    EXPECT_TRUE(windows->IsWindow(window));
    EXPECT_FALSE(windows->IsIconic(window));
    demo->stop();
    EXPECT_TRUE(waitUntil([&] { return !windows->IsWindow(window); }));
}

TEST_F(DesktopTest, WindowsThatDoNotExistAreAnsweredQuietly) {
    for (const cadlink::WindowHandle window : {0U, 0x1FFFFFFEU, 0xFFFFFFFFU}) {
        EXPECT_FALSE(windows->IsWindow(window)) << window;
        EXPECT_FALSE(windows->IsIconic(window)) << window;
        EXPECT_FALSE(windows->OpenIcon(window)) << window;
        EXPECT_FALSE(windows->SetForegroundWindow(window)) << window;
    }
}

TEST_F(DesktopTest, AMinimisedWindowIsRestoredAndBroughtToTheFront) {
    const auto demo = startDemo({QStringLiteral("--minimized")});
    const auto window = demo->windowId();
    ASSERT_TRUE(windows->IsIconic(window));

    EXPECT_TRUE(windows->OpenIcon(window));
    EXPECT_TRUE(waitUntil([&] { return !windows->IsIconic(window); }));
    EXPECT_TRUE(windows->SetForegroundWindow(window));
    EXPECT_EQ(windows->GetForegroundWindow(), window);
}

TEST_F(DesktopTest, TheEscapeKeyReachesTheWindowInFront) {
    const auto first = startDemo();
    const auto second = startDemo();
    ASSERT_TRUE(windows->SetForegroundWindow(first->windowId()));
    windows->keybd_event(VK_ESCAPE_KEY, false);
    windows->keybd_event(VK_ESCAPE_KEY, true);
    EXPECT_TRUE(first->waitForLine([](const QString& line) { return line == QLatin1String("ESCAPE"); }));
    settle();
    EXPECT_EQ(first->countLines(QStringLiteral("ESCAPE")), 1);
    EXPECT_EQ(second->countLines(QStringLiteral("ESCAPE")), 0);
}

}  // namespace
}  // namespace orvane::integration
