#include "cadlink/com/comvariant.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <limits>

#include "cadlink/com/comapartment.h"
#include "cadlink/tests/com/testdispatch.h"

namespace orvane::cadlink::com {
namespace {

using testing::TestDispatch;
using namespace std::string_literals;

// The value of a VARIANT the test built; the holder clears what it owns.
class ComVariant : public ::testing::Test {
protected:
    VARIANT& value(VARTYPE type) {
        holder_.get().vt = type;
        return holder_.get();
    }
    Variant converted() { return variantFromCom(holder_.get()); }

    static void expectMismatch(const VARIANT& input) {
        try {
            variantFromCom(input);
            ADD_FAILURE() << "type " << input.vt << " converted";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.code(), status::TypeMismatch);
        }
    }

    ComApartment apartment_;
    // Outlive the holder, which may still refer to them.
    TestDispatch object_;
    TestDispatch plainObject_{false};
    VariantHolder holder_;
};

template <typename Convert>
std::int32_t failureOf(Convert convert) {
    try {
        convert();
    } catch (const AutomationError& error) {
        return error.code();
    }
    return 0;
}

TEST_F(ComVariant, EmptyIsZeroEmptyTextAndFalse) {
    value(VT_EMPTY);
    const Variant result = converted();
    EXPECT_EQ(variantToInt64(result), 0);
    EXPECT_EQ(variantToText(result), u"");
    EXPECT_FALSE(variantToBool(result));
}

TEST_F(ComVariant, NullConvertsToNothing) {
    value(VT_NULL);
    const Variant result = converted();
    EXPECT_EQ(failureOf([&] { variantToInt64(result); }), status::TypeMismatch);
    EXPECT_EQ(failureOf([&] { variantToText(result); }), status::TypeMismatch);
    EXPECT_EQ(failureOf([&] { variantToBool(result); }), status::TypeMismatch);
}

TEST_F(ComVariant, AnErrorCodeConvertsLikeNull) {
    value(VT_ERROR).scode = DISP_E_PARAMNOTFOUND;
    EXPECT_TRUE(std::holds_alternative<NullValue>(converted()));
}

TEST_F(ComVariant, BoolIsATruthValue) {
    value(VT_BOOL).boolVal = VARIANT_TRUE;
    EXPECT_EQ(converted(), Variant{true});
    value(VT_BOOL).boolVal = VARIANT_FALSE;
    EXPECT_EQ(converted(), Variant{false});
}

TEST_F(ComVariant, SignedIntegersKeepTheirSign) {
    value(VT_I1).cVal = -5;
    EXPECT_EQ(converted(), Variant{std::int64_t{-5}});
    value(VT_I2).iVal = -300;
    EXPECT_EQ(converted(), Variant{std::int64_t{-300}});
    value(VT_I4).lVal = std::numeric_limits<LONG>::min();
    EXPECT_EQ(converted(), Variant{std::int64_t{std::numeric_limits<LONG>::min()}});
    value(VT_INT).intVal = -7;
    EXPECT_EQ(converted(), Variant{std::int64_t{-7}});
    value(VT_I8).llVal = std::numeric_limits<LONGLONG>::min();
    EXPECT_EQ(converted(), Variant{std::numeric_limits<std::int64_t>::min()});
}

TEST_F(ComVariant, UnsignedIntegersStayPositive) {
    value(VT_UI1).bVal = 255;
    EXPECT_EQ(converted(), Variant{std::uint64_t{255}});
    value(VT_UI2).uiVal = 65535;
    EXPECT_EQ(converted(), Variant{std::uint64_t{65535}});
    value(VT_UI4).ulVal = 0xFFFFFFFFU;
    EXPECT_EQ(variantToInt64(converted()), 0xFFFFFFFFLL);
    value(VT_UINT).uintVal = 0x80000000U;
    EXPECT_EQ(converted(), Variant{std::uint64_t{0x80000000U}});
}

TEST_F(ComVariant, UnsignedBeyondSigned64BitsOverflowsAnInteger) {
    value(VT_UI8).ullVal = std::numeric_limits<ULONGLONG>::max();
    const Variant result = converted();
    EXPECT_EQ(variantToText(result), u"18446744073709551615");
    EXPECT_EQ(failureOf([&] { variantToInt64(result); }), status::Overflow);
}

TEST_F(ComVariant, FloatingPointValuesAreNumbers) {
    value(VT_R4).fltVal = 2.5F;
    EXPECT_EQ(converted(), Variant{2.5});
    value(VT_R8).dblVal = -1e300;
    EXPECT_EQ(converted(), Variant{-1e300});
}

TEST_F(ComVariant, ADateIsItsDayNumber) {
    value(VT_DATE).date = 36526.75;  // 2000-01-01 18:00
    EXPECT_EQ(variantToInt64(converted()), 36527);
}

TEST_F(ComVariant, CurrencyKeepsEveryDigit) {
    value(VT_CY).cyVal.int64 = std::numeric_limits<LONGLONG>::max();
    const Variant result = converted();
    EXPECT_EQ(variantToText(result), u"922337203685477.5807");
    EXPECT_EQ(variantToInt64(result), 922337203685478);
}

TEST_F(ComVariant, CurrencyRoundsHalfToEven) {
    value(VT_CY).cyVal.int64 = -5000;  // -0.5
    EXPECT_EQ(variantToInt64(converted()), 0);
    value(VT_CY).cyVal.int64 = 25000;  // 2.5
    EXPECT_EQ(variantToInt64(converted()), 2);
}

TEST_F(ComVariant, DecimalIsExact) {
    VARIANT& decimal = value(VT_DECIMAL);
    decimal.decVal = DECIMAL{};
    decimal.decVal.scale = 2;
    decimal.decVal.sign = DECIMAL_NEG;
    decimal.decVal.Lo64 = 12345;
    decimal.vt = VT_DECIMAL;  // shares its bytes with the decimal's reserved word
    EXPECT_EQ(variantToText(converted()), u"-123.45");
}

TEST_F(ComVariant, DecimalBeyond64BitsOverflowsAnInteger) {
    VARIANT& decimal = value(VT_DECIMAL);
    decimal.decVal = DECIMAL{};
    decimal.decVal.Hi32 = 1;
    decimal.vt = VT_DECIMAL;
    EXPECT_EQ(failureOf([&] { variantToInt64(converted()); }), status::Overflow);
}

TEST_F(ComVariant, TextKeepsEmbeddedNulsAndJapanese) {
    const std::u16string text = u"_LINE\0線分\r"s;
    value(VT_BSTR).bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), text.size());
    EXPECT_EQ(converted(), Variant{text});
}

TEST_F(ComVariant, ANullTextIsEmpty) {
    value(VT_BSTR).bstrVal = nullptr;
    EXPECT_EQ(converted(), Variant{std::u16string()});
}

TEST_F(ComVariant, AnObjectCanBeCalledAndHoldsOneReference) {
    {
        value(VT_DISPATCH).pdispVal = &object_;
        object_.AddRef();
        const ObjectRef converted = variantToObject(this->converted());
        VariantClear(&holder_.get());
        EXPECT_EQ(object_.references(), 2U);
        EXPECT_EQ(converted->GetIDsOfNames(u"Value"), TestDispatch::Value);
    }
    EXPECT_EQ(object_.references(), 1U);
}

TEST_F(ComVariant, ANullObjectIsNoObject) {
    value(VT_DISPATCH).pdispVal = nullptr;
    EXPECT_EQ(failureOf([&] { variantToObject(converted()); }), status::TypeMismatch);
}

TEST_F(ComVariant, AnUnknownWithDispatchIsAnObject) {
    value(VT_UNKNOWN).punkVal = &object_;
    object_.AddRef();
    EXPECT_NE(variantToObject(converted()), nullptr);
}

TEST_F(ComVariant, AnUnknownWithoutDispatchIsNoObject) {
    value(VT_UNKNOWN).punkVal = &plainObject_;
    plainObject_.AddRef();
    EXPECT_EQ(failureOf([&] { variantToObject(converted()); }), status::TypeMismatch);
}

TEST_F(ComVariant, ValuesByReferenceAreReadThrough) {
    LONG number = -42;
    value(VT_BYREF | VT_I4).plVal = &number;
    EXPECT_EQ(converted(), Variant{std::int64_t{-42}});

    BSTR text = SysAllocString(L"C:\\CAD");
    value(VT_BYREF | VT_BSTR).pbstrVal = &text;
    EXPECT_EQ(converted(), Variant{std::u16string(u"C:\\CAD")});
    SysFreeString(text);

    VARIANT inner;
    VariantInit(&inner);
    inner.vt = VT_I8;
    inner.llVal = 1LL << 40;
    value(VT_BYREF | VT_VARIANT).pvarVal = &inner;
    EXPECT_EQ(converted(), Variant{std::int64_t{1LL << 40}});
}

TEST_F(ComVariant, AReferenceToNothingIsAMismatch) {
    VARIANT input;
    VariantInit(&input);
    input.vt = VT_BYREF | VT_I4;
    input.plVal = nullptr;
    expectMismatch(input);
}

TEST_F(ComVariant, ArraysAndRecordsAreMismatches) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 2);
    value(VT_ARRAY | VT_I4).parray = array;
    expectMismatch(holder_.get());

    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_BYREF | VT_ARRAY | VT_I4;
    reference.pparray = &array;
    expectMismatch(reference);

    VARIANT record;
    VariantInit(&record);
    record.vt = VT_RECORD;
    expectMismatch(record);
}

}  // namespace
}  // namespace orvane::cadlink::com
