#include "cadlink/tests/com/testdispatch.h"

#include <oleauto.h>

#include <cwchar>

namespace orvane::cadlink::com::testing {
namespace {

HRESULT STDMETHODCALLTYPE fillInLater(EXCEPINFO* exception) {
    exception->bstrDescription = SysAllocString(TestDispatch::RaisedDescription);
    exception->bstrSource = SysAllocString(L"TestDispatch");
    exception->scode = E_FAIL;
    return S_OK;
}

}  // namespace

TestDispatch::TestDispatch(bool offersDispatch) : offersDispatch_(offersDispatch) { VariantInit(&value_); }

TestDispatch::~TestDispatch() { VariantClear(&value_); }

HRESULT TestDispatch::QueryInterface(REFIID iid, void** object) {
    if (iid == IID_IUnknown || (offersDispatch_ && iid == IID_IDispatch)) {
        AddRef();
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// The test owns the object: the count only tells whether references balance.
ULONG TestDispatch::AddRef() { return ++count_; }
ULONG TestDispatch::Release() { return --count_; }

HRESULT TestDispatch::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT TestDispatch::GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** info) {
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT TestDispatch::GetIDsOfNames(REFIID /*iid*/, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
    lastNameLocale_ = locale;
    if (count != 1) return E_INVALIDARG;
    static constexpr struct {
        const wchar_t* name;
        DISPID id;
    } members[] = {{L"Echo", Echo}, {L"Raise", Raise}, {L"Value", Value}};
    for (const auto& member : members) {
        if (std::wcscmp(names[0], member.name) == 0) {
            ids[0] = member.id;
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT TestDispatch::Invoke(DISPID member, REFIID /*iid*/, LCID /*locale*/, WORD flags, DISPPARAMS* parameters,
                             VARIANT* result, EXCEPINFO* exception, UINT* /*argumentError*/) {
    lastCall_ = Call{flags, parameters->cArgs, VT_EMPTY, {}, result != nullptr};
    if (parameters->cArgs > 0) {
        const VARIANT& argument = parameters->rgvarg[0];
        lastCall_.argumentType = argument.vt;
        if (argument.vt == VT_BSTR) {
            lastCall_.argument.assign(reinterpret_cast<const char16_t*>(argument.bstrVal),
                                      SysStringLen(argument.bstrVal));
        }
    }
    switch (member) {
        case Echo:
            return result == nullptr || parameters->cArgs == 0 ? S_OK : VariantCopy(result, &parameters->rgvarg[0]);
        case Raise:
            *exception = EXCEPINFO{};
            exception->pfnDeferredFillIn = fillInLater;
            return DISP_E_EXCEPTION;
        case Value:
            return result == nullptr ? S_OK : VariantCopy(result, &value_);
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace orvane::cadlink::com::testing
