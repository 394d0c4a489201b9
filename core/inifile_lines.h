#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/linefile.h"

namespace orvane::ini {

// Where the lines of a settings file's bytes lie, found in the units of its
// encoding without decoding them. Lines end at CR LF, CR or LF; nothing ends
// the text early: a NUL is a character like any other.

struct LinePlace {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;  // where the line end starts
    std::size_t end = 0;         // after the line end
};

class IniUnits {
public:
    IniUnits(std::string_view bytes, TextEncoding encoding) : bytes_(bytes), encoding_(encoding) {}

    std::size_t unitSize() const noexcept { return isUtf16() ? 2 : 1; }
    bool isUtf16() const noexcept {
        return encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE;
    }

    // The line that starts at begin, a line start before the end.
    LinePlace lineAt(std::size_t begin) const;
    // Where the line after the last line end starts; the end when the text
    // ends with a line end. textBegin is where the text after the mark starts.
    std::size_t lastLineStart(std::size_t textBegin) const;
    // The lines within [from, to), both line starts, whose first unit that is
    // no blank is "[": every section header among them, and maybe other lines.
    std::vector<LinePlace> headerCandidates(std::size_t from, std::size_t to) const;

    std::string_view contentOf(const LinePlace& place) const {
        return bytes_.substr(place.begin, place.contentEnd - place.begin);
    }
    std::u16string decode(const LinePlace& place) const;
    bool hasLineBreak(std::size_t from, std::size_t to) const;

private:
    char16_t unitAt(std::size_t at) const;
    bool isLineBreak(std::size_t at) const {
        const char16_t c = unitAt(at);
        return c == u'\r' || c == u'\n';
    }
    // The first "[" unit at or after at and before to; to when there is none.
    std::size_t findBracket(std::size_t at, std::size_t to) const;

    std::string_view bytes_;
    TextEncoding encoding_;
};

// A line's text in a file's encoding, as lookups see it and writes store it.
std::u16string decodeLine(std::string_view bytes, TextEncoding encoding);
// nullopt when the text cannot be stored without loss.
std::optional<std::string> encodeLine(std::u16string_view text, TextEncoding encoding);

}  // namespace orvane::ini
