// The whole program: the real executable in a program directory of its own,
// driven with mouse and keys through the X server against the demo CAD.
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "tests/e2e/e2etest.h"

namespace orvane::e2e {

namespace {

using integration::waitUntil;

constexpr std::uint32_t kLime = 0x00FF00;
constexpr std::uint32_t kBlack = 0x000000;
const QString kDialogCaption = QStringLiteral("ターゲット CAD");

const QString kFirstCaption = QStringLiteral("First [ Demo ]");
const QString kEditedCaption = QStringLiteral("Edited [ Demo ]");
// A saved list reaches the menus within about a second: a quarter of one
// settles, the rest is room for a loaded machine.
constexpr auto kFollowBound = std::chrono::milliseconds(1500);

// Items of the first drop-down, counted from 1.
enum FirstListItem { kLine = 1, kLoad, kMenu, kTarget };

QStringList firstList() {
    return {QStringLiteral("CAPTION_: First"),   QStringLiteral("[Commands]"),
            QStringLiteral("_LINE: line"),       QStringLiteral("LOAD_: e2e.lsp"),
            QStringLiteral("MENU_: secondlist.txt"), QStringLiteral("CAD_: target")};
}

QStringList secondList() {
    return {QStringLiteral("CAPTION_: Second"), QStringLiteral("[Other]"), QStringLiteral("_CIRCLE: circle")};
}

// The first list as another program saves it, with this item first.
QStringList editedList(const QString& firstItem) {
    return {QStringLiteral("CAPTION_: Edited"), QStringLiteral("[Edited]"), firstItem};
}

class PanelE2ETest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        directory.write(QStringLiteral("OrvaneList.txt"), utf8ListFile(firstList()));
        directory.write(QStringLiteral("SecondList.txt"), utf8ListFile(secondList()));
        writeTarget();
    }

    // Closes the panel as its close button does and waits for the end.
    void closePanel(PanelProcess& panel) {
        desktop.requestClose(panel.window());
        ASSERT_TRUE(panel.waitForExit(std::chrono::seconds(15))) << "the panel did not close";
        EXPECT_EQ(panel.exitCode(), 0);
    }

    QString canonicalDirectory() const { return QFileInfo(directory.executable()).canonicalPath(); }
};

TEST_F(PanelE2ETest, CommandItemReachesTheCadAfterItsWindowCameToFrontAndGotEscape) {
    const auto demo = startDemo();
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);

    ASSERT_TRUE(driver.clickFirstMenuItem(kLine));

    EXPECT_TRUE(waitForEffects(*demo, {QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _LINE\\r")}))
        << demo->logLines().join(u'\n').toStdString();
}

TEST_F(PanelE2ETest, SearchBoxEnterSendsTheFoundItemsCommandToTheCad) {
    const auto demo = startDemo();
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);
    const auto lamp = driver.paintedLamp();
    ASSERT_TRUE(lamp.has_value()) << "no lamp in the panel's window";

    // A click on the lamp focuses the panel and does nothing else.
    ASSERT_TRUE(PanelDriver::click(panel->window(), 4, lamp->top + 9));
    ASSERT_TRUE(PanelDriver::keys({QStringLiteral("ctrl+f")}));
    ASSERT_TRUE(waitUntil([&] { return desktop.hasOpenPopup(panel->pid()); })) << "Ctrl+F opened no search box";
    ASSERT_TRUE(PanelDriver::type(QStringLiteral("lin")));
    ASSERT_TRUE(PanelDriver::keys({QStringLiteral("Return")}));

    EXPECT_TRUE(waitForEffects(*demo, {QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _LINE\\r")}))
        << demo->logLines().join(u'\n').toStdString();
}

TEST_F(PanelE2ETest, LoadItemSendsTheLispLoadExpressionOfTheFileBesideTheProgram) {
    directory.write(QStringLiteral("e2e.lsp"), "(princ)\n");
    const auto demo = startDemo();
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);

    ASSERT_TRUE(driver.clickFirstMenuItem(kLoad));

    const QString expression = QStringLiteral("COMMAND (load \"%1/e2e.lsp\")(princ)\\r").arg(canonicalDirectory());
    EXPECT_TRUE(waitForEffects(*demo, {QStringLiteral("ESCAPE"), expression}))
        << demo->logLines().join(u'\n').toStdString();
}

TEST_F(PanelE2ETest, MenuItemSwitchesToTheOtherListAndItsCommands) {
    const auto demo = startDemo();
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);
    ASSERT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == QLatin1String("First [ Demo ]"); }));

    ASSERT_TRUE(driver.clickFirstMenuItem(kMenu));

    EXPECT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == QLatin1String("Second [ Demo ]"); }))
        << desktop.caption(panel->window()).toStdString();
    ASSERT_TRUE(driver.clickFirstMenuItem(1));
    EXPECT_TRUE(waitForEffects(*demo, {QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _CIRCLE\\r")}))
        << demo->logLines().join(u'\n').toStdString();
}

TEST_F(PanelE2ETest, AListSavedByAnotherProgramChangesTheMenusWithinAboutASecond) {
    const auto demo = startDemo();
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);
    ASSERT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == kFirstCaption; }));

    directory.write(QStringLiteral("OrvaneList.txt"), utf8ListFile(editedList(QStringLiteral("_ARC: arc"))));

    EXPECT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == kEditedCaption; }, kFollowBound))
        << desktop.caption(panel->window()).toStdString();
    ASSERT_TRUE(driver.clickFirstMenuItem(1));
    EXPECT_TRUE(waitForEffects(*demo, {QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _ARC\\r")}))
        << demo->logLines().join(u'\n').toStdString();
}

TEST_F(PanelE2ETest, APickInADropDownOpenDuringASaveRunsTheItemShownAndTheMenusChangeAfter) {
    const auto demo = startDemo();
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);
    ASSERT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == kFirstCaption; }));
    ASSERT_TRUE(driver.openFirstDropDown());
    ASSERT_TRUE(PanelDriver::keys({QStringLiteral("Down")}));

    directory.write(QStringLiteral("OrvaneList.txt"), utf8ListFile(editedList(QStringLiteral("_ERASE: erase"))));
    // Nothing changes while the drop-down is open, past the settling and
    // the longest a burst is held.
    EXPECT_FALSE(waitUntil([&] { return desktop.caption(panel->window()) != kFirstCaption; }, kFollowBound));
    ASSERT_TRUE(PanelDriver::keys({QStringLiteral("Return")}));

    EXPECT_TRUE(waitForEffects(*demo, {QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _LINE\\r")}))
        << demo->logLines().join(u'\n').toStdString();
    EXPECT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == kEditedCaption; }))
        << desktop.caption(panel->window()).toStdString();
    ASSERT_TRUE(driver.clickFirstMenuItem(1));
    EXPECT_TRUE(waitForEffects(*demo, {QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _LINE\\r"),
                                       QStringLiteral("ESCAPE"), QStringLiteral("COMMAND _ERASE\\r")}))
        << demo->logLines().join(u'\n').toStdString();
}

TEST_F(PanelE2ETest, TargetDialogAddsAnEntryAndItsOkChangesTheTargetAndTheCaption) {
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);

    ASSERT_TRUE(driver.clickFirstMenuItem(kTarget));
    XWindow dialog = 0;
    ASSERT_TRUE(waitUntil([&] { return (dialog = desktop.findWindow(panel->pid(), kDialogCaption)) != 0; }));
    // The list has the focus; the label field is three tab stops on.
    ASSERT_TRUE(PanelDriver::keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")}));
    ASSERT_TRUE(PanelDriver::type(QStringLiteral("Plant")));
    ASSERT_TRUE(PanelDriver::keys({QStringLiteral("Tab")}));
    ASSERT_TRUE(PanelDriver::type(QStringLiteral("Plant.Application")));
    // "追加" in the frame, then OK.
    ASSERT_TRUE(PanelDriver::click(dialog, 8 + 220 + 35, 151 + 21 + 11));
    const QByteArray listed = utf8ListFile({QStringLiteral("Demo\t") + progId, QStringLiteral("Plant\tPlant.Application")});
    EXPECT_TRUE(waitUntil([&] { return directory.read(QString::fromLatin1(kTargetListName)) == listed; }))
        << directory.read(QString::fromLatin1(kTargetListName)).toStdString();
    ASSERT_TRUE(PanelDriver::click(dialog, 80 + 37, 271 + 12));

    EXPECT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == QLatin1String("First [ Plant ]"); }))
        << desktop.caption(panel->window()).toStdString();
    closePanel(*panel);
    EXPECT_EQ(directory.settings().value(QStringLiteral("TargetCAD/ProgId")), QLatin1String("Plant.Application"));
}

TEST_F(PanelE2ETest, LampTurnsGreenWithTheCadWindowAndThePanelClosesWhenThatCadQuits) {
    const auto panel = startPanel();
    PanelDriver driver(desktop, *panel);
    const auto painted = driver.paintedLamp();
    ASSERT_TRUE(painted.has_value()) << "no lamp in the panel's window";
    EXPECT_EQ(painted->fill, kBlack);

    auto demo = startDemo();
    EXPECT_TRUE(waitUntil([&] { return driver.lamp() && driver.lamp()->fill == kLime; }, std::chrono::seconds(10)));
    EXPECT_TRUE(panel->isRunning());

    demo->stop();
    EXPECT_TRUE(panel->waitForExit(std::chrono::seconds(10))) << "the panel outlived the CAD it had seen";
    EXPECT_EQ(panel->exitCode(), 0);
    EXPECT_FALSE(directory.settings().isEmpty()) << "the shutdown sequence did not run";
}

TEST_F(PanelE2ETest, PanelWindowCarriesTheIconInAllFifteenSizes) {
    const auto panel = startPanel();
    std::vector<QSize> sizes;

    EXPECT_TRUE(waitUntil([&] { return (sizes = desktop.iconSizes(panel->window())).size() == 15; }))
        << sizes.size() << " images";
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), QSize(16, 16)), sizes.end());
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), QSize(256, 256)), sizes.end());
}

TEST_F(PanelE2ETest, ClosingWritesTheSettingsAndTheNextStartRestoresThem) {
    // No settings file: the defaults, and one written from nothing.
    QFile::remove(directory.path(QString::fromLatin1(kSettingsName)));
    directory.write(QString::fromLatin1(kTargetListName),
                    utf8ListFile({QStringLiteral("Demo\t") + progId, QStringLiteral("Other\tOther.Application")}));
    QRect moved;
    {
        const auto panel = startPanel();
        PanelDriver driver(desktop, *panel);
        ASSERT_TRUE(PanelDriver::moveWindow(panel->window(), 137, 211));
        waitUntil([&] { return desktop.outerGeometry(panel->window()).topLeft() == QPoint(137, 211); },
                  std::chrono::seconds(3));
        moved = desktop.outerGeometry(panel->window());
        ASSERT_TRUE(driver.clickCheckBox());
        ASSERT_TRUE(driver.clickFirstMenuItem(kMenu));
        ASSERT_TRUE(waitUntil([&] { return desktop.caption(panel->window()).startsWith(QLatin1String("Second")); }));
        closePanel(*panel);
    }
    const auto first = directory.settings();
    EXPECT_EQ(directory.sectionsInOrder(),
              QStringList({QStringLiteral("MenuList"), QStringLiteral("Form"), QStringLiteral("TargetCAD"),
                           QStringLiteral("ImeOff")}));
    EXPECT_EQ(first.value(QStringLiteral("MenuList/FileName")), QLatin1String("SecondList.txt"));
    EXPECT_EQ(first.value(QStringLiteral("Form/Left")).toInt(), moved.x());
    EXPECT_EQ(first.value(QStringLiteral("Form/Top")).toInt(), moved.y());
    EXPECT_EQ(first.value(QStringLiteral("Form/Width")).toInt(), moved.width());
    EXPECT_EQ(first.value(QStringLiteral("Form/Height")).toInt(), moved.height());
    EXPECT_EQ(first.value(QStringLiteral("TargetCAD/ProgId")), QLatin1String("BricscadApp.AcadApplication"));
    EXPECT_EQ(first.value(QStringLiteral("ImeOff/Check")), QLatin1String("0"));

    // A changed target in the file shows in the restored caption.
    directory.write(QString::fromLatin1(kSettingsName),
                    directory.read(QString::fromLatin1(kSettingsName))
                        .replace("BricscadApp.AcadApplication", "Other.Application"));
    const auto panel = startPanel();
    EXPECT_TRUE(waitUntil([&] { return desktop.caption(panel->window()) == QLatin1String("Second [ Other ]"); }))
        << desktop.caption(panel->window()).toStdString();
    EXPECT_TRUE(waitUntil([&] { return desktop.outerGeometry(panel->window()) == moved; }))
        << "restored at " << desktop.outerGeometry(panel->window()).x() << ","
        << desktop.outerGeometry(panel->window()).y();
    closePanel(*panel);
    auto second = directory.settings();
    EXPECT_EQ(second.value(QStringLiteral("ImeOff/Check")), QLatin1String("0"));
    EXPECT_EQ(second.value(QStringLiteral("MenuList/FileName")), QLatin1String("SecondList.txt"));
    EXPECT_EQ(second.value(QStringLiteral("TargetCAD/ProgId")), QLatin1String("Other.Application"));
    EXPECT_EQ(second.value(QStringLiteral("Form/Left")).toInt(), moved.x());
    EXPECT_EQ(second.value(QStringLiteral("Form/Top")).toInt(), moved.y());
}

}  // namespace

}  // namespace orvane::e2e
