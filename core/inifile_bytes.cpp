#include "core/inifile_bytes.h"

#include "core/inifile_parse.h"
#include "core/platform/platform.h"
#include "core/utf.h"

namespace orvane::ini {

namespace {

bool isUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
}

// The code unit at a byte offset: one byte, or two in the file's order.
char16_t unitAt(std::string_view bytes, std::size_t at, TextEncoding encoding) {
    const auto byte = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return static_cast<char16_t>(byte(at) | byte(at + 1) << 8);
    case TextEncoding::Utf16BE:
        return static_cast<char16_t>(byte(at) << 8 | byte(at + 1));
    case TextEncoding::Ansi:
    case TextEncoding::Utf8:
        break;
    }
    return byte(at);
}

// Settings text in UTF-8 keeps the bytes of a file name that is no UTF-8
// as those bytes (see fromFileNameBytes), so that such a menu list's name
// comes back as the same name.
bool keepsFileNameBytes(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ||
           (encoding == TextEncoding::Ansi && platform::ansiIsUtf8());
}

std::u16string decodeLine(std::string_view bytes, TextEncoding encoding) {
    return keepsFileNameBytes(encoding) ? fromFileNameBytes(bytes) : decodeAs(bytes, encoding);
}

std::optional<std::string> encodeLine(std::u16string_view text, TextEncoding encoding) {
    if (keepsFileNameBytes(encoding)) return toFileNameBytes(text);
    return encodeAs(text, encoding);
}

std::string_view contentOf(std::string_view bytes, const IniBytes::Place& place) {
    return bytes.substr(place.begin, place.contentEnd - place.begin);
}

// The ANSI file as UTF-8 with its mark and the same line ends; nullopt when
// some line would not turn back into the same bytes.
std::optional<std::string> asUtf8(std::string_view bytes, const IniBytes& file) {
    std::string utf8(markOf(TextEncoding::Utf8));
    for (std::size_t i = 0; i < file.places.size(); ++i) {
        const IniBytes::Place& place = file.places[i];
        if (encodeAs(file.lines[i], TextEncoding::Ansi) != contentOf(bytes, place)) {
            return std::nullopt;
        }
        utf8 += toFileNameBytes(file.lines[i]);
        utf8 += bytes.substr(place.contentEnd, place.end - place.contentEnd);
    }
    return utf8;
}

bool hasLineBreak(std::string_view bytes, TextEncoding encoding) {
    const std::size_t unit = isUtf16(encoding) ? 2 : 1;
    for (std::size_t at = 0; at + unit <= bytes.size(); at += unit) {
        const char16_t c = unitAt(bytes, at, encoding);
        if (c == u'\r' || c == u'\n') return true;
    }
    return false;
}

}  // namespace

IniBytes splitIniBytes(std::string_view bytes) {
    IniBytes file;
    const ByteOrderMark mark = detectMark(bytes);
    file.encoding = mark.encoding;
    const std::size_t unit = isUtf16(mark.encoding) ? 2 : 1;
    std::size_t start = mark.size;
    for (std::size_t at = start; at + unit <= bytes.size(); at += unit) {
        const char16_t c = unitAt(bytes, at, file.encoding);
        if (c != u'\r' && c != u'\n') continue;
        std::size_t end = at + unit;
        if (c == u'\r' && end + unit <= bytes.size() && unitAt(bytes, end, file.encoding) == u'\n') {
            end += unit;
        }
        file.places.push_back({start, at, end});
        start = end;
        at = end - unit;
    }
    if (start < bytes.size()) file.places.push_back({start, bytes.size(), bytes.size()});
    file.lines.reserve(file.places.size());
    for (const IniBytes::Place& place : file.places) {
        file.lines.push_back(decodeLine(contentOf(bytes, place), file.encoding));
    }
    return file;
}

IniDocument::IniDocument(std::string bytes)
    : bytes_(std::move(bytes)), split_(splitIniBytes(bytes_)) {}

bool IniDocument::setValue(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) {
    const Placement placement = placeValue(split_.lines, section, key, value);
    const TextEncoding encoding = split_.encoding;
    const std::string lineEnd = encodeAs(u"\r\n", encoding).value_or("\r\n");
    std::string text;
    std::vector<IniBytes::Place> places;
    bool breaksInside = false;
    for (const std::u16string& line : placement.text) {
        const std::optional<std::string> encoded = encodeLine(line, encoding);
        if (!encoded) {
            // Text the code page lacks: the whole file moves to UTF-8 if
            // nothing else is lost on the way.
            const std::optional<std::string> utf8 = asUtf8(bytes_, split_);
            if (!utf8) return false;
            IniDocument migrated(*utf8);
            if (!migrated.setValue(section, key, value)) return false;
            *this = std::move(migrated);
            return true;
        }
        breaksInside = breaksInside || hasLineBreak(*encoded, encoding);
        const std::size_t begin = text.size();
        text += *encoded;
        places.push_back({begin, text.size(), text.size()});
        if (!placement.replaces) {
            text += lineEnd;
            places.back().end = text.size();
        }
    }

    const std::size_t lineCount = split_.places.size();
    if (placement.line < lineCount) {
        const IniBytes::Place& place = split_.places[placement.line];
        if (!placement.replaces) {
            splice(place.begin, place.begin, text, placement.line, 0, std::move(places));
        } else {
            // The line keeps its own line end.
            const std::string_view end =
                std::string_view(bytes_).substr(place.contentEnd, place.end - place.contentEnd);
            places.back().end += end.size();
            text += end;
            splice(place.begin, place.end, text, placement.line, 1, std::move(places));
        }
    } else if (lineCount > 0 && split_.places.back().contentEnd == bytes_.size()) {
        // A dangling odd byte of UTF-16 would shift every unit after it.
        if (isUtf16(encoding) && bytes_.size() % 2 != 0) return false;
        // The last line gets its line end, or the new lines would join it.
        const IniBytes::Place& last = split_.places.back();
        const std::string_view content = contentOf(bytes_, last);
        const std::size_t shift = content.size() + lineEnd.size();
        for (IniBytes::Place& place : places) {
            place = {place.begin + shift, place.contentEnd + shift, place.end + shift};
        }
        places.insert(places.begin(), {0, content.size(), shift});
        text.insert(0, std::string(content) + lineEnd);
        splice(last.begin, bytes_.size(), text, lineCount - 1, 1, std::move(places));
    } else {
        splice(bytes_.size(), bytes_.size(), text, lineCount, 0, std::move(places));
    }
    // A unit of a line break inside the written text (a name given with
    // one) makes other lines than the written ones; the whole file is split
    // again then.
    if (breaksInside) split_ = splitIniBytes(bytes_);
    return true;
}

void IniDocument::splice(std::size_t from, std::size_t to, std::string_view text,
                         std::size_t firstLine, std::size_t linesReplaced,
                         std::vector<IniBytes::Place> places) {
    bytes_.replace(from, to - from, text);
    std::vector<std::u16string> lines;
    lines.reserve(places.size());
    for (IniBytes::Place& place : places) {
        place = {place.begin + from, place.contentEnd + from, place.end + from};
        lines.push_back(decodeLine(contentOf(bytes_, place), split_.encoding));
    }
    const auto first = static_cast<std::ptrdiff_t>(firstLine);
    const auto replaced = static_cast<std::ptrdiff_t>(linesReplaced);
    for (auto after = split_.places.begin() + first + replaced; after != split_.places.end();
         ++after) {
        *after = {after->begin - to + from + text.size(), after->contentEnd - to + from + text.size(),
                  after->end - to + from + text.size()};
    }
    split_.places.erase(split_.places.begin() + first, split_.places.begin() + first + replaced);
    split_.places.insert(split_.places.begin() + first, places.begin(), places.end());
    split_.lines.erase(split_.lines.begin() + first, split_.lines.begin() + first + replaced);
    split_.lines.insert(split_.lines.begin() + first, std::make_move_iterator(lines.begin()),
                        std::make_move_iterator(lines.end()));
}

std::optional<std::string> withValue(std::string_view bytes, std::u16string_view section,
                                     std::u16string_view key, std::u16string_view value) {
    IniDocument document{std::string(bytes)};
    if (!document.setValue(section, key, value)) return std::nullopt;
    return document.bytes();
}

}  // namespace orvane::ini
