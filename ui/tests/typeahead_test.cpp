#include <gtest/gtest.h>

#include "ui/typeahead.h"

namespace orvane::ui {
namespace {

using namespace std::chrono_literals;

struct TypeAheadTest : ::testing::Test {
    std::chrono::steady_clock::time_point now{};
    TypeAhead typeAhead{[this] { return now; }};
    std::vector<std::u16string> entries{u"Alpha\tA.App", u"beta\tB.App", u"Bravo\tBr.App", u"Charlie\tC.App"};
};

TEST_F(TypeAheadTest, KeystrokesWithinHalfASecondExtendTheSearchIgnoringCase) {
    EXPECT_EQ(typeAhead.type(u'b', entries).index, 1u);
    now += 499ms;
    EXPECT_EQ(typeAhead.type(u'R', entries).index, 2u);
    EXPECT_EQ(typeAhead.searchText(), u"bR");
}

TEST_F(TypeAheadTest, AKeystrokeHalfASecondLaterStartsAgain) {
    typeAhead.type(u'b', entries);
    now += 500ms;
    EXPECT_EQ(typeAhead.type(u'c', entries).index, 3u);
    EXPECT_EQ(typeAhead.searchText(), u"c");
}

TEST_F(TypeAheadTest, NoMatchLeavesTheSelectionAlone) {
    const TypeAhead::Selection selection = typeAhead.type(u'z', entries);
    EXPECT_FALSE(selection.index.has_value());
    EXPECT_FALSE(selection.first);
}

TEST_F(TypeAheadTest, BackspaceShortensAndSearchesAgain) {
    typeAhead.type(u'b', entries);
    typeAhead.type(u'r', entries);
    const TypeAhead::Selection selection = typeAhead.backspace(entries);
    EXPECT_EQ(selection.index, 1u);
    EXPECT_EQ(typeAhead.searchText(), u"b");
}

TEST_F(TypeAheadTest, BackspaceThatEmptiesTheSearchAsksForTheFirstEntry) {
    typeAhead.type(u'c', entries);
    EXPECT_TRUE(typeAhead.backspace(entries).first);
    EXPECT_TRUE(typeAhead.backspace(entries).first);
    EXPECT_TRUE(typeAhead.backspace({}).first);
}

TEST_F(TypeAheadTest, SlowBackspaceFirstEmptiesTheSearch) {
    typeAhead.type(u'b', entries);
    typeAhead.type(u'r', entries);
    now += 2s;
    EXPECT_TRUE(typeAhead.backspace(entries).first);
    EXPECT_EQ(typeAhead.searchText(), u"");
}

}  // namespace
}  // namespace orvane::ui
