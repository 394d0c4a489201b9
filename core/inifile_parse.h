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

// Sets key=value: in place when the key exists, after the section's last
// entry when only the section exists, in a new section at the end otherwise.
// Every other line stays as it was.
void setValue(std::vector<std::u16string>& lines, std::u16string_view section,
              std::u16string_view key, std::u16string_view value);

}  // namespace orvane::ini
