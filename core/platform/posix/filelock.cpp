#include "core/platform/platform.h"

#include "core/platform/posix/file_descriptor.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

// flock locks the open file, not the name. Writers replace the settings file
// by renaming a new one over it, which leaves a waiter holding the old,
// unnamed file; so once the lock is taken, the path must still name the
// locked file, or the lock is taken again on the one it names now.
namespace orvane::platform {

namespace {

using Clock = std::chrono::steady_clock;

// A holder that never lets go (a stopped process, another program) must not
// hang the panel; this is far beyond any write of the settings file.
constexpr auto kPatience = std::chrono::seconds(30);
// Each attempt follows a replacement by another panel, so few are needed; the
// bound ends a loop that someone renaming files forever could cause.
constexpr int kAttempts = 100;

bool waitForLock(int fd, int operation) {
    const auto deadline = Clock::now() + kPatience;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (flock(fd, operation | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

// The regular file the path names, opened for locking only; no device or
// FIFO is opened. -1 with errno ENOENT when nothing is there.
int openExisting(const std::string& name) {
    struct stat status {};
    if (stat(name.c_str(), &status) != 0) return -1;
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid() || fstat(fd.get(), &status) != 0) return -1;
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    return fd.release();
}

// A new empty file at the path, never through a link; -1 with EEXIST when
// something is there already.
int createEmpty(const std::string& name) {
    return ::open(name.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                  0666);
}

bool stillNamed(int fd, const std::string& name) {
    struct stat locked {};
    struct stat named {};
    return fstat(fd, &locked) == 0 && stat(name.c_str(), &named) == 0 && sameFile(locked, named);
}

std::intptr_t lockFile(std::u16string_view path, int operation, bool create) {
    std::string name;
    if (!toSystemPath(path, name)) return -1;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        int opened = openExisting(name);
        if (opened < 0 && errno == ENOENT && create) {
            opened = createEmpty(name);
            if (opened < 0 && errno == EEXIST) continue;
        }
        FileDescriptor fd(opened);
        if (!fd.valid() || !waitForLock(fd.get(), operation)) return -1;
        if (stillNamed(fd.get(), name)) return fd.release();
    }
    return -1;
}

}  // namespace

FileLock::~FileLock() {
    if (held()) ::close(static_cast<int>(handle_));
}

FileLock::FileLock(FileLock&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (held()) ::close(static_cast<int>(handle_));
        handle_ = other.handle_;
        other.handle_ = kNone;
    }
    return *this;
}

FileLock lockForReading(std::u16string_view path) {
    return FileLock(lockFile(path, LOCK_SH, false));
}

FileLock lockForUpdate(std::u16string_view path) { return FileLock(lockFile(path, LOCK_EX, true)); }

}  // namespace orvane::platform
