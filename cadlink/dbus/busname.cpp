#include "cadlink/dbus/busname.h"

#include <cstdint>

namespace orvane::cadlink::dbus {

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

bool isAsciiLetter(char32_t c) { return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'); }
bool isAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendEscaped(std::string& out, char32_t c) {
    std::string bytes;
    appendUtf8(bytes, c);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        out += '_';
        out += hexDigits[value >> 4];
        out += hexDigits[value & 0x0F];
    }
}

// Code point at text[i], advancing i; nothing for a lone surrogate.
std::optional<char32_t> nextCodePoint(std::u16string_view text, std::size_t& i) {
    const char16_t unit = text[i++];
    if (unit < 0xD800 || unit > 0xDFFF) {
        return unit;
    }
    if (unit > 0xDBFF || i == text.size() || text[i] < 0xDC00 || text[i] > 0xDFFF) {
        return std::nullopt;
    }
    const char16_t low = text[i++];
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Decodes one UTF-8 sequence from bytes at i, strictly (no overlong forms,
// no surrogates, nothing above U+10FFFF).
std::optional<char32_t> nextUtf8(const std::string& bytes, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(bytes[i++]);
    int trail = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        trail = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        trail = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        trail = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    for (; trail > 0; --trail) {
        if (i == bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    return c;
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

std::optional<std::u16string> decodeElement(std::string_view element) {
    std::u16string out;
    std::size_t i = 0;
    while (i < element.size()) {
        if (element[i] != '_') {
            const char c = element[i++];
            if (!isAsciiLetter(static_cast<unsigned char>(c)) && !isAsciiDigit(static_cast<unsigned char>(c))) {
                return std::nullopt;
            }
            out += static_cast<char16_t>(c);
            continue;
        }
        std::string bytes;
        while (i < element.size() && element[i] == '_') {
            if (i + 2 >= element.size()) {
                return std::nullopt;
            }
            const int high = hexValue(element[i + 1]);
            const int low = hexValue(element[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            bytes += static_cast<char>(high * 16 + low);
            i += 3;
        }
        std::size_t at = 0;
        while (at < bytes.size()) {
            const bool atElementStart = out.empty();
            const auto c = nextUtf8(bytes, at);
            if (!c) {
                return std::nullopt;
            }
            // Only the canonical form decodes, so the mapping is one to one.
            if (*c == U'.' || isAsciiLetter(*c) || (isAsciiDigit(*c) && !atElementStart)) {
                return std::nullopt;
            }
            appendUtf16(out, *c);
        }
    }
    if (out.empty() || (isAsciiDigit(out.front()) && element.front() != '_')) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

std::optional<std::string> busNameForProgId(std::u16string_view progId) {
    std::string name(progIdBusNamePrefix);
    bool elementStart = true;
    std::size_t i = 0;
    while (i < progId.size()) {
        const auto c = nextCodePoint(progId, i);
        if (!c) {
            return std::nullopt;
        }
        if (*c == U'.') {
            if (elementStart) {
                return std::nullopt;
            }
            name += '.';
            elementStart = true;
            continue;
        }
        if (isAsciiLetter(*c) || (isAsciiDigit(*c) && !elementStart)) {
            name += static_cast<char>(*c);
        } else {
            appendEscaped(name, *c);
        }
        elementStart = false;
        if (name.size() > maxBusNameLength) {
            return std::nullopt;
        }
    }
    if (elementStart || name.size() > maxBusNameLength) {
        return std::nullopt;
    }
    return name;
}

std::optional<std::u16string> progIdForBusName(std::string_view busName) {
    if (busName.size() > maxBusNameLength || !busName.starts_with(progIdBusNamePrefix)) {
        return std::nullopt;
    }
    std::string_view rest = busName.substr(progIdBusNamePrefix.size());
    std::u16string progId;
    while (true) {
        const std::size_t dot = rest.find('.');
        const auto element = decodeElement(rest.substr(0, dot));
        if (!element) {
            return std::nullopt;
        }
        progId += *element;
        if (dot == std::string_view::npos) {
            return progId;
        }
        progId += u'.';
        rest = rest.substr(dot + 1);
    }
}

}  // namespace orvane::cadlink::dbus
