#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "core/utf.h"

// What the POSIX file code shares: an owned descriptor and path handling.
namespace orvane::platform {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now so that a failing close is seen; returns false on failure.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    // Gives the descriptor up to the caller.
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// The path as the system takes it; a NUL would cut it short and name another
// file, so such a path names none.
inline bool toSystemPath(std::u16string_view path, std::string& bytes) {
    bytes = toFileNameBytes(path);
    return bytes.find('\0') == std::string::npos;
}

inline bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace orvane::platform
