#include "cadlink/com/comvariant.h"

#include <oleauto.h>

#include <cstdio>
#include <memory>

#include "cadlink/com/comerror.h"
#include "cadlink/com/comobject.h"
#include "cadlink/com/comref.h"

namespace orvane::cadlink::com {
namespace {

[[noreturn]] void unsupported(VARTYPE type) {
    char text[64];
    std::snprintf(text, sizeof text, "a value of type 0x%04X has no form here", type);
    throw AutomationError(status::TypeMismatch, text);
}

// Takes over a BSTR the system allocated.
std::u16string takeText(HRESULT status, BSTR text) {
    if (FAILED(status)) throwComError(status);
    std::u16string result(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
    SysFreeString(text);
    return result;
}

// Decimal point and digits alone, whatever the user's locale.
std::u16string currencyText(const CY& value) {
    BSTR text = nullptr;
    const HRESULT status = VarBstrFromCy(value, LOCALE_INVARIANT, 0, &text);
    return takeText(status, text);
}

std::u16string decimalText(const DECIMAL& value) {
    BSTR text = nullptr;
    DECIMAL copy = value;
    const HRESULT status = VarBstrFromDec(&copy, LOCALE_INVARIANT, 0, &text);
    return takeText(status, text);
}

ObjectRef objectFrom(IDispatch* dispatch) {
    if (dispatch == nullptr) return nullptr;
    return std::make_shared<ComAutomationObject>(ComRef<IDispatch>::share(dispatch));
}

ObjectRef objectFrom(IUnknown* unknown) {
    if (unknown == nullptr) return nullptr;
    ComRef<IDispatch> dispatch;
    if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())))) {
        return nullptr;
    }
    return std::make_shared<ComAutomationObject>(std::move(dispatch));
}

Variant byValue(const VARIANT& value) {
    switch (value.vt) {
        case VT_EMPTY:
            return std::monostate{};
        case VT_NULL:
        case VT_ERROR:
            return NullValue{};
        case VT_BOOL:
            return value.boolVal != VARIANT_FALSE;
        case VT_I1:
            return std::int64_t{value.cVal};
        case VT_I2:
            return std::int64_t{value.iVal};
        case VT_I4:
            return std::int64_t{value.lVal};
        case VT_INT:
            return std::int64_t{value.intVal};
        case VT_I8:
            return std::int64_t{value.llVal};
        case VT_UI1:
            return std::uint64_t{value.bVal};
        case VT_UI2:
            return std::uint64_t{value.uiVal};
        case VT_UI4:
            return std::uint64_t{value.ulVal};
        case VT_UINT:
            return std::uint64_t{value.uintVal};
        case VT_UI8:
            return std::uint64_t{value.ullVal};
        case VT_R4:
            return double{value.fltVal};
        case VT_R8:
            return value.dblVal;
        case VT_DATE:
            return value.date;
        case VT_CY:
            return currencyText(value.cyVal);
        case VT_DECIMAL:
            return decimalText(value.decVal);
        case VT_BSTR:
            // Counted, so embedded NULs stay; a null BSTR is the empty text.
            return std::u16string(reinterpret_cast<const char16_t*>(value.bstrVal),
                                  SysStringLen(value.bstrVal));
        case VT_DISPATCH:
            return objectFrom(value.pdispVal);
        case VT_UNKNOWN:
            return objectFrom(value.punkVal);
        default:
            unsupported(value.vt);
    }
}

}  // namespace

Variant variantFromCom(const VARIANT& value) {
    if ((value.vt & VT_BYREF) == 0) return byValue(value);
    if ((value.vt & VT_ARRAY) != 0 || value.byref == nullptr) unsupported(value.vt);
    VariantHolder target;
    // A shallow copy for a declaration without const; the system only reads it.
    VARIANT reference = value;
    const HRESULT status = VariantCopyInd(&target.get(), &reference);
    if (FAILED(status)) throwComError(status);
    // A reference to a variant may hold another reference once, no deeper.
    if ((target.get().vt & VT_BYREF) != 0) unsupported(target.get().vt);
    return byValue(target.get());
}

}  // namespace orvane::cadlink::com
