#include "core/linefile.h"

#include "core/error.h"
#include "core/tests/scratch_dir.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::u16string>;
using orvane::testing::ScratchDir;

struct LineCase {
    std::string name;
    std::string bytes;
    Lines lines;
};

class DecodeLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(DecodeLines, SplitsAtEveryLineEnd) {
    EXPECT_EQ(decodeLines(GetParam().bytes).lines, GetParam().lines);
}

Lines linesOneByOne(std::string_view bytes) {
    Lines lines;
    forEachLine(bytes, [&](std::u16string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

TEST_P(DecodeLines, ForEachLineGivesTheSameLinesOneByOne) {
    EXPECT_EQ(linesOneByOne(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DecodeLines,
    ::testing::Values(
        LineCase{"Empty", "", {}},
        LineCase{"OnlyUtf8Mark", "\xEF\xBB\xBF", {}},
        LineCase{"OnlyUtf16Mark", "\xFF\xFE", {}},
        LineCase{"CrLf", "a\r\nb\r\n", {u"a", u"b"}},
        LineCase{"LoneCr", "a\rb\r", {u"a", u"b"}},
        LineCase{"LoneLf", "a\nb\n", {u"a", u"b"}},
        LineCase{"LfCrHasEmptyLineBetween", "a\n\rb", {u"a", u"", u"b"}},
        LineCase{"LastLineWithoutEnd", "a\r\nb", {u"a", u"b"}},
        LineCase{"OnlyLineEnd", "\r\n", {u""}},
        LineCase{"BlankLinesKept", "\r\n\r\n a \r\n", {u"", u"", u" a "}},
        LineCase{"CrCrLf", "a\r\r\nb", {u"a", u"", u"b"}},
        LineCase{"NulEndsText", std::string("a\r\nb\0c\r\nd", 9), {u"a", u"b"}},
        LineCase{"NulFirst", std::string("\0a", 2), {}},
        LineCase{"TabsKept", "\ta\t\r\n", {u"\ta\t"}}),
    [](const auto& info) { return info.param.name; });

TEST(DecodeLines, MarksChooseTheEncoding) {
    const LineFileContent utf8 = decodeLines("\xEF\xBB\xBF\xE7\xB7\x9A\r\nb");
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.lines, (Lines{u"線", u"b"}));

    const LineFileContent le = decodeLines(std::string("\xFF\xFE\xDA\x7DZ\0\r\0\n\0", 10));
    EXPECT_EQ(le.encoding, TextEncoding::Utf16LE);
    EXPECT_EQ(le.lines, (Lines{u"線Z"}));

    const LineFileContent be = decodeLines(std::string("\xFE\xFF\x7D\xDA\0Z\0\r", 8));
    EXPECT_EQ(be.encoding, TextEncoding::Utf16BE);
    EXPECT_EQ(be.lines, (Lines{u"線Z"}));

    const LineFileContent ansi = decodeLines("abc");
    EXPECT_EQ(ansi.encoding, TextEncoding::Ansi);
    EXPECT_EQ(ansi.lines, (Lines{u"abc"}));
}

TEST(DecodeLines, MarksAreTestedUtf8ThenLittleThenBigEndian) {
    // FF FE FF: the little-endian mark wins, the odd byte left is replaced.
    EXPECT_EQ(decodeLines("\xFF\xFE\xFF").encoding, TextEncoding::Utf16LE);
    EXPECT_EQ(decodeLines("\xFF\xFE\xFF").lines, (Lines{u"\uFFFD"}));
    // A mark only counts at the very start.
    EXPECT_EQ(decodeLines("a\xEF\xBB\xBF").encoding, TextEncoding::Ansi);
}

TEST(DecodeLines, Utf16NulCodeUnitEndsTheText) {
    const std::string bytes("\xFF\xFE" "a\0\0\0b\0", 8);
    EXPECT_EQ(decodeLines(bytes).lines, (Lines{u"a"}));
    // A zero byte inside a code unit is no NUL.
    EXPECT_EQ(decodeLines(std::string("\xFF\xFE\x00\x30", 4)).lines, (Lines{u"\u3000"}));
}

TEST(DecodeLines, MalformedUtf16BecomesReplacementCharacters) {
    EXPECT_EQ(decodeLines(std::string("\xFF\xFE" "a\0b", 5)).lines, (Lines{u"a\uFFFD"}));
    EXPECT_EQ(decodeLines(std::string("\xFF\xFE\x00\xD8" "a\0", 6)).lines, (Lines{u"\uFFFDa"}));
    EXPECT_EQ(decodeLines(std::string("\xFF\xFE\x00\xDC", 4)).lines, (Lines{u"\uFFFD"}));
    EXPECT_EQ(decodeLines(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)).lines, (Lines{u"😀"}));
}

TEST(DecodeLines, RandomBytesNeverCrash) {
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = marks[round % 4];
        const int length = round % 64;
        for (int i = 0; i < length; ++i) bytes.push_back(static_cast<char>(byte(random)));
        const LineFileContent content = decodeLines(bytes);
        for (const std::u16string& line : content.lines) {
            EXPECT_EQ(line.find_first_of(std::u16string(u"\r\n\0", 3)), std::u16string::npos);
        }
        EXPECT_EQ(decodeLines(encodeLines(content.lines, content.encoding)).lines, content.lines);
    }
}

TEST(ForEachLine, RandomBytesGiveTheLinesOfTheWholeDecode) {
    std::mt19937 random(815);
    // Line ends, NULs, blanks, brackets, surrogates and broken sequences
    // more often than uniform bytes would give them.
    const std::string pieces[] = {"\r", "\n", std::string(1, '\0'), " ", "[", "a", "\xE7", "\xB7\x9A",
                                  "\xD8", "\xDC", "\xF0\x9F", "\xFF", "\x80"};
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    const std::string marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = marks[round % 4];
        const int length = round % 48;
        for (int i = 0; i < length; ++i) bytes += pieces[piece(random)];
        ASSERT_EQ(linesOneByOne(bytes), decodeLines(bytes).lines) << round;
    }
}

// The bytes of a literal, NULs included.
template <std::size_t N>
std::string bytesOf(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

TEST(LineSplitter, PiecesOfAnySizeGiveTheLinesOfTheWholeDecode) {
    std::mt19937 random(2718);
    const std::string texts[] = {"\xEF\xBB\xBF" "ab\r\ncd\r\re\n\rf",
                                 bytesOf("\xFF\xFE" "a\0\r\0\n\0b\0\r\0\r\0\n\0\x3D\xD8\x00\xDE" "z"),
                                 bytesOf("\xFE\xFF\0a\0\r\0\n\0b\0\0\0c"), "plain\r\nansi\rtext", "a\r"};
    for (const std::string& text : texts) {
        for (int round = 0; round < 200; ++round) {
            Lines lines;
            LineSplitter splitter([&](std::u16string_view line) {
                lines.emplace_back(line);
                return true;
            });
            std::size_t at = 0;
            while (at < text.size()) {
                const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 4)(random);
                splitter.feed(std::string_view(text).substr(at, size));
                at += size;
            }
            splitter.finish();
            ASSERT_EQ(lines, decodeLines(text).lines) << round;
        }
    }
}

TEST(ForEachLine, StopsWhenTheTakerSaysSo) {
    Lines taken;
    forEachLine("a\nb\nc\n", [&](std::u16string_view line) {
        taken.emplace_back(line);
        return line != u"b";
    });
    EXPECT_EQ(taken, (Lines{u"a", u"b"}));
}

TEST(EncodeLines, EveryLineEndsWithCrLfInTheRecordedEncoding) {
    const Lines lines{u"線分\tBricscadApp.AcadApplication", u"", u"😀"};
    EXPECT_EQ(encodeLines({u"a", u"b"}, TextEncoding::Ansi), "a\r\nb\r\n");
    EXPECT_EQ(encodeLines({}, TextEncoding::Utf8), "\xEF\xBB\xBF");
    EXPECT_EQ(encodeLines({u"a"}, TextEncoding::Utf16LE), std::string("\xFF\xFE" "a\0\r\0\n\0", 8));
    EXPECT_EQ(encodeLines({u"a"}, TextEncoding::Utf16BE), std::string("\xFE\xFF\0a\0\r\0\n", 8));
    for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const LineFileContent back = decodeLines(encodeLines(lines, encoding));
        EXPECT_EQ(back.encoding, encoding);
        EXPECT_EQ(back.lines, lines);
    }
}

TEST(EncodeLines, TextTheCodePageCannotHoldIsWrittenAsUtf8WithMark) {
    // An unpaired surrogate has no form in any code page.
    const Lines lines{u"a" + std::u16string(1, u'\xD800')};
    EXPECT_EQ(encodeLines(lines, TextEncoding::Ansi), "\xEF\xBB\xBF" "a\xEF\xBF\xBD\r\n");
}

std::string fileContent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LineFile, WriteThenReadKeepsLinesAndEncoding) {
    ScratchDir dir;
    const std::u16string path = (dir / "TargetCAD_APIVersion.txt").u16string();
    const Lines lines{u"Demo CAD\tBricscadApp.AcadApplication", u"線分\tX.Y"};
    for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE,
                                  TextEncoding::Ansi}) {
        writeLineFile(path, lines, encoding);
        const LineFileContent back = readLineFile(path);
        EXPECT_EQ(back.lines, lines);
        if (encoding != TextEncoding::Ansi) {
            EXPECT_EQ(back.encoding, encoding);
        }
    }
}

TEST(LineFile, ReadingAMissingFileRaisesTheOpenMessage) {
    ScratchDir dir;
    const std::u16string path = (dir / "missing.txt").u16string();
    try {
        readLineFile(path);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().starts_with(u"ファイル " + path + u" は開けません。 "));
        EXPECT_TRUE(error.message().ends_with(u" "));
    }
}

TEST(LineFile, ReadOnlyFileIsNotReplaced) {
    ScratchDir dir;
    const fs::path target = dir / "list.txt";
    std::ofstream(target, std::ios::binary) << "old\r\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::u16string path = target.u16string();
    try {
        writeLineFile(path, {u"new"}, TextEncoding::Ansi);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().starts_with(u"ファイル \"" + path + u"\" を作成できません。"));
    }
    EXPECT_EQ(fileContent(target), "old\r\n");
}

}  // namespace
}  // namespace orvane
