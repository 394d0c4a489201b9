#include "app/qt/platformchoice.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace orvane::app {

namespace {

constexpr std::string_view kX11 = "xcb";
constexpr std::string_view kWayland = "wayland";

// Where a named platform cannot start (its plugin is missing, or it finds no
// server), Qt reports that in one line and tries the next one in the list.
constexpr std::string_view kFallbacks[] = {kX11, kWayland};

bool listsPlatform(std::string_view list, std::string_view name) {
    while (!list.empty()) {
        const std::size_t end = list.find(';');
        const std::string_view entry = list.substr(0, end);
        // An entry may carry arguments after a colon.
        if (entry.substr(0, entry.find(':')) == name) {
            return true;
        }
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    }
    return false;
}

std::string withFallbacks(std::string list) {
    for (const std::string_view fallback : kFallbacks) {
        if (!listsPlatform(list, fallback)) {
            list.append(";").append(fallback);
        }
    }
    return list;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

PlatformChoice choosePlatform(const SessionEnvironment& session) {
    if (!session.qtPlatform.empty()) {
        return {withFallbacks(session.qtPlatform), {}};
    }
    const bool wayland = !session.waylandDisplay.empty() || session.sessionType == "wayland";
    if (!wayland) {
        return {};
    }
    if (!session.x11Display.empty()) {
        return {withFallbacks(std::string(kX11)),
                "Wayland session: running on the X11 platform (xcb) through XWayland, because keeping the "
                "panel on top, activating the CAD and pressing Escape there need X11; set QT_QPA_PLATFORM "
                "to choose another platform."};
    }
    return {std::string(kWayland),
            "Wayland session without an X11 display: the panel runs on Wayland and cannot keep itself on "
            "top, activate the CAD, press Escape there or switch its input method."};
}

void applyPlatformChoice(std::string_view programPath) {
    const PlatformChoice choice = choosePlatform({environment("QT_QPA_PLATFORM"), environment("WAYLAND_DISPLAY"),
                                                  environment("DISPLAY"), environment("XDG_SESSION_TYPE")});
    if (!choice.qtPlatform.empty()) {
        setenv("QT_QPA_PLATFORM", choice.qtPlatform.c_str(), 1);
    }
    if (!choice.notice.empty()) {
        const std::string name(programPath.substr(programPath.rfind('/') + 1));
        std::fprintf(stderr, "%s: %s\n", name.c_str(), choice.notice.c_str());
    }
}

}  // namespace orvane::app
