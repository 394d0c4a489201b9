#include "app/qt/displayloss.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <utility>

namespace {

// One panel per process, so one save at a time.
std::function<void()> armedSave;
XIOErrorHandler previousIOErrorHandler = nullptr;
bool exitHookRegistered = false;

// The save runs at most once, and nothing it throws may reach an exit path.
void saveOnce() noexcept {
    const std::function<void()> save = std::exchange(armedSave, nullptr);
    if (!save) {
        return;
    }
    try {
        save();
    } catch (...) {
        // The process is ending; nothing is left to show the error.
    }
}

void saveAtExit() { saveOnce(); }

// Xlib's handler is process-wide: it covers Qt's display and the window
// system's own. The previous handler ends the process.
int saveOnIOError(Display* display) {
    saveOnce();
    return previousIOErrorHandler(display);
}

}  // namespace

DisplayLossSave::DisplayLossSave(std::function<void()> save) {
    armedSave = std::move(save);
    // Registered while the panel lives, so the exit hook runs before the
    // static objects of the start-up are destroyed.
    if (!exitHookRegistered) {
        exitHookRegistered = std::atexit(&saveAtExit) == 0;
    }
    previousIOErrorHandler = XSetIOErrorHandler(&saveOnIOError);
}

DisplayLossSave::~DisplayLossSave() {
    armedSave = nullptr;
    // A handler installed after ours stays.
    const XIOErrorHandler current = XSetIOErrorHandler(previousIOErrorHandler);
    if (current != &saveOnIOError) {
        XSetIOErrorHandler(current);
    }
}
