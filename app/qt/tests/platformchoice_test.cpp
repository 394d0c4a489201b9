#include "app/qt/platformchoice.h"

#include <gtest/gtest.h>

namespace orvane::app {
namespace {

SessionEnvironment session(std::string qtPlatform, std::string waylandDisplay, std::string x11Display,
                           std::string sessionType = {}) {
    return {std::move(qtPlatform), std::move(waylandDisplay), std::move(x11Display), std::move(sessionType)};
}

TEST(PlatformChoiceNamed, ANamedPlatformComesFirstWithX11AndWaylandAfterIt) {
    EXPECT_EQ(choosePlatform(session("vnc", "", ":0")).qtPlatform, "vnc;xcb;wayland");
}

TEST(PlatformChoiceNamed, ANamedListKeepsItsOrderAndArgumentsAndGainsOnlyWhatItLacks) {
    EXPECT_EQ(choosePlatform(session("offscreen;xcb:nograb", "", ":0")).qtPlatform,
              "offscreen;xcb:nograb;wayland");
}

TEST(PlatformChoiceNamed, WaylandNamedOnAWaylandSessionStaysFirst) {
    EXPECT_EQ(choosePlatform(session("wayland", "wayland-0", ":0")).qtPlatform, "wayland;xcb");
}

TEST(PlatformChoiceNamed, ANamedPlatformIsNotExplained) {
    EXPECT_EQ(choosePlatform(session("wayland", "wayland-0", ":0")).notice, "");
}

TEST(PlatformChoiceWayland, WithXWaylandThePanelRunsOnX11First) {
    EXPECT_EQ(choosePlatform(session("", "wayland-0", ":1")).qtPlatform, "xcb;wayland");
}

TEST(PlatformChoiceWayland, TheSessionTypeAloneMakesAWaylandSession) {
    EXPECT_EQ(choosePlatform(session("", "", ":1", "wayland")).qtPlatform, "xcb;wayland");
}

TEST(PlatformChoiceWayland, RunningThroughXWaylandIsExplained) {
    const std::string notice = choosePlatform(session("", "wayland-0", ":1")).notice;
    EXPECT_NE(notice.find("XWayland"), std::string::npos) << notice;
    EXPECT_NE(notice.find("QT_QPA_PLATFORM"), std::string::npos) << notice;
}

TEST(PlatformChoiceWayland, WithoutAnX11DisplayThePanelRunsOnWaylandAndSaysWhatItCannotDo) {
    const PlatformChoice choice = choosePlatform(session("", "wayland-0", ""));
    EXPECT_EQ(choice.qtPlatform, "wayland");
    EXPECT_NE(choice.notice.find("cannot"), std::string::npos) << choice.notice;
}

TEST(PlatformChoiceX11, AnX11SessionLeavesQtItsOwnChoiceAndSaysNothing) {
    const PlatformChoice choice = choosePlatform(session("", "", ":0", "x11"));
    EXPECT_EQ(choice.qtPlatform, "");
    EXPECT_EQ(choice.notice, "");
}

}  // namespace
}  // namespace orvane::app
