#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/democad-windows/options.h"

namespace democad {

class EventLog;
class DispatchObject;

// One member: its name, whether it takes the one text argument, and what it
// answers. The answer starts as VT_EMPTY.
struct Member {
    std::u16string name;
    bool takesText = false;
    std::function<HRESULT(DispatchObject& self, const std::u16string& text, VARIANT& answer)> answer;
};

// A hand-written IDispatch without a type library. Members are found by
// name without regard to the case of ASCII letters and answer alike as a
// method and as a property get; every Invoke of a member is logged as
// "CALL <member>". The lacking and failing switches of the options apply.
class DispatchObject final : public IDispatch {
public:
    // A new object with one reference, for the caller.
    static DispatchObject* create(std::vector<Member> members, const Options& options, EventLog& log);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    DispatchObject(std::vector<Member> members, const Options& options, EventLog& log);
    ~DispatchObject() = default;

    std::vector<Member> members_;  // the DISPID of each is its index + 1
    const Options& options_;
    EventLog& log_;
    LONG references_ = 1;
};

}  // namespace democad
