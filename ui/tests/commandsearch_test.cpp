#include "ui/commandsearch.h"

#include <gtest/gtest.h>

#include "ui/searchtext.h"

namespace orvane::ui {
namespace {

std::vector<SearchItem> itemsCaptioned(std::initializer_list<const char16_t*> captions) {
    std::vector<SearchItem> items;
    int number = 101;
    for (const char16_t* caption : captions) {
        items.push_back({caption, u"Menu", number++, u"OrvaneList.txt"});
    }
    return items;
}

std::vector<std::u16string> captionsFound(const CommandSearch& search, std::u16string_view text) {
    std::vector<std::u16string> captions;
    for (const SearchItem* item : search.find(text)) captions.push_back(item->caption);
    return captions;
}

TEST(SearchForm, FoldsCaseAndFullWidthLetters) { EXPECT_EQ(searchForm(u"Ｌｉｎｅ　A"), u"line a"); }

TEST(SearchForm, HalfWidthKanaTakeTheirVoicedMarks) {
    EXPECT_EQ(searchForm(u"ｾﾝﾌﾞﾝ"), u"センブン");
    EXPECT_EQ(searchForm(u"ﾎﾟﾘﾗｲﾝ"), u"ポリライン");
    EXPECT_EQ(searchForm(u"ｳﾞｯﾄﾞ"), u"ヴッド");
    EXPECT_EQ(searchForm(u"ｱﾞ"), u"ア゛");
}

TEST(CommandSearch, EveryTypedWordMustOccurInTheCaption) {
    const CommandSearch search(itemsCaptioned({u"_LINE: 線分", u"_PLINE: ポリライン", u"_CIRCLE: 円"}));
    EXPECT_EQ(captionsFound(search, u"line 線"), std::vector<std::u16string>{u"_LINE: 線分"});
}

TEST(CommandSearch, CaseAndWidthDoNotTellCaptionsApart) {
    const CommandSearch search(itemsCaptioned({u"_PLINE: ポリライン"}));
    EXPECT_EQ(captionsFound(search, u"ＰＬＩＮＥ ﾎﾟﾘ").size(), 1u);
}

TEST(CommandSearch, StartsComeFirstThenWordStartsThenTheRestInMenuOrder) {
    const CommandSearch search(
        itemsCaptioned({u"_PLINE: polyline", u"LOAD_: line.lsp", u"_LINE: line", u"_XLINE: ray", u"LINE_: x"}));
    EXPECT_EQ(captionsFound(search, u"line"),
              (std::vector<std::u16string>{u"LINE_: x", u"LOAD_: line.lsp", u"_LINE: line", u"_PLINE: polyline",
                                           u"_XLINE: ray"}));
}

TEST(CommandSearch, MatchesTheTextTheMenuShows) {
    const CommandSearch search(itemsCaptioned({u"_QS: Quick S&ave", u"_FC: Fish&&Chips"}));
    EXPECT_EQ(captionsFound(search, u"quick save"), std::vector<std::u16string>{u"_QS: Quick S&ave"});
    EXPECT_EQ(captionsFound(search, u"fish&chips"), std::vector<std::u16string>{u"_FC: Fish&&Chips"});
    EXPECT_TRUE(search.find(u"s&ave").empty());
}

TEST(CommandSearch, ShowsAtMostFifteen) {
    std::vector<SearchItem> items;
    for (int i = 0; i < 20; ++i) items.push_back({u"_LINE", u"Draw", 101 + i, u"OrvaneList.txt"});
    EXPECT_EQ(CommandSearch(std::move(items)).find(u"line").size(), CommandSearch::kMaxShown);
}

TEST(CommandSearch, BlankTextFindsNothing) {
    const CommandSearch search(itemsCaptioned({u"_LINE: 線分"}));
    EXPECT_TRUE(search.find(u" 　").empty());
}

TEST(SearchableItems, SeparatorsAndHiddenSlotsAreNeverFound) {
    SlotGrid slots;
    slots.setCaption(101, u"-");
    slots.setCaption(102, u"_LINE");
    slots.setVisible(103, false);
    slots.setVisible(200, false);
    const auto items = searchableItems(slots, u"OrvaneList.txt");
    ASSERT_EQ(items.size(), 28u + 13u * 30u);
    EXPECT_EQ(items.front().slotNumber, 102);
    EXPECT_EQ(items.front().menuTitle, u"100");
    EXPECT_EQ(items[1].slotNumber, 104);
    EXPECT_EQ(items[28].slotNumber, 301);
}

}  // namespace
}  // namespace orvane::ui
