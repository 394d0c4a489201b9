#include "core/platform/posix/ansi_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace orvane::platform {
namespace {

TEST(AnsiCodec, Cp1252MapsEveryByteAndUndefinedOnesToTheirOwnNumber) {
    const AnsiCodec codec("CP1252");
    EXPECT_EQ(codec.decode("caf\xE9 \x80"), u"café €");
    EXPECT_EQ(codec.decode("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
    const std::u16string text = codec.decode(everyByte);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(codec.encode(text), everyByte);
}

TEST(AnsiCodec, Cp1252CannotHoldJapanese) {
    const AnsiCodec codec("CP1252");
    EXPECT_EQ(codec.encode(u"caf\u00E9"), "caf\xE9");
    EXPECT_FALSE(codec.encode(u"線分").has_value());
}

TEST(AnsiCodec, Cp932DecodesJapaneseAndReplacesMalformedBytes) {
    const AnsiCodec codec("CP932");
    EXPECT_EQ(codec.decode("\x90\xFC\x95\xAA"), u"線分");
    EXPECT_EQ(codec.decode("\x87\x40"), u"①");
    EXPECT_EQ(codec.decode("a\x81"), u"a\uFFFD");
    EXPECT_EQ(codec.decode("\x81\x20" "b"), u"\uFFFD b");
    EXPECT_EQ(codec.encode(u"線分 abc"), "\x90\xFC\x95\xAA abc");
    EXPECT_FALSE(codec.encode(u"😀").has_value());
    EXPECT_FALSE(codec.encode(std::u16string(1, u'\xD800')).has_value());
}

TEST(AnsiCodec, Utf8SetUsesUtf8) {
    const AnsiCodec codec("UTF-8");
    EXPECT_EQ(codec.decode("\xE7\xB7\x9A\xFF"), u"線\uFFFD");
    EXPECT_EQ(codec.encode(u"線分😀"), "\xE7\xB7\x9A\xE5\x88\x86\xF0\x9F\x98\x80");
    EXPECT_FALSE(codec.encode(std::u16string(1, u'\xDC00')).has_value());
}

TEST(AnsiCodec, RandomBytesNeverBreakTheDecoders) {
    std::mt19937 random(20250203);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const char* codeset : {"CP932", "CP1252", "UTF-8", "EUC-JP", "GB18030"}) {
        const AnsiCodec codec(codeset);
        for (int round = 0; round < 200; ++round) {
            std::string bytes(static_cast<std::size_t>(round % 40), '\0');
            for (char& b : bytes) b = static_cast<char>(byte(random));
            const std::u16string text = codec.decode(bytes);
            EXPECT_LE(text.size(), bytes.size() * 2 + 1);
            if (const auto again = codec.encode(text)) {
                EXPECT_EQ(codec.decode(*again), text);
            }
        }
    }
}

class LocaleVariable {
public:
    explicit LocaleVariable(const char* value) {
        if (const char* old = std::getenv("LC_ALL")) old_ = old;
        setenv("LC_ALL", value, 1);
    }
    ~LocaleVariable() {
        if (old_) {
            setenv("LC_ALL", old_->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }
    LocaleVariable(const LocaleVariable&) = delete;
    LocaleVariable& operator=(const LocaleVariable&) = delete;

private:
    std::optional<std::string> old_;
};

TEST(LocaleCodeset, FollowsTheUsersLocaleAndReadsAsciiAsUtf8) {
    {
        const LocaleVariable locale("C");
        EXPECT_EQ(localeCodeset(), "UTF-8");
    }
    {
        const LocaleVariable locale("C.UTF-8");
        EXPECT_EQ(localeCodeset(), "UTF-8");
    }
}

}  // namespace
}  // namespace orvane::platform
