#include "core/platform/platform.h"

#include "core/error.h"
#include "core/platform/posix/error_text.h"
#include "core/utf.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace orvane::platform {

namespace {

constexpr std::u16string_view openFailure = u"ファイル %s は開けません。 %s ";
constexpr std::u16string_view createFailure = u"ファイル \"%s\" を作成できません。%s";

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

private:
    int fd_;
};

struct DirectoryCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

[[noreturn]] void failOpen(std::u16string_view path, int error) {
    throw Error(formatMessage(openFailure, {path, errorText(error)}));
}

[[noreturn]] void failCreate(std::u16string_view path, int error) {
    throw Error(formatMessage(createFailure, {path, errorText(error)}));
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A symbolic link is replaced through, so the link itself stays.
std::string resolvedTarget(const std::string& path) {
    struct stat linkStatus {};
    if (lstat(path.c_str(), &linkStatus) != 0 || !S_ISLNK(linkStatus.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

// A file with no write bit at all counts as read-only even for root, who
// would otherwise pass every permission check.
int refusalOfExisting(const std::string& path, const struct stat& status) {
    if (S_ISDIR(status.st_mode)) return EISDIR;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
    if (access(path.c_str(), W_OK) != 0) return errno;
    return 0;
}

std::string temporaryNameBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::string directory = directoryOf(target);
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return directory + "/." + name + "." + std::to_string(getpid()) + "." +
           std::to_string(counter.fetch_add(1)) + ".tmp";
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void syncDirectory(const std::string& directory) {
    FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) fsync(fd.get());
}

// Creates a fresh temporary file beside the target; returns its descriptor.
int createTemporary(const std::string& target, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryNameBeside(target);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

bool fileExists(std::u16string_view path) {
    if (path.empty()) return false;
    struct stat status {};
    return stat(toUtf8(path).c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

std::vector<std::u16string> listFiles(std::u16string_view directory) {
    const std::string directoryBytes = toUtf8(directory);
    const std::unique_ptr<DIR, DirectoryCloser> dir(opendir(directoryBytes.c_str()));
    std::vector<std::u16string> names;
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat status {};
        if (fstatat(dirfd(dir.get()), entry->d_name, &status, 0) != 0) continue;
        if (S_ISDIR(status.st_mode)) continue;
        names.push_back(fromUtf8(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string readWholeFile(std::u16string_view path) {
    FileDescriptor fd(::open(toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) failOpen(path, errno);
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            failOpen(path, errno);
        }
        content.append(buffer, static_cast<std::size_t>(count));
    }
    return content;
}

void replaceWholeFile(std::u16string_view path, std::string_view bytes) {
    const std::string target = resolvedTarget(toUtf8(path));
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (const int refusal = refusalOfExisting(target, existing)) failCreate(path, refusal);
    } else if (errno != ENOENT) {
        failCreate(path, errno);
    }

    std::string temporary;
    FileDescriptor fd(createTemporary(target, temporary));
    if (!fd.valid()) failCreate(path, errno);

    int failure = 0;
    if (!writeAll(fd.get(), bytes)) failure = errno;
    if (failure == 0 && exists) {
        // Keeping the owner only works for root; others keep their own.
        [[maybe_unused]] const int ignored = fchown(fd.get(), existing.st_uid, existing.st_gid);
        fchmod(fd.get(), existing.st_mode & 07777);
    }
    if (failure == 0 && fsync(fd.get()) != 0) failure = errno;
    if (!fd.close() && failure == 0) failure = errno;
    if (failure == 0 && rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
    if (failure != 0) {
        unlink(temporary.c_str());
        failCreate(path, failure);
    }
    syncDirectory(directoryOf(target));
}

}  // namespace orvane::platform
