#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/linefile.h"

namespace orvane::ini {

// A settings file's bytes cut into lines at CR LF, CR or LF, in the units of
// its encoding. Nothing ends the text early: a NUL is a character like any
// other.
struct IniBytes {
    struct Place {
        std::size_t begin = 0;
        std::size_t contentEnd = 0;  // where the line end starts
        std::size_t end = 0;         // after the line end
    };
    TextEncoding encoding = TextEncoding::Ansi;
    std::vector<Place> places;
    // The decoded text of each line, for lookups.
    std::vector<std::u16string> lines;
};

IniBytes splitIniBytes(std::string_view bytes);

// A settings file's bytes with their lines, for a sequence of edits: each
// edit changes the lines it touches instead of splitting the whole file
// again, and leaves the same bytes as withValue on the whole file would.
class IniDocument {
public:
    explicit IniDocument(std::string bytes);

    const std::string& bytes() const noexcept { return bytes_; }
    const std::vector<std::u16string>& lines() const noexcept { return split_.lines; }

    // key=value written: the key's own line changed, or the new lines
    // inserted, each ended by CR LF, and every other byte kept. False, with
    // nothing changed, when the text cannot be stored without loss.
    bool setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

private:
    // Replaces the bytes [from, to) by text that holds whole lines.
    void splice(std::size_t from, std::size_t to, std::string_view text,
                std::size_t firstLine, std::size_t linesReplaced,
                std::vector<IniBytes::Place> places);

    std::string bytes_;
    IniBytes split_;
};

// The file's bytes with key=value written, as IniDocument::setValue writes
// it; nullopt when the text cannot be stored without loss.
std::optional<std::string> withValue(std::string_view bytes, std::u16string_view section,
                                     std::u16string_view key, std::u16string_view value);

}  // namespace orvane::ini
