#include "core/linefile.h"

#include "core/platform/platform.h"
#include "core/utf.h"

namespace orvane {

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LEMark = "\xFF\xFE";
constexpr std::string_view utf16BEMark = "\xFE\xFF";
constexpr char16_t replacementCharacter = 0xFFFD;

bool isLead(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isTrail(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Unpaired surrogates and a dangling odd byte become U+FFFD.
std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second
                                                        : (second << 8) | first));
    }
    if (bytes.size() % 2 != 0) units.push_back(replacementCharacter);
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (isLead(units[i]) && i + 1 < units.size() && isTrail(units[i + 1])) {
            ++i;
        } else if (isLead(units[i]) || isTrail(units[i])) {
            units[i] = replacementCharacter;
        }
    }
    return units;
}

std::string encodeUtf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8);
        const char low = static_cast<char>(c & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

}  // namespace

ByteOrderMark detectMark(std::string_view bytes) {
    if (bytes.starts_with(utf8Mark)) return {TextEncoding::Utf8, utf8Mark.size()};
    if (bytes.starts_with(utf16LEMark)) return {TextEncoding::Utf16LE, utf16LEMark.size()};
    if (bytes.starts_with(utf16BEMark)) return {TextEncoding::Utf16BE, utf16BEMark.size()};
    return {};
}

std::string_view markOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Ansi:
        break;
    case TextEncoding::Utf8:
        return utf8Mark;
    case TextEncoding::Utf16LE:
        return utf16LEMark;
    case TextEncoding::Utf16BE:
        return utf16BEMark;
    }
    return {};
}

std::u16string decodeAs(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Ansi:
        break;
    case TextEncoding::Utf8:
        return fromUtf8(bytes);
    case TextEncoding::Utf16LE:
        return decodeUtf16(bytes, false);
    case TextEncoding::Utf16BE:
        return decodeUtf16(bytes, true);
    }
    return platform::decodeAnsi(bytes);
}

std::optional<std::string> encodeAs(std::u16string_view text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Ansi:
        break;
    case TextEncoding::Utf8:
        return toUtf8(text);
    case TextEncoding::Utf16LE:
        return encodeUtf16(text, false);
    case TextEncoding::Utf16BE:
        return encodeUtf16(text, true);
    }
    return platform::encodeAnsi(text);
}

namespace {

// The text of a whole file's bytes by its byte order mark.
std::u16string decodeText(std::string_view bytes, TextEncoding& encoding) {
    const ByteOrderMark mark = detectMark(bytes);
    encoding = mark.encoding;
    return decodeAs(bytes.substr(mark.size), mark.encoding);
}

// Lines of the text up to its first NUL, in one pass.
std::vector<std::u16string_view> splitLineViews(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c > u'\r') continue;
        if (c == u'\0') {
            text = text.substr(0, i);
            break;
        }
        if (c != u'\r' && c != u'\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The width of a text unit and how to read one, for encodings in which the
// line ends and NUL are whole units that occur inside no other sequence
// (UTF-8 and UTF-16): there the bytes of each line decode to exactly that
// line of the whole text.
struct UnitReader {
    std::size_t width = 1;
    bool bigEndian = false;

    char16_t at(std::string_view bytes, std::size_t i) const {
        const auto first = static_cast<unsigned char>(bytes[i]);
        if (width == 1) return first;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
};

std::optional<UnitReader> unitReaderFor(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Ansi:
        break;
    case TextEncoding::Utf8:
        return UnitReader{};
    case TextEncoding::Utf16LE:
        return UnitReader{2, false};
    case TextEncoding::Utf16BE:
        return UnitReader{2, true};
    }
    if (platform::ansiIsUtf8()) return UnitReader{};
    return std::nullopt;
}

}  // namespace

LineFileContent decodeLines(std::string_view bytes) {
    LineFileContent content;
    const std::u16string text = decodeText(bytes, content.encoding);
    const std::vector<std::u16string_view> views = splitLineViews(text);
    content.lines.assign(views.begin(), views.end());
    return content;
}

void forEachLine(std::string_view bytes, const LineTaker& take) {
    const ByteOrderMark mark = detectMark(bytes);
    const std::optional<UnitReader> units = unitReaderFor(mark.encoding);
    if (!units) {
        // Other code pages may carry state from one line into the next.
        const std::u16string text = decodeAs(bytes.substr(mark.size), mark.encoding);
        for (const std::u16string_view line : splitLineViews(text)) {
            if (!take(line)) return;
        }
        return;
    }
    const std::string_view body = bytes.substr(mark.size);
    const auto lineOf = [&](std::size_t start, std::size_t end) {
        return decodeAs(body.substr(start, end - start), mark.encoding);
    };
    const std::size_t width = units->width;
    std::size_t start = 0;
    for (std::size_t i = 0; i + width <= body.size(); i += width) {
        const char16_t c = units->at(body, i);
        if (c > u'\r') continue;
        if (c == u'\0') {
            if (start < i) take(lineOf(start, i));
            return;
        }
        if (c != u'\r' && c != u'\n') continue;
        if (!take(lineOf(start, i))) return;
        if (c == u'\r' && i + 2 * width <= body.size() && units->at(body, i + width) == u'\n') i += width;
        start = i + width;
    }
    // A dangling odd byte of UTF-16 belongs to the last line.
    if (start < body.size()) take(lineOf(start, body.size()));
}

std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding) {
    std::u16string text;
    for (const std::u16string& line : lines) {
        text.append(line);
        text.append(u"\r\n");
    }
    // A character the code page lacks would be lost; UTF-8 keeps it.
    if (auto bytes = encodeAs(text, encoding)) return std::string(markOf(encoding)) + *bytes;
    return std::string(utf8Mark) + toUtf8(text);
}

LineFileContent readLineFile(std::u16string_view path) {
    return decodeLines(platform::readWholeFile(path));
}

void writeLineFile(std::u16string_view path, const std::vector<std::u16string>& lines,
                   TextEncoding encoding) {
    platform::replaceWholeFile(path, encodeLines(lines, encoding));
}

}  // namespace orvane
