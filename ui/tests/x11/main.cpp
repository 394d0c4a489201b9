#include <QApplication>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <memory>

#include "ui/x11/netwm.h"

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
    const int result = RUN_ALL_TESTS();
    if (windowManager) {
        windowManager->kill();
        windowManager->waitForFinished(5000);
    }
    return result;
}
