#include "core/platform/platform.h"

#include "core/error.h"
#include "core/paths.h"
#include "core/tests/scratch_dir.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using orvane::testing::ScratchDir;

std::u16string u16(const fs::path& path) { return fromUtf8(path.string()); }

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string fileContent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool runningAsRoot() { return geteuid() == 0; }

TEST(ProgramPath, IsTheWholePathOfThisExecutable) {
    const std::u16string path = programPath();
    EXPECT_EQ(extractFileName(path), u"orvane_core_tests");
    EXPECT_EQ(path.front(), u'/');
    EXPECT_TRUE(fileExists(path));
}

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

TEST(FileExists, FilesOnlyNotDirectories) {
    ScratchDir dir;
    writeFile(dir / "a.txt", "x");
    fs::create_directory(dir / "sub");
    fs::create_symlink(dir / "a.txt", dir / "link.txt");
    fs::create_symlink(dir / "gone.txt", dir / "dangling.txt");
    EXPECT_TRUE(fileExists(u16(dir / "a.txt")));
    EXPECT_TRUE(fileExists(u16(dir / "link.txt")));
    EXPECT_FALSE(fileExists(u16(dir / "sub")));
    EXPECT_FALSE(fileExists(u16(dir / "missing.txt")));
    EXPECT_FALSE(fileExists(u16(dir / "dangling.txt")));
    EXPECT_FALSE(fileExists(u""));
}

TEST(ListFiles, EveryEntryThatIsNotADirectory) {
    ScratchDir dir;
    writeFile(dir / "BList.txt", "");
    writeFile(dir / ".hiddenList.txt", "");
    writeFile(dir / "線分List.txt", "");
    fs::create_directory(dir / "subList.txt");
    fs::create_symlink(dir / "BList.txt", dir / "linkList.txt");
    fs::create_directory_symlink(dir / "subList.txt", dir / "dirlinkList.txt");
    const std::vector<std::u16string> expected = {u".hiddenList.txt", u"BList.txt",
                                                  u"linkList.txt", u"線分List.txt"};
    EXPECT_EQ(listFiles(u16(dir.path())), expected);
    EXPECT_TRUE(listFiles(u16(dir / "missing")).empty());
}

TEST(ReadWholeFile, ReadsBytesExactly) {
    ScratchDir dir;
    const std::string bytes("\xFF\xFE" "a\0b\r\n", 7);
    writeFile(dir / "a.bin", bytes);
    EXPECT_EQ(readWholeFile(u16(dir / "a.bin")), bytes);
}

TEST(ReadWholeFile, FailureCarriesPathAndReason) {
    ScratchDir dir;
    const std::u16string path = u16(dir / "missing.txt");
    try {
        readWholeFile(path);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(),
                  u"ファイル " + path + u" は開けません。 " + fromUtf8(std::strerror(ENOENT)) + u" ");
    }
    EXPECT_THROW(readWholeFile(u16(dir.path())), Error);
}

std::u16string creationMessage(const std::u16string& path, int error) {
    return u"ファイル \"" + path + u"\" を作成できません。" + fromUtf8(std::strerror(error));
}

// Files in the directory besides the given names, to catch left temporaries.
std::vector<std::string> strayFiles(const fs::path& dir, std::vector<std::string> expected) {
    std::vector<std::string> stray;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
            stray.push_back(name);
        }
    }
    return stray;
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

TEST(ReplaceWholeFile, KeepsPermissionBits) {
    ScratchDir dir;
    const fs::path target = dir / "list.txt";
    writeFile(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    replaceWholeFile(u16(target), "new");
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(fileContent(target), "new");
}

TEST(ReplaceWholeFile, ReadOnlyFileFailsAndKeepsItsContent) {
    ScratchDir dir;
    const fs::path target = dir / "list.txt";
    writeFile(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0444), 0);
    try {
        replaceWholeFile(u16(target), "new");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), creationMessage(u16(target), EACCES));
    }
    EXPECT_EQ(fileContent(target), "old");
    EXPECT_TRUE(strayFiles(dir.path(), {"list.txt"}).empty());
}

TEST(ReplaceWholeFile, MissingFolderFails) {
    ScratchDir dir;
    const std::u16string target = u16(dir / "missing" / "list.txt");
    try {
        replaceWholeFile(target, "new");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), creationMessage(target, ENOENT));
    }
}

TEST(ReplaceWholeFile, FolderInTheWayFails) {
    ScratchDir dir;
    fs::create_directory(dir / "list.txt");
    EXPECT_THROW(replaceWholeFile(u16(dir / "list.txt"), "new"), Error);
    EXPECT_TRUE(fs::is_directory(dir / "list.txt"));
}

TEST(ReplaceWholeFile, FolderWithoutWritePermissionFails) {
    if (runningAsRoot()) GTEST_SKIP() << "root may write any folder";
    ScratchDir dir;
    const fs::path folder = dir / "locked";
    fs::create_directory(folder);
    writeFile(folder / "list.txt", "old");
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    EXPECT_THROW(replaceWholeFile(u16(folder / "list.txt"), "new"), Error);
    EXPECT_THROW(replaceWholeFile(u16(folder / "other.txt"), "new"), Error);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(fileContent(folder / "list.txt"), "old");
    EXPECT_TRUE(strayFiles(folder, {"list.txt"}).empty());
}

TEST(ReplaceWholeFile, WritesThroughASymbolicLink) {
    ScratchDir dir;
    writeFile(dir / "real.txt", "old");
    fs::create_symlink(dir / "real.txt", dir / "link.txt");
    replaceWholeFile(u16(dir / "link.txt"), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(fileContent(dir / "real.txt"), "new");
}

}  // namespace
}  // namespace orvane::platform
