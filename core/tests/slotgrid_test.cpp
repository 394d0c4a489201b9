#include "core/slotgrid.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/utf.h"

namespace orvane {
namespace {

TEST(SlotGridTest, NamesCarryTheNumberBetweenNAndOne) {
    EXPECT_EQ(SlotGrid::slotName(100), u"N1001");
    EXPECT_EQ(SlotGrid::slotName(101), u"N1011");
    EXPECT_EQ(SlotGrid::slotName(130), u"N1301");
    EXPECT_EQ(SlotGrid::slotName(1000), u"N10001");
    EXPECT_EQ(SlotGrid::slotName(1530), u"N15301");
}

TEST(SlotGridTest, OnlyFifteenMenusOfThirtyItemsExist) {
    for (const int number : {100, 101, 130, 1500, 1530}) {
        EXPECT_TRUE(SlotGrid::exists(number)) << number;
    }
    for (const int number : {0, 1, 30, 99, 131, 199, 1531, 1600, 1601, -100, -101}) {
        EXPECT_FALSE(SlotGrid::exists(number)) << number;
    }
}

TEST(SlotGridTest, LooksUpByNumberAndByName) {
    const SlotGrid grid;
    ASSERT_NE(grid.find(1011), nullptr);
    EXPECT_EQ(grid.find(1011)->name, u"N10111");
    EXPECT_EQ(grid.findByName(u"N10111"), grid.find(1011));
    EXPECT_EQ(grid.findByName(u"N1001"), grid.find(100));
    for (const char16_t* name : {u"N01001", u"N1311", u"N1", u"N00", u"N16001", u"X1001", u"N1000", u""}) {
        EXPECT_EQ(grid.findByName(name), nullptr) << toUtf8(name);
    }
    EXPECT_EQ(grid.find(131), nullptr);
}

TEST(SlotGridTest, StartsVisibleWithDecimalNumbersInMenuOrder) {
    const SlotGrid grid;
    ASSERT_EQ(grid.slots().size(), 465u);
    EXPECT_EQ(grid.slots()[0].caption, u"100");
    EXPECT_EQ(grid.slots()[1].caption, u"101");
    EXPECT_EQ(grid.slots()[31].caption, u"200");
    EXPECT_EQ(grid.slots().back().caption, u"1530");
    for (const Slot& slot : grid.slots()) {
        EXPECT_TRUE(slot.visible) << slot.number;
    }
}

TEST(SlotGridTest, ReportsRealChangesAndSkipsMissingSlots) {
    SlotGrid grid;
    std::vector<int> changed;
    grid.setChangeHandler([&](int number) { changed.push_back(number); });
    grid.setCaption(101, u"&Draw");
    grid.setCaption(101, u"&Draw");
    grid.setVisible(101, true);
    grid.setVisible(205, false);
    grid.setCaption(131, u"none");
    grid.setVisible(1600, false);
    EXPECT_EQ(changed, (std::vector<int>{101, 205}));
    EXPECT_EQ(grid.find(101)->caption, u"&Draw");
}

TEST(SlotGridTest, ALongCaptionKeepsItsFirst256UnitsAndMarksTheSlotCut) {
    SlotGrid grid;
    const std::u16string text = u"_CMD: " + std::u16string(1000, u'x');
    grid.setCaption(101, text);
    EXPECT_EQ(grid.find(101)->caption, text.substr(0, 256));
    EXPECT_TRUE(grid.find(101)->cut);
    grid.setCaption(101, text.substr(0, 256));
    EXPECT_EQ(grid.find(101)->caption, text.substr(0, 256));
    EXPECT_FALSE(grid.find(101)->cut);
}

TEST(SlotGridTest, ACutNeverSplitsASurrogatePair) {
    SlotGrid grid;
    const std::u16string text = std::u16string(255, u'a') + u"😀" + u"b";
    grid.setCaption(101, text);
    EXPECT_EQ(grid.find(101)->caption, std::u16string(255, u'a'));
    EXPECT_TRUE(grid.find(101)->cut);
}

TEST(SlotGridTest, CuttingOrNotIsAChange) {
    SlotGrid grid;
    std::vector<int> changed;
    grid.setChangeHandler([&](int number) { changed.push_back(number); });
    const std::u16string held(256, u'x');
    grid.setCaption(101, held);
    grid.setCaption(101, held + u"y");
    grid.setCaption(101, held + u"z");
    EXPECT_EQ(changed, (std::vector<int>{101, 101}));
}

}  // namespace
}  // namespace orvane
