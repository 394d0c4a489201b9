#include "core/utf.h"

#include <gtest/gtest.h>

#include <random>

namespace orvane {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    const std::u16string text = u"abc 線分 é 😀 \u00A0";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"線"), "\xE7\xB7\x9A");
    EXPECT_EQ(toUtf8(u"😀"), "\xF0\x9F\x98\x80");
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(fromUtf8("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(fromUtf8("\xE7\xB7"), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD" "a");
    EXPECT_EQ(toUtf8(u"a" + std::u16string(1, u'\xDC00')), "a\xEF\xBF\xBD");
}

TEST(Utf, NulAndEmptySurvive) {
    EXPECT_EQ(fromUtf8(""), u"");
    EXPECT_EQ(fromUtf8(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(FileNameBytes, WellFormedUtf8ReadsAsText) {
    EXPECT_EQ(fromFileNameBytes("線分List.txt"), u"線分List.txt");
    EXPECT_EQ(fromFileNameBytes("caf\xE9List.txt"), u"caf\xDCE9List.txt");
}

TEST(FileNameBytes, EveryByteSequenceComesBackUnchanged) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string name;
        for (int i = 0; i < round % 24; ++i) name.push_back(static_cast<char>(byte(random)));
        EXPECT_EQ(toFileNameBytes(fromFileNameBytes(name)), name);
    }
}

}  // namespace
}  // namespace orvane
