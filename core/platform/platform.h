#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What differs by operating system. One implementation per system is picked
// at build time (posix/ now).
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

// Largest file that is read; no menu list or settings file comes near it.
inline constexpr std::size_t kMaxReadBytes = std::size_t{256} * 1024 * 1024;

// An existing file that is not a directory.
bool fileExists(std::u16string_view path);
// An existing regular file, or a link to one: a file that can be read
// without blocking. A FIFO or device is none.
bool regularFileExists(std::u16string_view path);
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
// The system's reason for the last failure (errno text on POSIX).
std::u16string lastErrorText();

}  // namespace orvane::platform
