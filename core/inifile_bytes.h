#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/inifile_lines.h"
#include "core/linefile.h"

namespace orvane::ini {

// A settings file's bytes, for the lookups and edits of one sequence. Only
// the section headers are found and decoded up front, once; a lookup decodes
// the lines of the section it reaches, so that a large file of other
// programs' sections costs little more than its read. Each edit changes the
// bytes of the lines it touches and leaves the same bytes as withValue on the
// whole file would.
class IniDocument {
public:
    explicit IniDocument(std::string bytes);

    const std::string& bytes() const noexcept { return bytes_; }

    // The value as findValue gives it in the first matching section; nullopt
    // when the section or key is missing.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;

    // key=value written: the key's own line changed, or the new lines
    // inserted, each ended by CR LF, and every other byte kept. False, with
    // nothing changed, when the text cannot be stored without loss.
    bool setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

private:
    struct Header {
        LinePlace place;
        std::u16string name;
    };
    // The lines of a section, after its header up to the next header.
    struct Section {
        std::vector<LinePlace> places;
        std::vector<std::u16string> lines;
        std::size_t end = 0;
    };

    IniUnits units() const { return {bytes_, encoding_}; }
    std::vector<Header> headersIn(std::size_t from, std::size_t to) const;
    // The first header whose name matches, by its index in headers_.
    std::optional<std::size_t> findSection(std::u16string_view section) const;
    Section sectionOf(std::size_t header) const;
    // The whole ANSI file as UTF-8 with its mark and the same line ends;
    // nullopt when some line would not turn back into the same bytes.
    std::optional<std::string> asUtf8() const;
    // Replaces the bytes [from, to), whole lines, by text that holds whole
    // lines.
    void splice(std::size_t from, std::size_t to, std::string_view text);

    std::string bytes_;
    TextEncoding encoding_ = TextEncoding::Ansi;
    std::size_t textBegin_ = 0;  // after the byte order mark
    // Every section header, in file order.
    std::vector<Header> headers_;
};

// The file's bytes with key=value written, as IniDocument::setValue writes
// it; nullopt when the text cannot be stored without loss.
std::optional<std::string> withValue(std::string_view bytes, std::u16string_view section,
                                     std::u16string_view key, std::u16string_view value);

}  // namespace orvane::ini
