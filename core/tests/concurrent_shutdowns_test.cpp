// Two panels closing together, each in a process of its own on POSIX and
// in a thread of its own on Windows, where the lock keeps out every other
// handle of the file.
#include "core/tests/panel_shutdowns.h"
#include "core/tests/scratch_dir.h"
#include "core/tests/test_files.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <condition_variable>
#include <mutex>
#include <thread>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace orvane {
namespace {

namespace fs = std::filesystem;
using orvane::testing::fileContent;
using orvane::testing::kPanels;
using orvane::testing::othersSections;
using orvane::testing::ScratchDir;
using orvane::testing::shutDown;
using orvane::testing::Start;
using orvane::testing::writeFile;

#ifdef _WIN32
// Starts both panels' shutdowns at once and waits for them. The start is a
// plain condition: std::latch of this GCC's library on Windows can miss its
// wake-up and leave a thread waiting for ever.
void shutDownTogether(const fs::path& programDirectory) {
    std::mutex startLock;
    std::condition_variable started;
    std::size_t arrived = 0;
    std::array<bool, 2> done{};
    std::array<std::thread, 2> panels;
    for (std::size_t panel = 0; panel < panels.size(); ++panel) {
        panels[panel] = std::thread([&, panel] {
            {
                std::unique_lock lock(startLock);
                ++arrived;
                started.notify_all();
                started.wait(lock, [&] { return arrived == panels.size(); });
            }
            done[panel] = shutDown(programDirectory, kPanels[panel]);
        });
    }
    for (std::thread& panel : panels) panel.join();
    EXPECT_TRUE(done[0] && done[1]) << "a shutdown failed";
}
#else
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
#endif

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
            alone[start == Start::NoFile ? 0 : 1][panel] = fileContent(single / "Orvane.ini");
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
        const std::string result = fileContent(file);
        const auto& expected = alone[start == Start::NoFile ? 0 : 1];
        EXPECT_TRUE(result == expected[0] || result == expected[1])
            << "round " << round << " left " << result.size() << " bytes, ending:\n"
            << result.substr(result.size() > 300 ? result.size() - 300 : 0);
    }
}

}  // namespace
}  // namespace orvane
