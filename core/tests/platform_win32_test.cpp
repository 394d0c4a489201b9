// The Win32 backend's own rules.
#include "core/platform/platform.h"

#include "core/error.h"
#include "core/paths.h"
#include "core/platform/win32/ansi_code_page.h"
#include "core/platform/win32/handle.h"
#include "core/platform/win32/lock_range.h"
#include "core/tests/scratch_dir.h"
#include "core/tests/test_files.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using orvane::testing::fileContent;
using orvane::testing::ScratchDir;
using orvane::testing::writeFile;

std::u16string u16(const fs::path& path) { return path.u16string(); }

TEST(CodePage1252, WesternTextRoundTrips) {
    EXPECT_EQ(encodeCodePage(1252, u"Café €"), "Caf\xE9 \x80");
    EXPECT_EQ(decodeCodePage(1252, "Caf\xE9 \x80"), u"Café €");
}

TEST(CodePage1252, CharacterItLacksIsDetectedNotReplaced) {
    EXPECT_EQ(encodeCodePage(1252, u"線分"), std::nullopt);
    // A best fit would write "A".
    EXPECT_EQ(encodeCodePage(1252, u"\u0100"), std::nullopt);
    EXPECT_EQ(encodeCodePage(1252, std::u16string(1, u'\xD800')), std::nullopt);
}

TEST(CodePage932, JapaneseTextRoundTrips) {
    EXPECT_EQ(encodeCodePage(932, u"線分 ｱ"), "\x90\xFC\x95\xAA \xB1");
    EXPECT_EQ(decodeCodePage(932, "\x90\xFC\x95\xAA \xB1"), u"線分 ｱ");
}

TEST(CodePage932, CharacterItLacksIsDetectedNotReplaced) {
    EXPECT_EQ(encodeCodePage(932, u"é"), std::nullopt);
}

TEST(ProgramPath, IsTheWholeWindowsPathOfThisExecutable) {
    const std::u16string path = programPath();
    EXPECT_EQ(extractFileName(path), u"orvane_core_tests.exe");
    EXPECT_EQ(path.substr(1, 2), u":\\");
    EXPECT_TRUE(fileExists(path));
}

TEST(FileNames, IgnoreLetterCase) {
    ScratchDir dir;
    writeFile(dir / "OrvaneList.txt", "x");
    EXPECT_TRUE(fileExists(u16(dir / "ORVANELIST.TXT")));
    EXPECT_EQ(readWholeFile(u16(dir / "orvanelist.txt")), "x");
}

TEST(ReadWholeFile, FileHeldWithoutSharingFailsWithItsPath) {
    ScratchDir dir;
    writeFile(dir / "OrvaneList.txt", "x");
    const HANDLE holder = CreateFileW((dir / "OrvaneList.txt").c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::u16string path = u16(dir / "OrvaneList.txt");
    try {
        readWholeFile(path);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().starts_with(u"ファイル " + path + u" は開けません。 "));
    }
    CloseHandle(holder);
}

TEST(ReadFileInPieces, WritersAreKeptOutWhileItReads) {
    ScratchDir dir;
    writeFile(dir / "Orvane.ini", "[A]\r\n");
    bool writerKeptOut = false;
    readFileInPieces(u16(dir / "Orvane.ini"), [&](std::string_view) {
        const HANDLE writer =
            CreateFileW((dir / "Orvane.ini").c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        writerKeptOut = writer == INVALID_HANDLE_VALUE;
        if (!writerKeptOut) CloseHandle(writer);
        return false;
    });
    EXPECT_TRUE(writerKeptOut);
}

TEST(ReadWholeFile, FileOverTheLimitIsRefused) {
    ScratchDir dir;
    writeFile(dir / "OrvaneList.txt", "");
    fs::resize_file(dir / "OrvaneList.txt", kMaxReadBytes + 1);
    EXPECT_THROW(readWholeFile(u16(dir / "OrvaneList.txt")), Error);
}

TEST(ReplaceWholeFile, ReadOnlyFileFailsAndKeepsItsContent) {
    ScratchDir dir;
    writeFile(dir / "list.txt", "old");
    ASSERT_TRUE(SetFileAttributesW((dir / "list.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(replaceWholeFile(u16(dir / "list.txt"), "new"), Error);
    SetFileAttributesW((dir / "list.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(fileContent(dir / "list.txt"), "old");
}

TEST(ReplaceWholeFile, HiddenFileStaysHidden) {
    ScratchDir dir;
    writeFile(dir / "Orvane.ini", "old");
    ASSERT_TRUE(SetFileAttributesW((dir / "Orvane.ini").c_str(), FILE_ATTRIBUTE_HIDDEN));
    replaceWholeFile(u16(dir / "Orvane.ini"), "new");
    EXPECT_EQ(fileContent(dir / "Orvane.ini"), "new");
    EXPECT_NE(GetFileAttributesW((dir / "Orvane.ini").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// A folder whose path is longer than the old 260-character limit, made and
// removed through the "\\?\" form that the standard library does not add.
class LongFolder {
public:
    explicit LongFolder(const fs::path& base) {
        fs::path path = base;
        while (path.native().size() <= 300) {
            path /= std::wstring(60, L'd');
            chain_.push_back(LR"(\\?\)" + path.native());
            CreateDirectoryW(chain_.back().c_str(), nullptr);
        }
    }
    // The standard library cannot remove such a folder: files of the
    // innermost folder first, then the folders from the inside out.
    ~LongFolder() {
        for (const std::u16string& name : listFiles(path())) {
            DeleteFileW((chain_.back() + L"\\" + std::wstring(name.begin(), name.end())).c_str());
        }
        for (auto folder = chain_.rbegin(); folder != chain_.rend(); ++folder) {
            RemoveDirectoryW(folder->c_str());
        }
    }
    LongFolder(const LongFolder&) = delete;
    LongFolder& operator=(const LongFolder&) = delete;
    std::u16string path() const {
        return std::u16string(chain_.back().begin() + 4, chain_.back().end());
    }
    std::u16string operator/(std::u16string_view name) const {
        return path() + u"\\" + std::u16string(name);
    }

private:
    std::vector<std::wstring> chain_;
};

TEST(LongPaths, AreMadeWholeInTheFormWithoutTheOldLimit) {
    EXPECT_EQ(toSystemPath(u"C:\\a\\..\\b/c.txt"), LR"(\\?\C:\b\c.txt)");
    EXPECT_EQ(toSystemPath(u"\\\\server\\share\\c.txt"), LR"(\\?\UNC\server\share\c.txt)");
    EXPECT_EQ(toSystemPath(u"\\\\?\\C:\\x\\.\\c.txt"), LR"(\\?\C:\x\.\c.txt)");
}

TEST(LongPaths, FilesPastTheOldPathLimitAreWrittenReadListedAndLocked) {
    ScratchDir dir;
    const LongFolder folder(dir.path());
    replaceWholeFile(folder / u"Orvane.ini", "first");
    replaceWholeFile(folder / u"Orvane.ini", "second");
    EXPECT_EQ(readWholeFile(folder / u"Orvane.ini"), "second");
    EXPECT_TRUE(fileExists(folder / u"Orvane.ini"));
    EXPECT_EQ(listFiles(folder.path()), std::vector<std::u16string>{u"Orvane.ini"});
    EXPECT_TRUE(lockForUpdate(folder / u"Orvane.ini").held());
}

// Whether another open of the file could take the lock now; the locks of
// one handle keep out every other, in this process too.
bool lockableNow(const fs::path& path, DWORD flags) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED at = lockRange();
    const bool taken =
        LockFileEx(file, flags | LOCKFILE_FAIL_IMMEDIATELY, 0, kLockRangeBytes, 0, &at) != 0;
    CloseHandle(file);
    return taken;
}

TEST(FileLock, AReaderKeepsUpdatesOutButNotOtherReaders) {
    ScratchDir dir;
    writeFile(dir / "Orvane.ini", "");
    const FileLock lock = lockForReading(u16(dir / "Orvane.ini"));
    ASSERT_TRUE(lock.held());
    EXPECT_FALSE(lockableNow(dir / "Orvane.ini", LOCKFILE_EXCLUSIVE_LOCK));
    EXPECT_TRUE(lockableNow(dir / "Orvane.ini", 0));
}

TEST(FileLock, AnUpdateKeepsOthersOutUntilReleased) {
    ScratchDir dir;
    writeFile(dir / "Orvane.ini", "");
    {
        const FileLock lock = lockForUpdate(u16(dir / "Orvane.ini"));
        ASSERT_TRUE(lock.held());
        EXPECT_FALSE(lockableNow(dir / "Orvane.ini", 0));
    }
    EXPECT_TRUE(lockableNow(dir / "Orvane.ini", LOCKFILE_EXCLUSIVE_LOCK));
}

TEST(FileLock, AnUpdateLockLeavesTheContentReadable) {
    ScratchDir dir;
    writeFile(dir / "Orvane.ini", "[A]\r\n");
    const FileLock lock = lockForUpdate(u16(dir / "Orvane.ini"));
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(readWholeFile(u16(dir / "Orvane.ini")), "[A]\r\n");
    replaceWholeFile(u16(dir / "Orvane.ini"), "[B]\r\n");
    EXPECT_EQ(fileContent(dir / "Orvane.ini"), "[B]\r\n");
}

TEST(FileLock, UpdateCreatesAMissingFile) {
    ScratchDir dir;
    const FileLock lock = lockForUpdate(u16(dir / "Orvane.ini"));
    EXPECT_TRUE(lock.held());
    EXPECT_TRUE(fs::exists(dir / "Orvane.ini"));
    EXPECT_FALSE(lockForReading(u16(dir / "missing.ini")).held());
}

}  // namespace
}  // namespace orvane::platform
