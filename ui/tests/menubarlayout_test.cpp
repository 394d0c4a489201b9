#include "ui/menubarlayout.h"

#include <gtest/gtest.h>

namespace orvane::ui {
namespace {

TEST(MenuBarLayout, ShowsEveryDropDownWithItsItemsInSlotOrder) {
    const SlotGrid slots;
    const auto menus = menuBarLayout(slots);
    ASSERT_EQ(menus.size(), 15u);
    EXPECT_EQ(menus[0].number, 100);
    EXPECT_EQ(menus[14].number, 1500);
    ASSERT_EQ(menus[9].items.size(), 30u);
    EXPECT_EQ(menus[9].items[10].number, 1011);
    EXPECT_EQ(menus[9].items[10].caption, u"1011");
}

TEST(MenuBarLayout, HiddenItemsTakeNoRoom) {
    SlotGrid slots;
    slots.setVisible(102, false);
    const auto menus = menuBarLayout(slots);
    const auto& items = menus[0].items;
    ASSERT_EQ(items.size(), 29u);
    EXPECT_EQ(items[1].number, 103);
}

TEST(MenuBarLayout, AHiddenDropDownHidesItsItemsToo) {
    SlotGrid slots;
    slots.setVisible(200, false);
    const auto menus = menuBarLayout(slots);
    ASSERT_EQ(menus.size(), 14u);
    EXPECT_EQ(menus[1].number, 300);
    EXPECT_EQ(menus[1].items.front().number, 301);
}

TEST(MenuBarLayout, EveryDashItemIsASeparatorAndCaptionsStayAsSet) {
    SlotGrid slots;
    slots.setCaption(101, u"-");
    slots.setCaption(102, u"-");
    slots.setCaption(103, u"A&&B");
    const auto menus = menuBarLayout(slots);
    const auto& items = menus[0].items;
    EXPECT_TRUE(items[0].separator);
    EXPECT_TRUE(items[1].separator);
    EXPECT_FALSE(items[2].separator);
    EXPECT_EQ(items[2].caption, u"A&&B");
}

}  // namespace
}  // namespace orvane::ui
