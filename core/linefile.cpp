#include "core/linefile.h"

#include "core/platform/platform.h"
#include "core/utf.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace orvane {

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LEMark = "\xFF\xFE";
constexpr std::string_view utf16BEMark = "\xFE\xFF";
constexpr char16_t replacementCharacter = 0xFFFD;

bool isLead(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isTrail(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Unpaired surrogates and a dangling odd byte become U+FFFD. out has room
// for bytes.size() / 2 + 1 units; returns the units written.
std::size_t decodeUtf16Into(std::string_view bytes, bool bigEndian, char16_t* out) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        out[count++] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0) out[count++] = replacementCharacter;
    for (std::size_t i = 0; i < count; ++i) {
        if (isLead(out[i]) && i + 1 < count && isTrail(out[i + 1])) {
            ++i;
        } else if (isLead(out[i]) || isTrail(out[i])) {
            out[i] = replacementCharacter;
        }
    }
    return count;
}

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2 + 1, u'\0');
    units.resize(decodeUtf16Into(bytes, bigEndian, units.data()));
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

// Bytes per unit of the encodings whose line ends and NUL are whole units
// that occur inside no other sequence (UTF-8 and UTF-16): there the bytes of
// each line decode to exactly that line of the whole text. 0 for others.
std::size_t splittableUnitWidth(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Ansi:
        break;
    case TextEncoding::Utf8:
        return 1;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return 2;
    }
    return platform::ansiIsUtf8() ? 1 : 0;
}

// The next CR, LF or NUL at or after a position of a piece of one-byte
// units, each found with memchr and remembered until it is passed.
class ByteBreaks {
public:
    explicit ByteBreaks(std::string_view bytes) : bytes_(bytes) {}

    std::size_t from(std::size_t at) {
        return std::min({next(cr_, '\r', at), next(lf_, '\n', at), next(nul_, '\0', at)});
    }

private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

    std::size_t next(std::size_t& found, char byte, std::size_t at) const {
        if (found == kUnknown || found < at) {
            const void* hit = std::memchr(bytes_.data() + at, byte, bytes_.size() - at);
            found = hit == nullptr ? bytes_.size() : static_cast<std::size_t>(static_cast<const char*>(hit) - bytes_.data());
        }
        return found;
    }

    std::string_view bytes_;
    std::size_t cr_ = kUnknown;
    std::size_t lf_ = kUnknown;
    std::size_t nul_ = kUnknown;
};

}  // namespace

LineFileContent decodeLines(std::string_view bytes) {
    LineFileContent content;
    const std::u16string text = decodeText(bytes, content.encoding);
    const std::vector<std::u16string_view> views = splitLineViews(text);
    content.lines.assign(views.begin(), views.end());
    return content;
}

LineSplitter::LineSplitter(LineTaker take) : take_(std::move(take)) {}

bool LineSplitter::feed(std::string_view piece) {
    if (done_) return false;
    pending_.append(piece);
    if (!markKnown_) {
        // The longest mark has three bytes.
        if (pending_.size() < 3) return true;
        learnMark();
    }
    return unitWidth_ == 0 || feedUnits();
}

void LineSplitter::learnMark() {
    const ByteOrderMark mark = detectMark(pending_);
    pending_.erase(0, mark.size);
    encoding_ = mark.encoding;
    unitWidth_ = splittableUnitWidth(encoding_);
    markKnown_ = true;
}

// Into a buffer of the splitter's own, which grows with the longest line and
// is never filled in advance.
bool LineSplitter::takeLine(std::size_t start, std::size_t end) {
    const std::string_view bytes = std::string_view(pending_).substr(start, end - start);
    const std::size_t room = bytes.size() + 1;
    if (room > textRoom_) {
        text_ = std::make_unique_for_overwrite<char16_t[]>(room);
        textRoom_ = room;
    }
    const std::size_t length = unitWidth_ == 1
                                   ? fromUtf8Into(bytes, text_.get())
                                   : decodeUtf16Into(bytes, encoding_ == TextEncoding::Utf16BE, text_.get());
    return take_(std::u16string_view(text_.get(), length));
}

bool LineSplitter::feedUnits() {
    const auto* data = reinterpret_cast<const unsigned char*>(pending_.data());
    const std::size_t size = pending_.size();
    const std::size_t width = unitWidth_;
    const bool bigEndian = encoding_ == TextEncoding::Utf16BE;
    ByteBreaks breaks(pending_);
    std::size_t start = 0;
    std::size_t i = scanned_;
    for (; i + width <= size; i += width) {
        if (width == 1) {
            const std::size_t next = breaks.from(i);
            if (next != i) afterCr_ = false;
            i = next;
            if (i >= size) break;
        }
        const unsigned c = width == 1 ? data[i] : bigEndian ? (data[i] << 8U) | data[i + 1] : (data[i + 1] << 8U) | data[i];
        if (c > u'\r') {
            afterCr_ = false;
            continue;
        }
        // The LF of a CR LF pair, perhaps in the next piece.
        if (afterCr_ && c == u'\n') {
            afterCr_ = false;
            start = i + width;
            continue;
        }
        afterCr_ = false;
        if (c == u'\0') {
            if (start < i) takeLine(start, i);
            done_ = true;
            return false;
        }
        if (c != u'\r' && c != u'\n') continue;
        if (!takeLine(start, i)) {
            done_ = true;
            return false;
        }
        afterCr_ = c == u'\r';
        start = i + width;
    }
    pending_.erase(0, start);
    scanned_ = i - start;
    return true;
}

void LineSplitter::finish() {
    if (done_) return;
    done_ = true;
    if (!markKnown_) {
        learnMark();
        if (unitWidth_ != 0 && !feedUnits()) return;
    }
    if (unitWidth_ == 0) {
        const std::u16string text = decodeAs(pending_, encoding_);
        for (const std::u16string_view line : splitLineViews(text)) {
            if (!take_(line)) return;
        }
        return;
    }
    // With a dangling odd byte of UTF-16 in it.
    if (!pending_.empty()) takeLine(0, pending_.size());
}

void forEachLine(std::string_view bytes, const LineTaker& take) {
    LineSplitter splitter(take);
    splitter.feed(bytes);
    splitter.finish();
}

void forEachLineOfFile(std::u16string_view path, const LineTaker& take) {
    LineSplitter splitter(take);
    platform::readFileInPieces(path, [&splitter](std::string_view piece) { return splitter.feed(piece); });
    splitter.finish();
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
