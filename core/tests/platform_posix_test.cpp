// The POSIX backend's rules: users, modes, links, FIFOs and byte file names.
#include "core/platform/platform.h"

#include "core/error.h"
#include "core/paths.h"
#include "core/tests/child_run.h"
#include "core/tests/scratch_dir.h"
#include "core/tests/test_files.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using orvane::testing::fileContent;
using orvane::testing::giveToUnprivilegedUser;
using orvane::testing::runAsUnprivilegedUser;
using orvane::testing::runInChild;
using orvane::testing::ScratchDir;
using orvane::testing::strayFiles;
using orvane::testing::writeFile;

std::u16string u16(const fs::path& path) { return fromUtf8(path.string()); }

ino_t fileIdentity(const fs::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

TEST(ProgramPath, IsTheWholePathOfThisExecutable) {
    const std::u16string path = programPath();
    EXPECT_EQ(extractFileName(path), u"orvane_core_tests");
    EXPECT_EQ(path.front(), u'/');
    EXPECT_TRUE(fileExists(path));
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

TEST(RegularFileExists, OnlyRegularFilesAndLinksToThem) {
    ScratchDir dir;
    writeFile(dir / "a.lsp", "x");
    fs::create_symlink(dir / "a.lsp", dir / "link.lsp");
    ASSERT_EQ(mkfifo((dir / "fifo.lsp").c_str(), 0666), 0);
    fs::create_directory(dir / "sub.lsp");
    EXPECT_TRUE(regularFileExists(u16(dir / "a.lsp")));
    EXPECT_TRUE(regularFileExists(u16(dir / "link.lsp")));
    EXPECT_FALSE(regularFileExists(u16(dir / "fifo.lsp")));
    EXPECT_FALSE(regularFileExists(u"/dev/null"));
    EXPECT_FALSE(regularFileExists(u16(dir / "sub.lsp")));
    EXPECT_TRUE(fileExists(u16(dir / "fifo.lsp")));
}

TEST(ListFiles, NameThatIsNotUtf8ComesBackAsTheSameFile) {
    ScratchDir dir;
    writeFile(dir / "caf\xE9List.txt", "content");
    const std::vector<std::u16string> names = listFiles(u16(dir.path()));
    ASSERT_EQ(names.size(), 1u);
    const std::u16string path = u16(dir.path()) + u"/" + names[0];
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(readWholeFile(path), "content");
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

std::u16string openMessage(const std::u16string& path, int error) {
    return u"ファイル " + path + u" は開けません。 " + fromUtf8(std::strerror(error)) + u" ";
}

// Reading runs in a child, so that a read that blocks or eats memory fails
// the test instead of ending the run.

void expectReadRefused(const fs::path& file, int error) {
    const std::u16string path = u16(file);
    runInChild([&] {
        try {
            readWholeFile(path);
            ADD_FAILURE() << "no error";
        } catch (const Error& refusal) {
            EXPECT_EQ(refusal.message(), openMessage(path, error));
        }
    });
}

TEST(ReadWholeFile, FifoAndLinkToADeviceAreRefusedWithoutBlocking) {
    ScratchDir dir;
    ASSERT_EQ(mkfifo((dir / "FifoList.txt").c_str(), 0666), 0);
    fs::create_symlink("/dev/zero", dir / "OrvaneList.txt");
    expectReadRefused(dir / "FifoList.txt", EINVAL);
    expectReadRefused(dir / "OrvaneList.txt", EINVAL);
}

TEST(ReadWholeFile, FileOverTheLimitIsRefused) {
    ScratchDir dir;
    writeFile(dir / "OrvaneList.txt", "");
    fs::resize_file(dir / "OrvaneList.txt", kMaxReadBytes + 1);
    expectReadRefused(dir / "OrvaneList.txt", EFBIG);
}

std::u16string creationMessage(const std::u16string& path, int error) {
    return u"ファイル \"" + path + u"\" を作成できません。" + fromUtf8(std::strerror(error));
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

// Writing runs as the unprivileged user, in a child, so that a write that
// blocks fails the test instead of ending the run.

void expectReplaceRefused(const std::u16string& path, int error) {
    runAsUnprivilegedUser([&] {
        try {
            replaceWholeFile(path, "new");
            ADD_FAILURE() << "no error";
        } catch (const Error& refusal) {
            EXPECT_EQ(refusal.message(), creationMessage(path, error));
        }
    });
}

// A folder only root may write, holding a file the unprivileged user may.

struct ReadOnlyFolder {
    ScratchDir dir;
    fs::path folder = dir / "shared";
    fs::path file = folder / "list.txt";

    ReadOnlyFolder() {
        giveToUnprivilegedUser(dir.path());
        fs::create_directory(folder);
        chmod(folder.c_str(), 0755);
        writeFile(file, "old");
        giveToUnprivilegedUser(file);
    }
};

TEST(ReplaceWholeFile, WritableFileInAReadOnlyFolderIsWrittenInPlace) {
    const ReadOnlyFolder shared;
    const ino_t inode = fileIdentity(shared.file);
    runAsUnprivilegedUser([&] { replaceWholeFile(u16(shared.file), "new"); });
    EXPECT_EQ(fileContent(shared.file), "new");
    EXPECT_EQ(fileIdentity(shared.file), inode);
    EXPECT_TRUE(strayFiles(shared.folder, {"list.txt"}).empty());
}

TEST(ReplaceWholeFile, NewFileInAReadOnlyFolderFails) {
    const ReadOnlyFolder shared;
    const std::u16string other = u16(shared.folder / "other.txt");
    expectReplaceRefused(other, EACCES);
    EXPECT_TRUE(strayFiles(shared.folder, {"list.txt"}).empty());
}

TEST(ReplaceWholeFile, GroupSharedFileKeepsOwnerGroupAndMode) {
    constexpr gid_t team = 4242;
    ScratchDir dir;
    giveToUnprivilegedUser(dir.path());
    const fs::path target = dir / "TargetCAD_APIVersion.txt";
    writeFile(target, "old");
    ASSERT_EQ(chown(target.c_str(), 0, team), 0);
    ASSERT_EQ(chmod(target.c_str(), 0664), 0);
    runAsUnprivilegedUser([&] { replaceWholeFile(u16(target), "new"); }, {team});
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 0u);
    EXPECT_EQ(status.st_gid, team);
    EXPECT_EQ(status.st_mode & 07777, 0664u);
    EXPECT_EQ(fileContent(target), "new");
}

TEST(ReplaceWholeFile, LinkToAnotherUsersFileIsRefused) {
    ScratchDir dir;
    giveToUnprivilegedUser(dir.path());
    writeFile(dir / "theirs.txt", "theirs");
    ASSERT_EQ(chmod((dir / "theirs.txt").c_str(), 0666), 0);
    fs::create_symlink(dir / "theirs.txt", dir / "link.txt");
    giveToUnprivilegedUser(dir / "link.txt");
    const std::u16string link = u16(dir / "link.txt");
    expectReplaceRefused(link, EPERM);
    EXPECT_EQ(fileContent(dir / "theirs.txt"), "theirs");
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
}

TEST(ReplaceWholeFile, AnotherUsersLinkIsRefused) {
    ScratchDir dir;
    giveToUnprivilegedUser(dir.path());
    writeFile(dir / "mine.txt", "mine");
    giveToUnprivilegedUser(dir / "mine.txt");
    fs::create_symlink(dir / "mine.txt", dir / "link.txt");
    const std::u16string link = u16(dir / "link.txt");
    expectReplaceRefused(link, EPERM);
    EXPECT_EQ(fileContent(dir / "mine.txt"), "mine");
}

TEST(ReplaceWholeFile, FifoIsRefusedWithoutBlocking) {
    ScratchDir dir;
    giveToUnprivilegedUser(dir.path());
    ASSERT_EQ(mkfifo((dir / "list.txt").c_str(), 0666), 0);
    const std::u16string path = u16(dir / "list.txt");
    expectReplaceRefused(path, EINVAL);
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
