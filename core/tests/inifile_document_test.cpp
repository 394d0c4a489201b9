#include "core/inifile_bytes.h"

#include "core/linefile.h"

#include <gtest/gtest.h>

#include <optional>

namespace orvane::ini {
namespace {

using namespace std::string_literals;

std::optional<std::u16string> none() { return std::nullopt; }

TEST(IniDocument, ASectionAfterInsertedLinesIsFoundAtItsNewPlace) {
    IniDocument document("[A]\r\na=1\r\n[B]\r\nb=2\r\n");
    ASSERT_TRUE(document.setValue(u"A", u"x", u"3"));
    ASSERT_TRUE(document.setValue(u"A", u"y", u"4"));
    EXPECT_EQ(document.value(u"B", u"b"), u"2");
    ASSERT_TRUE(document.setValue(u"B", u"c", u"5"));
    EXPECT_EQ(document.bytes(), "[A]\r\na=1\r\nx=3\r\ny=4\r\n[B]\r\nb=2\r\nc=5\r\n");
}

TEST(IniDocument, AWrittenLineThatReadsAsAHeaderStartsASection) {
    IniDocument document("[A]\r\nkey=1\r\n\r\n[B]\r\nb=2\r\n");
    // "[K=]" is a header: the lines after it up to [B] are no longer A's.
    ASSERT_TRUE(document.setValue(u"A", u"[K", u"]"));
    EXPECT_EQ(document.bytes(), "[A]\r\nkey=1\r\n[K=]\r\n\r\n[B]\r\nb=2\r\n");
    ASSERT_TRUE(document.setValue(u"K=", u"k", u"2"));
    EXPECT_EQ(document.bytes(), "[A]\r\nkey=1\r\n[K=]\r\nk=2\r\n\r\n[B]\r\nb=2\r\n");
    EXPECT_EQ(document.value(u"A", u"k"), none());
    EXPECT_EQ(document.value(u"B", u"b"), u"2");
}

TEST(IniDocument, ALastLineWithoutLineEndThatIsAHeaderTakesTheNewKey) {
    IniDocument document("[B]\nb=2\n[A]");
    ASSERT_TRUE(document.setValue(u"A", u"a", u"1"));
    ASSERT_TRUE(document.setValue(u"a", u"c", u"3"));
    EXPECT_EQ(document.bytes(), "[B]\nb=2\n[A]\r\na=1\r\nc=3\r\n");
    EXPECT_EQ(document.value(u"A", u"c"), u"3");
}

TEST(IniDocument, HeadersInUtf16AreFoundInEitherByteOrder) {
    // U+5B00 and U+4E5B hold the byte of "[" without being one.
    for (const TextEncoding encoding : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const IniDocument document(
            encodeLines({u"\u5B00[X]", u"\u4E5B=1", u" \t[Form]", u"Width=7"}, encoding));
        EXPECT_EQ(document.value(u"form", u"WIDTH"), u"7");
        EXPECT_EQ(document.value(u"X", u"\u4E5B"), none());
    }
}

// Read one byte off, these lines are "\n[X]": a header only out of step.
TEST(IniDocument, UnitsAreReadInStepWithTheMark) {
    const std::u16string outOfStep[] = {u"\u0A20\u5B00\u5800\u5D00",
                                        u"\u2000\u0A00\u5B00\u5800\u5D00"};
    for (const TextEncoding encoding : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const std::u16string& line = outOfStep[encoding == TextEncoding::Utf16LE ? 0 : 1];
        IniDocument document(encodeLines({line}, encoding));
        ASSERT_TRUE(document.setValue(u"X", u"k", u"1"));
        EXPECT_EQ(document.bytes(), encodeLines({line, u"[X]", u"k=1"}, encoding));
    }
}

TEST(IniDocument, NamesBeyondAsciiMatchByCaseFolding) {
    // Marked as UTF-8, so that it reads the same whatever the ANSI code page.
    const IniDocument document("\xEF\xBB\xBF[Stra\xC3\x9F" "e]\r\n\xE2\x84\xAA" "ey=1\r\n"s);
    EXPECT_EQ(document.value(u"STRASSE", u"key"), u"1");
    EXPECT_EQ(document.value(u"STRASS", u"key"), none());
    EXPECT_EQ(document.value(u"Strasse", u"keys"), none());
}

}  // namespace
}  // namespace orvane::ini
