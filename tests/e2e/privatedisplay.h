#pragma once

#include <QByteArray>

#include "tests/integration/barexserver.h"

namespace orvane::e2e {

// An X server of the test's own on a free display, with a window manager,
// for tests that end the server. While the object lives, DISPLAY names it,
// so the panel, xdotool and an XDesktop opened now all use it.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // The server and its window manager came up.
    bool isReady() const { return ready_; }
    // Ends the server as a logout does, and waits for its end.
    bool stopServer();

private:
    integration::BareXServer server_;
    QByteArray previousDisplay_;
    bool hadDisplay_ = false;
    bool ready_ = false;
};

}  // namespace orvane::e2e
