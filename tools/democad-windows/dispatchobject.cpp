#include "tools/democad-windows/dispatchobject.h"

#include <oleauto.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "tools/democad-windows/eventlog.h"
#include "tools/democad-windows/variantvalue.h"

namespace democad {

namespace {

std::u16string_view units(const wchar_t* text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(reinterpret_cast<const char16_t*>(text));
}

HRESULT raise(const Failure& failure, EXCEPINFO* exception) {
    if (exception != nullptr) {
        *exception = EXCEPINFO{};
        exception->scode = failure.code;
        exception->bstrSource = SysAllocString(L"Demo CAD");
        exception->bstrDescription = bstrOf(failure.description);
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

DispatchObject* DispatchObject::create(std::vector<Member> members, const Options& options, EventLog& log) {
    return new DispatchObject(std::move(members), options, log);
}

DispatchObject::DispatchObject(std::vector<Member> members, const Options& options, EventLog& log)
    : options_(options), log_(log) {
    for (Member& member : members) {
        bool lacking = false;
        for (const std::u16string& name : options.lackingMembers) lacking = lacking || sameMemberName(name, member.name);
        if (!lacking) members_.push_back(std::move(member));
    }
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG DispatchObject::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID /*locale*/, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    const std::u16string_view name = units(names[0]);
    const auto found = std::find_if(members_.begin(), members_.end(),
                                    [name](const Member& member) { return sameMemberName(member.name, name); });
    if (found != members_.end()) ids[0] = static_cast<DISPID>(found - members_.begin() + 1);
    // No member has named parameters.
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID /*locale*/, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    const Member& member = members_[static_cast<std::size_t>(id) - 1];
    log_.write(u"CALL " + member.name);
    // Every member is a method and a read-only property at once.
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr) return E_INVALIDARG;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != (member.takesText ? 1u : 0u)) return DISP_E_BADPARAMCOUNT;
    if (params->cArgs != 0 && params->rgvarg == nullptr) return E_INVALIDARG;
    if (const Failure* failure = findMember(options_.failures, member.name)) return raise(*failure, exception);

    std::u16string text;
    if (member.takesText) {
        VARIANT argument;
        VariantInit(&argument);
        const HRESULT status = DispGetParam(params, 0, VT_BSTR, &argument, argumentError);
        if (FAILED(status)) return status;
        text.assign(reinterpret_cast<const char16_t*>(argument.bstrVal), SysStringLen(argument.bstrVal));
        VariantClear(&argument);
    }
    VARIANT answer;
    VariantInit(&answer);
    const HRESULT status = member.answer(*this, text, answer);
    if (FAILED(status) || result == nullptr) {
        VariantClear(&answer);
        return status;
    }
    *result = answer;
    return status;
}

}  // namespace democad
