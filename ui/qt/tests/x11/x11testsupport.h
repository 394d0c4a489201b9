#pragma once

#include <QRect>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

#include "ui/qt/x11/netwm.h"

namespace orvane::ui::testing {

// The window manager answers asynchronously; give it time, within reason.
inline bool within10s(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 10000); }

// Real windows under a window manager; without one the test skips itself.
class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::windowManagerRuns(x11::qtDisplay())) {
            GTEST_SKIP() << "needs an X display with a window manager";
        }
    }
};

// The client window on the X server, in device pixels.
QRect serverClientRect(const QWidget* window);

// The window manager's frame around the window on the X server, in device
// pixels: where the user sees the window.
QRect serverFrameRect(const QWidget* window);

// Mapped, framed by the window manager, known to Qt with that frame, and
// where Qt put it.
bool placed(const QWidget* window);

// Asks the window manager to move the frame's corner there, as a user's drag
// would.
void moveLikeTheUser(const QWidget* window, const QPoint& frameCorner);

// Asks the window manager to maximise the window, as a double-click on its
// title does.
void maximiseLikeTheUser(const QWidget* window);

}  // namespace orvane::ui::testing
