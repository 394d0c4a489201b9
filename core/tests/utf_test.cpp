#include "core/utf.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace orvane
