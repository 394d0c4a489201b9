#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace democad {

// The kinds of answer a member given on the command line can have; each
// becomes a VARIANT of exactly that type.
enum class ValueType {
    Empty, Null, Bool, I1, I2, I4, I8, Int, Ui1, Ui2, Ui4, Ui8, Uint, R4, R8, Date, Cy, Decimal,
    Bstr, Error, Dispatch, Unknown, NullDispatch, ByrefI4, ByrefBstr, ByrefVariantI4, ArrayI4
};

// A 96-bit integer with a sign and a count of decimal places, as a DECIMAL holds it.
struct DecimalNumber {
    bool negative = false;
    std::uint8_t scale = 0;
    std::uint32_t high = 0;
    std::uint64_t low = 0;
};

struct TypedValue {
    ValueType type = ValueType::Empty;
    std::int64_t integer = 0;  // signed kinds and bool (0 or 1); cy in ten-thousandths; error's SCODE
    std::uint64_t unsignedInteger = 0;
    double real = 0;  // r4, r8, date
    DecimalNumber decimal;
    std::u16string text;              // the bstr kinds
    std::vector<std::int32_t> items;  // array-i4
};

// "TYPE:VALUE", TYPE one of empty, null, bool (true or false), i1, i2, i4,
// i8, int, ui1, ui2, ui4, ui8, uint (decimal whole numbers), r4, r8, date
// (an OLE date as a number), cy (at most four decimal places), decimal, bstr
// (any text), error (a status code as below), dispatch and unknown (the
// application object), nulldispatch (a null VT_DISPATCH), byref-i4,
// byref-bstr, byref-variant-i4 (VT_BYREF|VT_VARIANT holding an i4), array-i4
// (comma-separated, none for an empty array). empty, null, dispatch, unknown
// and nulldispatch take no value and may come without the colon. Throws
// UsageError on a mistake.
TypedValue parseTypedValue(std::u16string_view text);

// A 32-bit status: "0x" and a hexadecimal number, or a decimal number,
// signed or not, that fits 32 bits. Throws UsageError on a mistake.
std::int32_t parseStatusCode(std::u16string_view text);

}  // namespace democad
