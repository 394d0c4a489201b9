#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "cadlink/automation.h"

namespace orvane::cadlink {
namespace {

[[noreturn]] void typeMismatch(const char* target) {
    throw AutomationError(status::TypeMismatch,
                          std::string("value cannot be converted to ") + target);
}

[[noreturn]] void overflow() {
    throw AutomationError(status::Overflow, "value does not fit in a 64-bit integer");
}

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// A number as text: blanks, one optional sign, digits with an optional
// decimal point, blanks. Kept as digit runs so large values stay exact.
struct DecimalText {
    bool negative = false;
    std::u16string_view whole;
    std::u16string_view fraction;
};

std::optional<DecimalText> parseDecimal(std::u16string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    DecimalText result;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        result.negative = text[i] == u'-';
        ++i;
    }
    const std::size_t wholeStart = i;
    while (i < n && isDigit(text[i])) {
        ++i;
    }
    result.whole = text.substr(wholeStart, i - wholeStart);
    if (i < n && text[i] == u'.') {
        const std::size_t fractionStart = ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
        }
        result.fraction = text.substr(fractionStart, i - fractionStart);
    }
    if (result.whole.empty() && result.fraction.empty()) {
        return std::nullopt;
    }
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    return result;
}

bool isNonZero(const DecimalText& number) {
    auto nonZero = [](std::u16string_view digits) {
        return digits.find_first_not_of(u'0') != std::u16string_view::npos;
    };
    return nonZero(number.whole) || nonZero(number.fraction);
}

// Rounds half to even, as the standard conversions do.
bool roundsUp(std::u16string_view fraction, std::uint64_t magnitude) {
    if (fraction.empty() || fraction[0] < u'5') {
        return false;
    }
    if (fraction[0] > u'5') {
        return true;
    }
    if (fraction.substr(1).find_first_not_of(u'0') != std::u16string_view::npos) {
        return true;
    }
    return (magnitude & 1U) != 0;
}

std::int64_t decimalToInt64(const DecimalText& number) {
    constexpr std::uint64_t positiveLimit = std::numeric_limits<std::int64_t>::max();
    const std::uint64_t limit = number.negative ? positiveLimit + 1 : positiveLimit;
    std::uint64_t magnitude = 0;
    for (char16_t digit : number.whole) {
        const auto value = static_cast<std::uint64_t>(digit - u'0');
        if (magnitude > (limit - value) / 10) {
            overflow();
        }
        magnitude = magnitude * 10 + value;
    }
    if (roundsUp(number.fraction, magnitude)) {
        if (magnitude == limit) {
            overflow();
        }
        ++magnitude;
    }
    if (!number.negative) {
        return static_cast<std::int64_t>(magnitude);
    }
    return magnitude == positiveLimit + 1 ? std::numeric_limits<std::int64_t>::min()
                                          : -static_cast<std::int64_t>(magnitude);
}

std::int64_t doubleToInt64(double value) {
    if (!std::isfinite(value)) {
        overflow();
    }
    const double rounded = std::nearbyint(value);
    constexpr double twoTo63 = 9223372036854775808.0;
    if (rounded < -twoTo63 || rounded >= twoTo63) {
        overflow();
    }
    return static_cast<std::int64_t>(rounded);
}

std::u16string asciiToText(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

std::u16string doubleToText(double value) {
    if (value == 0) {
        value = 0;  // no "-0"
    }
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return asciiToText(std::string_view(buffer, static_cast<std::size_t>(length)));
}

bool equalsIgnoringAsciiCase(std::u16string_view text, std::u16string_view lowerWord) {
    if (text.size() != lowerWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
        if (c != lowerWord[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::int64_t variantToInt64(const Variant& value) {
    return std::visit(
        Overloaded{
            [](std::monostate) -> std::int64_t { return 0; },
            [](bool b) -> std::int64_t { return b ? -1 : 0; },
            [](std::int64_t i) -> std::int64_t { return i; },
            [](std::uint64_t u) -> std::int64_t {
                if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
                    overflow();
                }
                return static_cast<std::int64_t>(u);
            },
            [](double d) -> std::int64_t { return doubleToInt64(d); },
            [](const std::u16string& text) -> std::int64_t {
                const auto number = parseDecimal(text);
                if (!number) {
                    typeMismatch("an integer");
                }
                return decimalToInt64(*number);
            },
            [](const ObjectRef&) -> std::int64_t { typeMismatch("an integer"); },
            [](NullValue) -> std::int64_t { typeMismatch("an integer"); },
        },
        value);
}

std::u16string variantToText(const Variant& value) {
    return std::visit(Overloaded{
                          [](std::monostate) { return std::u16string(); },
                          [](bool b) { return std::u16string(b ? u"True" : u"False"); },
                          [](std::int64_t i) { return asciiToText(std::to_string(i)); },
                          [](std::uint64_t u) { return asciiToText(std::to_string(u)); },
                          [](double d) { return doubleToText(d); },
                          [](const std::u16string& text) { return text; },
                          [](const ObjectRef&) -> std::u16string { typeMismatch("text"); },
                          [](NullValue) -> std::u16string { typeMismatch("text"); },
                      },
                      value);
}

bool variantToBool(const Variant& value) {
    return std::visit(Overloaded{
                          [](std::monostate) { return false; },
                          [](bool b) { return b; },
                          [](std::int64_t i) { return i != 0; },
                          [](std::uint64_t u) { return u != 0; },
                          [](double d) { return d != 0; },
                          [](const std::u16string& text) {
                              if (equalsIgnoringAsciiCase(text, u"true")) {
                                  return true;
                              }
                              if (equalsIgnoringAsciiCase(text, u"false")) {
                                  return false;
                              }
                              const auto number = parseDecimal(text);
                              if (!number) {
                                  typeMismatch("a truth value");
                              }
                              return isNonZero(*number);
                          },
                          [](const ObjectRef&) -> bool { typeMismatch("a truth value"); },
                          [](NullValue) -> bool { typeMismatch("a truth value"); },
                      },
                      value);
}

ObjectRef variantToObject(const Variant& value) {
    const auto* object = std::get_if<ObjectRef>(&value);
    if (object == nullptr || *object == nullptr) {
        typeMismatch("an automation object");
    }
    return *object;
}

}  // namespace orvane::cadlink
