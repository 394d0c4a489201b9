#include "tests/e2e/privatedisplay.h"

#include <QtGlobal>

#include "tests/integration/desktop.h"

namespace orvane::e2e {

PrivateDisplay::PrivateDisplay()
    : previousDisplay_(qgetenv("DISPLAY")), hadDisplay_(qEnvironmentVariableIsSet("DISPLAY")) {
    if (!server_.waitReady()) {
        return;
    }
    qputenv("DISPLAY", server_.displayName());
    ready_ = integration::haveDisplay() && integration::ensureWindowManager();
}

PrivateDisplay::~PrivateDisplay() {
    stopServer();
    integration::stopStartedWindowManager();
    if (hadDisplay_) {
        qputenv("DISPLAY", previousDisplay_);
    } else {
        qunsetenv("DISPLAY");
    }
}

bool PrivateDisplay::stopServer() { return server_.stop(); }

}  // namespace orvane::e2e
