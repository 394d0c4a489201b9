#include "core/panelcore.h"
#include "core/platform/platform.h"
#include "core/settingsfile.h"

#include "core/tests/child_run.h"
#include "core/tests/panel_shutdowns.h"
#include "core/tests/quiethost.h"
#include "core/tests/scratch_dir.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <functional>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using orvane::testing::kPanels;
using orvane::testing::othersSections;
using orvane::testing::ScratchDir;
using orvane::testing::shutDown;
using orvane::testing::Start;

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::u16string u16(const fs::path& path) { return fromUtf8(path.string()); }

// Whether another open of the file could take the lock now; flock locks
// belong to one open of a file, so this sees the locks of this process too.
bool lockableNow(const fs::path& path, int operation) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool taken = flock(fd, operation | LOCK_NB) == 0;
    close(fd);
    return taken;
}

ino_t inodeOf(const fs::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

// Whether the process holds the file with that inode open.
bool holdsOpen(pid_t pid, ino_t inode) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        struct stat status {};
        if (stat(entry.path().c_str(), &status) == 0 && status.st_ino == inode) return true;
    }
    return false;
}

// Forks a child that first lets go of what it inherited (a lock lives on in
// an inherited copy until that is closed) and then runs body; returns once
// the child holds the file with that inode open, or has ended.
pid_t forkUntilItOpens(ino_t inode, const std::function<void()>& letGo,
                       const std::function<void()>& body) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        letGo();
        close(ready[1]);
        body();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    close(ready[1]);
    char ignored = 0;
    while (read(ready[0], &ignored, 1) > 0) {
    }
    close(ready[0]);
    const auto running = [child] {
        siginfo_t info{};
        return waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == 0;
    };
    while (child > 0 && !holdsOpen(child, inode) && running()) sched_yield();
    return child;
}

class SettingsLockTest : public ::testing::Test {
protected:
    fs::path file() const { return dir_ / "Orvane.ini"; }
    std::u16string path() const { return u16(file()); }
    const ScratchDir& dir() const { return dir_; }

private:
    ScratchDir dir_;
};

TEST_F(SettingsLockTest, AnUpdateCreatesAMissingFileToLockIt) {
    const platform::FileLock lock = platform::lockForUpdate(path());
    EXPECT_TRUE(lock.held());
    EXPECT_EQ(contentOf(file()), "");
    EXPECT_FALSE(lockableNow(file(), LOCK_SH));
}

TEST_F(SettingsLockTest, ReadingLeavesAMissingFileMissing) {
    const platform::FileLock lock = platform::lockForReading(path());
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(SettingsLockTest, AReaderKeepsUpdatesOutButNotOtherReaders) {
    writeFile(file(), "[Form]\r\n");
    const platform::FileLock lock = platform::lockForReading(path());
    EXPECT_TRUE(lockableNow(file(), LOCK_SH));
    EXPECT_FALSE(lockableNow(file(), LOCK_EX));
}

TEST_F(SettingsLockTest, AnOpenUpdateKeepsOthersOutUntilReleased) {
    writeFile(file(), "[Form]\r\n");
    {
        SettingsUpdate settings(path());
        settings.WriteInteger(u"Form", u"Width", 1);
        EXPECT_FALSE(lockableNow(file(), LOCK_SH));
    }
    EXPECT_TRUE(lockableNow(file(), LOCK_EX));
}

// A waiter whose file is renamed over while it waits must lock the file the
// path names afterwards, not the old one.
TEST_F(SettingsLockTest, ALockAwaitedWhileTheFileIsReplacedHoldsTheNewFile) {
    writeFile(file(), "old");
    const ino_t oldInode = inodeOf(file());
    std::optional<platform::FileLock> held = platform::lockForUpdate(path());
    ASSERT_TRUE(held->held());

    int verdictPipe[2];
    ASSERT_EQ(pipe(verdictPipe), 0);
    const pid_t child = forkUntilItOpens(
        oldInode, [&] { held.reset(); },
        [&] {
            const platform::FileLock lock = platform::lockForUpdate(path());
            // Locked by this process: no other open of the named file gets it.
            const char verdict = lock.held() && !lockableNow(file(), LOCK_SH) ? 'y' : 'n';
            _exit(write(verdictPipe[1], &verdict, 1) == 1 ? 0 : 1);
        });
    ASSERT_GT(child, 0);
    close(verdictPipe[1]);
    writeFile(dir() / "new.ini", "new");
    ASSERT_EQ(rename((dir() / "new.ini").c_str(), file().c_str()), 0);
    held.reset();

    char verdict = 'n';
    EXPECT_EQ(read(verdictPipe[0], &verdict, 1), 1);
    close(verdictPipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(verdict, 'y');
}

// The other panel's update is open (read, written, not yet saved) when this
// panel's shutdown begins; the shutdown waits for it, or its keys are lost.
class UpdateInProgress : public ::testing::TestWithParam<Start> {
protected:
    // Runs body in a child while this process holds an update with the
    // other panel's key, and saves that update once the child waits for it
    // (or has ended, when it does not wait).
    void whileAnUpdateIsOpen(const std::function<void()>& body) {
        if (GetParam() != Start::NoFile) writeFile(file(), othersSections());
        if (GetParam() == Start::HardLinkedOthersFile) {
            fs::create_hard_link(file(), dir_ / "link.ini");
        }
        std::optional<SettingsUpdate> other(u16(file()));
        other->WriteString(u"OtherPanel", u"Key", u"kept");
        const pid_t child =
            forkUntilItOpens(inodeOf(file()), [&] { other.reset(); }, body);
        ASSERT_GT(child, 0);
        other->save();
        other.reset();
        int status = 0;
        if (waitpid(child, &status, 0) == child) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }
    fs::path file() const { return dir_ / "Orvane.ini"; }
    const ScratchDir& dir() const { return dir_; }

private:
    ScratchDir dir_;
};

TEST_P(UpdateInProgress, AShutdownWaitsForItAndKeepsItsKeys) {
    whileAnUpdateIsOpen([this] { _exit(shutDown(dir().path(), kPanels[1]) ? 0 : 1); });
    const SettingsFile settings(u16(file()));
    EXPECT_EQ(settings.ReadString(u"OtherPanel", u"Key", u"lost"), u"kept");
    EXPECT_EQ(settings.ReadString(u"TargetCAD", u"ProgId", u"lost"), kPanels[1].progId);
    EXPECT_EQ(settings.ReadString(u"Other1999", u"Key", u"none"),
              GetParam() == Start::NoFile ? u"none" : u"value of section 1999");
}

TEST_P(UpdateInProgress, AStartUpReadWaitsForIt) {
    whileAnUpdateIsOpen([this] {
        const SettingsFile settings(u16(file()));
        _exit(settings.ReadString(u"OtherPanel", u"Key", u"old") == u"kept" ? 0 : 1);
    });
}

INSTANTIATE_TEST_SUITE_P(Files, UpdateInProgress,
                         ::testing::Values(Start::NoFile, Start::OthersFile,
                                           Start::HardLinkedOthersFile));

}  // namespace
}  // namespace orvane
