#include "core/menulist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/utf.h"
#include "core/tests/paneltestfiles.h"

namespace orvane {
namespace {

using testing::kUtf8Mark;
using testing::ProgramDirectory;
using Shown = std::vector<std::pair<int, std::u16string>>;

// The visible slots as number and caption, in menu order.
Shown shown(const SlotGrid& grid) {
    Shown result;
    for (const Slot& slot : grid.slots()) {
        if (slot.visible) {
            result.emplace_back(slot.number, slot.caption);
        }
    }
    return result;
}

class MenuListTest : public ::testing::Test {
protected:
    // Loads the UTF-8 text as "TestList.txt" and returns what it shows.
    Shown load(const std::string& text) {
        dir.write("TestList.txt", kUtf8Mark + text);
        loadMenuList(dir.directory(), u"TestList.txt", grid, recordTitle());
        return shown(grid);
    }
    MenuTitleHandler recordTitle() {
        return [this](std::u16string title) { titles.push_back(std::move(title)); };
    }

    ProgramDirectory dir;
    SlotGrid grid;
    std::vector<std::u16string> titles;
};

TEST_F(MenuListTest, MissingFileLeavesTheGridUntouched) {
    const SlotGrid initial;
    loadMenuList(dir.directory(), u"OrvaneList.txt", grid, recordTitle());
    dir.write("sub/x", "");
    loadMenuList(dir.directory(), u"sub", grid, recordTitle());
    loadMenuList(dir.directory(), u"", grid, recordTitle());
    EXPECT_EQ(shown(grid), shown(initial));
    EXPECT_TRUE(titles.empty());
}

TEST_F(MenuListTest, EmptyFileHidesEverySlotBehindItsResetCaption) {
    EXPECT_TRUE(load("").empty());
    EXPECT_EQ(grid.find(100)->caption, u"1001");
    EXPECT_EQ(grid.find(1530)->caption, u"15301");
    EXPECT_TRUE(titles.empty());
}

TEST_F(MenuListTest, SectionsAndItemsFillTheGridInOrder) {
    EXPECT_EQ(load("item before any section\r\n"
                   "[作図]\r\n"
                   "_LINE: 線分\r\n"
                   "\t  -  \r\n"
                   "-\r\n"
                   "\r\n"
                   "   \t[Tools] old\n"
                   "#note\n"
                   "caption_:x\n"
                   "Load_: x.lsp\n"
                   "[]\r"
                   "[A]B]\n"
                   "only\n"),
              (Shown{{100, u"作図"}, {101, u"_LINE: 線分"}, {102, u"-"}, {103, u"-"},
                     {200, u"Tools"}, {201, u"#note"}, {202, u"caption_:x"}, {203, u"Load_: x.lsp"},
                     {300, u""}, {400, u"A"}, {401, u"only"}}));
}

TEST_F(MenuListTest, UnclosedSectionAdvancesButStaysHidden) {
    EXPECT_EQ(load("[Tools\nunder it\n[Next]\nfirst\n"),
              (Shown{{101, u"under it"}, {200, u"Next"}, {201, u"first"}}));
    EXPECT_EQ(grid.find(100)->caption, u"1001");
}

TEST_F(MenuListTest, CommentsAreSkippedAnywhere) {
    EXPECT_EQ(load("[M]\n//x\n/x\n;x\n;;\n; old: D:\\x.lsp\nitem\n"), (Shown{{100, u"M"}, {101, u"item"}}));
}

TEST_F(MenuListTest, TitleLinesNeedAColonAndNeverBecomeItems) {
    EXPECT_EQ(load("CAPTION_ Drawing\n[M]\nCAPTION_:  図面  \nitem\nCAPTION_:\nCAPTION_:Last\n"),
              (Shown{{100, u"M"}, {101, u"item"}}));
    EXPECT_EQ(titles, (std::vector<std::u16string>{u"図面", u"", u"Last"}));
}

TEST_F(MenuListTest, LoadItemsKeepOnlyTheFileName) {
    EXPECT_EQ(load("[M]\n"
                   "LOAD_: C:\\lisp\\draw.lsp\n"
                   "LOAD_:C:\\lisp\\draw.lsp\n"
                   "LOAD_:\n"
                   "LOAD_: C:\\lisp\\\n"),
              (Shown{{100, u"M"}, {101, u"LOAD_: draw.lsp"}, {102, u"LOAD_: draw.lsp"},
                     {103, u"LOAD_: "}, {104, u"LOAD_: "}}));
}

// A list may be written on either system; on POSIX "/" separates there too.
#ifndef _WIN32
TEST_F(MenuListTest, LoadItemsKeepOnlyTheFileNameOfAPosixPath) {
    EXPECT_EQ(load("[M]\nLOAD_: /home/u/lisp/tool.lsp\n"),
              (Shown{{100, u"M"}, {101, u"LOAD_: tool.lsp"}}));
}
#endif

TEST_F(MenuListTest, CaptionsThatReadAsNonzeroIntegersAreHidden) {
    EXPECT_EQ(load("[M]\n12\n-3\n$1F\nx1A\nXE\n0\n00\n-\n+0\n0x\n"
                   "[ 7]\nhidden with its menu\n[7 ]\n[0]\n"),
              (Shown{{100, u"M"}, {106, u"0"}, {107, u"00"}, {108, u"-"}, {109, u"+0"}, {110, u"0x"},
                     {201, u"hidden with its menu"}, {300, u"7 "}, {400, u"0"}}));
}

TEST_F(MenuListTest, SixteenthSectionStopsReading) {
    std::string text;
    for (int m = 1; m <= 16; ++m) {
        text += "[S" + std::to_string(m) + "]\nitem " + std::to_string(m) + "\n";
    }
    text += "CAPTION_: too late\n";
    const Shown result = load(text);
    EXPECT_EQ(result.size(), 30u);
    EXPECT_EQ(result.back(), (std::pair<int, std::u16string>{1501, u"item 15"}));
    EXPECT_TRUE(titles.empty());
}

TEST_F(MenuListTest, ThirtyFirstItemIsDroppedAndTheNextSectionStartsAfresh) {
    std::string text = "[A]\n";
    for (int i = 1; i <= 31; ++i) {
        text += "a" + std::to_string(i) + "\n";
    }
    text += "[B]\nb1\n";
    const Shown result = load(text);
    ASSERT_EQ(result.size(), 33u);
    EXPECT_EQ(result[30], (std::pair<int, std::u16string>{130, u"a30"}));
    EXPECT_EQ(result[31], (std::pair<int, std::u16string>{200, u"B"}));
    EXPECT_EQ(result[32], (std::pair<int, std::u16string>{201, u"b1"}));
}

TEST_F(MenuListTest, EachLoadStartsFromAFreshReset) {
    const Shown first = load("[A]\na1\na2\n[A2]\nx\n");
    EXPECT_EQ(load("[A]\na1\na2\n[A2]\nx\n"), first);
    EXPECT_EQ(load("[B]\nb1\n"), (Shown{{100, u"B"}, {101, u"b1"}}));
    EXPECT_EQ(grid.find(102)->caption, u"1021");
}

TEST_F(MenuListTest, LongCaptionsAreCutToTheirFirst256Units) {
    const std::string item = "_CMD: " + std::string(10000, 'x');
    const std::string title(300, 'T');
    load("[" + title + "]\n" + item + "\nLOAD_: C:\\lisp\\" + std::string(300, 'n') + ".lsp\n");
    EXPECT_EQ(grid.find(100)->caption, fromUtf8(title.substr(0, 256)));
    EXPECT_EQ(grid.find(101)->caption, fromUtf8(item.substr(0, 256)));
    EXPECT_EQ(grid.find(102)->caption, u"LOAD_: " + std::u16string(249, u'n'));
    for (const int number : {100, 101, 102}) {
        EXPECT_TRUE(grid.find(number)->cut) << number;
        EXPECT_TRUE(grid.find(number)->visible) << number;
    }
}

TEST_F(MenuListTest, ALongTitleIsCutToItsFirst256UnitsAndTrimmedAgain) {
    load("CAPTION_: " + std::string(300, 'T') + "\nCAPTION_: " + std::string(250, 'T') + std::string(10, ' ') + "U\n");
    EXPECT_EQ(titles, (std::vector<std::u16string>{std::u16string(256, u'T'), std::u16string(250, u'T')}));
}

TEST_F(MenuListTest, ACutCaptionIsHiddenByWhatItsWholeTextReads) {
    const std::string zeros(255, '0');
    EXPECT_EQ(load("[M]\n" + zeros + "07\n" + zeros + "1x\n[" + std::string(300, ' ') + "7]\nunder it\n"),
              (Shown{{100, u"M"}, {102, fromUtf8(zeros + "1")}, {201, u"under it"}}));
}

TEST_F(MenuListTest, TheWholeTextOfACutCaptionComesFromTheList) {
    const std::string item = "_CMD: " + std::string(1000, 'x') + "\xE7\xB7\x9A";
    load("[M]\nshort\n" + item + "\n");
    EXPECT_EQ(wholeCaption(grid, 102), fromUtf8(item));
    EXPECT_EQ(wholeCaption(grid, 101), std::nullopt);
    EXPECT_EQ(wholeCaption(grid, 131), std::nullopt);
}

TEST_F(MenuListTest, NoWholeTextOnceTheListNoLongerStartsTheSlotWithItsCaption) {
    load("[M]\n_CMD: " + std::string(1000, 'x') + "\n");
    dir.write("TestList.txt", "[M]\n_CMD: " + std::string(200, 'x') + "y" + std::string(1000, 'x') + "\n");
    EXPECT_EQ(wholeCaption(grid, 101), std::nullopt);
    dir.write("TestList.txt", "[M]\n_CMD: " + std::string(250, 'x') + "\n");
    EXPECT_EQ(wholeCaption(grid, 101), std::nullopt);
    std::filesystem::remove(dir.path() / "TestList.txt");
    EXPECT_EQ(wholeCaption(grid, 101), std::nullopt);
}

TEST_F(MenuListTest, UnreadableFileLeavesTheSlotsResetAndRaises) {
    dir.makeUnreadable("BadList.txt");
    try {
        loadMenuList(dir.directory(), u"BadList.txt", grid, recordTitle());
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message().rfind(u"ファイル " + dir.directory() + u"BadList.txt は開けません。 ", 0), 0u);
    }
    EXPECT_TRUE(shown(grid).empty());
    EXPECT_EQ(grid.find(101)->caption, u"1011");
}

TEST(MenuListNameTest, WholeNameMustEndInListTxtWithLettersOfEitherCase) {
    for (const char16_t* name : {u"List.txt", u"DrawList.txt", u"drawlist.TXT", u".hiddenList.txt", u"a b List.txt"}) {
        EXPECT_TRUE(isMenuListFileName(name)) << toUtf8(name);
    }
    for (const char16_t* name : {u"DrawList.txt.bak", u"List.text", u"ist.txt", u"DrawLｉst.txt", u"DrawList_txt", u""}) {
        EXPECT_FALSE(isMenuListFileName(name)) << toUtf8(name);
    }
}

TEST(ListMenuListFilesTest, ListsMatchingFilesOfTheProgramDirectoryOnly) {
    const ProgramDirectory dir;
    for (const char* name : {"OrvaneList.txt", "drawlist.TXT", ".HiddenList.txt", "Other.txt", "AList.txt.bak",
                             "sub/SubList.txt"}) {
        dir.write(name, "");
    }
    std::filesystem::create_directory(dir.path() / "DirList.txt");
    std::vector<std::u16string> names = ListMenuListFiles(dir.directory());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u".HiddenList.txt", u"OrvaneList.txt", u"drawlist.TXT"}));
}

TEST(ListMenuListFilesTest, DirectoryPathMustBeShorterThan248) {
    const ProgramDirectory dir;
    const std::string base = dir.path().string() + "/";
    const auto directoryOfLength = [&](std::size_t length) {
        const std::string path = base + std::string(length - base.size() - 1, 'd') + "/";
        std::filesystem::create_directories(path);
        std::ofstream(path + "InList.txt");
        return fromUtf8(path);
    };
    EXPECT_EQ(ListMenuListFiles(directoryOfLength(247)).size(), 1u);
    const std::u16string tooLong = directoryOfLength(248);
    try {
        ListMenuListFiles(tooLong);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), u"パス " + tooLong + u" が長すぎます");
    }
}

}  // namespace
}  // namespace orvane
