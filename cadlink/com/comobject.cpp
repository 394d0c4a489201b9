#include "cadlink/com/comobject.h"

#include <oleauto.h>

#include <string>
#include <utility>

#include "cadlink/com/comerror.h"
#include "cadlink/com/comvariant.h"
#include "core/utf.h"

namespace orvane::cadlink::com {
namespace {

static_assert(sizeof(OLECHAR) == sizeof(char16_t), "OLE text is UTF-16");

// The exception record Invoke fills in, with its texts freed at the end.
class ExceptionRecord {
public:
    ExceptionRecord() = default;
    ~ExceptionRecord() {
        SysFreeString(record_.bstrSource);
        SysFreeString(record_.bstrDescription);
        SysFreeString(record_.bstrHelpFile);
    }
    ExceptionRecord(const ExceptionRecord&) = delete;
    ExceptionRecord& operator=(const ExceptionRecord&) = delete;

    EXCEPINFO* get() { return &record_; }

    // The object's own description, filled in now where it was deferred;
    // the system's text for status where the object gave none.
    std::string description(HRESULT status) {
        if (record_.pfnDeferredFillIn != nullptr) record_.pfnDeferredFillIn(&record_);
        const BSTR text = record_.bstrDescription;
        if (SysStringLen(text) == 0) {
            return comErrorText(record_.scode != 0 ? record_.scode : status);
        }
        return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
    }

private:
    EXCEPINFO record_{};
};

}  // namespace

ComAutomationObject::ComAutomationObject(ComRef<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

DispId ComAutomationObject::GetIDsOfNames(std::u16string_view name) {
    // The system takes names up to a NUL, which would ask for another member.
    if (name.find(u'\0') != std::u16string_view::npos) {
        throw AutomationError(status::UnknownName, "a member name holds no NUL");
    }
    std::wstring text(name.begin(), name.end());
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) throwComError(result);
    return id;
}

Variant ComAutomationObject::Invoke(DispId member, CallKind kind, const std::optional<std::u16string>& argument,
                                    bool wantResult) {
    VariantHolder text;
    DISPPARAMS parameters{};
    if (argument) {
        // A copy of the whole text, NULs included, passed by value.
        text.get().bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(argument->data()),
                                               static_cast<UINT>(argument->size()));
        if (text.get().bstrVal == nullptr) throwComError(E_OUTOFMEMORY);
        text.get().vt = VT_BSTR;
        parameters.rgvarg = &text.get();
        parameters.cArgs = 1;
    }
    VariantHolder result;
    ExceptionRecord exception;
    const HRESULT outcome = dispatch_->Invoke(member, IID_NULL, 0, static_cast<WORD>(kind), &parameters,
                                              wantResult ? &result.get() : nullptr, exception.get(), nullptr);
    if (outcome == DISP_E_EXCEPTION) {
        throw AutomationError(static_cast<std::int32_t>(outcome), exception.description(outcome));
    }
    if (outcome != S_OK) throwComError(outcome);
    return wantResult ? variantFromCom(result.get()) : Variant{};
}

}  // namespace orvane::cadlink::com
