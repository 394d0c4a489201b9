#include "cadlink/x11/x11windowsystem.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace orvane::cadlink::x11 {
namespace {

TEST(VirtualKeys, MapToKeysyms) {
    EXPECT_EQ(keysymForVirtualKey(VK_ESCAPE_KEY), static_cast<unsigned long>(XK_Escape));
    EXPECT_EQ(keysymForVirtualKey(0x0D), static_cast<unsigned long>(XK_Return));
    EXPECT_EQ(keysymForVirtualKey('A'), static_cast<unsigned long>(XK_a));
    EXPECT_EQ(keysymForVirtualKey('Z'), static_cast<unsigned long>(XK_z));
    EXPECT_EQ(keysymForVirtualKey('7'), static_cast<unsigned long>(XK_7));
    EXPECT_EQ(keysymForVirtualKey(0x70), 0UL);  // F1 has no mapping here
}

// Without a display every call answers "nothing there" and sends nothing.
TEST(X11WithoutDisplay, DegradesQuietly) {
    const char* saved = std::getenv("DISPLAY");
    const std::string previous = saved ? saved : "";
    ::setenv("DISPLAY", ":4711", 1);
    {
        X11WindowSystem windows;
        EXPECT_FALSE(windows.hasDisplay());
        EXPECT_FALSE(windows.IsWindow(0x200001));
        EXPECT_FALSE(windows.IsIconic(0x200001));
        EXPECT_FALSE(windows.OpenIcon(0x200001));
        EXPECT_FALSE(windows.SetForegroundWindow(0x200001));
        EXPECT_EQ(windows.GetForegroundWindow(), 0U);
        windows.keybd_event(VK_ESCAPE_KEY, false);
        windows.keybd_event(VK_ESCAPE_KEY, true);
        EXPECT_EQ(windows.ImmGetDefaultIMEWnd(0x200001), 0U);
    }
    if (saved) {
        ::setenv("DISPLAY", previous.c_str(), 1);
    } else {
        ::unsetenv("DISPLAY");
    }
}

}  // namespace
}  // namespace orvane::cadlink::x11
