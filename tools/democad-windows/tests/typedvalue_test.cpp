#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/democad-windows/typedvalue.h"
#include "tools/democad-windows/usageerror.h"

namespace democad {
namespace {

TEST(TypedValue, TypesWithoutValueTakeNoneAfterTheColon) {
    EXPECT_EQ(parseTypedValue(u"empty").type, ValueType::Empty);
    EXPECT_EQ(parseTypedValue(u"null:").type, ValueType::Null);
    EXPECT_EQ(parseTypedValue(u"nulldispatch").type, ValueType::NullDispatch);
    EXPECT_THROW(parseTypedValue(u"dispatch:x"), UsageError);
}

TEST(TypedValue, TypesWithValueNeedTheColon) { EXPECT_THROW(parseTypedValue(u"i4"), UsageError); }

TEST(TypedValue, UnknownTypeIsAMistake) {
    EXPECT_THROW(parseTypedValue(u"I4:1"), UsageError);
    EXPECT_THROW(parseTypedValue(u"long:1"), UsageError);
}

TEST(TypedValue, BoolIsTrueOrFalse) {
    EXPECT_EQ(parseTypedValue(u"bool:true").integer, 1);
    EXPECT_EQ(parseTypedValue(u"bool:false").integer, 0);
    EXPECT_THROW(parseTypedValue(u"bool:1"), UsageError);
}

TEST(TypedValue, SignedIntegersKeepToTheirRange) {
    EXPECT_EQ(parseTypedValue(u"i1:-128").integer, -128);
    EXPECT_THROW(parseTypedValue(u"i1:128"), UsageError);
    EXPECT_EQ(parseTypedValue(u"i4:+2147483647").integer, 2147483647);
    EXPECT_THROW(parseTypedValue(u"int:-2147483649"), UsageError);
    EXPECT_EQ(parseTypedValue(u"i8:-9223372036854775808").integer, std::numeric_limits<std::int64_t>::min());
    EXPECT_THROW(parseTypedValue(u"i8:9223372036854775808"), UsageError);
}

TEST(TypedValue, UnsignedIntegersTakeNoSign) {
    EXPECT_EQ(parseTypedValue(u"ui8:18446744073709551615").unsignedInteger, 18446744073709551615ULL);
    EXPECT_EQ(parseTypedValue(u"uint:4294967295").unsignedInteger, 4294967295ULL);
    EXPECT_THROW(parseTypedValue(u"ui1:256"), UsageError);
    EXPECT_THROW(parseTypedValue(u"ui4:-1"), UsageError);
}

TEST(TypedValue, IntegersAreDecimalDigitsOnly) {
    EXPECT_THROW(parseTypedValue(u"i4:"), UsageError);
    EXPECT_THROW(parseTypedValue(u"i4: 1"), UsageError);
    EXPECT_THROW(parseTypedValue(u"i4:1x"), UsageError);
    EXPECT_THROW(parseTypedValue(u"i4:+-1"), UsageError);
    EXPECT_THROW(parseTypedValue(u"i4:\uFF11"), UsageError);
}

TEST(TypedValue, RealNumbersAndDates) {
    EXPECT_EQ(parseTypedValue(u"r8:-2.5e3").real, -2500.0);
    EXPECT_EQ(parseTypedValue(u"date:45000.25").real, 45000.25);
    EXPECT_TRUE(std::isnan(parseTypedValue(u"r8:nan").real));
    EXPECT_THROW(parseTypedValue(u"r8:1,5"), UsageError);
    EXPECT_THROW(parseTypedValue(u"r4:1e39"), UsageError);
}

TEST(TypedValue, CurrencyCountsTenThousandths) {
    EXPECT_EQ(parseTypedValue(u"cy:12.5").integer, 125000);
    EXPECT_EQ(parseTypedValue(u"cy:-0.0001").integer, -1);
    EXPECT_EQ(parseTypedValue(u"cy:-922337203685477.5808").integer, std::numeric_limits<std::int64_t>::min());
    EXPECT_THROW(parseTypedValue(u"cy:922337203685477.5808"), UsageError);
    EXPECT_THROW(parseTypedValue(u"cy:0.00001"), UsageError);
}

TEST(TypedValue, DecimalKeepsDigitsAndScale) {
    const DecimalNumber number = parseTypedValue(u"decimal:-79228162514264337593543950335").decimal;
    EXPECT_TRUE(number.negative);
    EXPECT_EQ(number.scale, 0);
    EXPECT_EQ(number.high, 0xFFFFFFFFu);
    EXPECT_EQ(number.low, 0xFFFFFFFFFFFFFFFFULL);
    const DecimalNumber small = parseTypedValue(u"decimal:1.25").decimal;
    EXPECT_EQ(small.scale, 2);
    EXPECT_EQ(small.low, 125u);
    EXPECT_THROW(parseTypedValue(u"decimal:79228162514264337593543950336"), UsageError);
    EXPECT_THROW(parseTypedValue(u"decimal:."), UsageError);
}

TEST(TypedValue, TextKeepsEverythingAfterTheFirstColon) {
    EXPECT_EQ(parseTypedValue(u"bstr:C:\\CAD\\線分").text, u"C:\\CAD\\線分");
    EXPECT_EQ(parseTypedValue(u"byref-bstr:").text, u"");
}

TEST(TypedValue, ErrorTakesAStatusCode) {
    EXPECT_EQ(parseTypedValue(u"error:0x80020004").integer, static_cast<std::int32_t>(0x80020004));
}

TEST(TypedValue, ArrayItemsAreCommaSeparated) {
    EXPECT_EQ(parseTypedValue(u"array-i4:1,-2,3").items, (std::vector<std::int32_t>{1, -2, 3}));
    EXPECT_TRUE(parseTypedValue(u"array-i4:").items.empty());
    EXPECT_THROW(parseTypedValue(u"array-i4:1,"), UsageError);
    EXPECT_THROW(parseTypedValue(u"array-i4:1,,2"), UsageError);
}

TEST(StatusCode, HexadecimalGivesTheBitPattern) {
    EXPECT_EQ(parseStatusCode(u"0xFFFFFFFF"), -1);
    EXPECT_EQ(parseStatusCode(u"0X1"), 1);
    EXPECT_THROW(parseStatusCode(u"0x100000000"), UsageError);
    EXPECT_THROW(parseStatusCode(u"0x"), UsageError);
    EXPECT_THROW(parseStatusCode(u"0x-1"), UsageError);
}

TEST(StatusCode, DecimalMayBeSignedOrNot) {
    EXPECT_EQ(parseStatusCode(u"-2147352567"), static_cast<std::int32_t>(0x80020009));
    EXPECT_EQ(parseStatusCode(u"2147614729"), static_cast<std::int32_t>(0x80020009));
    EXPECT_THROW(parseStatusCode(u"4294967296"), UsageError);
    EXPECT_THROW(parseStatusCode(u"E_FAIL"), UsageError);
}

}  // namespace
}  // namespace democad
