#include "ui/listwatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/fake/fakeautomation.h"
#include "cadlink/fake/fakewindowsystem.h"
#include "core/tests/paneltestfiles.h"
#include "ui/panel.h"
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
    std::chrono::steady_clock::time_point now() const override { return clock; }
    std::optional<int> running;
    std::chrono::steady_clock::time_point clock;
};

struct ListWatchTest : ::testing::Test {
    ProgramDirectory dir;
    FakePanelWindow window;
    cadlink::fake::FakeAutomationRuntime runtime;
    cadlink::fake::FakeWindowSystem windows;
    Panel panel{window, {dir.programPath(), runtime, windows, u"Platform = test"}};
    PanelCore& core = panel.core();
    FakeTimer timer;
    ListWatch watch{core, panel.logic(), timer};

    ListWatchTest() {
        dir.write("OrvaneList.txt", "CAPTION_: Old\n[File]\nOLD: Old\n");
        panel.create();
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

TEST_F(ListWatchTest, SavesCloserThanTheQuietPeriodAreReadASecondAfterTheFirst) {
    for (int saved = 0; saved < 5; ++saved) {
        dir.write("OrvaneList.txt", "[File]\nV" + std::to_string(saved) + ": V\n");
        watch.fileChanged(u"OrvaneList.txt");
        timer.clock += std::chrono::milliseconds(200);
    }
    // The fifth save came 800 ms into the burst.
    EXPECT_EQ(timer.running, ListWatch::kBurstMilliseconds - 800);
    ASSERT_TRUE(expire());
    EXPECT_EQ(firstItem(), u"V4: V");
}

TEST_F(ListWatchTest, PickInAMenuOpenDuringAChangeRunsTheItemShownAndTheMenusChangeAfter) {
    dir.write("OrvaneList.txt", "[Help]\nVER_: about\n");
    watch.fileChanged(u"OrvaneList.txt");
    settle();
    watch.menuOpened();
    dir.write("OrvaneList.txt", "[File]\nNEW: New\n");
    watch.fileChanged(u"OrvaneList.txt");
    settle();
    EXPECT_EQ(firstItem(), u"VER_: about");

    // A pick closes the menu before its handler runs.
    watch.menusClosed();
    panel.N1011Click(101);
    EXPECT_EQ(window.information, std::vector<std::u16string>{u" バージョン情報"});
    settle();
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

// A list that failed is read again on a change of any file, its own or not.
struct ListWatchRetryTest : ListWatchTest, ::testing::WithParamInterface<const char16_t*> {};

TEST_P(ListWatchRetryTest, ListReadableAgainWithinTheSecondIsReadOnTheNextChangeAndShowsNoBox) {
    std::filesystem::remove(dir.path() / "OrvaneList.txt");
    dir.makeUnreadable("OrvaneList.txt");
    watch.fileChanged(u"OrvaneList.txt");
    ASSERT_TRUE(expire());
    dir.makeReadableAgain("OrvaneList.txt", "[File]\nNEW: New\n");
    watch.fileChanged(GetParam());
    settle();
    EXPECT_EQ(firstItem(), u"NEW: New");
    EXPECT_TRUE(window.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(ChangedFile, ListWatchRetryTest, ::testing::Values(u"OrvaneList.txt", u"OtherList.txt"));

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
