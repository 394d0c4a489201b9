#include <QApplication>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "ui/qt/x11/netwm.h"

namespace {

bool displayAvailable() {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

// A window manager names itself on the root window before it listens there;
// a request sent in between is lost for good, so a panel created then never
// learns its frame. It listens once it has answered a request.
bool windowManagerAnswers(_XDisplay* display) {
    const Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    bool answered = false;
    for (int attempt = 0; attempt < 100 && !answered; ++attempt) {
        answered = orvane::ui::x11::requestFrameExtents(display, probe, std::chrono::milliseconds(100)).has_value();
    }
    XDestroyWindow(display, probe);
    XFlush(display);
    return answered;
}

// openbox, when no window manager runs yet; ended with the tests.
std::unique_ptr<QProcess> startWindowManager() {
    _XDisplay* display = orvane::ui::x11::qtDisplay();
    if (orvane::ui::x11::windowManagerRuns(display)) {
        return nullptr;
    }
    auto openbox = std::make_unique<QProcess>();
    openbox->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    openbox->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!openbox->waitForStarted(10000)) {
        return nullptr;
    }
    for (int attempt = 0; attempt < 200 && !orvane::ui::x11::windowManagerRuns(display); ++attempt) {
        QThread::msleep(25);
    }
    return openbox;
}

}  // namespace

// Real windows on the X server; without one every test skips itself.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const bool haveDisplay = displayAvailable();
    qputenv("QT_QPA_PLATFORM", haveDisplay ? "xcb" : "offscreen");
#ifdef ORVANE_TEST_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", ORVANE_TEST_SCALE_FACTOR);
#endif
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::unique_ptr<QProcess> windowManager = haveDisplay ? startWindowManager() : nullptr;
    // Whoever started it, it may have come up just now.
    if (haveDisplay && orvane::ui::x11::windowManagerRuns(orvane::ui::x11::qtDisplay()) &&
        !windowManagerAnswers(orvane::ui::x11::qtDisplay())) {
        std::fprintf(stderr, "the window manager answers no request\n");
    }
    const int result = RUN_ALL_TESTS();
    if (windowManager) {
        windowManager->kill();
        windowManager->waitForFinished(5000);
    }
    return result;
}
