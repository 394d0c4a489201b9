#pragma once

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

// The user's locale collation, without regard to letter case: <0, 0, >0.
int compareText(std::u16string_view a, std::u16string_view b);
// Equality without regard to letter case, as the list controls find entries.
bool sameText(std::u16string_view a, std::u16string_view b);

// An existing file that is not a directory.
bool fileExists(std::u16string_view path);
// The names of every entry of a directory that is not a directory itself.
std::vector<std::u16string> listFiles(std::u16string_view directory);
// The whole content; throws Error("ファイル %s は開けません。 %s ") on failure.
std::string readWholeFile(std::u16string_view path);
// Replaces the file atomically; throws Error with the file-creation message.
void replaceWholeFile(std::u16string_view path, std::string_view bytes);
// The system's reason for the last failure (errno text on POSIX).
std::u16string lastErrorText();

}  // namespace orvane::platform
