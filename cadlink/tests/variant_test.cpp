#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "cadlink/automation.h"
#include "cadlink/fake/fakeautomation.h"

namespace orvane::cadlink {
namespace {

constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();

ObjectRef someObject() {
    return std::make_shared<fake::FakeAutomationObject>("obj");
}

// An expected outcome: a value or the status of the failure.
template <typename T>
struct Expect {
    T value{};
    std::int32_t failure = 0;
};

template <typename T>
Expect<T> fails(std::int32_t code) {
    return {T{}, code};
}

template <typename T, typename Convert>
void check(const Variant& input, const Expect<T>& expected, Convert convert) {
    if (expected.failure == 0) {
        EXPECT_EQ(convert(input), expected.value);
        return;
    }
    try {
        convert(input);
        ADD_FAILURE() << "conversion should have failed";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), expected.failure);
    }
}

struct Int64Case {
    const char* name;
    Variant input;
    Expect<std::int64_t> expected;
};

class VariantToInt64 : public ::testing::TestWithParam<Int64Case> {};

TEST_P(VariantToInt64, Converts) {
    check(GetParam().input, GetParam().expected, variantToInt64);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VariantToInt64,
    ::testing::Values(
        Int64Case{"Empty", Variant{}, {0}}, Int64Case{"True", true, {-1}},
        Int64Case{"False", false, {0}}, Int64Case{"Negative", std::int64_t{-5}, {-5}},
        Int64Case{"Unsigned", std::uint64_t{5}, {5}},
        Int64Case{"UnsignedAtLimit", static_cast<std::uint64_t>(Int64Max), {Int64Max}},
        Int64Case{"UnsignedAboveLimit", static_cast<std::uint64_t>(Int64Max) + 1,
                  fails<std::int64_t>(status::Overflow)},
        Int64Case{"HalfRoundsToEvenDown", 2.5, {2}}, Int64Case{"HalfRoundsToEvenUp", 3.5, {4}},
        Int64Case{"NegativeHalfDown", -2.5, {-2}}, Int64Case{"NegativeHalfUp", -3.5, {-4}},
        Int64Case{"BelowHalf", 2.4999, {2}}, Int64Case{"AboveHalf", 2.5001, {3}},
        Int64Case{"LowestDouble", -9223372036854775808.0, {Int64Min}},
        Int64Case{"DoubleTooLarge", 1e19, fails<std::int64_t>(status::Overflow)},
        Int64Case{"DoubleAtTwoTo63", 9223372036854775808.0, fails<std::int64_t>(status::Overflow)},
        Int64Case{"NotANumber", std::nan(""), fails<std::int64_t>(status::Overflow)},
        Int64Case{"Infinity", std::numeric_limits<double>::infinity(),
                  fails<std::int64_t>(status::Overflow)},
        Int64Case{"Text", std::u16string(u"42"), {42}},
        Int64Case{"TextWithBlanksAndSign", std::u16string(u"  -17 "), {-17}},
        Int64Case{"TextWithPlus", std::u16string(u"+8"), {8}},
        Int64Case{"TextHalfToEven", std::u16string(u"2.5"), {2}},
        Int64Case{"TextHalfToEvenUp", std::u16string(u"3.50"), {4}},
        Int64Case{"TextJustAboveHalf", std::u16string(u"2.5000001"), {3}},
        Int64Case{"TextFractionOnly", std::u16string(u".7"), {1}},
        Int64Case{"TextNegativeHalf", std::u16string(u"-0.5"), {0}},
        Int64Case{"TextMax", std::u16string(u"9223372036854775807"), {Int64Max}},
        Int64Case{"TextMin", std::u16string(u"-9223372036854775808"), {Int64Min}},
        Int64Case{"TextAboveMax", std::u16string(u"9223372036854775808"),
                  fails<std::int64_t>(status::Overflow)},
        Int64Case{"TextBelowMin", std::u16string(u"-9223372036854775809"),
                  fails<std::int64_t>(status::Overflow)},
        Int64Case{"TextRoundsPastMax", std::u16string(u"9223372036854775807.5"),
                  fails<std::int64_t>(status::Overflow)},
        Int64Case{"TextHuge", std::u16string(u"123456789012345678901234567890"),
                  fails<std::int64_t>(status::Overflow)},
        Int64Case{"EmptyText", std::u16string(), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"BlankText", std::u16string(u"   "), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"Word", std::u16string(u"abc"), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"TrueWord", std::u16string(u"True"), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"InnerBlank", std::u16string(u"1 2"), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"LoneSign", std::u16string(u"-"), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"LonePoint", std::u16string(u"."), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"TwoSigns", std::u16string(u"+-1"), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"Hex", std::u16string(u"0x10"), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"Object", someObject(), fails<std::int64_t>(status::TypeMismatch)},
        Int64Case{"Null", NullValue{}, fails<std::int64_t>(status::TypeMismatch)}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    const char* name;
    Variant input;
    Expect<std::u16string> expected;
};

class VariantToText : public ::testing::TestWithParam<TextCase> {};

TEST_P(VariantToText, Converts) {
    check(GetParam().input, GetParam().expected, variantToText);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VariantToText,
    ::testing::Values(
        TextCase{"Empty", Variant{}, {u""}}, TextCase{"True", true, {u"True"}},
        TextCase{"False", false, {u"False"}}, TextCase{"Negative", std::int64_t{-42}, {u"-42"}},
        TextCase{"Min", Int64Min, {u"-9223372036854775808"}},
        TextCase{
            "UnsignedMax", std::numeric_limits<std::uint64_t>::max(), {u"18446744073709551615"}},
        TextCase{"Fraction", 1.5, {u"1.5"}}, TextCase{"Tenth", 0.1, {u"0.1"}},
        TextCase{"WholeDouble", 100.0, {u"100"}}, TextCase{"NegativeZero", -0.0, {u"0"}},
        TextCase{"Large", 1e20, {u"1E+20"}},
        TextCase{"Text", std::u16string(u"C:\\CAD\\cad.exe"), {u"C:\\CAD\\cad.exe"}},
        TextCase{"Object", someObject(), fails<std::u16string>(status::TypeMismatch)},
        TextCase{"Null", NullValue{}, fails<std::u16string>(status::TypeMismatch)}),
    [](const auto& info) { return std::string(info.param.name); });

struct BoolCase {
    const char* name;
    Variant input;
    Expect<bool> expected;
};

class VariantToBool : public ::testing::TestWithParam<BoolCase> {};

TEST_P(VariantToBool, Converts) {
    check(GetParam().input, GetParam().expected, variantToBool);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VariantToBool,
    ::testing::Values(
        BoolCase{"Empty", Variant{}, {false}}, BoolCase{"True", true, {true}},
        BoolCase{"False", false, {false}}, BoolCase{"Zero", std::int64_t{0}, {false}},
        BoolCase{"Two", std::int64_t{2}, {true}}, BoolCase{"MinusOne", std::int64_t{-1}, {true}},
        BoolCase{"UnsignedZero", std::uint64_t{0}, {false}}, BoolCase{"DoubleZero", 0.0, {false}},
        BoolCase{"DoubleHalf", 0.5, {true}}, BoolCase{"TrueWord", std::u16string(u"True"), {true}},
        BoolCase{"FalseUpper", std::u16string(u"FALSE"), {false}},
        BoolCase{"TrueMixed", std::u16string(u"tRuE"), {true}},
        BoolCase{"ZeroText", std::u16string(u"0"), {false}},
        BoolCase{"ZeroFractionText", std::u16string(u"0.00"), {false}},
        BoolCase{"MinusOneText", std::u16string(u"-1"), {true}},
        BoolCase{"SmallFractionText", std::u16string(u"0.01"), {true}},
        BoolCase{"BlankedText", std::u16string(u" 1 "), {true}},
        BoolCase{"Yes", std::u16string(u"yes"), fails<bool>(status::TypeMismatch)},
        BoolCase{"PaddedWord", std::u16string(u" True"), fails<bool>(status::TypeMismatch)},
        BoolCase{"EmptyText", std::u16string(), fails<bool>(status::TypeMismatch)},
        BoolCase{"Object", someObject(), fails<bool>(status::TypeMismatch)},
        BoolCase{"Null", NullValue{}, fails<bool>(status::TypeMismatch)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VariantToObject, GivesTheObjectItself) {
    const ObjectRef object = someObject();
    EXPECT_EQ(variantToObject(object), object);
}

TEST(VariantToObject, RejectsEverythingElse) {
    for (const Variant& value : {Variant{}, Variant{true}, Variant{std::int64_t{7}}, Variant{1.0},
                                 Variant{std::u16string(u"doc")}, Variant{ObjectRef{}},
                                 Variant{NullValue{}}}) {
        try {
            variantToObject(value);
            ADD_FAILURE() << "index " << value.index() << " converted";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.code(), status::TypeMismatch);
        }
    }
}

}  // namespace
}  // namespace orvane::cadlink
