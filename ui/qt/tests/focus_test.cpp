#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/qt/TaregetCADUnit.h"
#include "ui/qt/tests/uitestsupport.h"
#include "ui/qt/theme.h"

namespace orvane::ui {
namespace {

using testing::PanelWorld;

// The control as drawn with the focus in it, and with the focus on another
// control of the same window.
struct FocusPictures {
    QImage focused;
    QImage unfocused;
};

void showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

FocusPictures picturesOf(QWidget* control, QWidget* elsewhere) {
    control->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([&] { return control->hasFocus(); }));
    FocusPictures pictures;
    pictures.focused = control->grab().toImage();
    elsewhere->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !control->hasFocus(); }));
    pictures.unfocused = control->grab().toImage();
    return pictures;
}

struct FocusIndicatorTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(applyVisualStyle(QString::fromLatin1(kVisualStyleName))); }
    PanelWorld world;
};

TEST_F(FocusIndicatorTest, PanelControlsShowWhereTheFocusIs) {
    world.directory.write(QStringLiteral("AList.txt"), QStringLiteral("[A]\n"));
    TForm91& panel = world.create();
    QWidget* controls[] = {panel.CheckBox1, panel.ComboBox1};
    showActive(&panel);
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        QWidget* control = controls[i];
        const FocusPictures pictures = picturesOf(control, controls[(i + 1) % std::size(controls)]);
        EXPECT_NE(pictures.focused, pictures.unfocused) << control->metaObject()->className();
    }
}

TEST_F(FocusIndicatorTest, DialogControlsShowWhereTheFocusIs) {
    TTargetCADForm* dialog = world.create().targetCADForm();
    dialog->ListBox1->addItem(QStringLiteral("Plant CAD\tPlant.App"));
    QWidget* controls[] = {dialog->ListBox1, dialog->Edit1, dialog->Edit2, dialog->Button1, dialog->Button2};
    showActive(dialog);
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        QWidget* control = controls[i];
        const FocusPictures pictures = picturesOf(control, controls[(i + 1) % std::size(controls)]);
        EXPECT_NE(pictures.focused, pictures.unfocused) << control->objectName().toStdString()
                                                        << control->metaObject()->className();
    }
}

}  // namespace
}  // namespace orvane::ui
