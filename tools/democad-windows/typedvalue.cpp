#include "tools/democad-windows/typedvalue.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "core/utf.h"
#include "tools/democad-windows/usageerror.h"

namespace democad {

namespace {

// How the value text of a type is read.
enum class Shape { None, Boolean, Signed, Unsigned, Real, Single, Currency, Decimal, Text, Status, SignedList };

struct Kind {
    std::u16string_view name;
    ValueType type;
    Shape shape;
    std::int64_t min = 0;
    std::uint64_t max = 0;
};

constexpr std::int64_t i32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::uint64_t i32Max = std::numeric_limits<std::int32_t>::max();

constexpr Kind kinds[] = {
    {u"empty", ValueType::Empty, Shape::None},
    {u"null", ValueType::Null, Shape::None},
    {u"bool", ValueType::Bool, Shape::Boolean},
    {u"i1", ValueType::I1, Shape::Signed, -128, 127},
    {u"i2", ValueType::I2, Shape::Signed, -32768, 32767},
    {u"i4", ValueType::I4, Shape::Signed, i32Min, i32Max},
    {u"i8", ValueType::I8, Shape::Signed, std::numeric_limits<std::int64_t>::min(),
     std::numeric_limits<std::int64_t>::max()},
    {u"int", ValueType::Int, Shape::Signed, i32Min, i32Max},
    {u"ui1", ValueType::Ui1, Shape::Unsigned, 0, 0xFF},
    {u"ui2", ValueType::Ui2, Shape::Unsigned, 0, 0xFFFF},
    {u"ui4", ValueType::Ui4, Shape::Unsigned, 0, 0xFFFFFFFF},
    {u"ui8", ValueType::Ui8, Shape::Unsigned, 0, std::numeric_limits<std::uint64_t>::max()},
    {u"uint", ValueType::Uint, Shape::Unsigned, 0, 0xFFFFFFFF},
    {u"r4", ValueType::R4, Shape::Single},
    {u"r8", ValueType::R8, Shape::Real},
    {u"date", ValueType::Date, Shape::Real},
    {u"cy", ValueType::Cy, Shape::Currency},
    {u"decimal", ValueType::Decimal, Shape::Decimal},
    {u"bstr", ValueType::Bstr, Shape::Text},
    {u"error", ValueType::Error, Shape::Status},
    {u"dispatch", ValueType::Dispatch, Shape::None},
    {u"unknown", ValueType::Unknown, Shape::None},
    {u"nulldispatch", ValueType::NullDispatch, Shape::None},
    {u"byref-i4", ValueType::ByrefI4, Shape::Signed, i32Min, i32Max},
    {u"byref-bstr", ValueType::ByrefBstr, Shape::Text},
    {u"byref-variant-i4", ValueType::ByrefVariantI4, Shape::Signed, i32Min, i32Max},
    {u"array-i4", ValueType::ArrayI4, Shape::SignedList, i32Min, i32Max},
};

[[noreturn]] void fail(std::u16string_view value, const std::string& what) {
    throw UsageError("\"" + orvane::toUtf8(value) + "\" is not " + what);
}

// Number texts are ASCII; anything else is no number.
std::optional<std::string> ascii(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c >= 0x80) return std::nullopt;
        out += static_cast<char>(c);
    }
    return out;
}

template <typename T>
std::optional<T> whole(const std::string& text, int base = 10) {
    // from_chars takes no "+", and no "-" for an unsigned type.
    std::string_view digits = text;
    if (base == 10 && !digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty() || digits.front() == '+' || (digits.front() == '-' && text.front() == '+')) return std::nullopt;
    T value{};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::int64_t signedNumber(std::u16string_view value, const Kind& kind) {
    const auto text = ascii(value);
    const auto number = text ? whole<std::int64_t>(*text) : std::nullopt;
    if (!number || *number < kind.min || (*number > 0 && static_cast<std::uint64_t>(*number) > kind.max)) {
        fail(value, "a whole number in the range of " + orvane::toUtf8(kind.name));
    }
    return *number;
}

std::uint64_t unsignedNumber(std::u16string_view value, const Kind& kind) {
    const auto text = ascii(value);
    const auto number = text ? whole<std::uint64_t>(*text) : std::nullopt;
    if (!number || *number > kind.max) fail(value, "a whole number in the range of " + orvane::toUtf8(kind.name));
    return *number;
}

double realNumber(std::u16string_view value) {
    const auto text = ascii(value);
    double number = 0;
    if (!text || text->empty() || text->front() == '+') fail(value, "a number");
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (error != std::errc() || end != text->data() + text->size()) fail(value, "a number");
    return number;
}

// Optional sign, digits, optionally "." and more digits: the digits as one
// integer and the count after the point.
struct DecimalText {
    bool negative = false;
    unsigned __int128 digits = 0;
    int scale = 0;
};

std::optional<DecimalText> decimalText(std::u16string_view value) {
    DecimalText out;
    std::size_t at = 0;
    if (at < value.size() && (value[at] == u'-' || value[at] == u'+')) out.negative = value[at++] == u'-';
    bool point = false;
    bool anyDigit = false;
    constexpr unsigned __int128 bound = static_cast<unsigned __int128>(1) << 100;
    for (; at < value.size(); ++at) {
        const char16_t c = value[at];
        if (c == u'.' && !point) {
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9') return std::nullopt;
        anyDigit = true;
        out.digits = out.digits * 10 + (c - u'0');
        if (out.digits >= bound) return std::nullopt;
        out.scale += point ? 1 : 0;
    }
    if (!anyDigit) return std::nullopt;
    return out;
}

std::int64_t currency(std::u16string_view value) {
    auto text = decimalText(value);
    if (!text || text->scale > 4) fail(value, "a currency amount with at most four decimal places");
    for (; text->scale < 4; ++text->scale) text->digits *= 10;
    const unsigned __int128 limit =
        static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) + (text->negative ? 1 : 0);
    if (text->digits > limit) fail(value, "a currency amount in range");
    return text->negative ? static_cast<std::int64_t>(-static_cast<__int128>(text->digits))
                          : static_cast<std::int64_t>(text->digits);
}

DecimalNumber decimal(std::u16string_view value) {
    const auto text = decimalText(value);
    if (!text || text->scale > 28 || (text->digits >> 96) != 0) fail(value, "a decimal number that DECIMAL holds");
    return {text->negative, static_cast<std::uint8_t>(text->scale), static_cast<std::uint32_t>(text->digits >> 64),
            static_cast<std::uint64_t>(text->digits)};
}

std::vector<std::int32_t> signedList(std::u16string_view value, const Kind& kind) {
    std::vector<std::int32_t> items;
    while (!value.empty()) {
        const std::size_t comma = value.find(u',');
        items.push_back(static_cast<std::int32_t>(signedNumber(value.substr(0, comma), kind)));
        if (comma == std::u16string_view::npos) break;
        value.remove_prefix(comma + 1);
        if (value.empty()) fail(u"", "a whole number in the range of " + orvane::toUtf8(kind.name));
    }
    return items;
}

}  // namespace

std::int32_t parseStatusCode(std::u16string_view text) {
    const auto digits = ascii(text);
    if (digits && (digits->starts_with("0x") || digits->starts_with("0X"))) {
        const auto number = whole<std::uint32_t>(digits->substr(2), 16);
        if (number) return static_cast<std::int32_t>(*number);
    } else if (const auto number = digits ? whole<std::int64_t>(*digits) : std::nullopt;
               number && *number >= i32Min && *number <= static_cast<std::int64_t>(0xFFFFFFFF)) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(*number));
    }
    fail(text, "a 32-bit status code");
}

TypedValue parseTypedValue(std::u16string_view text) {
    const std::size_t colon = text.find(u':');
    const std::u16string_view name = text.substr(0, colon);
    const std::u16string_view value = colon == std::u16string_view::npos ? u"" : text.substr(colon + 1);
    const Kind* kind = nullptr;
    for (const Kind& candidate : kinds) {
        if (candidate.name == name) kind = &candidate;
    }
    if (kind == nullptr) throw UsageError("unknown value type \"" + orvane::toUtf8(name) + "\"");
    if (colon == std::u16string_view::npos && kind->shape != Shape::None) {
        throw UsageError("the type " + orvane::toUtf8(name) + " needs a value after \":\"");
    }
    TypedValue out;
    out.type = kind->type;
    switch (kind->shape) {
    case Shape::None:
        if (!value.empty()) throw UsageError("the type " + orvane::toUtf8(name) + " takes no value");
        break;
    case Shape::Boolean:
        if (value != u"true" && value != u"false") fail(value, "true or false");
        out.integer = value == u"true" ? 1 : 0;
        break;
    case Shape::Signed:
        out.integer = signedNumber(value, *kind);
        break;
    case Shape::Unsigned:
        out.unsignedInteger = unsignedNumber(value, *kind);
        break;
    case Shape::Real:
        out.real = realNumber(value);
        break;
    case Shape::Single:
        out.real = realNumber(value);
        if (std::isfinite(out.real) && std::fabs(out.real) > std::numeric_limits<float>::max()) {
            fail(value, "a number in the range of r4");
        }
        break;
    case Shape::Currency:
        out.integer = currency(value);
        break;
    case Shape::Decimal:
        out.decimal = decimal(value);
        break;
    case Shape::Text:
        out.text = value;
        break;
    case Shape::Status:
        out.integer = parseStatusCode(value);
        break;
    case Shape::SignedList:
        out.items = signedList(value, *kind);
        break;
    }
    return out;
}

}  // namespace democad
