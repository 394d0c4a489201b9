#include <gtest/gtest.h>

#include <optional>

#include "ui/qt/tests/uitestsupport.h"
#include "ui/qt/tests/x11/x11testsupport.h"

namespace orvane::ui {
namespace {

using namespace orvane::ui::testing;

// Bounds at a fractional scale factor, where one logical pixel is 1.5 device
// pixels and conversions round.
class ScaledBoundsOnX11 : public testing::WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        ASSERT_EQ(qApp->devicePixelRatio(), 1.5);
    }

    // A session: the panel opens from the settings, the user may move it,
    // and it closes again.
    QRect openAndClose(std::optional<QPoint> movedTo = std::nullopt, bool movedBack = false) {
        TForm91& panel = world.create();
        panel.show();
        EXPECT_TRUE(within10s([&] { return placed(&panel); }));
        const QPoint shownAt = serverFrameRect(&panel).topLeft();
        for (const QPoint to : {movedTo.value_or(shownAt), movedBack ? shownAt : movedTo.value_or(shownAt)}) {
            testing::moveLikeTheUser(&panel, to);
            EXPECT_TRUE(within10s([&] { return serverFrameRect(&panel).topLeft() == to && placed(&panel); }));
        }
        QApplication::processEvents();
        const QRect frame = serverFrameRect(&panel);
        world.panel.reset();
        return frame;
    }

    QByteArray formSection() const {
        const QByteArray ini = world.directory.read(QStringLiteral("Orvane.ini"));
        const qsizetype start = ini.indexOf("[Form]");
        return ini.mid(start, ini.indexOf('[', start + 1) - start);
    }

    PanelWorld world;
};

TEST_F(ScaledBoundsOnX11, AWindowMovedBackWhereItWasAppliedStoresTheBoundsApplied) {
    world.directory.write(QStringLiteral("Orvane.ini"), QStringLiteral("[Form]\nWidth=601\nHeight=121\nLeft=101\nTop=121\n"));
    const QByteArray applied = formSection();
    openAndClose(QPoint(300, 300), true);
    EXPECT_EQ(formSection(), applied);
}

TEST_F(ScaledBoundsOnX11, ARestartShowsTheWindowWhereItWas) {
    const QRect first = openAndClose();
    const QByteArray stored = formSection();
    EXPECT_EQ(openAndClose(), first) << stored.constData();
    EXPECT_EQ(formSection(), stored);
}

TEST_F(ScaledBoundsOnX11, ARestartShowsTheWindowWhereTheUserMovedIt) {
    const QRect moved = openAndClose(QPoint(203, 157));
    EXPECT_EQ(openAndClose(), moved) << formSection().constData();
}

}  // namespace
}  // namespace orvane::ui
