#include "core/panelcore.h"
#include "core/platform/platform.h"
#include "core/settingsfile.h"

#include "core/tests/child_run.h"
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
using orvane::testing::ScratchDir;

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

// --- Two panels closing together ---------------------------------------

struct PanelValues {
    Bounds bounds;
    std::u16string progId;
    bool check;
};

// Lengths differ, so that a file written over by the other panel's shorter
// or longer text shows.
const std::array<PanelValues, 2> kPanels{{
    {{1, 2, 300, 40}, u"A.Application", true},
    {{-1000, 2000, 30000, 400000}, u"BBBBBBBB.Application", false},
}};

// The real shutdown sequence of a panel in that program folder.
bool shutDown(const fs::path& programDirectory, const PanelValues& values) {
    testing::QuietHost host;
    bool failed = false;
    PanelCore core(u16(programDirectory / "Orvane"), host, {}, [&](const Error&) { failed = true; });
    core.state().setBounds(values.bounds);
    core.shared().TargetProgID = values.progId;
    core.state().setCheckBox1(values.check);
    core.FormDestroy();
    return !failed;
}

// Other programs' sections, large enough that a write takes a while.
std::string othersSections() {
    std::string text;
    for (int section = 0; section < 2000; ++section) {
        text += "[Other" + std::to_string(section) + "]\r\nKey=value of section " +
                std::to_string(section) + "\r\n";
    }
    return text;
}

// Starts both panels' shutdowns at once and waits for them.
void shutDownTogether(const fs::path& programDirectory) {
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::fflush(nullptr);
    std::array<pid_t, 2> children{};
    for (std::size_t panel = 0; panel < children.size(); ++panel) {
        children[panel] = fork();
        ASSERT_GE(children[panel], 0);
        if (children[panel] == 0) {
            close(start[1]);
            char ignored = 0;
            while (read(start[0], &ignored, 1) > 0) {
            }
            _exit(shutDown(programDirectory, kPanels[panel]) ? 0 : 1);
        }
    }
    close(start[0]);
    close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a shutdown failed";
    }
}

enum class Start { NoFile, OthersFile, HardLinkedOthersFile };

// Each round's file must be what one panel alone would have left: every key
// present once and all from the panel that closed last, nothing of other
// programs lost, nothing of the other panel mixed in.
TEST(ConcurrentShutdowns, TwoPanelsClosingTogetherLeaveTheFileOfOne) {
    const std::string others = othersSections();
    const auto prepare = [&](const fs::path& directory, Start start) {
        if (start != Start::NoFile) writeFile(directory / "Orvane.ini", others);
    };
    // What each panel leaves alone, by the file it starts from.
    std::array<std::array<std::string, 2>, 2> alone;
    for (const Start start : {Start::NoFile, Start::OthersFile}) {
        for (std::size_t panel = 0; panel < kPanels.size(); ++panel) {
            const ScratchDir single;
            prepare(single.path(), start);
            ASSERT_TRUE(shutDown(single.path(), kPanels[panel]));
            alone[start == Start::NoFile ? 0 : 1][panel] = contentOf(single / "Orvane.ini");
        }
    }
    for (int round = 0; round < 51; ++round) {
        const auto start = static_cast<Start>(round % 3);
        const ScratchDir dir;
        const fs::path file = dir / "Orvane.ini";
        prepare(dir.path(), start);
        // A second name makes the writer rewrite the file in place.
        if (start == Start::HardLinkedOthersFile) fs::create_hard_link(file, dir / "link.ini");

        shutDownTogether(dir.path());
        const std::string result = contentOf(file);
        const auto& expected = alone[start == Start::NoFile ? 0 : 1];
        EXPECT_TRUE(result == expected[0] || result == expected[1])
            << "round " << round << " left " << result.size() << " bytes, ending:\n"
            << result.substr(result.size() > 300 ? result.size() - 300 : 0);
    }
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
