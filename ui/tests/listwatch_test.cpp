#include "ui/listwatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/tests/paneltestfiles.h"
#include "ui/tests/fakepanelwindow.h"

namespace orvane::ui {
namespace {

using orvane::testing::ProgramDirectory;
using testing::FakePanelWindow;

// A timer that runs only when the test lets it expire.
class FakeTimer final : public WatchTimer {
public:
    void startTimer(int milliseconds) override { running = milliseconds; }
    void stopTimer() override { running.reset(); }
    std::optional<int> running;
};

struct ListWatchTest : ::testing::Test {
    ProgramDirectory dir;
    FakePanelWindow window;
    PanelCore core{dir.programPath(), window, {}, [](const Error&) {}};
    PanelFormLogic logic{window, core};
    FakeTimer timer;
    ListWatch watch{core, logic, timer};

    ListWatchTest() {
        dir.write("OrvaneList.txt", "CAPTION_: Old\n[File]\nOLD: Old\n");
        core.FormCreate();
    }
    // Lets the running timer expire; false when none runs.
    bool expire() {
        if (!timer.running) return false;
        timer.running.reset();
        watch.timerExpired();
        return true;
    }
    // Lets every timer expire, as an idle program would.
    void settle() {
        while (expire()) {
        }
    }
    std::u16string firstItem() const { return core.state().slots().find(101)->caption; }
    const std::vector<std::u16string>& entries() const { return core.state().comboBox1().entries(); }
};

TEST_F(ListWatchTest, BurstOfSavesMakesOneReloadOnceQuiet) {
    for (const char* text : {"[File]\nA: A\n", "[File]\nB: B\n", "[File]\nC: C\n"}) {
        dir.write("OrvaneList.txt", text);
        watch.fileChanged(u"OrvaneList.txt");
        EXPECT_EQ(firstItem(), u"OLD: Old");
    }
    EXPECT_EQ(timer.running, ListWatch::kQuietMilliseconds);
    ASSERT_TRUE(expire());
    EXPECT_EQ(firstItem(), u"C: C");
    EXPECT_FALSE(timer.running);
}

TEST_F(ListWatchTest, ChangeWhileAMenuIsOpenWaitsUntilItCloses) {
    watch.menuOpened();
    dir.write("OrvaneList.txt", "[File]\nNEW: New\n");
    watch.folderChanged();
    settle();
    EXPECT_EQ(firstItem(), u"OLD: Old");
    watch.menusClosed();
    EXPECT_EQ(firstItem(), u"NEW: New");
}

TEST_F(ListWatchTest, ReloadUpdatesTheCaptionAsAChooserPickWould) {
    dir.write("OrvaneList.txt", "CAPTION_: Fresh\n[File]\nNEW: New\n");
    watch.fileChanged(u"OrvaneList.txt");
    settle();
    EXPECT_EQ(core.state().caption(), u"Fresh [  ]");
}

TEST_F(ListWatchTest, ChangeOfAnotherFileLeavesTheMenus) {
    dir.write("OrvaneList.txt", "[File]\nNEW: New\n");
    watch.fileChanged(u"Orvane.ini");
    watch.fileChanged(u"OtherList.txt");
    settle();
    EXPECT_EQ(firstItem(), u"OLD: Old");
}

TEST_F(ListWatchTest, UnreadableListKeepsTheMenusAndShowsNoBoxAtOnce) {
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    dir.makeUnreadable("OrvaneList.txt");
    watch.fileChanged(u"OrvaneList.txt");
    ASSERT_TRUE(expire());
    EXPECT_EQ(firstItem(), u"OLD: Old");
    EXPECT_EQ(core.state().caption(), u"Old [  ]");
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(ListWatchTest, ListStillUnreadableASecondLaterShowsItsErrorOnce) {
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    dir.makeUnreadable("OrvaneList.txt");
    watch.fileChanged(u"OrvaneList.txt");
    ASSERT_TRUE(expire());
    EXPECT_EQ(timer.running, ListWatch::kErrorDelayMilliseconds);
    ASSERT_TRUE(expire());
    ASSERT_EQ(window.errors.size(), 1U);
    EXPECT_NE(window.errors[0].find(u"OrvaneList.txt"), std::u16string::npos);
    watch.folderChanged();
    settle();
    EXPECT_EQ(window.errors.size(), 1U);
}

TEST_F(ListWatchTest, ListReadableAgainWithinTheSecondShowsNoBox) {
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    dir.makeUnreadable("OrvaneList.txt");
    watch.fileChanged(u"OrvaneList.txt");
    ASSERT_TRUE(expire());
    dir.makeReadableAgain("OrvaneList.txt", "[File]\nNEW: New\n");
    watch.fileChanged(u"OrvaneList.txt");
    settle();
    EXPECT_EQ(firstItem(), u"NEW: New");
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(ListWatchTest, NewListFileJoinsTheChooserKeepingThePick) {
    dir.write("AList.txt", "");
    watch.fileChanged(u"AList.txt");
    settle();
    EXPECT_EQ(entries(), (std::vector<std::u16string>{u"AList.txt", u"OrvaneList.txt"}));
    EXPECT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
}

TEST_F(ListWatchTest, DeletedCurrentListKeepsTheMenusAndItsEntry) {
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    watch.fileChanged(u"OrvaneList.txt");
    settle();
    EXPECT_EQ(firstItem(), u"OLD: Old");
    EXPECT_EQ(core.state().chooserSelectedText(), u"OrvaneList.txt");
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(ListWatchTest, RecreatedCurrentListIsReloaded) {
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    watch.fileChanged(u"OrvaneList.txt");
    settle();
    dir.write("OrvaneList.txt", "[File]\nNEW: New\n");
    watch.fileChanged(u"OrvaneList.txt");
    settle();
    EXPECT_EQ(firstItem(), u"NEW: New");
}

}  // namespace
}  // namespace orvane::ui
