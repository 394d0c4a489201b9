#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/qt/slotmenubar.h"
#include "ui/qt/tests/uitestsupport.h"
#include "ui/qt/tests/x11/x11testsupport.h"
#include "ui/qt/windowframe.h"
#include "ui/qt/x11/netwm.h"

namespace orvane::ui {
namespace {

using testing::PanelWorld;
using testing::whenModal;
using testing::within10s;

constexpr char kAbove[] = "_NET_WM_STATE_ABOVE";

bool above(QWidget* window) {
    return x11::hasWmState(x11::qtDisplay(), static_cast<x11::XWindowId>(window->winId()), kAbove);
}

bool managed(QWidget* window) {
    return x11::frameExtents(x11::qtDisplay(), static_cast<x11::XWindowId>(window->winId())).has_value() &&
           window->isVisible();
}

class TopMostOnX11 : public testing::WindowManagerTest {
protected:
    PanelWorld world;
};

TEST_F(TopMostOnX11, PanelStaysAboveThroughMinimiseAndRestore) {
    TForm91& panel = world.create();
    panel.show();
    ASSERT_TRUE(within10s([&] { return managed(&panel); }));
    EXPECT_TRUE(within10s([&] { return above(&panel); }));

    panel.showMinimized();
    ASSERT_TRUE(within10s([&] { return panel.isMinimized(); }));
    panel.showNormal();
    ASSERT_TRUE(within10s([&] { return !panel.isMinimized(); }));
    EXPECT_TRUE(within10s([&] { return above(&panel); }));
}

TEST_F(TopMostOnX11, DialogTakesTheBandWhileOpenAndThePanelGetsItBack) {
    world.directory.write(QStringLiteral("OrvaneList.txt"), QStringLiteral("[Set]\nCAD_: choose\n"));
    TForm91& panel = world.create();
    panel.show();
    ASSERT_TRUE(within10s([&] { return managed(&panel) && above(&panel); }));
    const QRect panelBefore = panel.geometry();

    bool dialogAbove = false;
    bool panelLeft = false;
    whenModal([&](QWidget*) {
        TTargetCADForm* dialog = panel.targetCADForm();
        dialogAbove = within10s([&] { return managed(dialog) && above(dialog); });
        panelLeft = within10s([&] { return !above(&panel); });
        dialog->Button2->click();
    });
    panel.MainMenu1->action(101)->trigger();
    EXPECT_TRUE(dialogAbove);
    EXPECT_TRUE(panelLeft);
    EXPECT_TRUE(within10s([&] { return above(&panel); }));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.geometry(), panelBefore);

    // A second showing goes through a window that was shown before.
    whenModal([&](QWidget*) {
        TTargetCADForm* dialog = panel.targetCADForm();
        dialogAbove = within10s([&] { return managed(dialog) && above(dialog); });
        dialog->Button2->click();
    });
    dialogAbove = false;
    panel.MainMenu1->action(101)->trigger();
    EXPECT_TRUE(dialogAbove);
    EXPECT_TRUE(within10s([&] { return above(&panel) && !above(panel.targetCADForm()); }));
}

TEST_F(TopMostOnX11, StoredBoundsAreTheOuterBoundsOfTheManagedWindow) {
    world.directory.write(QStringLiteral("Orvane.ini"), QStringLiteral("[Form]\nLeft=100\nTop=120\n"));
    TForm91& panel = world.create();
    panel.show();
    ASSERT_TRUE(within10s([&] { return managed(&panel); }));
    ASSERT_TRUE(within10s([&] { return panel.frameGeometry().topLeft() == QPoint(100, 120); }))
        << panel.frameGeometry().x() << "," << panel.frameGeometry().y();
    const QRect outer = panel.frameGeometry();
    world.panel.reset();
    const QByteArray ini = world.directory.read(QStringLiteral("Orvane.ini"));
    EXPECT_TRUE(ini.contains("Left=100")) << ini.constData();
    EXPECT_TRUE(ini.contains("Top=120")) << ini.constData();
    EXPECT_TRUE(ini.contains(QStringLiteral("Width=%1").arg(outer.width()).toLatin1())) << ini.constData();
    EXPECT_TRUE(ini.contains(QStringLiteral("Height=%1").arg(outer.height()).toLatin1())) << ini.constData();
}

}  // namespace
}  // namespace orvane::ui
