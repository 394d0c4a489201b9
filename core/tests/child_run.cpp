#include "core/tests/child_run.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

namespace orvane::testing {

namespace {

constexpr unsigned kWatchdogSeconds = 60;
constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

struct Identity {
    TestUser user;
    std::vector<gid_t> groups;
};

// Only root can change users; anyone else already is an unprivileged user.
void becomeUser(const Identity& identity) {
    if (geteuid() != 0) return;
    if (setgroups(identity.groups.size(), identity.groups.data()) != 0 ||
        setgid(identity.user.gid) != 0 || setuid(identity.user.uid) != 0) {
        throw std::runtime_error(std::string("cannot become the test user: ") +
                                 std::strerror(errno));
    }
}

// Each failure as file, line and message, each ended by a NUL.
std::string failureRecords(const ::testing::TestPartResultArray& results) {
    std::string records;
    for (int i = 0; i < results.size(); ++i) {
        const ::testing::TestPartResult& result = results.GetTestPartResult(i);
        if (!result.failed()) continue;
        records += result.file_name() != nullptr ? result.file_name() : "";
        records += '\0';
        records += std::to_string(result.line_number());
        records += '\0';
        records += result.message();
        records += '\0';
    }
    return records;
}

[[noreturn]] void childMain(int reportFd, const std::function<void()>& body,
                            const std::optional<Identity>& identity) {
    alarm(kWatchdogSeconds);
    ::testing::TestPartResultArray results;
    {
        const ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        try {
            if (identity) becomeUser(*identity);
            body();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "exception in the child: " << error.what();
        } catch (...) {
            ADD_FAILURE() << "unknown exception in the child";
        }
    }
    const std::string records = failureRecords(results);
    for (std::size_t done = 0; done < records.size();) {
        const ssize_t written = write(reportFd, records.data() + done, records.size() - done);
        if (written <= 0) break;
        done += static_cast<std::size_t>(written);
    }
    _exit(0);
}

std::string readAll(int fd) {
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

void reportRecords(const std::string& records) {
    std::vector<std::string> fields;
    for (std::size_t start = 0; start < records.size();) {
        const std::size_t end = records.find('\0', start);
        fields.push_back(records.substr(start, end - start));
        start = end + 1;
    }
    for (std::size_t i = 0; i + 2 < fields.size(); i += 3) {
        ADD_FAILURE_AT(fields[i].c_str(), std::stoi(fields[i + 1])) << fields[i + 2];
    }
}

void run(const std::function<void()>& body, const std::optional<Identity>& identity) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0) << std::strerror(errno);
    if (child == 0) {
        close(pipeFds[0]);
        childMain(pipeFds[1], body, identity);
    }
    close(pipeFds[1]);
    const std::string records = readAll(pipeFds[0]);
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    reportRecords(records);
    if (WIFSIGNALED(status)) {
        ADD_FAILURE() << "the child ended by signal " << WTERMSIG(status)
                      << (WTERMSIG(status) == SIGALRM ? " (it hung)" : "");
    } else if (WEXITSTATUS(status) != 0) {
        ADD_FAILURE() << "the child exited with " << WEXITSTATUS(status);
    }
}

}  // namespace

TestUser unprivilegedUser() {
    if (geteuid() == 0) return {kNobody, kNoGroup};
    return {geteuid(), getegid()};
}

void giveToUnprivilegedUser(const std::filesystem::path& path) {
    const TestUser user = unprivilegedUser();
    ASSERT_EQ(lchown(path.c_str(), user.uid, user.gid), 0) << path << ": " << std::strerror(errno);
}

void runInChild(const std::function<void()>& body) { run(body, std::nullopt); }

void runAsUnprivilegedUser(const std::function<void()>& body,
                           const std::vector<gid_t>& extraGroups) {
    run(body, Identity{unprivilegedUser(), extraGroups});
}

}  // namespace orvane::testing
