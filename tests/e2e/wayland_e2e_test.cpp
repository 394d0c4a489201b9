// The whole program on a Wayland session: a compositor of each test's own,
// with XWayland or without any X server.
#include <QDir>
#include <QFile>
#include <QLibraryInfo>

#include <memory>

#include "tests/e2e/accessibletext.h"
#include "tests/e2e/panelprocess.h"
#include "tests/e2e/westonprocess.h"
#include "tests/e2e/xdesktop.h"
#include "tests/integration/democadprocess.h"
#include "tests/integration/desktop.h"

namespace orvane::e2e {

namespace {

using integration::waitUntil;

constexpr auto kWindowBound = std::chrono::seconds(30);
const QString kLineCaption = QStringLiteral("_LINE: line");

class WaylandPanelTest : public testing::Test {
protected:
    // The compositor, and a program directory whose menu list and target
    // name the test's CAD.
    void startSession(WestonProcess::X11 x11) {
        if (!integration::haveSessionBus()) {
            // CI always has one; a missing bus must not pass as a skip.
            FAIL() << "needs a session bus (run under dbus-run-session)";
        }
        weston = std::make_unique<WestonProcess>(x11);
        ASSERT_TRUE(weston->waitReady()) << "weston did not come up:\n" << weston->log().toStdString();
        ASSERT_TRUE(directory.isValid());
        progId = integration::uniqueProgId(QStringLiteral("Wayland"));
        directory.write(QStringLiteral("OrvaneList.txt"),
                        utf8ListFile({QStringLiteral("[Commands]"), kLineCaption}));
        directory.write(QString::fromLatin1(kTargetListName), utf8ListFile({QStringLiteral("Demo\t") + progId}));
        directory.write(QString::fromLatin1(kSettingsName),
                        QStringLiteral("[TargetCAD]\r\nProgId=%1\r\n").arg(progId).toUtf8());
    }

    // Waits until a window of the panel is viewable on the XWayland display.
    bool panelWindowOnXWayland(PanelProcess& panel) {
        XDesktop xwayland(weston->x11Display().constData());
        return xwayland.isOpen() &&
               waitUntil([&] { return !xwayland.viewableWindowsOf(panel.pid()).empty() || !panel.isRunning(); },
                         kWindowBound) &&
               panel.isRunning();
    }

    std::unique_ptr<WestonProcess> weston;
    ProgramDirectory directory;
    QString progId;
};

TEST_F(WaylandPanelTest, WithXWaylandThePanelWindowLandsOnItsXDisplay) {
    startSession(WestonProcess::X11::XWayland);
    ASSERT_FALSE(HasFatalFailure());
    PanelProcess panel(directory, weston->sessionEnvironment());

    EXPECT_TRUE(panelWindowOnXWayland(panel)) << panel.standardError().toStdString();
}

TEST_F(WaylandPanelTest, WithXWaylandThePanelSaysOnceWhyItRunsOnX11) {
    startSession(WestonProcess::X11::XWayland);
    ASSERT_FALSE(HasFatalFailure());
    PanelProcess panel(directory, weston->sessionEnvironment());
    ASSERT_TRUE(panelWindowOnXWayland(panel)) << panel.standardError().toStdString();

    EXPECT_EQ(panel.standardError().count(QStringLiteral("through XWayland")), 1)
        << panel.standardError().toStdString();
}

// The Wayland plugin is missing from the panel's Qt: the program directory
// points Qt to a plugin folder that holds only the X11 one.
TEST_F(WaylandPanelTest, WaylandNamedWithoutItsPluginFallsBackToX11) {
    startSession(WestonProcess::X11::XWayland);
    ASSERT_FALSE(HasFatalFailure());
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    ASSERT_TRUE(QDir(directory.path(QString())).mkpath(QStringLiteral("plugins/platforms")));
    ASSERT_TRUE(QFile::link(plugins + QStringLiteral("/platforms/libqxcb.so"),
                            directory.path(QStringLiteral("plugins/platforms/libqxcb.so"))));
    QFile::link(plugins + QStringLiteral("/xcbglintegrations"), directory.path(QStringLiteral("plugins/xcbglintegrations")));
    directory.write(QStringLiteral("qt.conf"), "[Paths]\nPlugins=plugins\n");
    QProcessEnvironment environment = weston->sessionEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    PanelProcess panel(directory, environment);

    EXPECT_TRUE(panelWindowOnXWayland(panel)) << panel.standardError().toStdString();
}

// Without X the panel has no window operations; a screen reader's press of
// a menu item still runs its command.
TEST_F(WaylandPanelTest, WithoutXAMenuCommandReachesTheCad) {
    startSession(WestonProcess::X11::None);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(AccessibleText::startBus()) << "no accessibility bus";
    integration::DemoCadProcess demo(progId, {});
    ASSERT_TRUE(demo.waitReady()) << "the demo CAD did not come up";
    QProcessEnvironment environment = weston->sessionEnvironment();
    environment.insert(QString::fromLatin1(AccessibleText::kAlwaysOn), QStringLiteral("1"));
    PanelProcess panel(directory, environment);
    ASSERT_TRUE(waitUntil(
        [&] { return !AccessibleText::namesOf(panel.pid(), [](const QString& name) { return name == kLineCaption; })
                          .filter(kLineCaption)
                          .isEmpty() ||
                     !panel.isRunning(); },
        kWindowBound) && panel.isRunning())
        << panel.standardError().toStdString();

    ASSERT_TRUE(AccessibleText::press(panel.pid(), kLineCaption));

    EXPECT_TRUE(demo.waitForLine([](const QString& line) { return line == QLatin1String("COMMAND _LINE\\r"); }))
        << demo.logLines().join(u'\n').toStdString() << panel.standardError().toStdString();
}

}  // namespace
}  // namespace orvane::e2e
