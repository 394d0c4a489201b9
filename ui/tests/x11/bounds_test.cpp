#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include "ui/tests/uitestsupport.h"
#include "ui/tests/x11/x11testsupport.h"

namespace orvane::ui {
namespace {

using testing::placed;
using testing::PanelWorld;
using testing::serverFrameRect;
using testing::within10s;

// The widest size the window has been given since it was watched.
class WidestSize final : public QObject {
public:
    explicit WidestSize(QWidget* window) { window->installEventFilter(this); }
    int width = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) width = qMax(width, static_cast<QResizeEvent*>(event)->size().width());
        return false;
    }
};

class PanelOnX11 : public testing::WindowManagerTest {
protected:
    // The panel opened from the settings, where the user sees it.
    QRect open() {
        TForm91& panel = world.create();
        panel.show();
        EXPECT_TRUE(within10s([&] { return placed(&panel); }));
        return serverFrameRect(&panel);
    }

    QByteArray storedSettings() {
        world.panel.reset();
        return world.directory.read(QStringLiteral("Orvane.ini"));
    }

    PanelWorld world;
};

// Width=10 and Height=5 ask for less than the window's minimum size.
class TooSmallSizeOnX11 : public PanelOnX11 {
protected:
    QRect openAt(const QString& position) {
        world.directory.write(QStringLiteral("Orvane.ini"), QStringLiteral("[Form]\nWidth=10\nHeight=5\n") + position);
        const QRect taken = open();
        EXPECT_GT(taken.height(), 5);
        return taken;
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
};

TEST_F(TooSmallSizeOnX11, IsCentredWithTheSizeTheWindowTook) {
    const QRect taken = openAt(QString());
    EXPECT_EQ(taken.topLeft(), QPoint((screen.width() - taken.width()) / 2, (screen.height() - taken.height()) / 2));
}

TEST_F(TooSmallSizeOnX11, IsPulledBackWithTheSizeTheWindowTook) {
    const QRect taken = openAt(QStringLiteral("Left=%1\nTop=%2\n").arg(screen.width() - 10).arg(screen.height() - 10));
    EXPECT_EQ(taken.bottomRight(), screen.bottomRight());
}

TEST_F(TooSmallSizeOnX11, IsStoredAsTheSizeTheWindowTook) {
    const QRect taken = openAt(QString());
    const QByteArray ini = storedSettings();
    EXPECT_TRUE(ini.contains(QStringLiteral("Width=%1\r\n").arg(taken.width()).toLatin1())) << ini.constData();
    EXPECT_TRUE(ini.contains(QStringLiteral("Height=%1\r\n").arg(taken.height()).toLatin1())) << ini.constData();
}

// openbox maximises the panel on a double-click on its title although the
// panel asks for no maximise button.
class MaximiseOnX11 : public PanelOnX11 {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        if (!IsSkipped()) normal = open();
    }

    // Maximised by the window manager, then back in its normal bounds, on the
    // screen and in the panel's state.
    bool maximisedAndBack() {
        TForm91& panel = *world.panel;
        WidestSize widest(&panel);
        testing::maximiseLikeTheUser(&panel);
        const auto panelBounds = [&] {
            const Bounds& b = panel.core().state().bounds();
            return QRect(b.left, b.top, b.width, b.height);
        };
        return within10s([&] { return widest.width > normal.width(); }) &&
               within10s([&] {
                   return serverFrameRect(&panel) == normal && !panel.isMaximized() && panelBounds() == normal;
               });
    }

    QRect normal;
};

TEST_F(MaximiseOnX11, APanelMaximisedByTheWindowManagerReturnsToItsNormalBounds) {
    EXPECT_TRUE(maximisedAndBack()) << serverFrameRect(world.panel.get()).width();
}

TEST_F(MaximiseOnX11, APanelThatWasMaximisedStoresItsNormalBounds) {
    ASSERT_TRUE(maximisedAndBack());
    const QByteArray ini = storedSettings();
    EXPECT_TRUE(ini.contains(QStringLiteral("Width=%1\r\nHeight=%2\r\nLeft=%3\r\nTop=%4\r\n")
                                 .arg(normal.width())
                                 .arg(normal.height())
                                 .arg(normal.x())
                                 .arg(normal.y())
                                 .toLatin1()))
        << ini.constData();
}

}  // namespace
}  // namespace orvane::ui
