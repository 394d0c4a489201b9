#include "ui/searchbox.h"

#include <gtest/gtest.h>

namespace orvane::ui {
namespace {

struct RecordingSearchBox final : SearchBoxView {
    void showRows(const std::vector<const SearchItem*>& rows, std::optional<std::size_t> highlighted) override {
        shown.clear();
        for (const SearchItem* row : rows) shown.push_back(row->caption);
        current = highlighted;
        events.emplace_back("rows");
    }
    void closeBox() override { events.emplace_back("closed"); }

    std::vector<std::u16string> shown;
    std::optional<std::size_t> current;
    std::vector<std::string> events;
};

struct SearchBoxTest : ::testing::Test {
    RecordingSearchBox view;
    std::vector<std::u16string> ran;
    SearchBoxLogic box{view, [this](const SearchItem& item) {
                           view.events.emplace_back("ran");
                           ran.push_back(item.caption);
                       }};

    SearchBoxTest() {
        box.open({{u"_LINE: line", u"Draw", 101, u"OrvaneList.txt"},
                  {u"_PLINE: polyline", u"Draw", 102, u"OrvaneList.txt"},
                  {u"_XLINE: ray", u"Draw", 103, u"OrvaneList.txt"}});
    }
};

TEST_F(SearchBoxTest, EnterClosesTheBoxThenRunsTheHighlightedItem) {
    box.textChanged(u"line");
    box.down();
    box.enter();
    EXPECT_EQ(ran, std::vector<std::u16string>{u"_PLINE: polyline"});
    EXPECT_EQ(view.events.back(), "ran");
    EXPECT_EQ(view.events[view.events.size() - 2], "closed");
    EXPECT_FALSE(box.isOpen());
}

TEST_F(SearchBoxTest, EscapeClosesTheBoxAndRunsNothing) {
    box.textChanged(u"line");
    box.dismiss();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(view.events.back(), "closed");
}

TEST_F(SearchBoxTest, UpAndDownStayWithinTheRows) {
    box.textChanged(u"line");
    box.up();
    EXPECT_EQ(view.current, 0u);
    for (int i = 0; i < 5; ++i) box.down();
    EXPECT_EQ(view.current, 2u);
}

TEST_F(SearchBoxTest, EnterWithoutAMatchClosesAndRunsNothing) {
    box.textChanged(u"circle");
    EXPECT_FALSE(view.current.has_value());
    box.enter();
    EXPECT_TRUE(ran.empty());
    EXPECT_FALSE(box.isOpen());
}

}  // namespace
}  // namespace orvane::ui
