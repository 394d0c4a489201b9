#pragma once

#include <string>
#include <string_view>

// The Qt platform the panel runs on. The CADs it drives run through X11, and
// keeping above other windows, activating the CAD and pressing Escape there
// need X11; so on a Wayland session the panel runs on the X11 platform
// (through XWayland) unless the user names a platform.
namespace orvane::app {

// What the environment tells about the session.
struct SessionEnvironment {
    std::string qtPlatform;      // QT_QPA_PLATFORM
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string x11Display;      // DISPLAY
    std::string sessionType;     // XDG_SESSION_TYPE
};

struct PlatformChoice {
    // The value for QT_QPA_PLATFORM, a list Qt tries in order; empty leaves
    // Qt's own choice.
    std::string qtPlatform;
    // Why, in one line for standard error; empty when nothing needs saying.
    std::string notice;
};

PlatformChoice choosePlatform(const SessionEnvironment& session);

// Reads the environment, sets QT_QPA_PLATFORM and prints the notice after
// the program's file name. Call before the application object exists.
void applyPlatformChoice(std::string_view programPath);

}  // namespace orvane::app
