#include "core/text.h"

#include <optional>

namespace orvane {

namespace {

bool isTrimmed(char16_t c) { return c <= u' '; }

std::optional<unsigned> hexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return std::nullopt;
}

bool isDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Hexadecimal digits as a 32-bit pattern; at most 8 significant digits.
std::optional<std::uint32_t> parseHex(std::u16string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    int significant = 0;
    for (char16_t c : digits) {
        const auto digit = hexDigitValue(c);
        if (!digit) return std::nullopt;
        if (significant > 0 || *digit != 0) ++significant;
        if (significant > 8) return std::nullopt;
        value = (value << 4) | *digit;
    }
    return value;
}

std::optional<std::int32_t> parseDecimal(std::u16string_view digits, bool negative) {
    if (digits.empty()) return std::nullopt;
    constexpr std::int64_t limit = 2147483648LL;
    std::int64_t magnitude = 0;
    for (char16_t c : digits) {
        if (!isDecimalDigit(c)) return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit) return std::nullopt;
    }
    if (!negative && magnitude == limit) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// The digits after a hexadecimal prefix, or nullopt when there is no prefix.
std::optional<std::u16string_view> afterHexPrefix(std::u16string_view text) {
    if (text.starts_with(u"0x") || text.starts_with(u"0X")) return text.substr(2);
    if (!text.empty() && (text[0] == u'$' || text[0] == u'x' || text[0] == u'X')) {
        return text.substr(1);
    }
    return std::nullopt;
}

}  // namespace

bool textEqual(std::u16string_view a, std::u16string_view b) { return a == b; }

std::u16string trim(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isTrimmed(text[first])) ++first;
    while (last > first && isTrimmed(text[last - 1])) --last;
    return std::u16string(text.substr(first, last - first));
}

std::size_t findPos(std::u16string_view sub, std::u16string_view text) {
    if (sub.empty() || text.empty()) return 0;
    const std::size_t at = text.find(sub);
    return at == std::u16string_view::npos ? 0 : at + 1;
}

std::u16string upperCase(std::u16string_view text) {
    std::u16string result(text);
    for (char16_t& c : result) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return result;
}

std::u16string intToText(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::int32_t strToIntDef(std::u16string_view text, std::int32_t fallback) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == u' ') ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    const std::u16string_view number = text.substr(at);
    if (const auto hexDigits = afterHexPrefix(number)) {
        const auto pattern = parseHex(*hexDigits);
        if (!pattern) return fallback;
        const std::uint32_t result = negative ? 0u - *pattern : *pattern;
        return static_cast<std::int32_t>(result);
    }
    return parseDecimal(number, negative).value_or(fallback);
}

std::u16string replaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to) {
    if (from.empty()) return std::u16string(text);
    std::u16string result;
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::u16string_view::npos;
         at = text.find(from, start)) {
        result.append(text.substr(start, at - start));
        result.append(to);
        start = at + from.size();
    }
    result.append(text.substr(start));
    return result;
}

}  // namespace orvane
