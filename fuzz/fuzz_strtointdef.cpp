// Integer-with-default parsing against a reference built on std::from_chars,
// plus the round trip through integer-to-text.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"
#include "fuzz/fuzz_check.h"

namespace {

// Bytes 0xF0 to 0xF9 stand for the full-width digits, which must not count
// as digits; every other byte is the character of the same number.
std::u16string textFromBytes(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        text.push_back(byte >= 0xF0 && byte <= 0xF9 ? static_cast<char16_t>(u'０' + (byte - 0xF0))
                                                    : static_cast<char16_t>(byte));
    }
    return text;
}

template <typename T>
std::optional<T> fromChars(std::string_view digits, int base) {
    T value{};
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

bool allOf(std::string_view text, bool (*predicate)(char)) {
    for (char c : text) {
        if (!predicate(c)) return false;
    }
    return true;
}

bool isDecimal(char c) {
    return c >= '0' && c <= '9';
}
bool isHex(char c) {
    return isDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Blanks, one sign, then decimal digits or a "$", "x", "X", "0x", "0X"
// prefixed hexadecimal number of at most 32 bits; nothing else.
std::optional<std::int32_t> reference(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F) return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    std::string_view rest = ascii;
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    std::optional<std::string_view> hexDigits;
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        hexDigits = rest.substr(2);
    } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        hexDigits = rest.substr(1);
    }
    if (hexDigits) {
        if (hexDigits->empty() || !allOf(*hexDigits, isHex)) return std::nullopt;
        const auto pattern = fromChars<std::uint64_t>(*hexDigits, 16);
        if (!pattern || *pattern > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
        const auto bits = static_cast<std::uint32_t>(*pattern);
        return static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }
    if (rest.empty() || !allOf(rest, isDecimal)) return std::nullopt;
    const std::string signedDigits = (negative ? "-" : "") + std::string(rest);
    return fromChars<std::int32_t>(signedDigits, 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = textFromBytes(data, size);
    constexpr std::int32_t fallback = 0x5A5A5A5A;
    constexpr std::int32_t otherFallback = ~fallback;

    const std::int32_t result = orvane::strToIntDef(text, fallback);
    const std::int32_t otherResult = orvane::strToIntDef(text, otherFallback);
    const std::optional<std::int32_t> expected = reference(text);
    if (expected) {
        FUZZ_CHECK(result == *expected);
        FUZZ_CHECK(otherResult == *expected);
    } else {
        FUZZ_CHECK(result == fallback);
        FUZZ_CHECK(otherResult == otherFallback);
    }

    if (size >= 4) {
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < 4; ++i) bits = (bits << 8) | data[i];
        const auto value = static_cast<std::int32_t>(bits);
        FUZZ_CHECK(orvane::strToIntDef(orvane::intToText(value), ~value) == value);
    }
    return 0;
}
