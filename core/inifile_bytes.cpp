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

std::optional<std::string> withValue(std::string_view bytes, std::u16string_view section,
                                     std::u16string_view key, std::u16string_view value) {
    const IniBytes file = splitIniBytes(bytes);
    const Placement placement = placeValue(file.lines, section, key, value);
    const std::string lineEnd = encodeAs(u"\r\n", file.encoding).value_or("\r\n");
    std::string written;
    for (const std::u16string& text : placement.text) {
        const std::optional<std::string> encoded = encodeLine(text, file.encoding);
        if (!encoded) {
            // Text the code page lacks: the whole file moves to UTF-8 if
            // nothing else is lost on the way.
            const std::optional<std::string> utf8 = asUtf8(bytes, file);
            return utf8 ? withValue(*utf8, section, key, value) : std::nullopt;
        }
        written += *encoded;
        if (!placement.replaces) written += lineEnd;
    }

    std::size_t from = bytes.size();
    std::size_t to = bytes.size();
    if (placement.line < file.places.size()) {
        const IniBytes::Place& place = file.places[placement.line];
        from = place.begin;
        to = placement.replaces ? place.contentEnd : place.begin;
    } else if (!file.places.empty() && file.places.back().contentEnd == bytes.size()) {
        // A dangling odd byte of UTF-16 would shift every unit after it.
        if (isUtf16(file.encoding) && bytes.size() % 2 != 0) return std::nullopt;
        // The last line gets its line end, or the new lines would join it.
        written.insert(0, lineEnd);
    }
    std::string result(bytes.substr(0, from));
    result += written;
    result += bytes.substr(to);
    return result;
}

}  // namespace orvane::ini
