#include "core/inifile_lines.h"

#include <cstring>

#include "core/platform/platform.h"
#include "core/utf.h"

namespace orvane::ini {

namespace {

// Settings text in UTF-8 keeps the bytes of a file name that is no UTF-8
// as those bytes (see fromFileNameBytes), so that such a menu list's name
// comes back as the same name.
bool keepsFileNameBytes(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ||
           (encoding == TextEncoding::Ansi && platform::ansiIsUtf8());
}

}  // namespace

std::u16string decodeLine(std::string_view bytes, TextEncoding encoding) {
    return keepsFileNameBytes(encoding) ? fromFileNameBytes(bytes) : decodeAs(bytes, encoding);
}

std::optional<std::string> encodeLine(std::u16string_view text, TextEncoding encoding) {
    if (keepsFileNameBytes(encoding)) return toFileNameBytes(text);
    return encodeAs(text, encoding);
}

// The code unit at a byte offset: one byte, or two in the file's order.
char16_t IniUnits::unitAt(std::size_t at) const {
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(bytes_[i]); };
    switch (encoding_) {
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

LinePlace IniUnits::lineAt(std::size_t begin) const {
    const std::size_t unit = unitSize();
    for (std::size_t at = begin; at + unit <= bytes_.size(); at += unit) {
        const char16_t c = unitAt(at);
        if (c != u'\r' && c != u'\n') continue;
        std::size_t end = at + unit;
        if (c == u'\r' && end + unit <= bytes_.size() && unitAt(end) == u'\n') end += unit;
        return {begin, at, end};
    }
    // A dangling odd byte of UTF-16 belongs to the last line.
    return {begin, bytes_.size(), bytes_.size()};
}

std::size_t IniUnits::lastLineStart(std::size_t textBegin) const {
    const std::size_t unit = unitSize();
    std::size_t at = textBegin + (bytes_.size() - textBegin) / unit * unit;
    while (at > textBegin && !isLineBreak(at - unit)) at -= unit;
    return at;
}

std::size_t IniUnits::findBracket(std::size_t at, std::size_t to) const {
    const std::size_t unit = unitSize();
    // The byte "[" is the low byte of the unit "[" in every encoding.
    const std::size_t lowByte = encoding_ == TextEncoding::Utf16BE ? 1 : 0;
    for (std::size_t from = at + lowByte; from < to;) {
        const void* found = std::memchr(bytes_.data() + from, '[', to - from);
        if (found == nullptr) break;
        const auto byteAt = static_cast<std::size_t>(static_cast<const char*>(found) - bytes_.data());
        const std::size_t unitStart = byteAt - lowByte;
        if ((unitStart - at) % unit == 0 && unitStart + unit <= to && unitAt(unitStart) == u'[') {
            return unitStart;
        }
        from = byteAt + 1;
    }
    return to;
}

// In every encoding a settings file can have, a blank (a character up to
// U+0020) and "[" are units of their own that no other units decode to, so
// a header's line starts with blank units and a "[" unit.
std::vector<LinePlace> IniUnits::headerCandidates(std::size_t from, std::size_t to) const {
    std::vector<LinePlace> lines;
    const std::size_t unit = unitSize();
    std::size_t at = findBracket(from, to);
    while (at < to) {
        std::size_t begin = at;
        while (begin > from && !isLineBreak(begin - unit) && unitAt(begin - unit) <= u' ') {
            begin -= unit;
        }
        if (begin > from && !isLineBreak(begin - unit)) {
            at = findBracket(at + unit, to);
            continue;
        }
        lines.push_back(lineAt(begin));
        at = findBracket(lines.back().end, to);
    }
    return lines;
}

std::u16string IniUnits::decode(const LinePlace& place) const {
    return decodeLine(contentOf(place), encoding_);
}

bool IniUnits::hasLineBreak(std::size_t from, std::size_t to) const {
    const std::size_t unit = unitSize();
    for (std::size_t at = from; at + unit <= to; at += unit) {
        if (isLineBreak(at)) return true;
    }
    return false;
}

}  // namespace orvane::ini
