#include "tests/integration/desktop.h"

#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <memory>

#include "tests/integration/democadprocess.h"

// Xlib last: its macros (Status, None, Bool) collide with Qt's names.
#include <X11/Xlib.h>

#include "cadlink/x11/ewmh.h"

namespace orvane::integration {

namespace {

// A live window manager, not the leftover property of one that has gone.
bool windowManagerRuns() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const bool runs = cadlink::x11::windowManagerRuns(display);
    XCloseDisplay(display);
    return runs;
}

struct WindowManagerProcess {
    QProcess process;
    ~WindowManagerProcess() {
        process.kill();
        process.waitForFinished(5000);
    }
};

std::unique_ptr<WindowManagerProcess> startedWindowManager;

}  // namespace

bool haveSessionBus() { return std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr; }

bool haveDisplay() {
    if (std::getenv("DISPLAY") == nullptr) {
        return false;
    }
    // The server refuses connections for a moment while it resets.
    return waitUntil(
        [] {
            Display* display = XOpenDisplay(nullptr);
            if (display != nullptr) {
                XCloseDisplay(display);
            }
            return display != nullptr;
        },
        std::chrono::seconds(5));
}

bool ensureWindowManager() {
    // A window manager that dies at once (the server was resetting as it
    // connected) is started again, a few times.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (windowManagerRuns()) {
            return true;
        }
        startedWindowManager = std::make_unique<WindowManagerProcess>();
        QProcess& process = startedWindowManager->process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!process.waitForStarted(10000)) {
            return false;
        }
        waitUntil([&] { return windowManagerRuns() || process.waitForFinished(0); });
    }
    return windowManagerRuns();
}

void stopStartedWindowManager() { startedWindowManager.reset(); }

}  // namespace orvane::integration
