#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::ini {

// Lookups and edits on the lines of an INI file. Section and key names match
// without regard to letter case; the first matching section and key win.

// The value of a key as the private-profile functions give it: blanks
// trimmed, one pair of enclosing quotes removed, at most 2047 characters.
// nullopt when the section or key is missing.
std::optional<std::u16string> findValue(const std::vector<std::u16string>& lines,
                                        std::u16string_view section, std::u16string_view key);

// Where writing key=value goes, and the text of the lines it writes.
struct Placement {
    // The key's line to replace, or the line before which the new lines go
    // (the number of lines for the end).
    std::size_t line = 0;
    bool replaces = false;
    std::vector<std::u16string> text;
};

// In place when the key exists, after the section's last entry when only the
// section exists, in a new section at the end otherwise. A line break or NUL
// in the value is written as a blank.
Placement placeValue(const std::vector<std::u16string>& lines, std::u16string_view section,
                     std::u16string_view key, std::u16string_view value);

}  // namespace orvane::ini
