#include "core/sortedlist.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Entries = std::vector<std::u16string>;

TEST(SortedListTest, AddsAtSortedPositionIgnoringCase) {
    SortedList list;
    for (const char16_t* text : {u"b", u"C", u"a", u"B"}) {
        list.add(text);
    }
    EXPECT_EQ(list.entries(), (Entries{u"a", u"b", u"B", u"C"}));
}

TEST(SortedListTest, AssignOrdersAsAddingOneByOneDoes) {
    const Entries texts{u"b", u"C", u"a", u"B", u"ｂ", u"A", u"b"};
    SortedList oneByOne;
    for (const std::u16string& text : texts) oneByOne.add(text);
    SortedList assigned;
    assigned.add(u"z");
    assigned.select(0);
    assigned.assign(texts);
    EXPECT_EQ(assigned.entries(), oneByOne.entries());
    EXPECT_EQ(assigned.selectedIndex(), std::nullopt);
}

TEST(SortedListTest, FindMatchesWholeTextIgnoringCaseFirstInDisplayOrder) {
    SortedList list;
    list.add(u"DrawList.txt");
    list.add(u"drawlist.TXT");
    list.add(u"OrvaneList.txt");
    EXPECT_EQ(list.find(u"DRAWLIST.TXT"), 0u);
    EXPECT_EQ(list.find(u"orvanelist.txt"), 2u);
    EXPECT_EQ(list.find(u"OrvaneList"), std::nullopt);
    EXPECT_EQ(list.find(u""), std::nullopt);
}

TEST(SortedListTest, SelectionFollowsItsEntryThroughAddsAndRemovals) {
    SortedList list;
    list.add(u"m");
    list.select(0);
    list.add(u"a");
    EXPECT_EQ(list.selectedIndex(), 1u);
    EXPECT_EQ(*list.selectedText(), u"m");
    list.remove(0);
    EXPECT_EQ(list.selectedIndex(), 0u);
    list.remove(0);
    EXPECT_EQ(list.selectedIndex(), std::nullopt);
    EXPECT_EQ(list.selectedText(), nullptr);
}

TEST(SortedListTest, ReplaceKeepsPositionWithoutSorting) {
    SortedList list;
    list.add(u"a");
    list.add(u"b");
    list.replace(0, u"z");
    EXPECT_EQ(list.entries(), (Entries{u"z", u"b"}));
}

TEST(SortedListTest, OutOfRangeRaisesTheListIndexError) {
    SortedList list;
    list.add(u"a");
    try {
        list.select(5);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), u"リストのインデックスが範囲を超えています (5)");
    }
    EXPECT_THROW(list.at(1), Error);
    EXPECT_THROW(list.remove(1), Error);
    EXPECT_EQ(listIndexError(-1).message(), u"リストのインデックスが範囲を超えています (-1)");
}

}  // namespace
}  // namespace orvane
