#include "tests/windows/comtest.h"

#include <algorithm>

namespace orvane::wintest {

HRESULT attach(const std::u16string& progId, DispatchRef& into) {
    CLSID classId{};
    HRESULT status = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.c_str()), &classId);
    if (FAILED(status)) return status;
    IUnknown* running = nullptr;
    status = GetActiveObject(classId, nullptr, &running);
    if (FAILED(status)) return status;
    status = running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&into.object));
    running->Release();
    return status;
}

HRESULT dispatchId(IDispatch* object, const std::u16string& name, DISPID& id) {
    std::wstring text(name.begin(), name.end());
    LPOLESTR names[] = {text.data()};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

HRESULT invoke(IDispatch* object, const std::u16string& name, std::vector<VARIANT> arguments, VARIANT& result,
               EXCEPINFO* exception) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT status = dispatchId(object, name, id);
    if (FAILED(status)) return status;
    // DISPPARAMS holds the arguments last first.
    std::reverse(arguments.begin(), arguments.end());
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    VariantInit(&result);
    return object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, &result, exception,
                          nullptr);
}

}  // namespace orvane::wintest
