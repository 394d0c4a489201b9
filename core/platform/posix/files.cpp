#include "core/platform/platform.h"

#include "core/error.h"
#include "core/platform/posix/error_text.h"
#include "core/platform/posix/file_descriptor.h"
#include "core/platform/read_file.h"
#include "core/utf.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

namespace orvane::platform {

namespace {

constexpr std::u16string_view openFailure = u"ファイル %s は開けません。 %s ";
constexpr std::u16string_view createFailure = u"ファイル \"%s\" を作成できません。%s";

struct DirectoryCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

[[noreturn]] void failOpen(std::u16string_view path, int error) {
    throw Error(formatMessage(openFailure, {path, errorText(error)}));
}

[[noreturn]] void failCreate(std::u16string_view path, int error) {
    throw Error(formatMessage(createFailure, {path, errorText(error)}));
}

bool statFollowing(std::u16string_view path, struct stat& status) {
    std::string bytes;
    return toSystemPath(path, bytes) && stat(bytes.c_str(), &status) == 0;
}

// Only regular files are read or written: a FIFO or device could block or
// never end.
int refusalOfType(mode_t mode) {
    if (S_ISREG(mode)) return 0;
    return S_ISDIR(mode) ? EISDIR : EINVAL;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool userMay(const std::string& path, int access) {
    return faccessat(AT_FDCWD, path.c_str(), access, AT_EACCESS) == 0;
}

// A link is written through only when it and the file it leads to are the
// user's own: a link planted by someone else must never make the panel
// overwrite another file. Gives the file's real path.
std::string ownLinkTarget(std::u16string_view path, const std::string& link,
                          const struct stat& linkStatus) {
    const uid_t user = geteuid();
    struct stat file {};
    if (linkStatus.st_uid != user) failCreate(path, EPERM);
    if (stat(link.c_str(), &file) != 0) failCreate(path, errno);
    if (file.st_uid != user) failCreate(path, EPERM);
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(link.c_str(), nullptr),
                                                           &std::free);
    if (!real) failCreate(path, errno);
    return real.get();
}

// A file with no write bit at all counts as read-only even for root, who
// would otherwise pass every permission check.
int refusalOfExisting(const std::string& path, const struct stat& status) {
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
    return userMay(path, W_OK) ? 0 : errno;
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

// Whether the new file took the old one's owner, group and mode.
bool carriedOver(int fd, const struct stat& old) {
    const mode_t mode = old.st_mode & 07777;
    struct stat now {};
    return fchown(fd, old.st_uid, old.st_gid) == 0 && fchmod(fd, mode) == 0 &&
           fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
           (now.st_mode & 07777) == mode;
}

// Writes a temporary beside the target and renames it over the target.
// False, with nothing changed, when the old file's owner, group and mode
// cannot be carried over to the new one.
bool replaceAtomically(std::u16string_view path, const std::string& target,
                       std::string_view bytes, const struct stat* old) {
    std::string temporary;
    FileDescriptor fd(createTemporary(target, temporary));
    if (!fd.valid()) failCreate(path, errno);
    if (old != nullptr && !carriedOver(fd.get(), *old)) {
        fd.close();
        unlink(temporary.c_str());
        return false;
    }
    int failure = 0;
    if (!writeAll(fd.get(), bytes)) failure = errno;
    if (failure == 0 && fsync(fd.get()) != 0) failure = errno;
    if (!fd.close() && failure == 0) failure = errno;
    if (failure == 0 && rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
    if (failure != 0) {
        unlink(temporary.c_str());
        failCreate(path, failure);
    }
    syncDirectory(directoryOf(target));
    return true;
}

// Truncates and rewrites the file that was checked, and no other: the open
// follows no link and the file must still be the same one.
void writeInPlace(std::u16string_view path, const std::string& target, const struct stat& checked,
                  std::string_view bytes) {
    FileDescriptor fd(
        ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) failCreate(path, errno);
    struct stat opened {};
    if (fstat(fd.get(), &opened) != 0) failCreate(path, errno);
    if (!sameFile(opened, checked)) failCreate(path, EAGAIN);
    int failure = 0;
    if (ftruncate(fd.get(), 0) != 0 || !writeAll(fd.get(), bytes) || fsync(fd.get()) != 0) {
        failure = errno;
    }
    if (!fd.close() && failure == 0) failure = errno;
    if (failure != 0) failCreate(path, failure);
}

// Renaming keeps the file whole at every moment, but only a file of its own
// in a folder it may write can be renamed over without changing owner,
// group, mode or other hard links.
bool mayReplaceAtomically(const std::string& target, const struct stat& status) {
    return status.st_nlink == 1 && userMay(directoryOf(target), W_OK | X_OK);
}

}  // namespace

bool fileExists(std::u16string_view path) {
    struct stat status {};
    return statFollowing(path, status) && !S_ISDIR(status.st_mode);
}

bool regularFileExists(std::u16string_view path) {
    struct stat status {};
    return statFollowing(path, status) && S_ISREG(status.st_mode);
}

std::optional<FileStamp> fileStamp(std::u16string_view path) {
    struct stat status {};
    if (!statFollowing(path, status) || S_ISDIR(status.st_mode)) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(status.st_size),
                     std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

std::vector<std::u16string> listFiles(std::u16string_view directory) {
    std::vector<std::u16string> names;
    std::string directoryBytes;
    if (!toSystemPath(directory, directoryBytes)) return names;
    const std::unique_ptr<DIR, DirectoryCloser> dir(opendir(directoryBytes.c_str()));
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat status {};
        if (fstatat(dirfd(dir.get()), entry->d_name, &status, 0) != 0) continue;
        if (S_ISDIR(status.st_mode)) continue;
        names.push_back(fromFileNameBytes(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void readOpenedFile(std::u16string_view path, const std::function<void(std::size_t)>& sized,
                    const std::function<bool(std::string_view)>& take) {
    std::string name;
    if (!toSystemPath(path, name)) failOpen(path, ENOENT);
    // The type is checked before opening, so that no device is opened, and
    // again on what was opened, which is what counts.
    struct stat status {};
    if (stat(name.c_str(), &status) != 0) failOpen(path, errno);
    if (const int refusal = refusalOfType(status.st_mode)) failOpen(path, refusal);
    FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) failOpen(path, errno);
    if (fstat(fd.get(), &status) != 0) failOpen(path, errno);
    if (const int refusal = refusalOfType(status.st_mode)) failOpen(path, refusal);
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxReadBytes) failOpen(path, EFBIG);
    if (sized) sized(static_cast<std::size_t>(status.st_size));

    std::size_t total = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            failOpen(path, errno);
        }
        // A file that grows while it is read stops at the same limit.
        total += static_cast<std::size_t>(count);
        if (total > kMaxReadBytes) failOpen(path, EFBIG);
        if (!take(std::string_view(buffer, static_cast<std::size_t>(count)))) break;
    }
}

void replaceWholeFile(std::u16string_view path, std::string_view bytes) {
    std::string target;
    if (!toSystemPath(path, target)) failCreate(path, EINVAL);
    struct stat status {};
    if (lstat(target.c_str(), &status) != 0) {
        if (errno != ENOENT) failCreate(path, errno);
        replaceAtomically(path, target, bytes, nullptr);
        return;
    }
    if (S_ISLNK(status.st_mode)) {
        target = ownLinkTarget(path, target, status);
        if (lstat(target.c_str(), &status) != 0) failCreate(path, errno);
    }
    if (const int refusal = refusalOfType(status.st_mode)) failCreate(path, refusal);
    if (const int refusal = refusalOfExisting(target, status)) failCreate(path, refusal);
    if (mayReplaceAtomically(target, status) && replaceAtomically(path, target, bytes, &status)) {
        return;
    }
    writeInPlace(path, target, status, bytes);
}

}  // namespace orvane::platform
