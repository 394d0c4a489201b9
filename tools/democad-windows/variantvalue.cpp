#include "tools/democad-windows/variantvalue.h"

#include <oleauto.h>

namespace democad {

BSTR bstrOf(std::u16string_view text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

ByrefStorage::ByrefStorage() { VariantInit(&variant); }

ByrefStorage::~ByrefStorage() {
    SysFreeString(bstr);
    VariantClear(&variant);
}

namespace {

HRESULT arrayOf(const std::vector<std::int32_t>& items, VARIANT& answer) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(items.size()));
    if (array == nullptr) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        LONG item = items[static_cast<std::size_t>(i)];
        const HRESULT status = SafeArrayPutElement(array, &i, &item);
        if (FAILED(status)) {
            SafeArrayDestroy(array);
            return status;
        }
    }
    answer.vt = VT_ARRAY | VT_I4;
    answer.parray = array;
    return S_OK;
}

HRESULT textOf(std::u16string_view text, BSTR& into) {
    into = bstrOf(text);
    return into == nullptr ? E_OUTOFMEMORY : S_OK;
}

}  // namespace

HRESULT makeVariant(const TypedValue& value, IDispatch* self, ByrefStorage& storage, VARIANT& answer) {
    switch (value.type) {
    case ValueType::Empty: answer.vt = VT_EMPTY; return S_OK;
    case ValueType::Null: answer.vt = VT_NULL; return S_OK;
    case ValueType::Bool: answer.vt = VT_BOOL; answer.boolVal = value.integer != 0 ? VARIANT_TRUE : VARIANT_FALSE; return S_OK;
    case ValueType::I1: answer.vt = VT_I1; answer.cVal = static_cast<CHAR>(value.integer); return S_OK;
    case ValueType::I2: answer.vt = VT_I2; answer.iVal = static_cast<SHORT>(value.integer); return S_OK;
    case ValueType::I4: answer.vt = VT_I4; answer.lVal = static_cast<LONG>(value.integer); return S_OK;
    case ValueType::I8: answer.vt = VT_I8; answer.llVal = value.integer; return S_OK;
    case ValueType::Int: answer.vt = VT_INT; answer.intVal = static_cast<INT>(value.integer); return S_OK;
    case ValueType::Ui1: answer.vt = VT_UI1; answer.bVal = static_cast<BYTE>(value.unsignedInteger); return S_OK;
    case ValueType::Ui2: answer.vt = VT_UI2; answer.uiVal = static_cast<USHORT>(value.unsignedInteger); return S_OK;
    case ValueType::Ui4: answer.vt = VT_UI4; answer.ulVal = static_cast<ULONG>(value.unsignedInteger); return S_OK;
    case ValueType::Ui8: answer.vt = VT_UI8; answer.ullVal = value.unsignedInteger; return S_OK;
    case ValueType::Uint: answer.vt = VT_UINT; answer.uintVal = static_cast<UINT>(value.unsignedInteger); return S_OK;
    case ValueType::R4: answer.vt = VT_R4; answer.fltVal = static_cast<FLOAT>(value.real); return S_OK;
    case ValueType::R8: answer.vt = VT_R8; answer.dblVal = value.real; return S_OK;
    case ValueType::Date: answer.vt = VT_DATE; answer.date = value.real; return S_OK;
    case ValueType::Cy: answer.vt = VT_CY; answer.cyVal.int64 = value.integer; return S_OK;
    case ValueType::Decimal:
        // The DECIMAL overlays the whole VARIANT, its vt included: set vt last.
        answer.decVal.scale = value.decimal.scale;
        answer.decVal.sign = value.decimal.negative ? DECIMAL_NEG : 0;
        answer.decVal.Hi32 = value.decimal.high;
        answer.decVal.Lo64 = value.decimal.low;
        answer.vt = VT_DECIMAL;
        return S_OK;
    case ValueType::Bstr: answer.vt = VT_BSTR; return textOf(value.text, answer.bstrVal);
    case ValueType::Error: answer.vt = VT_ERROR; answer.scode = static_cast<SCODE>(value.integer); return S_OK;
    case ValueType::Dispatch: answer.vt = VT_DISPATCH; answer.pdispVal = self; self->AddRef(); return S_OK;
    case ValueType::Unknown:
        answer.vt = VT_UNKNOWN;
        return self->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&answer.punkVal));
    case ValueType::NullDispatch: answer.vt = VT_DISPATCH; answer.pdispVal = nullptr; return S_OK;
    case ValueType::ByrefI4:
        storage.i4 = static_cast<LONG>(value.integer);
        answer.vt = VT_BYREF | VT_I4;
        answer.plVal = &storage.i4;
        return S_OK;
    case ValueType::ByrefBstr:
        SysFreeString(storage.bstr);
        answer.vt = VT_BYREF | VT_BSTR;
        answer.pbstrVal = &storage.bstr;
        return textOf(value.text, storage.bstr);
    case ValueType::ByrefVariantI4:
        VariantClear(&storage.variant);
        storage.variant.vt = VT_I4;
        storage.variant.lVal = static_cast<LONG>(value.integer);
        answer.vt = VT_BYREF | VT_VARIANT;
        answer.pvarVal = &storage.variant;
        return S_OK;
    case ValueType::ArrayI4: return arrayOf(value.items, answer);
    }
    return E_UNEXPECTED;
}

}  // namespace democad
