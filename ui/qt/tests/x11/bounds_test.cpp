#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

#include <functional>

#include <gtest/gtest.h>

#include "ui/qt/tests/uitestsupport.h"
#include "ui/qt/tests/x11/x11testsupport.h"

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
    // The panel opened from the settings, once the window manager shows it
    // where wanted; it may show it elsewhere for a moment first.
    QRect openWhere(const std::function<bool(const QRect&)>& wanted) {
        TForm91& panel = world.create();
        panel.show();
        QRect frame;
        EXPECT_TRUE(within10s([&] { return placed(&panel) && wanted(frame = serverFrameRect(&panel)); }))
            << "shown at " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        return frame;
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
    QRect openAt(const QString& position, const std::function<bool(const QRect&)>& wanted) {
        world.directory.write(QStringLiteral("Orvane.ini"), QStringLiteral("[Form]\nWidth=10\nHeight=5\n") + position);
        const QRect taken = openWhere(wanted);
        EXPECT_GT(taken.height(), 5);
        return taken;
    }
    bool centred(const QRect& frame) const {
        return frame.topLeft() == QPoint((screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2);
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
};

TEST_F(TooSmallSizeOnX11, IsCentredWithTheSizeTheWindowTook) {
    openAt(QString(), [&](const QRect& frame) { return centred(frame); });
}

TEST_F(TooSmallSizeOnX11, IsPulledBackWithTheSizeTheWindowTook) {
    openAt(QStringLiteral("Left=%1\nTop=%2\n").arg(screen.width() - 10).arg(screen.height() - 10),
           [&](const QRect& frame) { return frame.bottomRight() == screen.bottomRight(); });
}

TEST_F(TooSmallSizeOnX11, IsStoredAsTheSizeTheWindowTook) {
    const QRect taken = openAt(QString(), [&](const QRect& frame) { return centred(frame); });
    const QByteArray ini = storedSettings();
    EXPECT_TRUE(ini.contains(QStringLiteral("Width=%1\r\n").arg(taken.width()).toLatin1())) << ini.constData();
    EXPECT_TRUE(ini.contains(QStringLiteral("Height=%1\r\n").arg(taken.height()).toLatin1())) << ini.constData();
}

// openbox maximises the panel on a double-click on its title although the
// panel asks for no maximise button.
class MaximiseOnX11 : public PanelOnX11 {
protected:
    static constexpr QPoint kNormalCorner{100, 120};

    void SetUp() override {
        WindowManagerTest::SetUp();
        if (IsSkipped()) return;
        world.directory.write(QStringLiteral("Orvane.ini"), QStringLiteral("[Form]\nLeft=%1\nTop=%2\n")
                                                                 .arg(kNormalCorner.x())
                                                                 .arg(kNormalCorner.y()));
        normal = openWhere([](const QRect& frame) { return frame.topLeft() == kNormalCorner; });
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
    for (const QString& line : {QStringLiteral("Width=%1").arg(normal.width()),
                                QStringLiteral("Height=%1").arg(normal.height()),
                                QStringLiteral("Left=%1").arg(normal.x()), QStringLiteral("Top=%1").arg(normal.y())}) {
        EXPECT_TRUE(ini.contains((line + QStringLiteral("\r\n")).toLatin1())) << line.toStdString() << "\n" << ini.constData();
    }
}

}  // namespace
}  // namespace orvane::ui
