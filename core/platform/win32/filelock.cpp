#include "core/platform/platform.h"

#include "core/platform/win32/handle.h"
#include "core/platform/win32/lock_range.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

// Writers replace the file by renaming a new one over it, which leaves a
// waiter holding the old one; so once the lock is taken, the path must still
// name the locked file, or the lock is taken again on the one it names now.
namespace orvane::platform {

namespace {

using Clock = std::chrono::steady_clock;

// A holder that never lets go (a stopped process, another program) must not
// hang the panel; this is far beyond any write of the settings file.
constexpr auto kPatience = std::chrono::seconds(30);
// Each attempt follows a replacement by another panel, so few are needed.
constexpr int kAttempts = 100;

// Every sharing mode, so that the lock keeps no reader, writer or
// replacement out by itself.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool waitForLock(HANDLE file, DWORD flags) {
    const auto deadline = Clock::now() + kPatience;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        OVERLAPPED at = lockRange();
        if (LockFileEx(file, flags | LOCKFILE_FAIL_IMMEDIATELY, 0, kLockRangeBytes, 0, &at)) {
            return true;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION) return false;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

HANDLE openForLocking(const std::wstring& name, DWORD disposition) {
    return CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool stillNamed(HANDLE locked, const std::wstring& name) {
    Handle named(CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return named.valid() && GetFileInformationByHandle(locked, &a) &&
           GetFileInformationByHandle(named.get(), &b) && sameFile(a, b);
}

std::intptr_t lockFile(std::u16string_view path, DWORD flags, bool create) {
    const auto name = toSystemPath(path);
    if (!name) return -1;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        HANDLE opened = openForLocking(*name, OPEN_EXISTING);
        if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND && create) {
            opened = openForLocking(*name, CREATE_NEW);
            if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
        }
        Handle file(opened);
        if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return -1;
        if (!waitForLock(file.get(), flags)) return -1;
        if (stillNamed(file.get(), *name)) {
            return reinterpret_cast<std::intptr_t>(file.release());
        }
    }
    return -1;
}

void closeLock(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

}  // namespace

FileLock::~FileLock() {
    if (held()) closeLock(handle_);
}

FileLock::FileLock(FileLock&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (held()) closeLock(handle_);
        handle_ = other.handle_;
        other.handle_ = kNone;
    }
    return *this;
}

FileLock lockForReading(std::u16string_view path) { return FileLock(lockFile(path, 0, false)); }

FileLock lockForUpdate(std::u16string_view path) {
    return FileLock(lockFile(path, LOCKFILE_EXCLUSIVE_LOCK, true));
}

}  // namespace orvane::platform
