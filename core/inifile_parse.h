#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::ini {

// Lookups and edits on the lines of an INI file. Section and key names match
// without regard to letter case; the first matching section and key win.
// A section's lines are those after its header up to the next header.

// The name of a section header line, or nullopt for any other line.
std::optional<std::u16string> sectionName(std::u16string_view line);

// Whether a name in the file is the name asked for: equal without regard to
// letter case, as the list controls compare.
bool sameName(std::u16string_view a, std::u16string_view b);

// The value of a key among a section's lines as the private-profile
// functions give it: blanks trimmed, one pair of enclosing quotes removed, at
// most 2047 characters. nullopt when the key is missing.
std::optional<std::u16string> findValue(const std::vector<std::u16string>& section,
                                        std::u16string_view key);

// Where writing key=value goes among a section's lines, and the text of the
// lines it writes.
struct Placement {
    // The key's line to replace, or the line before which the new line goes
    // (the number of lines for the section's end).
    std::size_t line = 0;
    bool replaces = false;
    std::vector<std::u16string> text;
};

// In place when the key exists, after the section's last entry otherwise. A
// line break or NUL in the value is written as a blank.
Placement placeValue(const std::vector<std::u16string>& section, std::u16string_view key,
                     std::u16string_view value);

// The lines of a new section holding only key=value, for the file's end.
std::vector<std::u16string> newSection(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view value);

}  // namespace orvane::ini
