#include "core/text.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvane {
namespace {

TEST(TextEqual, CodeUnitsAndCaseCount) {
    EXPECT_TRUE(textEqual(u"", u""));
    EXPECT_TRUE(textEqual(u"Abc", u"Abc"));
    EXPECT_FALSE(textEqual(u"Abc", u"abc"));
    EXPECT_FALSE(textEqual(u"Abc", u"Abc "));
}

TEST(Trim, RemovesControlsAndBlanksAtBothEndsOnly) {
    EXPECT_EQ(trim(u" \t\r\n\x01 a b \x1F\x20"), u"a b");
    EXPECT_EQ(trim(u"a\tb"), u"a\tb");
    EXPECT_EQ(trim(u"\u00A0a\u3000"), u"\u00A0a\u3000");
    EXPECT_EQ(trim(u" \t "), u"");
    EXPECT_EQ(trim(u""), u"");
    EXPECT_EQ(trim(u"!x!"), u"!x!");
}

TEST(FindPos, CountsFromOneAndGivesZeroForEmptyOrAbsent) {
    EXPECT_EQ(findPos(u":", u"_LINE: 線分"), 6u);
    EXPECT_EQ(findPos(u"a", u"a"), 1u);
    EXPECT_EQ(findPos(u"ab", u"xaab"), 3u);
    EXPECT_EQ(findPos(u"A", u"abc"), 0u);
    EXPECT_EQ(findPos(u"", u"abc"), 0u);
    EXPECT_EQ(findPos(u"a", u""), 0u);
    EXPECT_EQ(findPos(u"abcd", u"abc"), 0u);
}

TEST(UpperCase, OnlyAsciiLetters) {
    EXPECT_EQ(upperCase(u"abz_AZ09"), u"ABZ_AZ09");
    EXPECT_EQ(upperCase(u"éａß"), u"éａß");
    EXPECT_EQ(upperCase(u"load_"), u"LOAD_");
}

TEST(IntToText, DecimalWithMinusOnly) {
    EXPECT_EQ(intToText(0), u"0");
    EXPECT_EQ(intToText(480), u"480");
    EXPECT_EQ(intToText(-40), u"-40");
    EXPECT_EQ(intToText(std::numeric_limits<std::int32_t>::min()), u"-2147483648");
    EXPECT_EQ(intToText(std::numeric_limits<std::int64_t>::max()), u"9223372036854775807");
}

struct IntCase {
    std::u16string text;
    std::int32_t expected;
};

class StrToIntDef : public ::testing::TestWithParam<IntCase> {};

TEST_P(StrToIntDef, ReadsOrFallsBack) {
    EXPECT_EQ(strToIntDef(GetParam().text, 777), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StrToIntDef,
    ::testing::Values(
        IntCase{u"", 777}, IntCase{u"  ", 777}, IntCase{u"+", 777}, IntCase{u"-", 777},
        IntCase{u"$", 777}, IntCase{u"0x", 777}, IntCase{u"0X", 777}, IntCase{u"x", 777},
        IntCase{u"12", 12}, IntCase{u" 7", 7}, IntCase{u"   -7", -7}, IntCase{u"7 ", 777},
        IntCase{u"\t7", 777}, IntCase{u"+12", 12}, IntCase{u"-0", 0}, IntCase{u"007", 7},
        IntCase{u"$1E0", 480}, IntCase{u"0x1E0", 480}, IntCase{u"0X1e0", 480},
        IntCase{u"x1A", 26}, IntCase{u"XE", 14}, IntCase{u"FFFFFFFF", 777},
        IntCase{u"$FFFFFFFF", -1}, IntCase{u"$80000000", std::numeric_limits<std::int32_t>::min()},
        IntCase{u"-$1", -1}, IntCase{u"-0x10", -16}, IntCase{u"+$10", 16},
        IntCase{u"-$FFFFFFFF", 1}, IntCase{u"$100000000", 777}, IntCase{u"$000000001", 1},
        IntCase{u"$0000000000FFFFFFFF", -1}, IntCase{u"$1G", 777}, IntCase{u"0x1 ", 777},
        IntCase{u"$-1", 777}, IntCase{u"0$1", 777}, IntCase{u"00x1", 777},
        IntCase{u"2147483647", 2147483647}, IntCase{u"2147483648", 777},
        IntCase{u"-2147483648", std::numeric_limits<std::int32_t>::min()},
        IntCase{u"-2147483649", 777}, IntCase{u"99999999999999999999999", 777},
        IntCase{u"++1", 777}, IntCase{u"+-1", 777}, IntCase{u"- 1", 777},
        IntCase{u"1.5", 777}, IntCase{u"abc", 777}, IntCase{u"１２", 777},
        IntCase{u"False", 777}));

TEST(ReplaceAll, LeftToRightWithoutOverlapOrRescan) {
    EXPECT_EQ(replaceAll(u"aaa", u"aa", u"b"), u"ba");
    EXPECT_EQ(replaceAll(u"a.b.c", u".", u".."), u"a..b..c");
    EXPECT_EQ(replaceAll(u"abab", u"ab", u"abab"), u"abababab");
    EXPECT_EQ(replaceAll(u"Abc abc", u"abc", u"x"), u"Abc x");
    EXPECT_EQ(replaceAll(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(replaceAll(u"abc", u"abc", u""), u"");
    EXPECT_EQ(replaceAll(u"", u"a", u"b"), u"");
}

}  // namespace
}  // namespace orvane
