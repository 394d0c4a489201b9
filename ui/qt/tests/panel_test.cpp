#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cadlink/fake/fakecad.h"
#include "ui/qt/shape.h"
#include "ui/qt/slotmenubar.h"
#include "ui/qt/tests/uitestsupport.h"
#include "ui/qt/topmost.h"

namespace orvane::ui {
namespace {

using testing::PanelWorld;
using testing::whenModal;

QAction* slotAction(TForm91& panel, int number) { return panel.MainMenu1->action(number); }

struct PanelTest : ::testing::Test {
    PanelWorld world;
};

TEST_F(PanelTest, DesignedWindowBeforeAnyList) {
    TForm91& panel = world.create();
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Orvane"));
    EXPECT_EQ(panel.width(), 467);
    EXPECT_EQ(panel.Shape1->geometry(), QRect(0, 2, 9, 19));
    EXPECT_EQ(panel.Shape1->fill(), QColor(Qt::black));
    EXPECT_EQ(panel.CheckBox1->text(), QStringLiteral("IMEOFF"));
    EXPECT_TRUE(panel.CheckBox1->isChecked());
    EXPECT_EQ(panel.ComboBox1->geometry(), QRect(91, 2, 368, 24));
    EXPECT_FALSE(panel.ComboBox1->isEditable());
    EXPECT_EQ(panel.ComboBox1->maxVisibleItems(), 8);
    EXPECT_EQ(panel.ComboBox1->currentIndex(), -1);
    EXPECT_FALSE(panel.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(panel.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(topMostRequested(&panel));
    // The numbered grid: 15 drop-downs of 30 items.
    EXPECT_EQ(panel.menuBar()->actions().size(), 15);
    EXPECT_EQ(slotAction(panel, 1500)->text(), QStringLiteral("1500"));
    EXPECT_EQ(panel.MainMenu1->menu(1500)->actions().size(), 30);
    EXPECT_EQ(slotAction(panel, 1530)->text(), QStringLiteral("1530"));
    EXPECT_TRUE(world.boxes.boxes.empty());
}

struct CaptionCase {
    const char* name;
    const char* menuList;  // nullptr: none
    const char* targetList;
    const char* caption;
};

class CaptionAfterStartUp : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionAfterStartUp, FollowsTheTitleLineAndTheLabel) {
    PanelWorld world;
    const CaptionCase& c = GetParam();
    if (c.menuList != nullptr) world.directory.write(QStringLiteral("OrvaneList.txt"), QString::fromUtf8(c.menuList));
    if (c.targetList != nullptr) {
        world.directory.write(QStringLiteral("TargetCAD_APIVersion.txt"), QString::fromUtf8(c.targetList));
    }
    EXPECT_EQ(world.create().windowTitle(), QString::fromUtf8(c.caption));
}

INSTANTIATE_TEST_SUITE_P(
    Panel, CaptionAfterStartUp,
    ::testing::Values(
        CaptionCase{"nothing", nullptr, nullptr, "Orvane"},
        CaptionCase{"titleOnly", "CAPTION_: 図面\n[A]\nx: y\n", nullptr, "図面 [  ]"},
        CaptionCase{"labelOnly", nullptr, "Plant CAD\tBricscadApp.AcadApplication\n", " [ Plant CAD ]"},
        CaptionCase{"both", "CAPTION_: 図面\n", "Plant CAD\tBricscadApp.AcadApplication\n", "図面 [ Plant CAD ]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, MenuBarShowsTheLoadedListAsWritten) {
    world.directory.write(QStringLiteral("OrvaneList.txt"),
                          QStringLiteral("[&Draw]\n_LINE: 線分\n-\n-\nA&&B\n12\n-\n[12]\nhidden: item\n[Tools]\n&Escape: x\n"));
    TForm91& panel = world.create();
    QMenuBar* bar = panel.menuBar();

    QStringList visibleMenus;
    for (QAction* entry : bar->actions()) {
        if (entry->isVisible()) visibleMenus << entry->text();
    }
    EXPECT_EQ(visibleMenus, QStringList({"&Draw", "Tools"}));
    EXPECT_EQ(QKeySequence::mnemonic(slotAction(panel, 100)->text()), QKeySequence(Qt::ALT | Qt::Key_D));

    EXPECT_EQ(slotAction(panel, 101)->text(), QStringLiteral("_LINE: 線分"));
    EXPECT_TRUE(QKeySequence::mnemonic(slotAction(panel, 101)->text()).isEmpty());
    EXPECT_TRUE(slotAction(panel, 102)->isSeparator());
    EXPECT_TRUE(slotAction(panel, 103)->isSeparator());
    EXPECT_EQ(slotAction(panel, 104)->text(), QStringLiteral("A&&B"));
    EXPECT_TRUE(QKeySequence::mnemonic(slotAction(panel, 104)->text()).isEmpty());
    EXPECT_FALSE(slotAction(panel, 105)->isVisible());  // "12" reads as a number
    EXPECT_TRUE(slotAction(panel, 106)->isSeparator());
    EXPECT_FALSE(slotAction(panel, 107)->isVisible());

    // Doubled and trailing separators are drawn, not merged or dropped.
    QMenu* draw = panel.MainMenu1->menu(100);
    EXPECT_FALSE(draw->separatorsCollapsible());
    draw->popup(QPoint(0, 0));
    const QRect first = draw->actionGeometry(slotAction(panel, 102));
    const QRect second = draw->actionGeometry(slotAction(panel, 103));
    const QRect trailing = draw->actionGeometry(slotAction(panel, 106));
    draw->hide();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_FALSE(second.isEmpty());
    EXPECT_FALSE(trailing.isEmpty());
    EXPECT_GT(second.top(), first.top());
}

TEST_F(PanelTest, F10OpensTheMenuBarForTheKeyboardAsAltDoes) {
    world.directory.write(QStringLiteral("OrvaneList.txt"), QStringLiteral("[12]\n[Draw]\n_LINE: l\n[Tools]\nESC_: e\n"));
    TForm91& panel = world.create();
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    QMenuBar* bar = panel.menuBar();

    QTest::keyClick(&panel, Qt::Key_F10);
    EXPECT_EQ(bar->activeAction(), slotAction(panel, 200));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(bar->activeAction(), slotAction(panel, 300));
    QTest::keyClick(bar, Qt::Key_Return);
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, panel.MainMenu1->menu(300));
    if (popup != nullptr) popup->close();
    panel.hide();
}

TEST_F(PanelTest, F10AgainLeavesTheMenuBar) {
    TForm91& panel = world.create();
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    QTest::keyClick(&panel, Qt::Key_F10);
    ASSERT_NE(panel.menuBar()->activeAction(), nullptr);
    QTest::keyClick(panel.menuBar(), Qt::Key_F10);
    EXPECT_EQ(panel.menuBar()->activeAction(), nullptr);
    panel.hide();
}

TEST_F(PanelTest, MenusShowTheFirst256CharactersOfALongCaption) {
    const QString title(300, u'T');
    const QString item = QStringLiteral("_CMD: ") + QString(100000, u'x');
    world.directory.write(QStringLiteral("OrvaneList.txt"), QStringLiteral("[%1]\n%2\n").arg(title, item));
    TForm91& panel = world.create();
    EXPECT_EQ(slotAction(panel, 100)->text(), title.left(256));
    EXPECT_EQ(panel.MainMenu1->menu(100)->title(), title.left(256));
    EXPECT_EQ(slotAction(panel, 101)->text(), item.left(256));
    QMenu* menu = panel.MainMenu1->menu(100);
    menu->popup(QPoint(0, 0));
    EXPECT_LT(menu->actionGeometry(slotAction(panel, 101)).width(), QFontMetrics(menu->font()).horizontalAdvance(item.left(300)));
    menu->hide();
}

TEST_F(PanelTest, ClickOnALongItemSendsItsWholeKeyword) {
    cadlink::fake::FakeCad cad;
    cad.runIn(world.runtime, u"BricscadApp.AcadApplication");
    world.windows.addWindow(static_cast<cadlink::WindowHandle>(cadlink::fake::FakeCad::DefaultWindow));
    const QString keyword = QStringLiteral("_") + QString(1000, u'K');
    world.directory.write(QStringLiteral("OrvaneList.txt"), QStringLiteral("[Draw]\n%1: label\n").arg(keyword));
    TForm91& panel = world.create();
    slotAction(panel, 101)->trigger();
    EXPECT_EQ(cad.sentCommands(), std::vector<std::u16string>{fromQString(keyword) + u"\r"});
}

TEST_F(PanelTest, ChooserChangeByTheUserLoadsAndByProgramDoesNot) {
    world.directory.write(QStringLiteral("AList.txt"), QStringLiteral("[From A]\n"));
    world.directory.write(QStringLiteral("BList.txt"), QStringLiteral("[From B]\n"));
    world.directory.write(QStringLiteral("Orvane.ini"), QStringLiteral("[MenuList]\nFileName=alist.txt\n"));
    TForm91& panel = world.create();
    ASSERT_EQ(panel.ComboBox1->count(), 2);
    EXPECT_EQ(panel.ComboBox1->currentIndex(), 0);

    QTest::keyClick(panel.ComboBox1, Qt::Key_Down);
    EXPECT_EQ(panel.core().state().comboBox1().selectedIndex(), 1u);
    EXPECT_EQ(slotAction(panel, 100)->text(), QStringLiteral("From B"));

    panel.core().state().selectChooserEntry(0);
    EXPECT_EQ(panel.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(slotAction(panel, 100)->text(), QStringLiteral("From B"));

    panel.core().state().selectChooserEntry(std::nullopt);
    EXPECT_EQ(panel.ComboBox1->currentText(), QString());
}

TEST_F(PanelTest, ChooserDropsDownEightEntriesWithAScrollBarBelowTheField) {
    for (int i = 1; i <= 12; ++i) {
        world.directory.write(QStringLiteral("M%1List.txt").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("[A]\n"));
    }
    TForm91& panel = world.create();
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QComboBox* chooser = panel.ComboBox1;
    chooser->showPopup();
    QAbstractItemView* view = chooser->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));

    int rowsShown = 0;
    for (int row = 0; row < chooser->count(); ++row) {
        if (view->viewport()->rect().intersects(view->visualRect(chooser->model()->index(row, 0)))) ++rowsShown;
    }
    const int popupTop = view->window()->geometry().top();
    // The drop-down may share the field's last pixel row, its frame.
    const int fieldBottom = chooser->mapToGlobal(chooser->rect().bottomLeft()).y();
    // The view lays out its scroll bars after it is shown.
    const bool scrollBarShown = QTest::qWaitFor([&] { return view->verticalScrollBar()->isVisible(); });
    chooser->hidePopup();
    panel.hide();

    EXPECT_EQ(rowsShown, 8);
    EXPECT_TRUE(scrollBarShown);
    EXPECT_GE(popupTop, fieldBottom);
}

TEST_F(PanelTest, AListNamedInNoValidUtf8IsFollowedWhenSavedInPlace) {
    // "図面List.txt" in Shift-JIS, as unpacked from a Windows archive.
    const std::string name = "\x90\x7D\x96\xCAList.txt";
    const std::string folder = QFileInfo(world.directory.path(QStringLiteral("Orvane"))).path().toStdString() + "/";
    std::ofstream(folder + name, std::ios::binary) << "[Before]\r\n";
    std::ofstream(folder + "Orvane.ini", std::ios::binary) << "[MenuList]\r\nFileName=" + name + "\r\n";
    TForm91& panel = world.create();
    ASSERT_EQ(slotAction(panel, 100)->text(), QStringLiteral("Before"));

    std::ofstream(folder + name, std::ios::binary | std::ios::trunc) << "[After]\r\n";
    EXPECT_TRUE(QTest::qWaitFor([&] { return slotAction(panel, 100)->text() == QStringLiteral("After"); }));
}

TEST_F(PanelTest, CheckBoxClicksReachTheStateAndTheSettings) {
    TForm91& panel = world.create();
    panel.CheckBox1->click();
    EXPECT_FALSE(panel.core().state().checkBox1());
    world.panel.reset();
    EXPECT_TRUE(world.directory.read(QStringLiteral("Orvane.ini")).contains("Check=0"));
}

TEST_F(PanelTest, ChooserWidensWithTheWindowAndTheLampStays) {
    TForm91& panel = world.create();
    panel.show();
    const int before = panel.ComboBox1->width();
    panel.resize(panel.width() + 100, panel.height());
    QApplication::processEvents();
    EXPECT_EQ(panel.ComboBox1->width(), before + 100);
    EXPECT_EQ(panel.centralWidget()->width() - panel.ComboBox1->geometry().right() - 1, 8);
    EXPECT_EQ(panel.Shape1->pos(), QPoint(0, 2));
    EXPECT_EQ(panel.CheckBox1->pos(), QPoint(15, 3));
    panel.hide();
}

TEST_F(PanelTest, ItemClicksRunTheirCommands) {
    world.directory.write(QStringLiteral("OrvaneList.txt"), QStringLiteral("[Help]\nVER_: about\nLOAD_: missing.lsp\n"));
    TForm91& panel = world.create();
    slotAction(panel, 101)->trigger();
    slotAction(panel, 102)->trigger();
    ASSERT_EQ(world.boxes.boxes.size(), 2u);
    EXPECT_EQ(world.boxes.boxes[0].caption, QStringLiteral(" バージョン情報"));
    EXPECT_TRUE(world.boxes.boxes[0].text.startsWith(QStringLiteral("Orvane.exe\nVersion = 2025.02.03\n")));
    EXPECT_EQ(world.boxes.boxes[1].kind, QStringLiteral("information"));
    EXPECT_EQ(world.boxes.boxes[1].caption, QStringLiteral(" 情報"));
    EXPECT_EQ(world.boxes.boxes[1].text,
              world.directory.path(QStringLiteral("missing.lsp")) + QStringLiteral("\nファイルが見つかりません。"));
}

TEST_F(PanelTest, TargetCadCommandTakesTheDialogsLabelOnOk) {
    world.directory.write(QStringLiteral("OrvaneList.txt"), QStringLiteral("CAPTION_: 図面\n[Set]\nCAD_: choose\n"));
    TForm91& panel = world.create();
    bool panelTopMostDuringDialog = true;
    bool dialogTopMostDuringDialog = false;
    whenModal([&](QWidget* modal) {
        auto* dialog = panel.targetCADForm();
        ASSERT_EQ(modal, dialog);
        panelTopMostDuringDialog = topMostRequested(&panel);
        dialogTopMostDuringDialog = topMostRequested(dialog);
        dialog->Edit1->setText(QStringLiteral("Plant CAD"));
        dialog->Edit2->setText(QStringLiteral("Plant.App"));
        dialog->Button1->click();
    });
    slotAction(panel, 101)->trigger();
    EXPECT_FALSE(panelTopMostDuringDialog);
    EXPECT_TRUE(dialogTopMostDuringDialog);
    EXPECT_TRUE(topMostRequested(&panel));
    EXPECT_FALSE(topMostRequested(panel.targetCADForm()));
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("図面 [ Plant CAD ]"));
    EXPECT_EQ(panel.core().shared().TargetProgID, u"Plant.App");
}

// The CAD the panel had seen goes away while the dialog is open.
TEST_F(PanelTest, MonitorEndsTheProgramFromInsideTheDialog) {
    cadlink::fake::FakeCad cad;
    cad.runIn(world.runtime, u"BricscadApp.AcadApplication");
    world.windows.addWindow(static_cast<cadlink::WindowHandle>(cadlink::fake::FakeCad::DefaultWindow));
    world.directory.write(QStringLiteral("OrvaneList.txt"), QStringLiteral("[Set]\nCAD_: choose\n"));
    TForm91& panel = world.create();
    panel.show();
    panel.Timer1Timer();
    ASSERT_TRUE(panel.core().shared().CADSeen);
    EXPECT_EQ(panel.Shape1->fill(), QColor(0, 255, 0));

    whenModal([&](QWidget*) {
        panel.targetCADForm()->Edit1->setText(QStringLiteral("never taken"));
        world.runtime.setRunning("{CAD}", nullptr);
        world.windows.removeWindow(static_cast<cadlink::WindowHandle>(cadlink::fake::FakeCad::DefaultWindow));
        panel.Timer1Timer();
    });
    slotAction(panel, 101)->trigger();
    EXPECT_FALSE(panel.targetCADForm()->isVisible());
    EXPECT_EQ(panel.targetCADForm()->result(), 2);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Orvane"));
}

TEST_F(PanelTest, SettingsThatCannotBeWrittenAreReportedAtShutdown) {
    QDir().mkdir(world.directory.path(QStringLiteral("Orvane.ini")));
    world.create();
    world.boxes.boxes.clear();
    world.panel.reset();
    ASSERT_EQ(world.boxes.boxes.size(), 1u);
    EXPECT_EQ(world.boxes.boxes[0].kind, QStringLiteral("error"));
    EXPECT_EQ(world.boxes.boxes[0].caption, QStringLiteral("Orvane"));
    EXPECT_TRUE(world.boxes.boxes[0].text.startsWith(world.directory.path(QStringLiteral("Orvane.ini")) +
                                                     QStringLiteral(" に書き込めません")));
}

TEST_F(PanelTest, ShutdownStoresTheOuterBoundsThatStartUpApplies) {
    world.directory.write(QStringLiteral("Orvane.ini"),
                          QStringLiteral("[Form]\nWidth=600\nHeight=90\nLeft=40\nTop=30\n"));
    TForm91& panel = world.create();
    EXPECT_EQ(panel.core().state().bounds(), (Bounds{40, 30, 600, 90}));
    panel.show();
    QApplication::processEvents();
    panel.showMinimized();
    QApplication::processEvents();
    world.panel.reset();
    const QByteArray ini = world.directory.read(QStringLiteral("Orvane.ini"));
    EXPECT_TRUE(ini.contains("Width=600")) << ini.constData();
    EXPECT_TRUE(ini.contains("Left=40")) << ini.constData();
    EXPECT_TRUE(ini.contains("Top=30")) << ini.constData();
}

}  // namespace
}  // namespace orvane::ui
