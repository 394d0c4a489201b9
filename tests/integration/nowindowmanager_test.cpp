// Bringing the CAD to the front on an X server where no window manager runs:
// the panel raises and focuses the window itself.
#include <gtest/gtest.h>

#include <QByteArray>

#include <memory>

#include "cadlink/cadconnection.h"
#include "cadlink/dbus/dbusruntime.h"
#include "cadlink/x11/x11windowsystem.h"
#include "tests/integration/barexserver.h"
#include "tests/integration/democadprocess.h"
#include "tests/integration/desktop.h"

// Xlib last: its macros (Status, None, Bool) collide with Qt's names.
#include <X11/Xlib.h>

namespace orvane::integration {
namespace {

class NoWindowManagerTest : public testing::Test {
protected:
    void SetUp() override {
        if (!haveSessionBus()) {
            // CI always has one; a missing bus must not pass as a skip.
            FAIL() << "needs a session bus (run under dbus-run-session)";
        }
        ASSERT_TRUE(server.waitReady()) << "Xvfb did not come up";
        previousDisplay = qgetenv("DISPLAY");
        // The window system and the demo CADs both take the display from here.
        qputenv("DISPLAY", server.displayName());
        display = XOpenDisplay(server.displayName().constData());
        ASSERT_NE(display, nullptr);
        windows = std::make_unique<cadlink::x11::X11WindowSystem>();
        ASSERT_TRUE(windows->hasDisplay());
    }

    void TearDown() override {
        windows.reset();
        if (display != nullptr) {
            XCloseDisplay(display);
        }
        qputenv("DISPLAY", previousDisplay);
    }

    // A demo CAD whose window is on the screen.
    std::unique_ptr<DemoCadProcess> startDemo() {
        auto demo = std::make_unique<DemoCadProcess>(uniqueProgId(QStringLiteral("Bare")), QStringList{},
                                                     DemoCadProcess::Screen::X11);
        EXPECT_TRUE(demo->waitReady()) << "the demo CAD did not come up";
        EXPECT_TRUE(waitUntil([&] { return viewable(demo->windowId()); }));
        return demo;
    }

    bool viewable(Window window) {
        XWindowAttributes attributes{};
        return window != 0 && XGetWindowAttributes(display, window, &attributes) != 0 &&
               attributes.map_state == IsViewable;
    }

    // The child of the root that lies on top of the other.
    Window upper(Window first, Window second) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned int i = 0; i < count; ++i) {  // bottom to top
            if (children[i] == first || children[i] == second) {
                found = children[i];
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        return found;
    }

    BareXServer server;
    QByteArray previousDisplay;
    Display* display = nullptr;
    std::unique_ptr<cadlink::x11::X11WindowSystem> windows;
    cadlink::dbus::DBusAutomationRuntime runtime;
};

TEST_F(NoWindowManagerTest, ACadBelowAnotherWindowIsRaisedAndTakesTheFocus) {
    const auto demo = startDemo();
    const auto other = startDemo();
    ASSERT_EQ(upper(demo->windowId(), other->windowId()), other->windowId());

    EXPECT_TRUE(windows->SetForegroundWindow(demo->windowId()));

    EXPECT_EQ(windows->GetForegroundWindow(), demo->windowId());
    EXPECT_EQ(upper(demo->windowId(), other->windowId()), demo->windowId());
}

TEST_F(NoWindowManagerTest, BringingTheCadToTheFrontPressesEscapeInItsWindow) {
    const auto demo = startDemo();
    const auto other = startDemo();
    const std::u16string target = demo->progIdU16();
    const cadlink::CadConnection cad(runtime, *windows, [&target] { return target; });

    const cadlink::ObjectRef application = cad.AttachTargetCAD();
    cad.BringCADToFront(application);

    EXPECT_TRUE(demo->waitForLine([](const QString& line) { return line == QLatin1String("ESCAPE"); }))
        << demo->logLines().join(u'\n').toStdString();
    EXPECT_EQ(other->countLines(QStringLiteral("ESCAPE")), 0);
}

}  // namespace
}  // namespace orvane::integration
