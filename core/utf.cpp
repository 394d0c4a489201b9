#include "core/utf.h"

#include <cstdint>

namespace orvane {

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;
constexpr char16_t escapedByteBase = 0xDC00;

bool isLeadSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isTrailSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// One step through UTF-8: the code point and the bytes it took. A malformed
// sequence takes its longest well-formed start (at least one byte) and gives
// no code point, so each such run is one U+FFFD.
struct Utf8Step {
    char32_t c = 0;
    std::size_t length = 1;
    bool valid = false;
};

Utf8Step nextUtf8(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return Utf8Step{lead, 1, true};
    std::size_t trails = 0;
    char32_t c = 0;
    // The range the first trail byte must fall in; it excludes overlong
    // forms, surrogates and code points past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trails = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trails = 2;
        c = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trails = 3;
        c = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return Utf8Step{};
    }
    std::size_t length = 1;
    for (; length <= trails; ++length) {
        if (at + length >= bytes.size()) return Utf8Step{0, length, false};
        const unsigned char trail = byte(at + length);
        if (trail < low || trail > high) return Utf8Step{0, length, false};
        c = (c << 6) | (trail & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return Utf8Step{c, length, true};
}

// One step through UTF-16: the code point, or an unpaired surrogate as it is.
struct Utf16Step {
    char32_t c = 0;
    std::size_t length = 1;
};

Utf16Step nextUtf16(std::u16string_view text, std::size_t at) {
    const char32_t first = text[at];
    if (isLeadSurrogate(first) && at + 1 < text.size() && isTrailSurrogate(text[at + 1])) {
        const char32_t second = text[at + 1];
        return Utf16Step{0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 2};
    }
    return Utf16Step{first, 1};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Writes the code point as one or two units; returns how many.
std::size_t putUtf16(char32_t c, char16_t* out) {
    if (c < 0x10000) {
        out[0] = static_cast<char16_t>(c);
        return 1;
    }
    out[0] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    return 2;
}

}  // namespace

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf16Step step = nextUtf16(text, at);
        appendUtf8(out, isSurrogate(step.c) ? replacementCharacter : step.c);
        at += step.length;
    }
    return out;
}

std::u16string fromUtf8(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(fromUtf8Into(bytes, out.data()));
    return out;
}

std::size_t fromUtf8Into(std::string_view bytes, char16_t* out) {
    std::size_t written = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const Utf8Step step = nextUtf8(bytes, at);
        written += putUtf16(step.valid ? step.c : replacementCharacter, out + written);
        at += step.length;
    }
    return written;
}

std::u16string fromFileNameBytes(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    char16_t units[2];
    for (std::size_t at = 0; at < bytes.size();) {
        const Utf8Step step = nextUtf8(bytes, at);
        if (!step.valid) {
            out.push_back(static_cast<char16_t>(escapedByteBase +
                                                static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        out.append(units, putUtf16(step.c, units));
        at += step.length;
    }
    return out;
}

std::string toFileNameBytes(std::u16string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        const Utf16Step step = nextUtf16(name, at);
        at += step.length;
        if (step.c >= escapedByteBase + 0x80u && step.c <= escapedByteBase + 0xFFu) {
            out.push_back(static_cast<char>(step.c - escapedByteBase));
            continue;
        }
        appendUtf8(out, isSurrogate(step.c) ? replacementCharacter : step.c);
    }
    return out;
}

}  // namespace orvane
