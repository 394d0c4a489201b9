#include "cadlink/com/comruntime.h"

#include <objbase.h>
#include <oleauto.h>

#include <iterator>
#include <memory>
#include <string>

#include "cadlink/com/comerror.h"
#include "cadlink/com/comfilter.h"
#include "cadlink/com/comobject.h"
#include "cadlink/com/comref.h"

namespace orvane::cadlink::com {

ClassId ComAutomationRuntime::CLSIDFromProgID(std::u16string_view progId) {
    // The system reads up to a NUL and would look up another name.
    if (progId.find(u'\0') != std::u16string_view::npos) throwComError(CO_E_CLASSSTRING);
    const std::wstring name(progId.begin(), progId.end());
    CLSID classId{};
    const HRESULT status = ::CLSIDFromProgID(name.c_str(), &classId);
    if (FAILED(status)) throwComError(status);
    wchar_t text[40];
    const int length = StringFromGUID2(classId, text, static_cast<int>(std::size(text)));
    // The registry form is plain ASCII; the count includes the NUL.
    return ClassId{std::string(text, text + (length > 0 ? length - 1 : 0))};
}

ObjectRef ComAutomationRuntime::GetActiveObject(const ClassId& classId) {
    std::wstring text(classId.value.begin(), classId.value.end());
    CLSID id{};
    if (FAILED(CLSIDFromString(text.c_str(), &id))) throwComError(CO_E_CLASSSTRING);
    ComRef<IUnknown> running;
    HRESULT status = ::GetActiveObject(id, nullptr, running.put());
    if (FAILED(status)) throwComError(status);
    if (!running) throwComError(MK_E_UNAVAILABLE);
    ComRef<IDispatch> dispatch;
    status = running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put()));
    if (FAILED(status)) throwComError(status);
    return std::make_shared<ComAutomationObject>(std::move(dispatch));
}

MessageFilterRef ComAutomationRuntime::CoRegisterMessageFilter(MessageFilterRef filter) {
    return exchangeMessageFilter(std::move(filter));
}

}  // namespace orvane::cadlink::com
