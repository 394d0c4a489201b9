// Variant conversions on values built from fuzz bytes: each conversion gives
// a value or throws AutomationError (type mismatch or overflow), nothing else,
// and numbers survive the trip through their text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "cadlink/automation.h"
#include "fuzz/fuzz_check.h"

namespace {

using orvane::cadlink::AutomationError;
using orvane::cadlink::Variant;
namespace status = orvane::cadlink::status;

class InertObject : public orvane::cadlink::AutomationObject {
public:
    orvane::cadlink::DispId GetIDsOfNames(std::u16string_view) override {
        throw AutomationError(status::UnknownName, "no members");
    }
    Variant Invoke(orvane::cadlink::DispId, orvane::cadlink::CallKind,
                   const std::optional<std::u16string>&, bool) override {
        return {};
    }
};

// Mostly characters that numbers and truth words are made of, so the text
// conversions get past their first character.
std::u16string textFrom(FuzzedDataProvider& input) {
    static constexpr char16_t alphabet[] = u" \t+-.0123456789eEtTrRuUfFaAlLsS\u00A0\uFF11";
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 40);
    std::u16string text;
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        if (input.ConsumeBool()) {
            text.push_back(
                alphabet[input.ConsumeIntegralInRange<std::size_t>(0, std::size(alphabet) - 2)]);
        } else {
            text.push_back(input.ConsumeIntegral<char16_t>());
        }
    }
    return text;
}

Variant variantFrom(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 8)) {
        case 0:
            return std::monostate{};
        case 7:
            return orvane::cadlink::NullValue{};
        case 1:
            return input.ConsumeBool();
        case 2:
            return input.ConsumeIntegral<std::int64_t>();
        case 3:
            return input.ConsumeIntegral<std::uint64_t>();
        case 4: {
            // Any bit pattern: NaN, infinities, subnormals included.
            const auto bits = input.ConsumeIntegral<std::uint64_t>();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        case 5:
            return input.ConsumeFloatingPoint<double>();
        case 6:
            return textFrom(input);
        default:
            if (input.ConsumeBool()) return orvane::cadlink::ObjectRef();
            return orvane::cadlink::ObjectRef(std::make_shared<InertObject>());
    }
}

template <typename T>
struct Outcome {
    std::optional<T> value;
    std::int32_t failure = 0;
};

// The result of a conversion, or the code of the AutomationError it threw,
// which must be of an expected kind. Any other exception escapes and ends
// the run.
template <typename Conversion>
auto attempt(Conversion convert) -> Outcome<decltype(convert())> {
    try {
        return {convert(), 0};
    } catch (const AutomationError& error) {
        FUZZ_CHECK(error.code() == status::TypeMismatch || error.code() == status::Overflow);
        return {std::nullopt, error.code()};
    }
}

bool isTruthWord(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return lower == u"true" || lower == u"false";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Variant value = variantFrom(input);

    const auto asInteger = attempt([&] { return orvane::cadlink::variantToInt64(value); });
    const auto asText = attempt([&] { return orvane::cadlink::variantToText(value); });
    const auto asBool = attempt([&] { return orvane::cadlink::variantToBool(value); });
    const auto asObject = attempt([&] { return orvane::cadlink::variantToObject(value); });

    if (asObject.value) FUZZ_CHECK(*asObject.value != nullptr);
    // Null has no value of any kind.
    if (std::holds_alternative<orvane::cadlink::NullValue>(value)) {
        FUZZ_CHECK(!asInteger.value && !asText.value && !asBool.value && !asObject.value);
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        FUZZ_CHECK(asInteger.value == *integer);
        FUZZ_CHECK(asBool.value == (*integer != 0));
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        FUZZ_CHECK(asInteger.value == (*flag ? -1 : 0));
        FUZZ_CHECK(asBool.value == *flag);
        FUZZ_CHECK(attempt([&] { return orvane::cadlink::variantToBool(*asText.value); }).value ==
                   *flag);
    }

    // An integer or a number as text keeps its value through its text.
    const bool integerOrText = std::holds_alternative<std::int64_t>(value) ||
                               std::holds_alternative<std::uint64_t>(value) ||
                               std::holds_alternative<std::u16string>(value);
    if (integerOrText && asInteger.value) {
        FUZZ_CHECK(attempt([&] { return orvane::cadlink::variantToInt64(*asText.value); }).value ==
                   asInteger.value);
    }

    // Text that is a number, however large, is also a truth value; text that
    // is no number is a truth value only as one of the two words.
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        if (asInteger.failure != status::TypeMismatch) FUZZ_CHECK(asBool.value.has_value());
        if (asInteger.failure == status::TypeMismatch) {
            FUZZ_CHECK(asBool.value.has_value() == isTruthWord(*text));
        }
    }
    return 0;
}
