#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What differs by operating system. One implementation per system is picked
// at build time (posix/ or win32/).
namespace orvane::platform {

// The whole path of the running executable, as the system reports it.
std::u16string programPath();

// The system's ANSI code page; on POSIX the character set of the user's locale.
std::u16string decodeAnsi(std::string_view bytes);
// nullopt when some character has no form in the code page.
std::optional<std::string> encodeAnsi(std::u16string_view text);
// Whether the ANSI code page is UTF-8, the charset file names are kept in.
bool ansiIsUtf8();

// The user's locale collation, without regard to letter case: <0, 0, >0.
int compareText(std::u16string_view a, std::u16string_view b);
// Equality without regard to letter case, as the list controls find entries.
bool sameText(std::u16string_view a, std::u16string_view b);
// Each character in lower case, one for one, as the system maps letters.
std::u16string lowerCase(std::u16string_view text);

// Largest file that is read; no menu list or settings file comes near it.
inline constexpr std::size_t kMaxReadBytes = std::size_t{256} * 1024 * 1024;

// An existing file that is not a directory.
bool fileExists(std::u16string_view path);
// An existing regular file, or a link to one: a file that can be read
// without blocking. A FIFO or device is none.
bool regularFileExists(std::u16string_view path);
// What tells one version of a file from the next without reading it.
struct FileStamp {
    std::uint64_t size = 0;
    // In the system's own units.
    std::int64_t modified = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of an existing file that is not a directory; nullopt otherwise.
std::optional<FileStamp> fileStamp(std::u16string_view path);
// The names of every entry of a directory that is not a directory itself.
std::vector<std::u16string> listFiles(std::u16string_view directory);
// The whole content of a regular file (or a link to one) of at most
// kMaxReadBytes. Opening never blocks. Throws Error("ファイル %s は開けません。 %s ")
// on failure, also for a special file or a larger one.
std::string readWholeFile(std::u16string_view path);
// The same content, handed to take a piece at a time, so that it is never
// held whole; reading stops early when take returns false.
void readFileInPieces(std::u16string_view path, const std::function<bool(std::string_view)>& take);
// Replaces the file's content; throws Error with the file-creation message.
// The file is replaced atomically (a temporary beside it, renamed) where the
// new file can take the old one's owner, group and mode, and written in
// place otherwise. A symbolic link is written through only when the link and
// its file both belong to the user; any other link is refused.
void replaceWholeFile(std::u16string_view path, std::string_view bytes);
// An advisory lock on a file, held while the object lives, so that panels
// sharing one program folder take turns with its settings file. Only the
// panel's own sequences heed it. It may hold nothing: where the file cannot
// be opened, or another holder keeps it past a generous wait, the caller
// goes on as it would have without one rather than hang.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const noexcept { return handle_ != kNone; }

private:
    friend FileLock lockForReading(std::u16string_view path);
    friend FileLock lockForUpdate(std::u16string_view path);
    static constexpr std::intptr_t kNone = -1;
    explicit FileLock(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = kNone;
};
// A lock shared with other readers that keeps updates out; a missing file
// stays missing and is not locked.
FileLock lockForReading(std::u16string_view path);
// A lock for one read-modify-write, exclusive of readers and other updates,
// on the file the path names when it is taken: a file replaced meanwhile is
// locked anew. A missing file is created empty, so that two panels creating
// it take turns too.
FileLock lockForUpdate(std::u16string_view path);

// The system's reason for the last failure (errno text on POSIX).
std::u16string lastErrorText();

}  // namespace orvane::platform
