#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/menulist.h"
#include "core/panelcore.h"
#include "core/tests/paneltestfiles.h"
#include "core/tests/quiethost.h"

namespace orvane {
namespace {

using testing::ProgramDirectory;

class ListReloadTest : public ::testing::Test {
protected:
    void started(const std::string& list) {
        dir.write("OrvaneList.txt", list);
        core.FormCreate();
    }
    std::u16string firstItem() const { return core.state().slots().find(101)->caption; }

    ProgramDirectory dir;
    testing::QuietHost host;
    PanelCore core{dir.programPath(), host, {}, [](const Error&) {}};
};

// Counts the chooser's notifications.
class ChooserCount final : public PanelObserver {
public:
    void chooserEntriesChanged() override { ++changes; }
    int changes = 0;
};

TEST_F(ListReloadTest, ReloadOfAnUnreadableListKeepsTheSlotsAndThrows) {
    SlotGrid grid;
    grid.setCaption(101, u"KEPT");
    dir.makeUnreadable("BadList.txt");
    EXPECT_THROW(reloadMenuList(dir.directory(), u"BadList.txt", grid, {}), Error);
    EXPECT_EQ(grid.find(101)->caption, u"KEPT");
    EXPECT_TRUE(grid.find(101)->visible);
}

TEST_F(ListReloadTest, ReloadOfTheSelectedListEqualsPickingIt) {
    started("CAPTION_: Old\n[File]\nOLD: Old\n");
    dir.write("OrvaneList.txt", "CAPTION_: New\n[Draw]\nLINE: Line\n");
    core.reloadSelectedList();
    const std::vector<Slot> reloaded = core.state().slots().slots();
    const std::u16string caption = core.state().caption();
    core.chooserPickedByUser(0);
    EXPECT_EQ(caption, u"New [  ]");
    EXPECT_EQ(reloaded.size(), core.state().slots().slots().size());
    EXPECT_TRUE(std::equal(reloaded.begin(), reloaded.end(), core.state().slots().slots().begin(),
                           [](const Slot& a, const Slot& b) {
                               return a.caption == b.caption && a.visible == b.visible;
                           }));
}

TEST_F(ListReloadTest, UnreadableSelectedListKeepsTheMenusAndTheCaption) {
    started("CAPTION_: Old\n[File]\nOLD: Old\n");
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    dir.makeUnreadable("OrvaneList.txt");
    EXPECT_THROW(core.reloadSelectedList(), Error);
    EXPECT_EQ(firstItem(), u"OLD: Old");
    EXPECT_EQ(core.state().caption(), u"Old [  ]");
}

TEST_F(ListReloadTest, ChooserFollowsTheFolderKeepingThePick) {
    dir.write("GoneList.txt", "");
    started("");
    dir.write("NewList.txt", "");
    std::filesystem::remove(dir.path() / "GoneList.txt");
    core.refreshChooser();
    EXPECT_EQ(core.state().comboBox1().entries(), (std::vector<std::u16string>{u"NewList.txt", u"OrvaneList.txt"}));
    EXPECT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
}

TEST_F(ListReloadTest, SelectedListStaysAnEntryWhileItsFileIsGone) {
    dir.write("AList.txt", "");
    started("");
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    core.refreshChooser();
    EXPECT_EQ(core.state().comboBox1().entries(), (std::vector<std::u16string>{u"AList.txt", u"OrvaneList.txt"}));
    EXPECT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
}

TEST_F(ListReloadTest, UnchangedFolderLeavesTheChooserUnannounced) {
    started("");
    ChooserCount count;
    core.state().addObserver(&count);
    core.refreshChooser();
    core.state().removeObserver(&count);
    EXPECT_EQ(count.changes, 0);
}

}  // namespace
}  // namespace orvane
