// Menu lists no editor would write: huge, binary, broken encodings, endless
// lines. Loading them must end and leave a grid that follows the rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>

#include "core/menulist.h"
#include "core/slotgrid.h"
#include "core/utf.h"
#include "core/tests/scratch_dir.h"

namespace orvane {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;

std::string utf16le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

class HostileMenuListTest : public ::testing::Test {
protected:
    void write(const std::string& bytes) {
        std::ofstream out(directory / "HostileList.txt", std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    void load() {
        std::u16string programDirectory = fromUtf8((directory.path() / "").string());
        loadMenuList(programDirectory, u"HostileList.txt", grid, [this](std::u16string t) { title = std::move(t); });
    }

    const Slot& slot(int number) const { return *grid.find(number); }

    // What every load leaves: visible captions are trimmed lines or section
    // titles, so none begins or ends with a control character or blank
    // unless it is a section title taken verbatim. A cut caption is the
    // start of such a text, which the list still holds whole.
    void expectItemsTrimmed() const {
        for (const Slot& each : grid.slots()) {
            if (!each.visible || each.isDropDown() || each.caption.empty()) {
                continue;
            }
            const std::u16string text = each.cut ? wholeCaption(grid, each.number).value_or(u" ") : each.caption;
            EXPECT_GT(text.front(), u' ') << "slot " << each.number;
            EXPECT_GT(text.back(), u' ') << "slot " << each.number;
        }
    }

    testing::ScratchDir directory;
    SlotGrid grid;
    std::u16string title;
};

TEST_F(HostileMenuListTest, FiftyMegabytesAreReadToTheEndAndOnlyThirtyItemsKept) {
    std::string bytes = "\xEF\xBB\xBF[Big]\r\n";
    const std::string line = "_CMD: \xE3\x82\xB3\xE3\x83\x9E\xE3\x83\xB3\xE3\x83\x89 command\r\n";
    while (bytes.size() < 50 * kMegabyte) {
        bytes += line;
    }
    bytes += "CAPTION_: after fifty megabytes\r\n";
    write(bytes);

    load();

    EXPECT_EQ(slot(100).caption, u"Big");
    EXPECT_EQ(slot(130).caption, u"_CMD: コマンド command");
    EXPECT_TRUE(slot(130).visible);
    EXPECT_FALSE(slot(200).visible);
    EXPECT_EQ(title, u"after fifty megabytes");
}

TEST_F(HostileMenuListTest, OneMegabyteLineBecomesOneCutCaptionWholeInTheList) {
    const std::string longText(kMegabyte, 'x');
    write("\xEF\xBB\xBF[Long]\n_LONG:" + longText + "\n_NEXT: next\n");

    load();

    const std::u16string whole = u"_LONG:" + fromUtf8(longText);
    EXPECT_EQ(slot(101).caption, whole.substr(0, kMaxCaptionLength));
    EXPECT_TRUE(slot(101).cut);
    EXPECT_EQ(wholeCaption(grid, 101), whole);
    EXPECT_EQ(slot(102).caption, u"_NEXT: next");
}

TEST_F(HostileMenuListTest, OneMegabyteUtf16LineBecomesOneCutCaptionWholeInTheList) {
    const std::u16string longText(kMegabyte, u'線');
    write("\xFF\xFE" + utf16le(u"[Long]\r\n_LONG:" + longText + u"\r\n"));

    load();

    EXPECT_EQ(slot(101).caption, (u"_LONG:" + longText).substr(0, kMaxCaptionLength));
    EXPECT_EQ(wholeCaption(grid, 101), u"_LONG:" + longText);
}

TEST_F(HostileMenuListTest, RandomBytesWithoutAMarkLoadAsAnsiText) {
    std::mt19937 random(20250203);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string bytes = "[Noise]\n";
    for (std::size_t i = 0; i < 4 * kMegabyte; ++i) {
        bytes += static_cast<char>(byte(random));
    }
    write(bytes);

    load();

    EXPECT_EQ(slot(100).caption, u"Noise");
    expectItemsTrimmed();
}

TEST_F(HostileMenuListTest, NulInsideBinaryEndsTheText) {
    write(std::string("[Kept]\n_A: a\n\0[Lost]\n_B: b\n", 25) + std::string(kMegabyte, '\0'));

    load();

    EXPECT_EQ(slot(101).caption, u"_A: a");
    EXPECT_FALSE(slot(200).visible);
}

TEST_F(HostileMenuListTest, LoneSurrogatesAndAnOddByteLeaveTheValidLinesLoaded) {
    std::string bytes = "\xFF\xFE" + utf16le(u"[Menu]\r\n_A: a\r\n");
    bytes += utf16le(std::u16string(1, char16_t(0xD800)) + u"_B: b\r\n");      // high surrogate alone
    bytes += utf16le(u"_C: c" + std::u16string(1, char16_t(0xDC00)) + u"\r\n");  // low surrogate alone
    bytes += utf16le(u"_D: d\r\n");
    bytes += '\x41';  // half a code unit
    write(bytes);

    load();

    EXPECT_EQ(slot(100).caption, u"Menu");
    EXPECT_EQ(slot(101).caption, u"_A: a");
    EXPECT_EQ(slot(104).caption, u"_D: d");
    expectItemsTrimmed();
}

TEST_F(HostileMenuListTest, BrokenUtf8AfterItsMarkLeavesTheValidLinesLoaded) {
    std::string bytes = "\xEF\xBB\xBF[Menu]\n_A: a\n";
    bytes += "_B: \xC0\xAF overlong\n";
    bytes += "_C: \xE3\x82 cut\n";
    bytes += "_D: \xED\xA0\x80 surrogate\n";
    bytes += "_E: \xF8\x88\x80\x80\x80 five bytes\n";
    bytes += "_F: f\n\xE3";
    write(bytes);

    load();

    EXPECT_EQ(slot(101).caption, u"_A: a");
    EXPECT_EQ(slot(106).caption, u"_F: f");
    for (int number = 102; number <= 105; ++number) {
        EXPECT_EQ(slot(number).caption.substr(0, 4), u"_" + std::u16string(1, char16_t(u'A' + number - 101)) + u": ");
    }
    expectItemsTrimmed();
}

TEST_F(HostileMenuListTest, ThousandsOfSectionLinesStopAfterTheSixteenth) {
    std::string bytes = "\xEF\xBB\xBF";
    for (int section = 1; section <= 200000; ++section) {
        bytes += "[S" + std::to_string(section) + "]\n_I: i\n";
    }
    bytes += "CAPTION_: never read\n";
    write(bytes);

    load();

    EXPECT_EQ(slot(1500).caption, u"S15");
    EXPECT_EQ(slot(1501).caption, u"_I: i");
    EXPECT_TRUE(title.empty());
}

}  // namespace
}  // namespace orvane
