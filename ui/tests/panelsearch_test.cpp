#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cadlink/fake/fakeautomation.h"
#include "cadlink/fake/fakecad.h"
#include "cadlink/fake/fakewindowsystem.h"
#include "core/menucommands.h"
#include "core/tests/scratch_dir.h"
#include "core/utf.h"
#include "ui/panel.h"
#include "ui/tests/fakepanelwindow.h"

namespace orvane::ui {
namespace {

using testing::FakePanelWindow;

struct PanelSearchTest : ::testing::Test {
    orvane::testing::ScratchDir directory;
    FakePanelWindow window;
    cadlink::fake::FakeAutomationRuntime runtime;
    cadlink::fake::FakeWindowSystem windows;
    std::unique_ptr<Panel> panel;

    void write(const std::string& name, const std::string& text) {
        std::ofstream(directory / name, std::ios::binary) << text;
    }
    Panel& create() {
        panel = std::make_unique<Panel>(window, PanelServices{(directory.path() / "Orvane").u16string(), runtime,
                                                              windows, u"Platform = test"});
        panel->create();
        return *panel;
    }
    static std::vector<std::u16string> captions(const std::vector<SearchItem>& items) {
        std::vector<std::u16string> found;
        for (const SearchItem& item : items) found.push_back(item.caption);
        return found;
    }
};

TEST_F(PanelSearchTest, CoversTheShownMenusAndEveryOtherListByDefault) {
    write("OrvaneList.txt", "[Help]\nVER_: about\n");
    write("OtherList.txt", "[Other]\nESC_: stop\n");
    const auto items = create().searchItems();
    EXPECT_EQ(captions(items), (std::vector<std::u16string>{u"VER_: about", u"ESC_: stop"}));
    EXPECT_EQ(items[1].listName, u"OtherList.txt");
    EXPECT_EQ(items[1].menuTitle, u"Other");
}

TEST_F(PanelSearchTest, TheSettingsFileCanKeepItToTheShownMenus) {
    write("OrvaneList.txt", "[Help]\nVER_: about\n");
    write("OtherList.txt", "[Other]\nESC_: stop\n");
    write("Orvane.ini", "[MenuList]\nFileName=OrvaneList.txt\n[Search]\nAllLists=0\n");
    EXPECT_EQ(captions(create().searchItems()), std::vector<std::u16string>{u"VER_: about"});
}

TEST_F(PanelSearchTest, AnItemOfAnotherListRunsAsItsClickWithoutSwitchingTheChooser) {
    cadlink::fake::FakeCad cad;
    cad.runIn(runtime, u"BricscadApp.AcadApplication");
    windows.addWindow(static_cast<cadlink::WindowHandle>(cadlink::fake::FakeCad::DefaultWindow));
    std::filesystem::create_directory(directory / "sub");
    const std::filesystem::path lisp = directory / "sub" / "draw.lsp";
    write("sub/draw.lsp", "");
    write("OrvaneList.txt", "[Draw]\n_LINE: line\n");
    write("OtherList.txt", "[Lisp]\nLOAD_: " + toUtf8(lisp.u16string()) + "\n");
    Panel& shown = create();
    const auto chosen = shown.core().state().comboBox1().selectedIndex();
    shown.runSearchItem({u"LOAD_: draw.lsp", u"Lisp", 101, u"OtherList.txt"});
    EXPECT_EQ(cad.sentCommands(), std::vector<std::u16string>{lispLoadExpression(lisp.u16string()) + u"\r"});
    EXPECT_EQ(shown.core().state().comboBox1().selectedIndex(), chosen);
    EXPECT_EQ(shown.core().state().slots().find(101)->caption, u"_LINE: line");
}

TEST_F(PanelSearchTest, AnItemWhoseSlotChangedSinceRunsNothing) {
    write("OrvaneList.txt", "[Help]\nVER_: about\n");
    write("OtherList.txt", "[Help]\nVER_: about\n");
    Panel& shown = create();
    for (const std::u16string list : {u"OrvaneList.txt", u"OtherList.txt"}) {
        SCOPED_TRACE(toUtf8(list));
        shown.runSearchItem({u"VER_: version", u"Help", 101, list});
        EXPECT_TRUE(window.information.empty());
    }
}

}  // namespace
}  // namespace orvane::ui
