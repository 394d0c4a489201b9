// The platform seam's rules that hold on every system.
#include "core/platform/platform.h"

#include "core/error.h"
#include "core/tests/scratch_dir.h"
#include "core/tests/test_files.h"

#include <gtest/gtest.h>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using orvane::testing::fileContent;
using orvane::testing::ScratchDir;
using orvane::testing::strayFiles;
using orvane::testing::writeFile;

std::u16string u16(const fs::path& path) { return path.u16string(); }

TEST(CompareText, IgnoresCaseAndFollowsCollation) {
    EXPECT_EQ(compareText(u"abc", u"ABC"), 0);
    EXPECT_LT(compareText(u"apple", u"Banana"), 0);
    EXPECT_GT(compareText(u"Banana", u"apple"), 0);
    EXPECT_LT(compareText(u"a", u"ab"), 0);
    EXPECT_NE(compareText(u"e", u"é"), 0);
}

TEST(SameText, WholeTextWithoutRegardToCase) {
    EXPECT_TRUE(sameText(u"OrvaneList.txt", u"orvanelist.TXT"));
    EXPECT_TRUE(sameText(u"ÉCOLE", u"école"));
    EXPECT_TRUE(sameText(u"", u""));
    EXPECT_FALSE(sameText(u"abc", u"abcd"));
    EXPECT_FALSE(sameText(u"e", u"é"));
}

TEST(FileExists, APathWithANulNamesNoFile) {
    ScratchDir dir;
    writeFile(dir / "a.txt", "x");
    EXPECT_FALSE(fileExists(u16(dir / "a.txt") + std::u16string(1, u'\0') + u"b"));
}

TEST(ReadWholeFile, ReadsBytesExactly) {
    ScratchDir dir;
    const std::string bytes("\xFF\xFE" "a\0b\r\n", 7);
    writeFile(dir / "a.bin", bytes);
    EXPECT_EQ(readWholeFile(u16(dir / "a.bin")), bytes);
}

TEST(ReplaceWholeFile, CreatesAndReplaces) {
    ScratchDir dir;
    const fs::path target = dir / "list.txt";
    replaceWholeFile(u16(target), "first");
    EXPECT_EQ(fileContent(target), "first");
    replaceWholeFile(u16(target), "second, longer");
    EXPECT_EQ(fileContent(target), "second, longer");
    replaceWholeFile(u16(target), "");
    EXPECT_EQ(fileContent(target), "");
    EXPECT_TRUE(strayFiles(dir.path(), {"list.txt"}).empty());
}

TEST(ReplaceWholeFile, FolderInTheWayFails) {
    ScratchDir dir;
    fs::create_directory(dir / "list.txt");
    EXPECT_THROW(replaceWholeFile(u16(dir / "list.txt"), "new"), Error);
    EXPECT_TRUE(fs::is_directory(dir / "list.txt"));
}

TEST(ReplaceWholeFile, FileWithAnotherHardLinkIsWrittenInPlace) {
    ScratchDir dir;
    writeFile(dir / "list.txt", "old");
    fs::create_hard_link(dir / "list.txt", dir / "other.txt");
    replaceWholeFile(u16(dir / "list.txt"), "new");
    EXPECT_EQ(fileContent(dir / "other.txt"), "new");
}

}  // namespace
}  // namespace orvane::platform
